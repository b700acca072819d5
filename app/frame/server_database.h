// An address book on a PostgreSQL server, shared by the copies of an office:
//   postgresql://[user[:password]@]host[:port]/dbname
//   postgresql:///dbname?host=/run/postgresql        (a local server's socket folder)
// Further query items (port, user, password, sslmode, connect_timeout, options, ...) are the
// server's own connection keywords.
#pragma once

#include <QSqlDatabase>
#include <QString>

namespace ServerDatabase {

// Whether the text names a server database rather than a file.
bool isAddress(const QString &text);
// The address as messages show it: without its password.
QString shown(const QString &address);

// Connects the named connection to the database at the address. A database that holds no
// table is made the address book's, with every table and index; one that holds the address
// book's tables is used as it is. Refused (false, and *why says why): an address that names no
// database, a server that cannot be reached or lets the user in not, a database that holds
// another program's tables, a user who may not change the address book's tables. Each session
// then has a report table of its own, so two copies printing at once do not mix their rows.
bool open(const QString &address, const QString &connection, int lockWaitMs, QString *why);

}  // namespace ServerDatabase
