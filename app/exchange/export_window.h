// The export window: every address, or those the browse window lists, written to a vCard or
// CSV file the user names.
#pragma once

#include <QVector>
#include <QWidget>

class GlyphButton;
class GlyphLabel;
class QLabel;
class QProgressBar;
class QPushButton;
class QRadioButton;

class ExportWindow : public QWidget {
    Q_OBJECT
public:
    explicit ExportWindow(QWidget *parent = nullptr);

    GlyphLabel *Label1;
    QPushButton *Command4;
    QRadioButton *OptVCard;
    QRadioButton *OptCsv;
    GlyphLabel *LblChoice;
    QProgressBar *Progress;
    QLabel *LblResult;
    GlyphButton *CmdExport;
    GlyphButton *CmdClose;

    // Writes the file (the step after the file is named); false when it could not be written.
    bool exportTo(const QString &path);

private slots:
    void CmdExport_Click();
    void CmdClose_Click();
    void Command4_Click();

private:
    QVector<int> numbers_;  // chosen in the browse window; empty: every address
};
