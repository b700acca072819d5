// What the address book's benchmarks on both engines share: a throwaway PostgreSQL cluster of
// their own beside the SQLite files, and the reporter of targets.
#pragma once

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QProcess>
#include <QString>

#include <cstdio>

#include "app_targets.h"

// The cluster the tests use, in a folder of this run's own and saving to disk as a server
// does; stopped when it goes.
class BenchCluster {
public:
    BenchCluster() : dir_(QStringLiteral("/tmp/kelda-pg-bench-%1").arg(QCoreApplication::applicationPid())) {
        QProcess start;
        start.start(QStringLiteral(KELDA_CLUSTER_SCRIPT), {QStringLiteral("start"), dir_, QStringLiteral("durable")});
        started_ = start.waitForFinished(120000) && start.exitCode() == 0;
        if (!started_) std::fprintf(stderr, "PostgreSQL: %s\n", start.readAllStandardError().constData());
    }
    ~BenchCluster() { QProcess::execute(QStringLiteral(KELDA_CLUSTER_SCRIPT), {QStringLiteral("stop"), dir_}); }
    bool started() const { return started_; }
    // A database of its own in the cluster: the schema must be new to this run.
    QString address(const QString &schema) const {
        QProcess::execute(QStringLiteral("psql"), {QStringLiteral("-qh"), dir_, QStringLiteral("-U"), QStringLiteral("kelda"),
                                                   QStringLiteral("-c"), QStringLiteral("CREATE SCHEMA ") + schema,
                                                   QStringLiteral("kelda")});
        return QStringLiteral("postgresql:///kelda?host=%1&user=kelda&options=-c%20search_path%3D%2").arg(dir_, schema);
    }

private:
    QString dir_;
    bool started_ = false;
};
