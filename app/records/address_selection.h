// Which addresses the browse window and the reports window select, the grid rows the browse
// window shows, and the report table temp. Every query of those two windows is here; numbers
// and texts travel as bound parameters.
#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QVariant>
#include <QVector>

#include <functional>
#include <optional>

// One condition of a selection: the column equals the value.
struct AddressCondition {
    QString column;
    QVariant value;
    bool operator==(const AddressCondition &o) const { return column == o.column && value == o.value; }
};
// The conditions all hold; none selects every address.
using AddressConditions = QVector<AddressCondition>;

// The five filter lists of the browse and reports windows: whether each is set (its text is not
// empty) and the number last picked in it.
struct ListFilters {
    bool districtSet = false, talukSet = false, relationSet = false, prakaraSet = false, upaprakaraSet = false;
    int district = 0, taluk = 0, relation = 0, prakara = 0, upaprakara = 0;
};

// The conditions of the lists that are set, when they form one of the seventeen sensible
// combinations (a taluk only with its district, a sub-category only with its category, and so
// on); nullopt for any other set, no list at all included.
std::optional<AddressConditions> listConditions(const ListFilters &lists);

// The exact-text criteria of the reports window. The first box that is not blank, in the order
// country, name, state, place, decides; its text counts as typed, blanks included, so the match
// is exact. nullopt when every box is blank.
struct TextCriteria {
    QString country, name, state, place;
};
std::optional<AddressConditions> textConditions(const TextCriteria &texts);

// A row of the browse grid: the number, the name, the category and sub-category names (empty
// when the address has none or its entry is gone), the phone and the place.
struct GridRow {
    int id = 0;
    QString name, prakaraName, upaprakaraName, phone, place;
};

// What a report prints of one address, as the reports window left it in temp.
struct ReportRow {
    QString name, sortKey, address, pinCode, place, phone, email, job, department;
};

enum class ReportKind { Labels = 50, GeneralList = 51 };
enum class AddressChoice { First, Second };

class AddressListData {
public:
    explicit AddressListData(QSqlDatabase db);

    // The addresses that meet the conditions, in Kannada order (the number breaks ties).
    std::optional<QVector<GridRow>> gridRows(const AddressConditions &conditions);
    // One address as a grid row; nullopt when there is no such address or the query failed
    // (lastError() tells which).
    std::optional<GridRow> gridRow(int id);
    // Deletes one address; false when the delete failed.
    bool removeAddress(int id);

    // Empties temp and copies into it, in Kannada order, the addresses that meet the
    // conditions: for labels the name and the chosen address with its place and PIN code (the
    // other address when the chosen one is missing), for the general list the chosen address
    // and also the phone, e-mail, category and sub-category. progress(copied, total) is called
    // before the first row and after each. It happens whole or not at all. Returns the number
    // of rows, -1 on error.
    int fillReportTable(const AddressConditions &conditions, ReportKind kind, AddressChoice choice,
                        const std::function<void(int, int)> &progress = {});
    // The rows of temp in sort order (rows of equal keys in the order they were copied).
    std::optional<QVector<ReportRow>> reportRows();

    QString lastError() const { return error_; }

private:
    QSqlDatabase db_;
    QString error_;
};
