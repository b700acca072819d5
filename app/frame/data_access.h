// Every query of the address book's reference lists, and the rules that keep the addresses
// consistent with them. Windows call these and never build SQL of their own.
//
// Names travel as bound parameters and are compared exactly, byte for byte. Each change that
// touches more than one row (a move that carries addresses along, a delete that resets them)
// runs in one transaction: it happens whole or not at all.
#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QVector>

#include <optional>

enum class RefTable { District, Taluk, Prakara, Upaprakara, Relation };

struct RefTableInfo {
    const char *table;
    const char *number;      // the row's number
    const char *name;
    const char *parent;      // the parent's number, or nullptr for a one-level list
    const char *sortColumn;
    const char *addressNumber;  // the column of addressh that points at a row of this table
};
const RefTableInfo &refTableInfo(RefTable table);

struct RefRow {
    int number = 0;
    QString name;
    int parent = 0;
    QString sortKey;
};

// Whether a save takes a new entry (its number was handed out by nextNumber) or rewrites the
// entry of that number.
enum class SaveIntent { NewEntry, ByNumber };

struct SaveOutcome {
    bool ok = false;
    int number = 0;          // the number the row was written under
    bool renumbered = false; // a new entry found its number taken and got the next free one
    bool otherParent = false; // the entry of that number belongs to another parent: not written
};

struct MoveOutcome {
    bool ok = false;
    bool duplicate = false;  // the new parent has an entry of that name: not moved
    int addresses = 0;       // how many addresses moved along
};

// Leading and trailing blanks (the space character only) removed; other glyph codes, the
// no-break space among them, are part of a name.
QString trimBlanks(const QString &text);

class AddressBookData {
public:
    explicit AddressBookData(QSqlDatabase db);

    // The number for a new row: the largest number plus 1, or 1 for an empty table; 0 on error
    // or when the largest number is INT_MAX. Numbers are 1 to INT_MAX.
    int nextNumber(RefTable table);
    int nextAddressNumber();

    // All rows (of one parent, for taluks and sub-categories) in Kannada order.
    std::optional<QVector<RefRow>> rows(RefTable table, int parent = 0);
    std::optional<RefRow> row(RefTable table, int number);
    // Every row of the table, whatever its parent, in the order of their numbers.
    std::optional<QVector<RefRow>> allRows(RefTable table);

    // The duplicate check: whether a row (of the same parent) has exactly the name once the
    // name's own blanks are trimmed. A row being edited under its unchanged name counts too.
    std::optional<bool> nameExists(RefTable table, const QString &name, int parent = 0);

    // How many addresses use the entry (their district, taluk, category, sub-category or
    // relation is that number).
    std::optional<int> addressCount(RefTable table, int number);

    // Saves by number: rewrites the name of the row of that number or appends one with exactly
    // that number, storing the name as typed and its sort key. A save never moves an entry: a
    // taluk or sub-category is written only under the parent it belongs to (a new one under
    // parent).
    SaveOutcome save(RefTable table, int number, const QString &name, int parent, SaveIntent intent);

    // Files a taluk or sub-category under another parent; the addresses that use it follow (their
    // district or category becomes the new parent). Refused when the new parent has an entry of
    // the same name.
    MoveOutcome move(RefTable table, int number, int newParent);

    // Deletes a row and resets the addresses that pointed at it (a district also takes its
    // taluks along, a category its sub-categories).
    bool remove(RefTable table, int number);

    QString lastError() const { return error_; }

private:
    bool fail(const class QSqlQuery &query);
    bool fail(const QString &message);

    QSqlDatabase db_;
    QString error_;
};
