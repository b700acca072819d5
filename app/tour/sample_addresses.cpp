#include "sample_addresses.h"

#include "data_access.h"
#include "shared_module.h"
#include "reference_samples.h"

#include <QHash>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace SampleAddresses {
namespace {

// Given names.
const char *const kGiven[] = {
    "g\xC1\xAA\xC0\xC4",  // rAma
    "P\xC0\xC8\xB5\xC0\xDA",  // kRShNa
    "\xB9\xC3v\xC1",  // sItA
    "\xAEQ\xEB\xF6\xE4",  // lakShmi
    "V\xC3v\xC1",  // gItA
    "\xAA\xC0\xC4" "Ad\xC4\xA3\xC1x\xC0",  // manjunAtha
    "\xB2\xAA\xC0g\xC1" "e\xEF",  // shivarAj
    "\xA5\xC0\xE6P\xC1\xB1\xEF",  // prakAsh
    "\xB8\xC0\xC4g\xC9\xC3\xB1\xEF",  // suresh
    "g\xC0\xAA\xC9\xC4\xC3\xB1\xEF",  // ramesh
    "C\xA4v\xC1",  // anitA
    "P\xC1\xAA\xC0\xE5",  // kAvya
    "\xA3\xC1U\xC0g\xC1" "e\xEF",  // nAgarAj
    "\xAB" "dAi\xC0i\xEF",  // vijay
    "\xB2\xE6\xC3\xA4\xAA\xC1\xB8\xC0",  // shrInivAsa
    "\xAA\xC0\xB8\xC0" "Av\xC0",  // vasanta
    "\xA8s\xC1g\xC0w",  // bhArati
    "U\xC0u\xC9\xC3\xB1\xEF",  // gaNesh
    "\xAA\xC0\xC4\xBA\xC9\xC3\xB1\xEF",  // mahesh
    "\xB8\xC0g\xC0\xB8\xC0\xE9w",  // sarasvati
};

// Initials.
const char *const kInitials[] = {
    "P\xC9.",  // ke.
    "J\xB8\xEF.",  // es.
    "JA.",  // eM.
    "\xA9.",  // bi.
    "J\xF2.",  // en.
    "JZ\xEF.",  // ec.
    "Dg\xEF.",  // Ar.
    "f.",  // ji.
};

// Parts of a street address.
const char *const kStreets[] = {
    "\xAA\xC0\xC4\xC4R\xE5 g\xC0\xB8\xC9\xDB",  // mukhya raste
    "Cq\xC0\xD8 g\xC0\xB8\xC9\xDB",  // aDDa raste
    "\xA7q\xC1\xAA\xC0u\xC9",  // baDAvaNe
    "\xA3\xC0U\xC0g\xC0",  // nagara
    "\xAA\xC0\xC4\xA3\xC9 \xA3\xC0" "A.",  // mane naM.
    "\xBA\xC0" "Av\xC0",  // hanta
};

// Places.
const char *const kPlaces[] = {
    "\xAA\xC9\xC4\xCA\xB8\xC0\xC6g\xC0\xC4",  // maisUru
    "\xAA\xC0\xC4" "AU\xC0\xBC\xC0\xC6g\xC0\xC4",  // mangaLUru
    "\xBA\xC0\xC4\xA7\xE2\xBD\xEE",  // hubbaLLi
    "zs\xC1g\xC0\xAA\xC1q\xC0",  // dhAravADa
    "\xA8\xC9\xBC\xC0U\xC1\xAB",  // beLagAvi
    "\xB2\xAA\xC0\xAA\xC9\xC6U\xC0\xCE",  // shivamogga
    "v\xC0\xC4\xAA\xC0\xC4P\xC0\xC6g\xC0\xC4",  // tumakUru
    "Gq\xC0\xC4\xA6",  // uDupi
    "\xBA\xC1\xB8\xC0\xA3\xC0",  // hAsana
    "\xAA\xC0\xC4" "Aq\xC0\xE5",  // manDya
    "av\xC0\xE6z\xC0\xC4U\xC0\xF0",  // chitradurga
    "\xA8\xC9" "AU\xC0\xBC\xC0\xC6g\xC0\xC4",  // bengaLUru
};

const char kState[] = "P\xC0\xA3\xC1\xF0lP\xC0";  // karnATaka
const char kCountry[] = "\xA8s\xC1g\xC0v\xC0";  // bhArata

template <size_t N>
QString pick(const char *const (&words)[N], unsigned n) {
    return QString::fromLatin1(words[n % N]);
}

// A small generator of its own, so that every run makes the same addresses.
struct Dice {
    unsigned state;
    unsigned next() {
        state = state * 1103515245u + 12345u;
        return (state >> 8) & 0xFFFFFF;
    }
};

}  // namespace

bool fill(QSqlDatabase db, int count, QString *error) {
    AddressBookData data(db);
    if (!AddReferenceSamples(data)) {
        *error = data.lastError();
        return false;
    }
    // The addresses point at the entries the lists hold: a taluk of their district, a
    // sub-category of their category, when there is one.
    const auto districts = data.rows(RefTable::District), relations = data.rows(RefTable::Relation),
               prakaras = data.rows(RefTable::Prakara);
    if (!districts || !relations || !prakaras || districts->isEmpty() || relations->isEmpty() || prakaras->isEmpty()) {
        *error = QStringLiteral("the reference lists could not be read: ") + data.lastError();
        return false;
    }
    QHash<int, QVector<RefRow>> taluks, upaprakaras;
    for (const RefRow &d : *districts) taluks[d.number] = data.rows(RefTable::Taluk, d.number).value_or(QVector<RefRow>());
    for (const RefRow &p : *prakaras)
        upaprakaras[p.number] = data.rows(RefTable::Upaprakara, p.number).value_or(QVector<RefRow>());
    auto among = [](const QVector<RefRow> &rows, unsigned n) {
        return rows.isEmpty() ? 0 : rows.at(int(n % rows.size())).number;
    };
    const int first = data.nextAddressNumber();
    if (first == 0) {
        *error = QStringLiteral("the next address number could not be read");
        return false;
    }

    if (!db.transaction()) {
        *error = db.lastError().text();
        return false;
    }
    QSqlQuery q(db);
    q.prepare(QStringLiteral(
        "INSERT INTO addressh (id_no, Name, sortcol, haddress, hcity, hpin_code, hstate, hcountry, hphone, he_mail, "
        "oaddress, sl_no, districtno, Talukno, PrakaraNo, UpaPrakaraNo) "
        "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    Dice dice{static_cast<unsigned>(first) * 7919u + 17u};
    const QVariant none;
    const QString comma = QStringLiteral(", ");
    for (int i = 0; i < count; ++i) {
        const int id = first + i;
        const QString name = pick(kInitials, dice.next()) + QLatin1Char(' ') + pick(kGiven, dice.next());
        const RefRow &district = districts->at(int(dice.next() % districts->size()));
        const int taluk = among(taluks.value(district.number), dice.next());
        const RefRow &prakara = prakaras->at(int(dice.next() % prakaras->size()));
        const int upaprakara = among(upaprakaras.value(prakara.number), dice.next());
        // House number and street, then the area; some have only an office address, some both.
        const QString home = pick(kStreets, 4) + QLatin1Char(' ') + QString::number(1 + dice.next() % 400) + comma +
                             QString::number(1 + dice.next() % 12) + QLatin1Char(' ') + pick(kStreets, dice.next() % 2) +
                             QLatin1Char('\n') + pick(kPlaces, dice.next()) + QLatin1Char(' ') +
                             pick(kStreets, 2 + dice.next() % 2);
        const QString office = prakara.name + comma + pick(kStreets, 0) + QLatin1Char('\n') + pick(kPlaces, dice.next());
        const unsigned kind = dice.next() % 5;
        const bool hasHome = kind != 0, hasOffice = kind <= 1;
        q.bindValue(0, id);
        q.bindValue(1, name);
        q.bindValue(2, ModDeclare::SortKey(name));
        q.bindValue(3, hasHome ? QVariant(home) : none);
        q.bindValue(4, pick(kPlaces, dice.next()));
        q.bindValue(5, QString::number(560000 + dice.next() % 30000));
        q.bindValue(6, QString::fromLatin1(kState));
        q.bindValue(7, QString::fromLatin1(kCountry));
        // One in four has a mobile number too, on a line of its own.
        const unsigned phone = dice.next();
        q.bindValue(8, QStringLiteral("080 %1").arg(20000000 + phone % 9999999) +
                           (phone % 4 == 0 ? QStringLiteral("\n98450 %1").arg(10000 + phone % 89999) : QString()));
        q.bindValue(9, dice.next() % 3 == 0 ? none : QVariant(QStringLiteral("friend%1@example.in").arg(id)));
        q.bindValue(10, hasOffice ? QVariant(office) : none);
        q.bindValue(11, among(*relations, dice.next()));
        q.bindValue(12, district.number);
        q.bindValue(13, taluk);
        q.bindValue(14, prakara.number);
        q.bindValue(15, upaprakara);
        if (!q.exec()) {
            *error = q.lastError().text();
            db.rollback();
            return false;
        }
    }
    if (!db.commit()) {
        *error = db.lastError().text();
        db.rollback();
        return false;
    }
    return true;
}

}  // namespace SampleAddresses
