// What the browse and report window tests share: dialogs answered as they open, picks in the
// filter lists, and a look into the PDF files the reports write (poppler's tools).
#pragma once

#include <QApplication>
#include <QMessageBox>
#include <QProcess>
#include <QStringList>
#include <QTimer>

#include "book3.h"
#include "book4.h"
#include "glyph_widgets.h"

// Answers every modal dialog as it opens: a message is read and closed, a question gets the
// next queued answer (no when none is queued), a warning box is read and closed.
class DialogAnswers : public QObject {
public:
    DialogAnswers() {
        timer_.setInterval(5);
        connect(&timer_, &QTimer::timeout, this, [this] {
            QWidget *modal = QApplication::activeModalWidget();
            if (auto *m = qobject_cast<book4 *>(modal)) {
                messages << m->Label1->text();
                m->Command1->click();
            } else if (auto *q = qobject_cast<book3 *>(modal)) {
                questions << q->Label1->text();
                (!answers.isEmpty() && answers.takeFirst() ? q->Command1 : q->Command2)->click();
            } else if (auto *box = qobject_cast<QMessageBox *>(modal)) {
                warnings << box->text();
                box->accept();
            }
        });
        timer_.start();
    }
    QStringList messages, questions, warnings;
    QList<bool> answers;

private:
    QTimer timer_;
};

// Picks the entry of that text, as a click in the open list does.
inline bool pickEntry(GlyphComboBox *list, const QString &glyphs) {
    for (int i = 0; i < list->count(); ++i) {
        if (list->itemGlyphText(i) != glyphs) continue;
        list->setCurrentIndex(i);
        emit list->activated(i);
        return true;
    }
    return false;
}

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
