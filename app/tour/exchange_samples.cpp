#include "exchange_samples.h"

#include "address_data.h"
#include "data_access.h"
#include "write_transaction.h"

#include <iterator>

namespace ExchangeSamples {
namespace {

// Syllables as the keyboard engine types them (glyph codes).
const char *const kSyllables[] = {
    "P\xC0", "\xA3\xC0\xDF", "q\xC0", "\x51", "\xB8\xC0j", "\xBA\xCBz\xC0\xC4", "v\xC1", "\xAE\xC6\xE8",
    "\xAB\xC3", "\xB9z\xC0\xDD", "\xAA\xC0\xC4", "g\xC1", "\xA9\xC3", "\xA8\xC9", "U\xC0", "\xBA\xC1",
    "\xAA\xC9\xC4\xCA", "\xB8\xC0\xC6", "z\xC0", "P\xC9\xC6\xC3", "\xAF\xC1", "g\xC0", "\xBC\xC0", "Ai\xC0\xC4"};
constexpr unsigned kSyllableCount = std::size(kSyllables);

// The same numbers every run.
struct Dice {
    unsigned state;
    unsigned next() {
        state = state * 1103515245u + 12345u;
        return (state >> 8) & 0xFFFFFF;
    }
};

QString word(unsigned n, int syllables) {
    QString w;
    for (int i = 0; i < syllables; ++i) {
        w += QString::fromLatin1(kSyllables[n % kSyllableCount]);
        n /= kSyllableCount;
    }
    return w;
}

// Reference lists of distinct names: 8 districts of 3 taluks, 6 categories of 3
// sub-categories, 5 relations. Returns false when a save fails.
bool addReferences(AddressBookData &data) {
    int taluk = 1, upaprakara = 1;
    for (int d = 1; d <= 8; ++d) {
        if (!data.save(RefTable::District, d, word(100 + d * 7, 3), 0, SaveIntent::ByNumber).ok) return false;
        for (int t = 0; t < 3; ++t, ++taluk)
            if (!data.save(RefTable::Taluk, taluk, word(300 + taluk * 11, 3), d, SaveIntent::ByNumber).ok) return false;
    }
    for (int p = 1; p <= 6; ++p) {
        if (!data.save(RefTable::Prakara, p, word(500 + p * 13, 2) + QStringLiteral(", ") + word(p, 1), 0,
                       SaveIntent::ByNumber).ok)
            return false;
        for (int u = 0; u < 3; ++u, ++upaprakara)
            if (!data.save(RefTable::Upaprakara, upaprakara, word(700 + upaprakara * 17, 2), p, SaveIntent::ByNumber).ok)
                return false;
    }
    for (int r = 1; r <= 5; ++r)
        if (!data.save(RefTable::Relation, r, word(900 + r * 19, 2), 0, SaveIntent::ByNumber).ok) return false;
    return true;
}

}  // namespace

bool fill(QSqlDatabase db, int count, QString *error) {
    AddressBookData refs(db);
    WriteTransaction tx(db);
    if (!tx.begin(error)) return false;
    if (refs.nextNumber(RefTable::District) == 1 && !addReferences(refs)) return *error = refs.lastError(), false;
    AddressData data(db);
    Dice dice{static_cast<unsigned>(count) * 7919u + 17u};
    const QString lineBreak = QStringLiteral("\n");
    for (int i = 0; i < count; ++i) {
        AddressWrite w;
        w.name = word(dice.next(), 1) + QStringLiteral(". ") + word(dice.next(), 2 + dice.next() % 3);
        auto text = [&](AddressColumn c, const QString &value) { w.assign(c, value); };
        text(AddressColumn::Members, word(dice.next(), 3) + lineBreak + word(dice.next(), 2) + QStringLiteral("; ") +
                                         word(dice.next(), 2));
        text(AddressColumn::Haddress, QString::number(1 + dice.next() % 400) + QStringLiteral(", ") +
                                          word(dice.next(), 3) + lineBreak + word(dice.next(), 2) +
                                          QStringLiteral(" \"") + word(dice.next(), 2) + QStringLiteral("\""));
        text(AddressColumn::Hcity, word(dice.next() % 200, 3));
        text(AddressColumn::HpinCode, QString::number(560000 + dice.next() % 30000));
        text(AddressColumn::Hstate, word(dice.next() % 5, 3));
        text(AddressColumn::Hcountry, word(3, 2));
        QString phones = QStringLiteral("080 %1").arg(20000000 + dice.next() % 9999999);
        for (unsigned more = dice.next() % 3; more > 0; --more)
            phones += lineBreak + QStringLiteral("9%1").arg(800000000 + dice.next() % 99999999);
        text(AddressColumn::Hphone, phones);
        text(AddressColumn::Hfax, QStringLiteral("080 %1").arg(30000000 + dice.next() % 9999999));
        text(AddressColumn::Hpager, QString::number(1000 + dice.next() % 9000));
        text(AddressColumn::HeMail, QStringLiteral("person%1@example.in").arg(i + 1));
        text(AddressColumn::Oaddress, word(dice.next(), 3) + QStringLiteral(", ") + word(dice.next(), 2) + lineBreak +
                                          word(dice.next() % 200, 3));
        text(AddressColumn::Otherinfor, word(dice.next(), 4) + lineBreak + QStringLiteral("\\ ") + word(dice.next(), 2));
        const int district = 1 + int(dice.next() % 8), prakara = 1 + int(dice.next() % 6);
        w.assign(AddressColumn::Relation, 1 + int(dice.next() % 5));
        w.assign(AddressColumn::District, district);
        w.assign(AddressColumn::Taluk, (district - 1) * 3 + 1 + int(dice.next() % 3));
        w.assign(AddressColumn::Prakara, prakara);
        w.assign(AddressColumn::Upaprakara, (prakara - 1) * 3 + 1 + int(dice.next() % 3));
        if (data.insert(w) == 0) return *error = data.lastError(), false;
    }
    return tx.commit(error);
}

}  // namespace ExchangeSamples
