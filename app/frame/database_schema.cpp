#include "database_schema.h"

#include "database.h"

#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>

namespace DatabaseSchema {

// Number columns are whole numbers; the reference numbers and id_no identify their rows.
// Classification numbers of an address default to 0, "none".
const Table kTables[7] = {
    {"district", "districtno INTEGER PRIMARY KEY, districtname TEXT, sortcol TEXT"},
    {"taluk", "Talukno INTEGER PRIMARY KEY, talukname TEXT, districtno INTEGER NOT NULL DEFAULT 0, "
              "sortcol TEXT"},
    {"prakara", "PrakaraNo INTEGER PRIMARY KEY, prakaraname TEXT, psortcol TEXT"},
    {"upaprakara", "UpaPrakaraNo INTEGER PRIMARY KEY, upaprakaraname TEXT, "
                   "PrakaraNo INTEGER NOT NULL DEFAULT 0, usortcol TEXT"},
    {"addrelation", "sl_no INTEGER PRIMARY KEY, relationitem TEXT, sortcol TEXT"},
    {"addressh", "id_no INTEGER PRIMARY KEY, Name TEXT, sortcol TEXT, members TEXT, haddress TEXT, "
                 "hcity TEXT, hpin_code TEXT, hstate TEXT, hcountry TEXT, hphone TEXT, he_mail TEXT, "
                 "hfax TEXT, hpager TEXT, oaddress TEXT, otherinfor TEXT, "
                 "sl_no INTEGER NOT NULL DEFAULT 0, districtno INTEGER NOT NULL DEFAULT 0, "
                 "Talukno INTEGER NOT NULL DEFAULT 0, PrakaraNo INTEGER NOT NULL DEFAULT 0, "
                 "UpaPrakaraNo INTEGER NOT NULL DEFAULT 0"},
    {"temp", "Name TEXT, sortcol TEXT, haddress TEXT, hpin_code TEXT, hcity TEXT, hphone TEXT, "
             "he_mail TEXT, ojob TEXT, odept TEXT"},
};

namespace {

// Sort columns (lists), parent numbers (child lists), the address links (cascades) and the
// search columns (prefix searches). Row numbers are the tables' keys already.
const char *const kIndexes[] = {
    "CREATE INDEX district_sort ON district (sortcol)",
    "CREATE INDEX taluk_sort ON taluk (districtno, sortcol)",
    "CREATE INDEX prakara_sort ON prakara (psortcol)",
    "CREATE INDEX upaprakara_sort ON upaprakara (PrakaraNo, usortcol)",
    "CREATE INDEX addrelation_sort ON addrelation (sortcol)",
    "CREATE INDEX addressh_sort ON addressh (sortcol)",
    "CREATE INDEX addressh_relation ON addressh (sl_no)",
    "CREATE INDEX addressh_district ON addressh (districtno)",
    "CREATE INDEX addressh_taluk ON addressh (Talukno)",
    "CREATE INDEX addressh_prakara ON addressh (PrakaraNo)",
    "CREATE INDEX addressh_upaprakara ON addressh (UpaPrakaraNo)",
    "CREATE INDEX addressh_name ON addressh (Name)",
    "CREATE INDEX addressh_city ON addressh (hcity)",
    "CREATE INDEX addressh_state ON addressh (hstate)",
    "CREATE INDEX addressh_country ON addressh (hcountry)",
    "CREATE INDEX temp_sort ON temp (sortcol)",
};

bool exec(QSqlDatabase &db, const QString &sql, QString *why) {
    QSqlQuery q(db);
    if (q.exec(sql)) return true;
    *why = q.lastError().text();
    return false;
}

// The columns of a table as the engine reports them, lower case (names are matched without
// regard to case).
QStringList columnsOf(QSqlDatabase &db, const QString &table) {
    QStringList names;
    const QSqlRecord rec = db.record(table);
    for (int i = 0; i < rec.count(); ++i) names << rec.fieldName(i).toLower();
    return names;
}

}  // namespace

QString columnsFor(const QSqlDatabase &db, const Table &table) {
    QString columns = QLatin1String(table.columns);
    if (Database::engineOf(db) == Database::Engine::PostgreSQL)
        columns.replace(QRegularExpression(QStringLiteral("\\bTEXT\\b")), QStringLiteral("TEXT COLLATE \"C\""));
    return columns;
}

bool create(QSqlDatabase &db, QString *why) {
    for (const Table &t : kTables)
        if (!exec(db, QStringLiteral("CREATE TABLE %1 (%2)").arg(QLatin1String(t.name), columnsFor(db, t)), why)) return false;
    for (const char *sql : kIndexes)
        if (!exec(db, QLatin1String(sql), why)) return false;
    return true;
}

QStringList tablesOf(QSqlDatabase &db) {
    QStringList names;
    if (Database::engineOf(db) == Database::Engine::PostgreSQL) {
        QSqlQuery q(db);
        q.exec(QStringLiteral("SELECT table_name FROM information_schema.tables WHERE table_schema = current_schema()"));
        while (q.next()) names << q.value(0).toString().toLower();
    } else {
        for (const QString &t : db.tables()) names << t.toLower();
    }
    return names;
}

bool check(QSqlDatabase &db, QString *why) {
    const QStringList tables = tablesOf(db);
    for (const Table &t : kTables) {
        const QString name = QLatin1String(t.name);
        if (!tables.contains(name)) {
            *why = QStringLiteral("it is not a Kelda Vasi database (it has no table \"%1\")").arg(name);
            return false;
        }
        const QStringList have = columnsOf(db, name);
        for (const QString &def : QString::fromLatin1(t.columns).split(QLatin1Char(','))) {
            const QString column = def.trimmed().section(QLatin1Char(' '), 0, 0).toLower();
            if (!have.contains(column)) {
                *why = QStringLiteral("it is not a Kelda Vasi database (its table \"%1\" has no column \"%2\")")
                           .arg(name, column);
                return false;
            }
        }
    }
    return true;
}

}  // namespace DatabaseSchema
