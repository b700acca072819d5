#include "record_samples.h"

#include "address_data.h"


namespace {

QString G(const char *glyphs) { return QString::fromLatin1(glyphs); }

struct Sample {
    const char *name;       // sudhA rAv, kRuShNa BaT, anil kumAr, gItA hegaDe, lakShmi nArAyaNa
    const char *place;      // kOlAra, mAlUru, kanakapura
    const char *members;
    const char *home;
    const char *office;
    const char *pinCode;
    const char *phone;
    const char *email;
    int relation, district, taluk, prakara, upaprakara;
};

const char *const kKolara = "P\xC9\xC6\xC3\xAF\xC1g\xC0";
const char *const kMaluru = "\xAA\xC0i\xC1\xAE\xC6g\xC0\xC4";
const char *const kKanakapura = "P\xC0\xA3\xC0P\xC0\xA5\xC0\xC4g\xC0";
// "12, gAMdhi nagara" and "jillA kachEri, kOlAra".
const char *const kHome = "12, U\xC1" "A\xA2\xFC \xA3\xC0U\xC0g\xC0";
const char *const kOffice = "f\xAF\xC1\xE8 P\xC0" "b\xC9\xC3j, P\xC9\xC6\xC3\xAF\xC1g\xC0";

const Sample kSamples[] = {
    {"\xB8\xC0\xC4zs\xC1 g\xC1\xAA\xEF", kKolara, "\xB8\xC0\xC4zs\xC1, \xAA\xC0\xC4zs\xC0\xC4", kHome, kOffice,
     "563101", "08152 222333", "sudha.rao@example.in", 2, 1, 1, 4, 1},
    {"P\xC0\xC8\xB5\xC0\xDA \xA8s\xC0m\xEF", kKolara, nullptr, kHome, nullptr, "563101", "08152 224466", nullptr, 3,
     1, 1, 4, 2},
    {"C\xA4\xAF\xEF P\xC0\xC4\xAA\xC0i\xC1g\xEF", kMaluru, nullptr, nullptr, kOffice, nullptr, "08151 232323",
     "anil@example.in", 1, 1, 2, 4, 3},
    {"V\xC3v\xC1 \xBA\xC9U\xC0q\xC9", kKanakapura, nullptr, kHome, nullptr, "562117", nullptr, nullptr, 4, 0, 0, 0, 0},
    {"\xAEQ\xEB\xF6\xE4 \xA3\xC1g\xC1" "Ai\xC0\xC4t", kKolara, nullptr, nullptr, kOffice, nullptr, "08152 220011",
     nullptr, 0, 1, 3, 4, 2},
};

}  // namespace

bool AddAddressSamples(AddressData &data) {
    if (const auto all = data.find(AddressSearch::Name, QString()); !all || !all->isEmpty()) return true;
    for (const Sample &s : kSamples) {
        AddressWrite w;
        w.name = G(s.name);
        const std::pair<AddressColumn, const char *> texts[] = {
            {AddressColumn::Hcity, s.place},       {AddressColumn::Members, s.members},
            {AddressColumn::Haddress, s.home},     {AddressColumn::Oaddress, s.office},
            {AddressColumn::HpinCode, s.pinCode},  {AddressColumn::Hphone, s.phone},
            {AddressColumn::HeMail, s.email}};
        for (const auto &[column, text] : texts)
            if (text) w.assign(column, G(text));
        // "karnATaka", "BArata"
        w.assign(AddressColumn::Hstate, G("P\xC0\xA3\xC1\xF0lP\xC0"));
        w.assign(AddressColumn::Hcountry, G("\xA8s\xC1g\xC0v\xC0"));
        const std::pair<AddressColumn, int> numbers[] = {
            {AddressColumn::Relation, s.relation}, {AddressColumn::District, s.district},
            {AddressColumn::Taluk, s.taluk},       {AddressColumn::Prakara, s.prakara},
            {AddressColumn::Upaprakara, s.upaprakara}};
        for (const auto &[column, number] : numbers) w.assign(column, number);
        if (data.insert(w) == 0) return false;
    }
    return true;
}
