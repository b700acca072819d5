#include "reference_samples.h"

#include "data_access.h"

namespace {

QString G(const char *glyphs) { return QString::fromLatin1(glyphs); }

struct Sample {
    RefTable table;
    int number;
    const char *name;
    int parent;
};

// As the keyboard engine types them: kOlAra, beMgaLUru, mYsUru, beLagAvi, tumakUru, hAsana;
// mAlUru, baMgArapEte, mulabAgilu, SrInivAsapura; SAle, kAlEju, bEMku, aMcekacEri; Sikfxaka,
// guru, leKaka; tamfma, akfka, tAyi, taMde.
const Sample kSamples[] = {
    {RefTable::District, 1, "P\xC9\xC6\xC3\xAF\xC1g\xC0", 0},
    {RefTable::District, 2, "\xA8\xC9" "AU\xC0\xBC\xC0\xC6g\xC0\xC4", 0},
    {RefTable::District, 3, "\xAA\xC9\xC4\xCA\xB8\xC0\xC6g\xC0\xC4", 0},
    {RefTable::District, 4, "\xA8\xC9\xBC\xC0U\xC1\xAB", 0},
    {RefTable::District, 5, "v\xC0\xC4\xAA\xC0\xC4P\xC0\xC6g\xC0\xC4", 0},
    {RefTable::District, 6, "\xBA\xC1\xB8\xC0\xA3\xC0", 0},
    {RefTable::Taluk, 1, "\xAA\xC0i\xC1\xAE\xC6g\xC0\xC4", 1},
    {RefTable::Taluk, 2, "\xA7" "AU\xC1g\xC0\xA5\xC9\xC3v\xC9", 1},
    {RefTable::Taluk, 3, "\xAA\xC0\xC4\xC4\xAE\xA8\xC1V\xAE\xC4", 1},
    {RefTable::Taluk, 4, "\xB1\xC0j\xC3\xA4\xAA\xC1\xB8\xC0\xA5\xC0\xC4g\xC0", 1},
    {RefTable::Prakara, 1, "\xB1\xC1\xAF\xC9", 0},
    {RefTable::Prakara, 2, "P\xC1\xAF\xC9\xC3" "d\xC4", 0},
    {RefTable::Prakara, 3, "\xA8\xC9\xC3" "AP\xC0\xC4", 0},
    {RefTable::Prakara, 4, "CAZ\xC9P\xC0Z\xC9\xC3j", 0},
    {RefTable::Upaprakara, 1, "\xB2P\xC0\xEBP\xC0", 4},
    {RefTable::Upaprakara, 2, "U\xC0\xC4g\xC0\xC4", 4},
    {RefTable::Upaprakara, 3, "\xAF\xC9RP\xC0", 4},
    {RefTable::Relation, 1, "v\xC0\xAA\xC0\xC4\xE4", 0},
    {RefTable::Relation, 2, "CP\xC0\xCC", 0},
    {RefTable::Relation, 3, "v\xC1\xAC\xC4", 0},
    {RefTable::Relation, 4, "v\xC0" "Az\xC9", 0},
};

}  // namespace

bool AddReferenceSamples(AddressBookData &data) {
    // A list that holds anything already is left as it is.
    bool empty[5];
    for (int t = 0; t < 5; ++t) empty[t] = data.nextNumber(static_cast<RefTable>(t)) == 1;
    for (const Sample &s : kSamples) {
        if (!empty[static_cast<int>(s.table)]) continue;
        if (!data.save(s.table, s.number, G(s.name), s.parent, SaveIntent::ByNumber).ok) return false;
    }
    return true;
}
