// A fresh address book database in a temporary folder, opened as the program's connection.
#pragma once

#include <QSqlQuery>
#include <QString>
#include <QTemporaryDir>
#include <QVariant>

#include "database.h"

class TestDatabase {
public:
    TestDatabase() : path_(dir_.filePath(QStringLiteral("address.sqlite"))) {
        QString error;
        opened_ = Database::open(path_, &error);
        error_ = error;
    }
    ~TestDatabase() { Database::close(); }
    bool opened() const { return opened_; }
    QString error() const { return error_; }
    QString path() const { return path_; }
    QString folder() const { return dir_.path(); }

    // Runs a statement with positional values; false when it fails.
    static bool exec(const QString &sql, const QVariantList &values = {}) {
        QSqlQuery q(Database::connection());
        if (!q.prepare(sql)) return false;
        for (const QVariant &v : values) q.addBindValue(v);
        return q.exec();
    }
    // The first column of the first row of a query, or an invalid value.
    static QVariant scalar(const QString &sql, const QVariantList &values = {}) {
        QSqlQuery q(Database::connection());
        if (!q.prepare(sql)) return {};
        for (const QVariant &v : values) q.addBindValue(v);
        if (!q.exec() || !q.next()) return {};
        return q.value(0);
    }

private:
    QTemporaryDir dir_;
    QString path_;
    bool opened_ = false;
    QString error_;
};
