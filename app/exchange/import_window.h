// The import window: a vCard or CSV file chosen, its preview (what will be added, changed, and
// left out with the reason; the new reference entries, each to accept or decline), then the
// import in one transaction with its progress, which Cancel stops without a trace.
#pragma once

#include <QVector>
#include <QWidget>

#include "address_import.h"

class GlyphButton;
class GlyphLabel;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QProgressBar;
class QPushButton;
class QTableWidget;

class ImportWindow : public QWidget {
    Q_OBJECT
public:
    explicit ImportWindow(QWidget *parent = nullptr);

    GlyphLabel *Label1;
    QPushButton *Command4;
    QLabel *LblFile;
    QTableWidget *GrdPreview;
    GlyphLabel *LblNewEntries;
    QListWidget *LstNewEntries;
    QProgressBar *Progress;
    GlyphButton *CmdOpen;
    GlyphButton *CmdImport;
    GlyphButton *CmdCancel;
    GlyphButton *CmdClose;

    // Reads the file and shows its preview (the step after the file is chosen).
    bool openFile(const QString &path);
    // Imports the file shown; false when nothing was written (failed or cancelled).
    bool runImport();

private slots:
    void CmdOpen_Click();
    void CmdImport_Click();
    void CmdCancel_Click();
    void CmdClose_Click();
    void Command4_Click();
    void LstNewEntries_ItemChanged(QListWidgetItem *item);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    bool showPreview();
    void showPlan(const ImportPlan &plan);
    void setRunning(bool running);

    QString path_;
    ExchangeFile file_;
    QVector<NewEntry> entries_;  // as last shown, with the user's accept or decline
    bool running_ = false;
    bool cancelRequested_ = false;
};
