#include "address_data.h"

#include "shared_module.h"

#include <QSqlError>
#include <QSqlQuery>

namespace {

const char *const kColumnNames[kAddressColumnCount] = {
    "members", "haddress", "hcity", "hpin_code", "hstate", "hcountry", "hphone", "he_mail", "hfax", "hpager",
    "oaddress", "otherinfor", "sl_no", "districtno", "Talukno", "PrakaraNo", "UpaPrakaraNo",
};

const char *searchColumnName(AddressSearch column) {
    switch (column) {
    case AddressSearch::Place: return "hcity";
    case AddressSearch::State: return "hstate";
    case AddressSearch::Country: return "hcountry";
    case AddressSearch::Name: return "Name";
    }
    return "Name";
}

// The range of every text that begins with the prefix: col >= prefix and col < the first text
// past them. SQLite compares text by its UTF-8 bytes, so that bound is made on the bytes (the
// last byte plus one) and handed over as bytes to be read as text. An index on the column
// serves the range.
QString prefixCondition(AddressSearch column) {
    return QStringLiteral("%1 >= ? AND %1 < CAST(? AS TEXT)").arg(QLatin1String(searchColumnName(column)));
}

}  // namespace

const char *addressColumnName(AddressColumn column) { return kColumnNames[static_cast<int>(column)]; }

bool isClassification(AddressColumn column) { return column >= AddressColumn::Relation; }

AddressData::AddressData(QSqlDatabase db) : db_(db) {}

bool AddressData::fail(const QSqlQuery &query) {
    error_ = query.lastError().text();
    if (error_.trimmed().isEmpty()) error_ = QStringLiteral("the query failed");
    return false;
}

std::optional<AddressRecord> AddressData::load(int id) {
    error_.clear();
    QString columns = QStringLiteral("id_no, Name, sortcol");
    for (const char *c : kColumnNames) columns += QStringLiteral(", ") + QLatin1String(c);
    QSqlQuery q(db_);
    q.setForwardOnly(true);
    if (!q.prepare(QStringLiteral("SELECT %1 FROM addressh WHERE id_no = ?").arg(columns))) return fail(q), std::nullopt;
    q.addBindValue(id);
    if (!q.exec()) return fail(q), std::nullopt;
    if (!q.next()) return std::nullopt;
    AddressRecord r;
    r.id = q.value(0).toInt();
    r.name = q.value(1).toString();
    r.sortKey = q.value(2).toString();
    for (int i = 0; i < kAddressColumnCount; ++i) {
        const QVariant v = q.value(3 + i);
        // A number that was never set reads as 0, "none".
        r.values[i] = isClassification(static_cast<AddressColumn>(i)) ? QVariant(v.isNull() ? 0 : v.toInt()) : v;
    }
    return r;
}

int AddressData::insert(const AddressWrite &write) {
    error_.clear();
    QString columns = QStringLiteral("id_no, Name, sortcol");
    QString values = QStringLiteral("(SELECT coalesce(max(id_no), 0) + 1 FROM addressh), ?, ?");
    for (const auto &[column, value] : write.set) {
        columns += QStringLiteral(", ") + QLatin1String(addressColumnName(column));
        values += QStringLiteral(", ?");
    }
    // One statement reads the largest number and writes the row under the next one; SQLite
    // holds the write lock for the whole statement, so no other copy can take that number in
    // between.
    QSqlQuery q(db_);
    if (!q.prepare(QStringLiteral("INSERT INTO addressh (%1) VALUES (%2)").arg(columns, values))) return fail(q), 0;
    q.addBindValue(write.name);
    q.addBindValue(ModDeclare::SortKey(write.name));
    for (const auto &[column, value] : write.set) q.addBindValue(value);
    if (!q.exec()) return fail(q), 0;
    // id_no is the table's row key, so the new row's key is its number.
    const int number = q.lastInsertId().toInt();
    if (number <= 0) {
        error_ = QStringLiteral("the new record's number could not be read back");
        return 0;
    }
    return number;
}

AddressData::ChangeResult AddressData::change(int id, const AddressWrite &write) {
    error_.clear();
    QString assignments = QStringLiteral("Name = ?, sortcol = ?");
    for (const auto &[column, value] : write.set)
        assignments += QStringLiteral(", %1 = ?").arg(QLatin1String(addressColumnName(column)));
    QSqlQuery q(db_);
    if (!q.prepare(QStringLiteral("UPDATE addressh SET %1 WHERE id_no = ?").arg(assignments)))
        return fail(q), ChangeResult::Failed;
    q.addBindValue(write.name);
    q.addBindValue(ModDeclare::SortKey(write.name));
    for (const auto &[column, value] : write.set) q.addBindValue(value);
    q.addBindValue(id);
    if (!q.exec()) return fail(q), ChangeResult::Failed;
    return q.numRowsAffected() > 0 ? ChangeResult::Written : ChangeResult::Missing;
}

QVariantList AddressData::prefixBounds(const QString &prefix) {
    // No prefix (a null text too) is the empty one: bound as a null it would match nothing.
    if (prefix.isNull()) return prefixBounds(QStringLiteral(""));
    QByteArray past = prefix.toUtf8();
    // The byte 0xFF never occurs in UTF-8 text, so "\xFF" lies past every text, and the last
    // byte of a text's UTF-8 form can always be raised by one.
    if (past.isEmpty())
        past = QByteArray(1, '\xFF');
    else
        past.back() = static_cast<char>(static_cast<unsigned char>(past.back()) + 1);
    return {prefix, past};
}

QString AddressData::countSql(AddressSearch column) {
    return QStringLiteral("SELECT count(*) FROM addressh WHERE ") + prefixCondition(column);
}

QString AddressData::idsSql(AddressSearch column) {
    return QStringLiteral("SELECT id_no FROM addressh WHERE %1 ORDER BY sortcol, id_no").arg(prefixCondition(column));
}

std::optional<int> AddressData::countByPrefix(AddressSearch column, const QString &prefix) {
    error_.clear();
    QSqlQuery q(db_);
    q.setForwardOnly(true);
    if (!q.prepare(countSql(column))) return fail(q), std::nullopt;
    for (const QVariant &v : prefixBounds(prefix)) q.addBindValue(v);
    if (!q.exec() || !q.next()) return fail(q), std::nullopt;
    return q.value(0).toInt();
}

std::optional<QVector<int>> AddressData::idsByPrefix(AddressSearch column, const QString &prefix) {
    error_.clear();
    QSqlQuery q(db_);
    q.setForwardOnly(true);
    if (!q.prepare(idsSql(column))) return fail(q), std::nullopt;
    for (const QVariant &v : prefixBounds(prefix)) q.addBindValue(v);
    if (!q.exec()) return fail(q), std::nullopt;
    QVector<int> ids;
    while (q.next()) ids.append(q.value(0).toInt());
    return ids;
}
