// What the address book's tests share without a window: a fresh database, names as the keyboard
// engine types them, addresses written straight into the tables, reading rows back, and a look
// into the PDF files the reports write (poppler's tools).
#pragma once

#include <QCoreApplication>
#include <QProcess>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QUrl>
#include <QVariant>

#include <algorithm>

#include "address_data.h"
#include "data_access.h"
#include "database.h"
#include "server_database.h"
#include "shared_module.h"

inline QString G(const char *glyphs) { return QString::fromLatin1(glyphs); }

// Names as the keyboard engine types them from the phonetic keys (glyph codes).
namespace Typed {
inline QString kOlAra() { return G("P\xC9\xC6\xC3\xAF\xC1g\xC0"); }
inline QString tumakUru() { return G("v\xC0\xC4\xAA\xC0\xC4P\xC0\xC6g\xC0\xC4"); }
inline QString bIdara() { return G("\xA9\xC3z\xC0g\xC0"); }
inline QString beLagAvi() { return G("\xA8\xC9\xBC\xC0U\xC1\xAB"); }
inline QString mYsUru() { return G("\xAA\xC9\xC4\xCA\xB8\xC0\xC6g\xC0\xC4"); }
inline QString hAsana() { return G("\xBA\xC1\xB8\xC0\xA3\xC0"); }
inline QString rAma() { return G("g\xC1\xAA\xC0\xC4"); }
inline QString ka() { return G("P\xC0"); }  // the key "k"
inline QString ki() { return G("\x51"); }
inline QString gubbi() { return G("U\xC0\xC4\xA9\xE2"); }
inline QString mane() { return G("\xAA\xC0\xC4\xA3\xC9"); }
inline QString kachEri() { return G("P\xC0" "b\xC9\xC3j"); }
}  // namespace Typed

// A fresh address book database, opened as the program's connection: a file in a temporary
// folder, or, when KELDA_TEST_SERVER names the socket folder of a test cluster (the data-layer
// tests run once more on PostgreSQL that way), a schema of its own in that cluster's database
// "kelda", dropped afterwards.
class TestDatabase {
public:
    TestDatabase() : path_(freshAddress()) { opened_ = Database::open(path_, &error_); }
    ~TestDatabase() {
        Database::close();
        for (const QString &schema : schemas_) QSqlQuery(adminConnection()).exec(QStringLiteral("DROP SCHEMA %1 CASCADE").arg(schema));
    }
    bool opened() const { return opened_; }
    QString error() const { return error_; }
    // The file's path or the server address.
    QString path() const { return path_; }
    // A folder for the test's own files.
    QString folder() const { return dir_.path(); }

    // Whether the tests run on the PostgreSQL test cluster.
    static bool onServer() { return !qEnvironmentVariableIsEmpty("KELDA_TEST_SERVER"); }
    // A database no one has used yet, not opened: a new file, or the address of a new schema.
    QString freshAddress() {
        static int made = 0;
        ++made;
        if (!onServer()) return dir_.filePath(QStringLiteral("address%1.sqlite").arg(made));
        const QString schema = QStringLiteral("t%1_%2").arg(QCoreApplication::applicationPid()).arg(made);
        QSqlQuery(adminConnection()).exec(QStringLiteral("CREATE SCHEMA ") + schema);
        schemas_ << schema;
        return QStringLiteral("postgresql:///kelda?host=%1&user=kelda&options=%2")
            .arg(qEnvironmentVariable("KELDA_TEST_SERVER"),
                 QString::fromLatin1(QUrl::toPercentEncoding(QStringLiteral("-c search_path=") + schema)));
    }
    // A second connection to the same database, as another copy of the program has.
    bool openOther(const QString &name) const {
        QString why;
        if (onServer()) return ServerDatabase::open(path_, name, 5000, &why);
        QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        other.setDatabaseName(path_);
        return other.open();
    }

    // Runs a statement with positional values; false (and a warning) when it fails.
    static bool exec(const QString &sql, const QVariantList &values = {}) {
        QSqlQuery q(Database::connection());
        bool ok = values.isEmpty() ? q.exec(sql) : q.prepare(sql);
        for (const QVariant &v : values) q.addBindValue(v);
        if (ok && !values.isEmpty()) ok = q.exec();
        if (!ok) qWarning("%s: %s", qPrintable(sql.left(60)), qPrintable(q.lastError().text()));
        return ok;
    }
    // The first column of the first row of a query, or an invalid value.
    static QVariant scalar(const QString &sql, const QVariantList &values = {}) {
        QSqlQuery q(Database::connection());
        if (!q.prepare(sql)) return {};
        for (const QVariant &v : values) q.addBindValue(v);
        if (!q.exec() || !q.next()) return {};
        return q.value(0);
    }
    // Makes the database refuse a change with the message "refused": `when` is the event of a
    // trigger ("BEFORE DELETE ON district"); forgive() drops it again.
    static bool refuse(const QString &name, const QString &when) {
        if (!onServer())
            return exec(QStringLiteral("CREATE TRIGGER %1 %2 BEGIN SELECT RAISE(ABORT, 'refused'); END").arg(name, when));
        return exec(QStringLiteral("CREATE OR REPLACE FUNCTION refuse() RETURNS trigger LANGUAGE plpgsql AS "
                                   "$$BEGIN RAISE EXCEPTION 'refused'; END$$")) &&
               exec(QStringLiteral("CREATE TRIGGER %1 %2 FOR EACH ROW EXECUTE FUNCTION refuse()").arg(name, when));
    }
    static bool forgive(const QString &name, const QString &table) {
        return exec(onServer() ? QStringLiteral("DROP TRIGGER %1 ON %2").arg(name, table)
                               : QStringLiteral("DROP TRIGGER %1").arg(name));
    }
    // The test cluster's database, to make and drop the tests' schemas and roles.
    static QSqlDatabase adminConnection() {
        const QString name = QStringLiteral("kelda-test-admin");
        if (QSqlDatabase::contains(name)) return QSqlDatabase::database(name);
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
        db.setHostName(qEnvironmentVariable("KELDA_TEST_SERVER"));
        db.setDatabaseName(QStringLiteral("kelda"));
        db.setUserName(QStringLiteral("kelda"));
        db.setConnectOptions(QStringLiteral("options='-c client_min_messages=warning'"));
        db.open();
        return db;
    }

private:
    QTemporaryDir dir_;
    QStringList schemas_;
    QString path_;
    bool opened_ = false;
    QString error_;
};

inline int count(const QString &sql, const QVariantList &values = {}) {
    return TestDatabase::scalar(sql, values).toInt();
}

// Saves a reference entry by its number; false when the data layer refuses.
inline bool seed(RefTable table, int number, const QString &name, int parent = 0) {
    return ModDeclare::Data().save(table, number, name, parent, SaveIntent::ByNumber).ok;
}

// Districts tumakUru (1: taluks tumakUru 11, gubbi 12) and mYsUru (2: hAsana 13); category
// bIdara (21: sub-categories kOlAra 31, beLagAvi 32); relations mane (41) and kachEri (42).
inline bool addReferenceLists() {
    return seed(RefTable::District, 1, Typed::tumakUru()) && seed(RefTable::District, 2, Typed::mYsUru()) &&
           seed(RefTable::Taluk, 11, Typed::tumakUru(), 1) && seed(RefTable::Taluk, 12, Typed::gubbi(), 1) &&
           seed(RefTable::Taluk, 13, Typed::hAsana(), 2) && seed(RefTable::Prakara, 21, Typed::bIdara()) &&
           seed(RefTable::Upaprakara, 31, Typed::kOlAra(), 21) && seed(RefTable::Upaprakara, 32, Typed::beLagAvi(), 21) &&
           seed(RefTable::Relation, 41, Typed::mane()) && seed(RefTable::Relation, 42, Typed::kachEri());
}

// The name of a reference entry, or "<none>" when there is no such entry.
inline QString nameOf(RefTable table, int number) {
    const std::optional<RefRow> row = ModDeclare::Data().row(table, number);
    return row ? row->name : QStringLiteral("<none>");
}

// One column of an address, or "<none>" when there is no such address.
inline QVariant column(int id, const char *name) {
    QSqlQuery q(Database::connection());
    q.prepare(QStringLiteral("SELECT %1 FROM addressh WHERE id_no = ?").arg(QLatin1String(name)));
    q.addBindValue(id);
    if (!q.exec() || !q.next()) return QStringLiteral("<none>");
    return q.value(0);
}

// The reference numbers of an address: sl_no, districtno, Talukno, PrakaraNo, UpaPrakaraNo.
inline QList<int> addressLinks(int id) {
    QList<int> links;
    for (const char *c : {"sl_no", "districtno", "Talukno", "PrakaraNo", "UpaPrakaraNo"}) links << column(id, c).toInt();
    return links;
}

// An address written straight into the table, with its sort key. A text not given is null, as
// the entry window leaves a box it found empty.
struct TestAddress {
    int id = 0;
    QString name;
    int relation = 0, district = 0, taluk = 0, prakara = 0, upaprakara = 0;
    QVariant haddress, oaddress, hcity, hpin_code, hstate, hcountry, hphone, he_mail;
};

inline TestAddress makeAddress(int id, const QString &name, int relation = 0, int district = 0, int taluk = 0,
                               int prakara = 0, int upaprakara = 0) {
    return {id, name, relation, district, taluk, prakara, upaprakara, {}, {}, {}, {}, {}, {}, {}, {}};
}

inline bool insertAddress(const TestAddress &a) {
    return TestDatabase::exec(
        "INSERT INTO addressh (id_no, Name, sortcol, sl_no, districtno, Talukno, PrakaraNo, UpaPrakaraNo, "
        "haddress, oaddress, hcity, hpin_code, hstate, hcountry, hphone, he_mail) "
        "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
        {a.id, a.name, ModDeclare::SortKey(a.name), a.relation, a.district, a.taluk, a.prakara, a.upaprakara,
         a.haddress, a.oaddress, a.hcity, a.hpin_code, a.hstate, a.hcountry, a.hphone, a.he_mail});
}

// Saves an address through the data layer; returns its number.
inline int saveAddress(const QString &name, const QVector<QPair<AddressColumn, QVariant>> &values) {
    AddressWrite w;
    w.name = name;
    w.set = values;
    return AddressData(Database::connection()).insert(w);
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

inline QStringList inSortOrder(QStringList names) {
    std::sort(names.begin(), names.end(),
              [](const QString &a, const QString &b) { return ModDeclare::SortKey(a) < ModDeclare::SortKey(b); });
    return names;
}

namespace Pdf {

inline QString run(const QString &tool, const QStringList &args) {
    QProcess p;
    p.start(tool, args);
    if (!p.waitForFinished(60000) || p.exitCode() != 0) return QString();
    return QString::fromUtf8(p.readAllStandardOutput());
}

// The number of pages pdfinfo finds; -1 when it cannot read the file.
inline int pages(const QString &path) {
    for (const QString &line : run(QStringLiteral("pdfinfo"), {path}).split(QLatin1Char('\n')))
        if (line.startsWith(QLatin1String("Pages:"))) return line.mid(6).trimmed().toInt();
    return -1;
}

// The text of one page (1-based), or of all pages when page is 0.
inline QString text(const QString &path, int page = 0) {
    QStringList args;
    if (page > 0) args << "-f" << QString::number(page) << "-l" << QString::number(page);
    return run(QStringLiteral("pdftotext"), args << path << QStringLiteral("-"));
}

}  // namespace Pdf
