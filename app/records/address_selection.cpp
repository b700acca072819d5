#include "address_selection.h"

#include "data_access.h"
#include "write_transaction.h"

#include <QSqlError>
#include <QSqlQuery>

namespace {

enum List { D = 1, T = 2, R = 4, P = 8, U = 16 };

// The sensible sets of lists and the conditions each gives, in the order the conditions are
// written. A taluk counts only with its district, a sub-category only with its category.
struct Combination {
    int lists;
    QVector<List> order;
};
const Combination kCombinations[] = {
    {D, {D}},
    {R, {R}},
    {P, {P}},
    {D | T, {D, T}},
    {D | R, {D, R}},
    {D | P, {D, P}},
    {R | P, {R, P}},
    {P | U, {P, U}},
    {D | T | R, {D, T, R}},
    {D | T | P, {D, T, P}},
    {D | R | P, {D, R, P}},
    {D | P | U, {D, P, U}},
    {R | P | U, {R, P, U}},
    {D | T | R | P, {D, R, T, P}},
    {D | T | P | U, {D, T, P, U}},
    {D | R | P | U, {D, R, P, U}},
    {D | T | R | P | U, {D, T, R, P, U}},
};

AddressCondition conditionOf(List list, const ListFilters &f) {
    switch (list) {
    case D: return {QStringLiteral("districtno"), f.district};
    case T: return {QStringLiteral("Talukno"), f.taluk};
    case R: return {QStringLiteral("sl_no"), f.relation};
    case P: return {QStringLiteral("PrakaraNo"), f.prakara};
    case U: break;
    }
    return {QStringLiteral("UpaPrakaraNo"), f.upaprakara};
}

// " WHERE a.x = ? AND a.y = ?" for the conditions, or nothing for none. The column names come
// from the tables above, never from the user.
QString whereClause(const AddressConditions &conditions) {
    QString sql;
    for (const AddressCondition &c : conditions)
        sql += (sql.isEmpty() ? QStringLiteral(" WHERE a.") : QStringLiteral(" AND a.")) + c.column +
               QStringLiteral(" = ?");
    return sql;
}

void bindAll(QSqlQuery &q, const AddressConditions &conditions) {
    for (const AddressCondition &c : conditions) q.addBindValue(c.value);
}

// The category and sub-category names come along with each address.
const char kGridSelect[] =
    "SELECT a.id_no, a.Name, p.prakaraname, u.upaprakaraname, a.hphone, a.hcity FROM addressh a "
    "LEFT JOIN prakara p ON p.PrakaraNo = a.PrakaraNo "
    "LEFT JOIN upaprakara u ON u.UpaPrakaraNo = a.UpaPrakaraNo";

GridRow readGridRow(const QSqlQuery &q) {
    GridRow r;
    r.id = q.value(0).toInt();
    r.name = q.value(1).toString();
    r.prakaraName = q.value(2).toString();
    r.upaprakaraName = q.value(3).toString();
    r.phone = q.value(4).toString();
    r.place = q.value(5).toString();
    return r;
}

}  // namespace

std::optional<AddressConditions> listConditions(const ListFilters &f) {
    const int set = (f.districtSet ? D : 0) | (f.talukSet ? T : 0) | (f.relationSet ? R : 0) |
                    (f.prakaraSet ? P : 0) | (f.upaprakaraSet ? U : 0);
    for (const Combination &c : kCombinations) {
        if (c.lists != set) continue;
        AddressConditions out;
        for (List l : c.order) out.append(conditionOf(l, f));
        return out;
    }
    return std::nullopt;
}

std::optional<AddressConditions> textConditions(const TextCriteria &t) {
    const std::pair<const QString *, const char *> order[] = {
        {&t.country, "hcountry"}, {&t.name, "Name"}, {&t.state, "hstate"}, {&t.place, "hcity"}};
    for (const auto &[text, column] : order) {
        if (trimBlanks(*text).isEmpty()) continue;
        return AddressConditions{{QString::fromLatin1(column), *text}};
    }
    return std::nullopt;
}

AddressListData::AddressListData(QSqlDatabase db) : db_(db) {}

std::optional<QVector<GridRow>> AddressListData::gridRows(const AddressConditions &conditions) {
    QSqlQuery q(db_);
    q.setForwardOnly(true);
    if (!q.prepare(QLatin1String(kGridSelect) + whereClause(conditions) +
                   QStringLiteral(" ORDER BY a.sortcol, a.id_no"))) {
        error_ = q.lastError().text();
        return std::nullopt;
    }
    bindAll(q, conditions);
    if (!q.exec()) {
        error_ = q.lastError().text();
        return std::nullopt;
    }
    QVector<GridRow> rows;
    while (q.next()) rows.append(readGridRow(q));
    return rows;
}

std::optional<GridRow> AddressListData::gridRow(int id) {
    error_.clear();
    QSqlQuery q(db_);
    q.prepare(QLatin1String(kGridSelect) + QStringLiteral(" WHERE a.id_no = ?"));
    q.addBindValue(id);
    if (!q.exec()) {
        error_ = q.lastError().text();
        return std::nullopt;
    }
    if (!q.next()) return std::nullopt;
    return readGridRow(q);
}

bool AddressListData::removeAddress(int id) {
    QSqlQuery q(db_);
    q.prepare(QStringLiteral("DELETE FROM addressh WHERE id_no = ?"));
    q.addBindValue(id);
    if (!q.exec()) {
        error_ = q.lastError().text();
        return false;
    }
    return true;
}

int AddressListData::fillReportTable(const AddressConditions &conditions, ReportKind kind, AddressChoice choice,
                                     const std::function<void(int, int)> &progress) {
    auto fail = [this](const QSqlQuery &q) {
        error_ = q.lastError().text();
        return -1;
    };
    WriteTransaction tx(db_);
    if (!tx.begin(&error_)) return -1;
    QSqlQuery clear(db_);
    if (!clear.exec(QStringLiteral("DELETE FROM temp"))) return fail(clear);

    QSqlQuery total(db_);
    total.prepare(QStringLiteral("SELECT count(*) FROM addressh a") + whereClause(conditions));
    bindAll(total, conditions);
    if (!total.exec() || !total.next()) return fail(total);
    const int rows = total.value(0).toInt();
    total.finish();
    if (progress) progress(0, rows);

    // Rows are written while these are read: the whole result is fetched at once (a forward-only
    // query of PostgreSQL's driver would fetch row by row and lose the rest at the first write).
    QSqlQuery src(db_);
    src.prepare(QStringLiteral("SELECT a.Name, a.sortcol, a.haddress, a.oaddress, a.hpin_code, a.hcity, a.hphone, "
                               "a.he_mail, p.prakaraname, u.upaprakaraname FROM addressh a "
                               "LEFT JOIN prakara p ON p.PrakaraNo = a.PrakaraNo "
                               "LEFT JOIN upaprakara u ON u.UpaPrakaraNo = a.UpaPrakaraNo") +
                whereClause(conditions) + QStringLiteral(" ORDER BY a.sortcol, a.id_no"));
    bindAll(src, conditions);
    if (!src.exec()) return fail(src);

    QSqlQuery ins(db_);
    if (!ins.prepare(QStringLiteral("INSERT INTO temp (Name, sortcol, haddress, hpin_code, hcity, hphone, he_mail, "
                                    "ojob, odept) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)")))
        return fail(ins);
    const QVariant none;
    int copied = 0;
    while (src.next()) {
        const QVariant first = src.value(2), second = src.value(3), pin = src.value(4), city = src.value(5);
        QVariant address, pinCode, place;
        // Which address a row carries; the PIN code and the place belong to the first one only.
        const bool useFirst = kind == ReportKind::Labels
                                  ? (choice == AddressChoice::First ? !first.isNull() : second.isNull())
                                  : choice == AddressChoice::First;
        if (useFirst) {
            address = first;
            pinCode = pin;
            place = city;
        } else {
            address = second;
        }
        ins.bindValue(0, src.value(0));
        ins.bindValue(1, src.value(1));
        ins.bindValue(2, address);
        ins.bindValue(3, pinCode);
        ins.bindValue(4, place);
        const bool list = kind == ReportKind::GeneralList;
        ins.bindValue(5, list ? src.value(6) : none);
        ins.bindValue(6, list ? src.value(7) : none);
        ins.bindValue(7, list ? src.value(8) : none);
        ins.bindValue(8, list ? src.value(9) : none);
        if (!ins.exec()) return fail(ins);
        ++copied;
        if (progress) progress(copied, rows);
    }
    if (src.lastError().isValid()) return fail(src);
    src.finish();
    if (!tx.commit(&error_)) return -1;
    return copied;
}

std::optional<QVector<ReportRow>> AddressListData::reportRows() {
    QSqlQuery q(db_);
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("SELECT Name, sortcol, haddress, hpin_code, hcity, hphone, he_mail, ojob, odept "
                               "FROM temp ORDER BY sortcol, rowid"))) {
        error_ = q.lastError().text();
        return std::nullopt;
    }
    QVector<ReportRow> rows;
    while (q.next()) {
        ReportRow r;
        r.name = q.value(0).toString();
        r.sortKey = q.value(1).toString();
        r.address = q.value(2).toString();
        r.pinCode = q.value(3).toString();
        r.place = q.value(4).toString();
        r.phone = q.value(5).toString();
        r.email = q.value(6).toString();
        r.job = q.value(7).toString();
        r.department = q.value(8).toString();
        rows.append(r);
    }
    return rows;
}
