#include "server_database.h"

#include "database.h"
#include "database_schema.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>
#include <QUrlQuery>

namespace ServerDatabase {
namespace {

// A value of the server's connection string, quoted.
QString quoted(QString value) {
    value.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    value.replace(QLatin1Char('\''), QLatin1String("\\'"));
    return QLatin1Char('\'') + value + QLatin1Char('\'');
}

bool run(QSqlDatabase &db, const QString &sql, QString *why) {
    QSqlQuery q(db);
    if (q.exec(sql)) return true;
    if (why) *why = q.lastError().text();
    return false;
}

// The tables are made, or found to be the address book's, under the lock every writing copy
// takes: two copies opening a new database at once make them once.
bool prepareTables(QSqlDatabase &db, QString *why) {
    if (!run(db, QStringLiteral("BEGIN"), why)) return false;
    bool ok = run(db, QStringLiteral("SELECT pg_advisory_xact_lock(%1)").arg(Database::kWriteLock), why);
    QString schema;
    if (ok) {
        QSqlQuery q(db);
        ok = q.exec(QStringLiteral("SELECT current_schema()")) && q.next();
        schema = ok ? q.value(0).toString() : QString();
        if (ok && schema.isEmpty()) {
            *why = QStringLiteral("its search path names no schema that exists");
            ok = false;
        }
    }
    if (ok) {
        const QStringList tables = DatabaseSchema::tablesOf(db);
        bool ours = false;
        for (const DatabaseSchema::Table &t : DatabaseSchema::kTables) ours = ours || tables.contains(QLatin1String(t.name));
        if (tables.isEmpty()) {
            ok = DatabaseSchema::create(db, why);
        } else if (!ours) {
            *why = QStringLiteral("it is another program's database: it holds tables of its own (%1) and none of "
                                  "the address book's")
                       .arg(tables.mid(0, 5).join(QLatin1String(", ")));
            ok = false;
        } else {
            ok = DatabaseSchema::check(db, why);
        }
    }
    // Saving must be possible: a user who may only read is refused now, not at the first save.
    for (const DatabaseSchema::Table &t : DatabaseSchema::kTables) {
        if (!ok) break;
        QSqlQuery q(db);
        // Each right on its own: a list of them asks whether the user has any.
        q.prepare(QStringLiteral("SELECT has_table_privilege(?, 'SELECT') AND has_table_privilege(?, 'INSERT') AND "
                                 "has_table_privilege(?, 'UPDATE') AND has_table_privilege(?, 'DELETE'), current_user"));
        for (int i = 0; i < 4; ++i) q.addBindValue(schema + QLatin1Char('.') + QLatin1String(t.name));
        ok = q.exec() && q.next();
        if (!ok) *why = q.lastError().text();
        else if (!q.value(0).toBool()) {
            *why = QStringLiteral("the user %1 may not change its table \"%2\"").arg(q.value(1).toString(), QLatin1String(t.name));
            ok = false;
        }
    }
    if (ok) return run(db, QStringLiteral("COMMIT"), why);
    run(db, QStringLiteral("ROLLBACK"), nullptr);
    return false;
}

// The report table of this session: it hides the shared one, and its rowid keeps the order the
// rows were written in (as SQLite's rowid does).
bool makeSessionReportTable(QSqlDatabase &db, QString *why) {
    for (const DatabaseSchema::Table &t : DatabaseSchema::kTables) {
        if (QLatin1String(t.name) != QLatin1String("temp")) continue;
        return run(db, QStringLiteral("CREATE TEMPORARY TABLE temp (rowid BIGSERIAL, %1)").arg(DatabaseSchema::columnsFor(db, t)),
                   why) &&
               run(db, QStringLiteral("CREATE INDEX temp_sort ON pg_temp.temp (sortcol)"), why);
    }
    return true;
}

}  // namespace

bool isAddress(const QString &text) {
    return text.startsWith(QLatin1String("postgresql://")) || text.startsWith(QLatin1String("postgres://"));
}

QString shown(const QString &address) {
    QUrl url(address);
    if (!url.isValid()) return address;
    url.setPassword(QString());
    QUrlQuery query(url);
    if (query.hasQueryItem(QStringLiteral("password"))) {
        query.removeAllQueryItems(QStringLiteral("password"));
        url.setQuery(query);
    }
    return url.toString();
}

bool open(const QString &address, const QString &connection, int lockWaitMs, QString *why) {
    const QUrl url(address, QUrl::StrictMode);
    QString database = url.path(QUrl::FullyDecoded).mid(1);
    QString host = url.host(QUrl::FullyDecoded), user = url.userName(QUrl::FullyDecoded),
            password = url.password(QUrl::FullyDecoded);
    int port = url.port();
    // The query's items: the address's own parts, and the server's other connection keywords.
    QStringList options{QStringLiteral("connect_timeout=10")};
    QString serverOptions = QStringLiteral("-c client_min_messages=warning");
    for (const auto &[key, value] : QUrlQuery(url).queryItems(QUrl::FullyDecoded)) {
        if (key == QLatin1String("host")) host = value;
        else if (key == QLatin1String("port")) port = value.toInt();
        else if (key == QLatin1String("user")) user = value;
        else if (key == QLatin1String("password")) password = value;
        else if (key == QLatin1String("dbname")) database = value;
        else if (key == QLatin1String("options")) serverOptions += QLatin1Char(' ') + value;
        else options << key + QLatin1Char('=') + quoted(value);
    }
    if (!url.isValid() || database.isEmpty()) {
        *why = QStringLiteral("the address names no database (postgresql://[user[:password]@]host[:port]/dbname)");
        return false;
    }
    options << QStringLiteral("options=") + quoted(serverOptions);

    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), connection);
    db.setDatabaseName(database);
    if (!host.isEmpty()) db.setHostName(host);
    if (port > 0) db.setPort(port);
    if (!user.isEmpty()) db.setUserName(user);
    if (!password.isEmpty()) db.setPassword(password);
    db.setConnectOptions(options.join(QLatin1Char(';')));
    if (!db.open()) {
        *why = QStringLiteral("the server cannot be reached or does not let the user in (%1)")
                   .arg(db.lastError().text().trimmed());
        return false;
    }
    // A save waits for another copy's as long as it would for a file's lock.
    return run(db, QStringLiteral("SET lock_timeout = %1").arg(lockWaitMs), why) && prepareTables(db, why) &&
           makeSessionReportTable(db, why);
}

}  // namespace ServerDatabase
