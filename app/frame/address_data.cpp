#include "address_data.h"

#include "kannada-tovi-sort-key-text.h"
#include "shared_module.h"
#include "tovi_library.h"
#include "write_transaction.h"

#include <QSqlError>
#include <QSqlQuery>

#include <algorithm>

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

// KSCLP bytes: the inherent vowel, and the consonants (KA ... LLA).
constexpr unsigned char kInherentVowel = 182;
constexpr unsigned char kFirstConsonant = 201;
constexpr unsigned char kLastConsonant = 237;

}  // namespace

const char *addressColumnName(AddressColumn column) { return kColumnNames[static_cast<int>(column)]; }

bool isClassification(AddressColumn column) { return column >= AddressColumn::Relation; }

AddressData::AddressData(QSqlDatabase db) : db_(db) {}

bool AddressData::fail(const QSqlQuery &query) {
    error_ = query.lastError().text();
    if (error_.trimmed().isEmpty()) error_ = QStringLiteral("the query failed");
    return false;
}

QSqlQuery *AddressData::statement(const QString &sql) {
    // Many saves through one AddressData (an import) prepare each statement once.
    std::shared_ptr<QSqlQuery> &q = statements_[sql];
    if (!q) {
        q = std::make_shared<QSqlQuery>(db_);
        if (!q->prepare(sql)) {
            fail(*q);
            statements_.remove(sql);
            return nullptr;
        }
    }
    return q.get();
}

QString AddressData::selectSql() {
    QString columns = QStringLiteral("id_no, Name, sortcol");
    for (const char *c : kColumnNames) columns += QStringLiteral(", ") + QLatin1String(c);
    return QStringLiteral("SELECT %1 FROM addressh").arg(columns);
}

AddressRecord AddressData::readRecord(const QSqlQuery &q) {
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

std::optional<AddressRecord> AddressData::load(int id) {
    error_.clear();
    QSqlQuery q(db_);
    q.setForwardOnly(true);
    if (!q.prepare(selectSql() + QStringLiteral(" WHERE id_no = ?"))) return fail(q), std::nullopt;
    q.addBindValue(id);
    if (!q.exec()) return fail(q), std::nullopt;
    if (!q.next()) return std::nullopt;
    return readRecord(q);
}

std::optional<QVector<AddressRecord>> AddressData::loadAll() {
    error_.clear();
    QSqlQuery q(db_);
    q.setForwardOnly(true);
    if (!q.exec(selectSql() + QStringLiteral(" ORDER BY id_no"))) return fail(q), std::nullopt;
    QVector<AddressRecord> out;
    while (q.next()) out.append(readRecord(q));
    if (q.lastError().isValid()) return fail(q), std::nullopt;
    return out;
}

int AddressData::insert(const AddressWrite &write, int number) {
    error_.clear();
    QString columns = QStringLiteral("id_no, Name, sortcol");
    QString values = number > 0 ? QStringLiteral("?, ?, ?")
                                : QStringLiteral("(SELECT coalesce(max(id_no), 0) + 1 FROM addressh), ?, ?");
    for (const auto &[column, value] : write.set) {
        columns += QStringLiteral(", ") + QLatin1String(addressColumnName(column));
        values += QStringLiteral(", ?");
    }
    // The statement reads the largest number and writes the row under the next one while the
    // transaction holds the write lock, so no other copy can take that number in between.
    WriteTransaction tx(db_);
    if (!tx.begin(&error_)) return 0;
    QSqlQuery *q = statement(QStringLiteral("INSERT INTO addressh (%1) VALUES (%2) RETURNING id_no").arg(columns, values));
    if (!q) return 0;
    int at = 0;
    if (number > 0) q->bindValue(at++, number);
    q->bindValue(at++, write.name);
    q->bindValue(at++, ModDeclare::SortKey(write.name));
    for (const auto &[column, value] : write.set) q->bindValue(at++, value);
    if (!q->exec()) return fail(*q), 0;
    const int written = q->next() ? q->value(0).toInt() : 0;
    q->finish();
    if (written <= 0) {
        error_ = QStringLiteral("the new record's number could not be read back");
        return 0;
    }
    if (!tx.commit(&error_)) return 0;
    return written;
}

AddressData::ChangeResult AddressData::change(int id, const AddressWrite &write) {
    error_.clear();
    QString assignments = QStringLiteral("Name = ?, sortcol = ?");
    for (const auto &[column, value] : write.set)
        assignments += QStringLiteral(", %1 = ?").arg(QLatin1String(addressColumnName(column)));
    QSqlQuery q(db_);
    // The row written comes back, which tells on every engine whether there was one.
    if (!q.prepare(QStringLiteral("UPDATE addressh SET %1 WHERE id_no = ? RETURNING id_no").arg(assignments)))
        return fail(q), ChangeResult::Failed;
    q.addBindValue(write.name);
    q.addBindValue(ModDeclare::SortKey(write.name));
    for (const auto &[column, value] : write.set) q.addBindValue(value);
    q.addBindValue(id);
    if (!q.exec()) return fail(q), ChangeResult::Failed;
    return q.next() ? ChangeResult::Written : ChangeResult::Missing;
}

QString AddressData::letterKey(const QString &prefix) {
    if (prefix.isEmpty()) return QString();
    const std::optional<QByteArray> key = ToviLibrary::monolingualGlyph2KSCLP(prefix.toLatin1());
    if (!key || key->isEmpty()) return QString();
    QByteArray k = *key;
    // A consonant at the end gets the inherent vowel in a key; as a prefix of letters it
    // stands for the consonant with whatever follows it.
    const auto at = [&k](qsizetype i) { return static_cast<unsigned char>(k.at(i)); };
    if (k.size() >= 2 && at(k.size() - 1) == kInherentVowel && at(k.size() - 2) >= kFirstConsonant &&
        at(k.size() - 2) <= kLastConsonant)
        k.chop(1);
    return QString::fromStdString(ToviSortKeyText::Hex({k.constData(), static_cast<size_t>(k.size())}));
}

std::optional<QVector<int>> AddressData::find(AddressSearch column, const QString &prefix) {
    error_.clear();
    const QString key = letterKey(prefix);
    return column == AddressSearch::Name ? findNames(prefix, key) : findValues(column, prefix, key);
}

// Names: the range of the glyph codes on the name's index, and the range of the letters on the
// sort key's.
std::optional<QVector<int>> AddressData::findNames(const QString &prefix, const QString &key) {
    QString sql = QStringLiteral("SELECT id_no FROM addressh WHERE (Name >= ? AND Name < ?)");
    // Sort keys are capital hexadecimal digits, so "G" lies past every key that begins with key.
    if (!key.isEmpty()) sql += QStringLiteral(" OR (sortcol >= ? AND sortcol < ?)");
    QSqlQuery q(db_);
    q.setForwardOnly(true);
    if (!q.prepare(sql + QStringLiteral(" ORDER BY sortcol, id_no"))) return fail(q), std::nullopt;
    for (const QVariant &v : prefixBounds(prefix)) q.addBindValue(v);
    if (!key.isEmpty()) {
        q.addBindValue(key);
        q.addBindValue(key + QLatin1Char('G'));
    }
    if (!q.exec()) return fail(q), std::nullopt;
    QVector<int> ids;
    while (q.next()) ids.append(q.value(0).toInt());
    return ids;
}

// Places, states and countries have no sort key of their own: their distinct values (read from
// the column's index) are matched here, and the addresses of the matching values read by them.
std::optional<QVector<int>> AddressData::findValues(AddressSearch column, const QString &prefix,
                                                    const QString &key) {
    const QLatin1String name(searchColumnName(column));
    QSqlQuery values(db_);
    values.setForwardOnly(true);
    if (!values.exec(QStringLiteral("SELECT DISTINCT %1 FROM addressh WHERE %1 IS NOT NULL").arg(name)))
        return fail(values), std::nullopt;
    QStringList matching;
    while (values.next()) {
        const QString v = values.value(0).toString();
        if (v.startsWith(prefix) || (!key.isEmpty() && ModDeclare::SortKey(v).startsWith(key))) matching << v;
    }
    QVector<QPair<QString, int>> found;  // sort key and number
    constexpr int kChunk = 500;  // values bound to one query
    for (qsizetype from = 0; from < matching.size(); from += kChunk) {
        const QStringList chunk = matching.mid(from, kChunk);
        QStringList marks(chunk.size(), QStringLiteral("?"));
        QSqlQuery q(db_);
        q.setForwardOnly(true);
        if (!q.prepare(QStringLiteral("SELECT sortcol, id_no FROM addressh WHERE %1 IN (%2)")
                           .arg(name, marks.join(QLatin1Char(',')))))
            return fail(q), std::nullopt;
        for (const QString &v : chunk) q.addBindValue(v);
        if (!q.exec()) return fail(q), std::nullopt;
        while (q.next()) found.append({q.value(0).toString(), q.value(1).toInt()});
    }
    std::sort(found.begin(), found.end());
    QVector<int> ids;
    ids.reserve(found.size());
    for (const auto &f : found) ids.append(f.second);
    return ids;
}

QVariantList AddressData::prefixBounds(const QString &prefix) {
    // No prefix (a null text too) is the empty one: bound as a null it would match nothing.
    if (prefix.isNull()) return prefixBounds(QStringLiteral(""));
    // Glyph text is made of U+0000-U+00FF, so U+0100 lies past every stored text, and the
    // prefix's last character raised by one lies past every text that begins with the prefix.
    QString past = prefix;
    if (past.isEmpty())
        past = QString(QChar(0x100));
    else
        past.back() = QChar(past.back().unicode() + 1);
    return {prefix, past};
}
