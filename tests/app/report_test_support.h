// What the browse and report window tests add to the address windows' test support: a look
// into the PDF files the reports write, through poppler's tools.
#pragma once

#include <QProcess>
#include <QStringList>

#include "records_test_support.h"

namespace Pdf {

inline QString run(const QString &tool, const QStringList &args) {
    QProcess p;
    p.start(tool, args);
    if (!p.waitForFinished(60000) || p.exitCode() != 0) return QString();
    return QString::fromUtf8(p.readAllStandardOutput());
}

// The number of pages pdfinfo finds; -1 when it cannot read the file.
inline int pages(const QString &path) {
    for (const QString &line : run(QStringLiteral("pdfinfo"), {path}).split(QLatin1Char('\n')))
        if (line.startsWith(QLatin1String("Pages:"))) return line.mid(6).trimmed().toInt();
    return -1;
}

// The text of one page (1-based), or of all pages when page is 0.
inline QString text(const QString &path, int page = 0) {
    QStringList args;
    if (page > 0) args << "-f" << QString::number(page) << "-l" << QString::number(page);
    return run(QStringLiteral("pdftotext"), args << path << QStringLiteral("-"));
}

inline QString fonts(const QString &path) { return run(QStringLiteral("pdffonts"), {path}); }

}  // namespace Pdf
