#include "data_access.h"

#include "shared_module.h"
#include "write_transaction.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <climits>

namespace {

const RefTableInfo kInfo[] = {
    {"district", "districtno", "districtname", nullptr, "sortcol", "districtno"},
    {"taluk", "Talukno", "talukname", "districtno", "sortcol", "Talukno"},
    {"prakara", "PrakaraNo", "prakaraname", nullptr, "psortcol", "PrakaraNo"},
    {"upaprakara", "UpaPrakaraNo", "upaprakaraname", "PrakaraNo", "usortcol", "UpaPrakaraNo"},
    {"addrelation", "sl_no", "relationitem", nullptr, "sortcol", "sl_no"},
};

QString L(const char *s) { return QString::fromLatin1(s); }

}  // namespace

const RefTableInfo &refTableInfo(RefTable table) { return kInfo[static_cast<int>(table)]; }

QString trimBlanks(const QString &text) {
    qsizetype start = 0, end = text.size();
    while (start < end && text.at(start) == QLatin1Char(' ')) ++start;
    while (end > start && text.at(end - 1) == QLatin1Char(' ')) --end;
    return text.mid(start, end - start);
}

AddressBookData::AddressBookData(QSqlDatabase db) : db_(db) {}

bool AddressBookData::fail(const QSqlQuery &query) { return fail(query.lastError().text()); }

bool AddressBookData::fail(const QString &message) {
    error_ = message;
    return false;
}

// The largest number plus one; 0 with the reason when the query fails or no number is left.
static int maxPlusOne(QSqlDatabase db, const QString &sql, QString *error) {
    QSqlQuery q(db);
    if (!q.exec(sql) || !q.next()) {
        *error = q.lastError().text();
        return 0;
    }
    const QVariant mds = q.value(0);
    if (mds.isNull()) return 1;
    const qlonglong largest = mds.toLongLong();
    if (largest >= INT_MAX) {
        *error = QStringLiteral("every number up to %1 is taken").arg(INT_MAX);
        return 0;
    }
    return static_cast<int>(largest) + 1;
}

int AddressBookData::nextNumber(RefTable table) {
    const RefTableInfo &t = refTableInfo(table);
    return maxPlusOne(db_, QStringLiteral("SELECT max(%1) AS Mds FROM %2").arg(L(t.number), L(t.table)), &error_);
}

int AddressBookData::nextAddressNumber() {
    return maxPlusOne(db_, QStringLiteral("SELECT max(id_no) AS cnt FROM addressh"), &error_);
}

static RefRow readRow(const QSqlQuery &q, bool hasParent) {
    RefRow r;
    r.number = q.value(0).toInt();
    r.name = q.value(1).toString();
    r.sortKey = q.value(2).toString();
    if (hasParent) r.parent = q.value(3).toInt();
    return r;
}

static QString selectColumns(const RefTableInfo &t) {
    QString cols = QStringLiteral("%1, %2, %3").arg(L(t.number), L(t.name), L(t.sortColumn));
    if (t.parent) cols += QStringLiteral(", ") + L(t.parent);
    return cols;
}

std::optional<QVector<RefRow>> AddressBookData::rows(RefTable table, int parent) {
    const RefTableInfo &t = refTableInfo(table);
    QString sql = QStringLiteral("SELECT %1 FROM %2").arg(selectColumns(t), L(t.table));
    if (t.parent) sql += QStringLiteral(" WHERE %1 = :parent").arg(L(t.parent));
    // The number breaks ties between equal keys, so the order never depends on the engine.
    sql += QStringLiteral(" ORDER BY %1, %2").arg(L(t.sortColumn), L(t.number));
    QSqlQuery q(db_);
    q.setForwardOnly(true);
    if (!q.prepare(sql)) return fail(q), std::nullopt;
    if (t.parent) q.bindValue(QStringLiteral(":parent"), parent);
    if (!q.exec()) return fail(q), std::nullopt;
    QVector<RefRow> out;
    while (q.next()) out.append(readRow(q, t.parent != nullptr));
    return out;
}

std::optional<QVector<RefRow>> AddressBookData::allRows(RefTable table) {
    const RefTableInfo &t = refTableInfo(table);
    QSqlQuery q(db_);
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("SELECT %1 FROM %2 ORDER BY %3").arg(selectColumns(t), L(t.table), L(t.number))))
        return fail(q), std::nullopt;
    QVector<RefRow> out;
    while (q.next()) out.append(readRow(q, t.parent != nullptr));
    return out;
}

std::optional<RefRow> AddressBookData::row(RefTable table, int number) {
    const RefTableInfo &t = refTableInfo(table);
    QSqlQuery q(db_);
    q.prepare(QStringLiteral("SELECT %1 FROM %2 WHERE %3 = :n").arg(selectColumns(t), L(t.table), L(t.number)));
    q.bindValue(QStringLiteral(":n"), number);
    if (!q.exec()) return fail(q), std::nullopt;
    if (!q.next()) return std::nullopt;
    return readRow(q, t.parent != nullptr);
}

std::optional<bool> AddressBookData::nameExists(RefTable table, const QString &name, int parent) {
    const RefTableInfo &t = refTableInfo(table);
    QString sql = QStringLiteral("SELECT 1 FROM %1 WHERE %2 = :name").arg(L(t.table), L(t.name));
    if (t.parent) sql += QStringLiteral(" AND %1 = :parent").arg(L(t.parent));
    QSqlQuery q(db_);
    q.prepare(sql + QStringLiteral(" LIMIT 1"));
    q.bindValue(QStringLiteral(":name"), trimBlanks(name));
    if (t.parent) q.bindValue(QStringLiteral(":parent"), parent);
    if (!q.exec()) return fail(q), std::nullopt;
    return q.next();
}

SaveOutcome AddressBookData::save(RefTable table, int number, const QString &name, int parent,
                                  SaveIntent intent) {
    const RefTableInfo &t = refTableInfo(table);
    SaveOutcome out;
    if (number <= 0) {
        fail(QStringLiteral("%1 is not a row number").arg(number));
        return out;
    }
    WriteTransaction tx(db_);
    if (!tx.begin(&error_)) return out;

    QSqlQuery q(db_);
    q.prepare(QStringLiteral("SELECT %1 FROM %2 WHERE %3 = :n")
                  .arg(L(t.parent ? t.parent : t.number), L(t.table), L(t.number)));
    q.bindValue(QStringLiteral(":n"), number);
    if (!q.exec()) return fail(q), out;
    bool exists = q.next();
    const int storedParent = exists && t.parent ? q.value(0).toInt() : parent;
    q.finish();
    if (exists && intent == SaveIntent::NewEntry) {
        // Another copy saved under this number since it was handed out: take the next free
        // one instead of overwriting that entry.
        number = nextNumber(table);
        if (number == 0) return out;
        exists = false;
        out.renumbered = true;
    } else if (exists && storedParent != parent) {
        out.otherParent = true;
        fail(QStringLiteral("entry %1 belongs to another parent").arg(number));
        return out;
    }

    QSqlQuery w(db_);
    if (exists) {
        w.prepare(QStringLiteral("UPDATE %1 SET %2 = :name, %3 = :key WHERE %4 = :n")
                      .arg(L(t.table), L(t.name), L(t.sortColumn), L(t.number)));
    } else if (t.parent) {
        w.prepare(QStringLiteral("INSERT INTO %1 (%2, %3, %4, %5) VALUES (:n, :name, :key, :parent)")
                      .arg(L(t.table), L(t.number), L(t.name), L(t.sortColumn), L(t.parent)));
        w.bindValue(QStringLiteral(":parent"), parent);
    } else {
        w.prepare(QStringLiteral("INSERT INTO %1 (%2, %3, %4) VALUES (:n, :name, :key)")
                      .arg(L(t.table), L(t.number), L(t.name), L(t.sortColumn)));
    }
    w.bindValue(QStringLiteral(":n"), number);
    w.bindValue(QStringLiteral(":name"), name);
    w.bindValue(QStringLiteral(":key"), ModDeclare::SortKey(name));
    if (!w.exec()) return fail(w), out;
    if (!tx.commit(&error_)) return out;
    out.ok = true;
    out.number = number;
    return out;
}

std::optional<int> AddressBookData::addressCount(RefTable table, int number) {
    QSqlQuery q(db_);
    q.prepare(QStringLiteral("SELECT count(*) FROM addressh WHERE %1 = :n").arg(L(refTableInfo(table).addressNumber)));
    q.bindValue(QStringLiteral(":n"), number);
    if (!q.exec() || !q.next()) return fail(q), std::nullopt;
    return q.value(0).toInt();
}

MoveOutcome AddressBookData::move(RefTable table, int number, int newParent) {
    const RefTableInfo &t = refTableInfo(table);
    MoveOutcome out;
    error_.clear();
    if (!t.parent) {
        fail(QStringLiteral("%1 has no parents").arg(L(t.table)));
        return out;
    }
    WriteTransaction tx(db_);
    if (!tx.begin(&error_)) return out;
    const std::optional<RefRow> entry = row(table, number);
    if (!entry) {
        if (error_.isEmpty()) fail(QStringLiteral("there is no entry %1").arg(number));
        return out;
    }
    const std::optional<bool> taken = nameExists(table, entry->name, newParent);
    if (!taken) return out;
    if (*taken) {
        out.duplicate = true;
        return out;
    }
    QSqlQuery w(db_);
    w.prepare(QStringLiteral("UPDATE %1 SET %2 = :parent WHERE %3 = :n").arg(L(t.table), L(t.parent), L(t.number)));
    w.bindValue(QStringLiteral(":parent"), newParent);
    w.bindValue(QStringLiteral(":n"), number);
    if (!w.exec()) return fail(w), out;
    // The addresses of the taluk (sub-category) take its new district (category).
    const char *addressParent = table == RefTable::Taluk ? "districtno" : "PrakaraNo";
    QSqlQuery carry(db_);
    carry.prepare(QStringLiteral("UPDATE addressh SET %1 = :parent WHERE %2 = :n").arg(L(addressParent), L(t.addressNumber)));
    carry.bindValue(QStringLiteral(":parent"), newParent);
    carry.bindValue(QStringLiteral(":n"), number);
    if (!carry.exec()) return fail(carry), out;
    out.addresses = carry.numRowsAffected();
    if (!tx.commit(&error_)) return out;
    out.ok = true;
    return out;
}

bool AddressBookData::remove(RefTable table, int number) {
    // The steps of each delete, in order; :n is the number of the row being deleted.
    static const QVector<const char *> kSteps[] = {
        {"UPDATE addressh SET districtno = 0, Talukno = 0 WHERE districtno = :n",
         "DELETE FROM taluk WHERE districtno = :n", "DELETE FROM district WHERE districtno = :n"},
        {"DELETE FROM taluk WHERE Talukno = :n", "UPDATE addressh SET Talukno = 0 WHERE Talukno = :n"},
        {"UPDATE addressh SET PrakaraNo = 0, UpaPrakaraNo = 0 WHERE PrakaraNo = :n",
         "DELETE FROM upaprakara WHERE PrakaraNo = :n", "DELETE FROM prakara WHERE PrakaraNo = :n"},
        {"UPDATE addressh SET UpaPrakaraNo = 0 WHERE UpaPrakaraNo = :n",
         "DELETE FROM upaprakara WHERE UpaPrakaraNo = :n"},
        {"UPDATE addressh SET sl_no = 0 WHERE sl_no = :n", "DELETE FROM addrelation WHERE sl_no = :n"},
    };
    WriteTransaction tx(db_);
    if (!tx.begin(&error_)) return false;
    for (const char *step : kSteps[static_cast<int>(table)]) {
        QSqlQuery q(db_);
        q.prepare(L(step));
        q.bindValue(QStringLiteral(":n"), number);
        if (!q.exec()) return fail(q);
    }
    return tx.commit(&error_);
}
