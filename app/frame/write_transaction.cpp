#include "write_transaction.h"

#include "database.h"

#include <QHash>
#include <QSqlError>
#include <QSqlQuery>

namespace {

// Per connection: how many transactions are open on it, and whether an inner one failed.
struct Nesting {
    int depth = 0;
    bool failed = false;
};
QHash<QString, Nesting> &nesting() {
    static QHash<QString, Nesting> open;
    return open;
}

bool run(QSqlDatabase &db, const QString &sql, QString *error) {
    QSqlQuery q(db);
    if (q.exec(sql)) return true;
    if (error) *error = q.lastError().text();
    return false;
}

}  // namespace

WriteTransaction::WriteTransaction(QSqlDatabase db) : db_(db) {}

WriteTransaction::~WriteTransaction() { rollback(); }

bool WriteTransaction::begin(QString *error) {
    Nesting &n = nesting()[db_.connectionName()];
    if (n.depth == 0) {
        bool ok;
        if (Database::engineOf(db_) == Database::Engine::PostgreSQL) {
            // Every copy takes the same lock of the server before it writes; it is let go at the
            // end of the transaction, whichever way it ends.
            ok = run(db_, QStringLiteral("BEGIN"), error);
            if (ok && !run(db_, QStringLiteral("SELECT pg_advisory_xact_lock(%1)").arg(Database::kWriteLock), error)) {
                run(db_, QStringLiteral("ROLLBACK"), nullptr);
                ok = false;
            }
        } else {
            ok = run(db_, QStringLiteral("BEGIN IMMEDIATE"), error);
        }
        if (!ok) return false;
        n.failed = false;
    }
    ++n.depth;
    active_ = true;
    return true;
}

bool WriteTransaction::commit(QString *error) {
    if (!active_) return false;
    Nesting &n = nesting()[db_.connectionName()];
    active_ = false;
    if (--n.depth > 0) return true;
    if (n.failed) {
        run(db_, QStringLiteral("ROLLBACK"), nullptr);
        if (error) *error = QStringLiteral("a step of the change failed; nothing was written");
        return false;
    }
    if (run(db_, QStringLiteral("COMMIT"), error)) return true;
    run(db_, QStringLiteral("ROLLBACK"), nullptr);
    return false;
}

void WriteTransaction::rollback() {
    if (!active_) return;
    active_ = false;
    Nesting &n = nesting()[db_.connectionName()];
    if (--n.depth > 0) {
        n.failed = true;
        return;
    }
    run(db_, QStringLiteral("ROLLBACK"), nullptr);
}
