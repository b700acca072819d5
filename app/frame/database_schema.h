// The address book's tables and indexes, the same in both engines: how they are made in a new
// database and how a database is recognised as the address book's own.
#pragma once

#include <QSqlDatabase>
#include <QString>

namespace DatabaseSchema {

struct Table {
    const char *name;
    const char *columns;  // the column list of CREATE TABLE
};
extern const Table kTables[7];

// Makes every table and index (in the caller's transaction). In PostgreSQL text is compared
// by its code points (the "C" collation), as SQLite compares it: sort keys and glyph codes
// order the same in both, and a prefix is a range of an index.
bool create(QSqlDatabase &db, QString *why);
// The column list of a table as this engine makes it.
QString columnsFor(const QSqlDatabase &db, const Table &table);
// The tables of the database (in PostgreSQL: of its current schema), lower case.
QStringList tablesOf(QSqlDatabase &db);
// Whether every table is there with at least the columns this program reads and writes; why
// not, when not.
bool check(QSqlDatabase &db, QString *why);

}  // namespace DatabaseSchema
