// A write transaction on an address book connection. It holds the database's write lock from
// its first statement (SQLite: BEGIN IMMEDIATE; PostgreSQL: the address book's own lock on the
// server), so that a check and the writes that depend on it see no other copy's write in
// between, and two copies never both take one number. It happens whole or not at all.
//
// Transactions nest: one begun while another is open on the same connection joins it, and only
// the outermost commits. An inner one that ends without its commit makes the outer one fail.
#pragma once

#include <QSqlDatabase>
#include <QString>

class WriteTransaction {
public:
    explicit WriteTransaction(QSqlDatabase db);
    // Rolls back what was not committed.
    ~WriteTransaction();
    WriteTransaction(const WriteTransaction &) = delete;
    WriteTransaction &operator=(const WriteTransaction &) = delete;

    // false (and *error says why) when the transaction could not start.
    bool begin(QString *error);
    bool commit(QString *error);
    void rollback();

private:
    QSqlDatabase db_;
    bool active_ = false;
};
