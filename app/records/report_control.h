// Crrp, the reports window's report control: given a report layout file, it runs that layout
// once over the rows of the report table temp, in their sort order, and shows the result in
// Qt's print preview (from which it can be printed or saved as PDF), prints it, or writes it
// into a PDF file.
#pragma once

#include <QObject>
#include <QString>

class QWidget;

class ReportControl : public QObject {
    Q_OBJECT
public:
    enum class Destination { Preview, Printer, File };

    explicit ReportControl(QObject *parent = nullptr);

    QString ReportFileName;
    Destination destination = Destination::Preview;
    // The PDF file written when the destination is File.
    QString PrintFileName;

    // Runs the report. A layout that cannot be read, a database that cannot be, or an output
    // that cannot be written is told in a message over dialogParent; the result is false then,
    // and lastError() says why.
    bool run(QWidget *dialogParent);
    // Pages of the last run (0 when nothing was printed).
    int pages() const { return pages_; }
    QString lastError() const { return error_; }

private:
    bool fail(QWidget *dialogParent, const QString &why);

    int pages_ = 0;
    QString error_;
};
