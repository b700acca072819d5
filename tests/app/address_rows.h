// Addresses written straight into a test database, with their sort keys, for the tests of the
// browse and reports windows.
#pragma once

#include <QString>
#include <QVariant>

#include "shared_module.h"
#include "test_database.h"

struct TestAddress {
    int id = 0;
    QString name;
    int relation = 0, district = 0, taluk = 0, prakara = 0, upaprakara = 0;
    // Null when not given, as the entry window leaves a box it found empty.
    QVariant haddress, oaddress, hcity, hpin_code, hstate, hcountry, hphone, he_mail;
};

inline TestAddress makeAddress(int id, const QString &name, int relation = 0, int district = 0, int taluk = 0,
                               int prakara = 0, int upaprakara = 0) {
    TestAddress a;
    a.id = id;
    a.name = name;
    a.relation = relation;
    a.district = district;
    a.taluk = taluk;
    a.prakara = prakara;
    a.upaprakara = upaprakara;
    return a;
}

inline bool insertAddress(const TestAddress &a) {
    return TestDatabase::exec(
        "INSERT INTO addressh (id_no, Name, sortcol, sl_no, districtno, Talukno, PrakaraNo, UpaPrakaraNo, "
        "haddress, oaddress, hcity, hpin_code, hstate, hcountry, hphone, he_mail) "
        "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
        {a.id, a.name, ModDeclare::SortKey(a.name), a.relation, a.district, a.taluk, a.prakara, a.upaprakara,
         a.haddress, a.oaddress, a.hcity, a.hpin_code, a.hstate, a.hcountry, a.hphone, a.he_mail});
}

// Kannada names that sort differently from their numbers: syllables picked by the number.
inline QString kannadaName(int n) {
    static const char *const syllables[] = {"P\xC0", "\xA3\xC0\xDF", "q\xC0", "g\xC1", "\xAA\xC0\xC4",
                                            "\xB8\xC0j", "v\xC1", "\xAB\xC3", "\xBA\xC9", "\x51"};
    QString name;
    unsigned v = static_cast<unsigned>(n) * 2654435761u;
    for (int i = 0; i < 3 + n % 3; ++i) {
        name += QString::fromLatin1(syllables[v % 10]);
        v /= 10;
    }
    return name + QString::number(n);
}
