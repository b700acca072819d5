// book9: the reports window. Selects addresses by the browse window's filter lists or by one
// exact name, place, state or country, copies them into the report table temp, and prints them
// as address labels (ReportMode 50) or as the general list (ReportMode 51).
#pragma once

#include <QWidget>

#include "address_selection.h"

class FilterPanel;
class GlyphButton;
class GlyphCheckBox;
class GlyphComboBox;
class GlyphLabel;
class GlyphLineEdit;
class GlyphRadioButton;
class QFrame;
class QProgressBar;
class QPushButton;
class ReportControl;

class book9 : public QWidget {
    Q_OBJECT
public:
    explicit book9(QWidget *parent = nullptr);

    GlyphLabel *Label1;
    GlyphRadioButton *Opth;
    GlyphRadioButton *OptO;
    GlyphCheckBox *Check9;
    GlyphCheckBox *Check3;
    GlyphCheckBox *Check4;
    GlyphCheckBox *Check2;
    GlyphCheckBox *Check6;
    GlyphCheckBox *Check7;
    GlyphCheckBox *Check8;
    GlyphCheckBox *Check1;
    GlyphCheckBox *Check5;
    GlyphComboBox *CmbDistrict;
    GlyphComboBox *CmbTaluk;
    GlyphComboBox *CmbRelation;
    GlyphComboBox *CmbPrakara;
    GlyphComboBox *CmbUpaprakara;
    GlyphLineEdit *Txtname;
    GlyphLineEdit *Txtplace;
    GlyphLineEdit *TxtState;
    GlyphLineEdit *TxtCountry;
    GlyphButton *cmdreport;
    GlyphButton *cmdcancel;
    GlyphButton *cmdexit;
    QPushButton *Command4;
    QFrame *Frame2;
    GlyphLabel *l1;
    QProgressBar *PB;
    ReportControl *Crrp;

    FilterPanel *lists() const { return lists_; }
    // The mode the window opened in: 50 labels, 51 the general list.
    int reportMode() const { return mode_; }
    // Rows copied in the last run.
    int rowsCopied() const { return copied_; }

    // Copies the addresses that meet the conditions into temp and runs the report of the
    // window's mode over them (the message when there are none).
    void LoadDetails(const AddressConditions &conditions);

public slots:
    void cmdreport_Click();

private slots:
    void Form_Load();
    void Check7_Click();
    void Check8_Click();
    void Check1_Click();
    void Check5_Click();
    void cmdcancel_Click();
    void cmdexit_Click();
    void Command4_Click();

private:
    // A text criterion ticked or cleared: the other filters go, its box opens; or it closes.
    void textCriterion(GlyphCheckBox *check, GlyphLineEdit *box);
    // A list filter ticked: the text criteria go.
    void clearTextCriteria();

    FilterPanel *lists_;
    int mode_ = 0;
    int copied_ = 0;
};
