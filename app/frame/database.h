// The address book's database: where it lies, how it is opened, created and closed.
#pragma once

#include <QSqlDatabase>
#include <QString>

namespace Database {

// The connection every window runs its queries through (the program's AppDatabase).
inline const char *connectionName() { return "AppDatabase"; }

// ~/.local/share/kelda-vasi/address.sqlite
QString defaultPath();

// Opens the file as the program's one connection. A file that does not exist is created with
// every table and index. A file that exists but is not this program's database, or that cannot
// be opened for reading and writing, is left untouched: the result is false and *error names
// the file and the reason. A postgresql:// address opens a database on a server instead
// (server_database.h).
bool open(const QString &path, QString *error, int lockWaitMs = 5000);
// Closes the connection and releases the file.
void close();
bool isOpen();
// Whether any table of the open database holds a row; false also when it cannot be read.
bool holdsAnything();
QSqlDatabase connection();

// The engines an address book lives in. Queries are the same for both; what must differ (how
// a write takes the lock, how a file or server is opened) asks which one a connection uses.
enum class Engine { SQLite, PostgreSQL };
Engine engineOf(const QSqlDatabase &db);
// The server lock every copy takes before it writes (PostgreSQL): "KVAB".
constexpr long long kWriteLock = 0x4B564142;

}  // namespace Database
