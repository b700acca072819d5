// The pattern the five reference-list windows share: a list of all entries in Kannada order,
// the number and name of one entry, arrows that step through the entries, New, Save, Delete
// with a warning, Cancel, two close buttons, and a short shake of the window that acknowledges
// a save before the list is refreshed.
//
// The one-level windows (frmDistrict, FrmPrakara, FrmRelation) are this class with their own
// captions; the two-level ones add a parent list (TwoLevelWindow). Every read and write goes
// through the data-access module.
#pragma once

#include <QString>
#include <QVector>
#include <QWidget>

#include "data_access.h"

class ArrowButton;
class GlyphButton;
class GlyphLabel;
class GlyphLineEdit;
class GlyphListBox;
class QGridLayout;
class QLineEdit;
class QPushButton;
class QTimer;

// What sets one window of the family apart from the others.
struct ReferenceWindowDef {
    const char *windowName;   // frmDistrict, FrmPrakara, ...
    RefTable table;
    const char *listName;     // LstDistrict, ...
    const char *nameBoxName;  // txtdistrict, ...
    const char *titleLabelName, *nameLabelName, *numberLabelName;
    // The delete warning: %1 the entry's name, %2 how many addresses use it, %3 how many
    // entries of the next level go with it.
    QString title, nameLabel, nameMessage, warning;
};

class ReferenceWindow : public QWidget {
    Q_OBJECT
public:
    ~ReferenceWindow() override;

    // Controls (object names as each window names them).
    GlyphLabel *titleLabel;
    GlyphListBox *list;
    GlyphLabel *numberLabel;
    QLineEdit *Txtno;
    GlyphLabel *nameLabel;
    GlyphLineEdit *nameBox;
    ArrowButton *cmdmf, *cmdmp, *cmdmn, *cmdml;
    GlyphButton *cmdnew, *Cmdsave, *CmdDelete, *cmdcancel, *cmdexit;
    QPushButton *Command4;
    QTimer *Timer1;

    int shakeCounter() const { return shake_; }
    // The numbers of the navigation set in its order, and its position (-1 before the first
    // row, the count past the last). For tests and the screenshot tour.
    QVector<int> navigationSet() const { return nav_; }
    int navigationPosition() const { return navPos_; }
    // The boxes differ from the entry last shown or saved.
    bool changed() const;

protected:
    ReferenceWindow(const ReferenceWindowDef &def, QWidget *parent);
    // The place where a two-level window puts its parent list, above the boxes.
    QGridLayout *boxesGrid() const { return grid_; }
    // Runs what opening the window does; the final class calls it once it is built.
    virtual void Form_Load();

    // The parent whose entries the window works on; 0 for the one-level windows.
    virtual int currentParent() const { return 0; }
    // Save's check of the parent (two-level windows): shows the parent message and returns
    // false when there is none to save under.
    virtual bool parentReady() { return true; }
    // What follows a save in this window, before the focus goes to New.
    virtual void afterSave() {}
    // What follows a delete.
    virtual void afterDelete();

    virtual void FillList();
    void ClearBoxes();
    virtual void ShowFirst();
    // Opens the navigation set of the current parent, before its first row.
    void openNavigationSet();
    void fillListFrom(const QVector<RefRow> &rows);
    // Shows the row of the navigation set at the position; false (and nothing shown) when the
    // row cannot be read.
    bool showNavigationRow(bool selectInList = true);
    void showRow(const RefRow &row, bool selectInList = true);
    void setNavigationPosition(int position) { navPos_ = position; }

    // The boxes as they are now count as shown: nothing in them is unsaved.
    void markShown();
    // Saves the boxes (the Save button); false when nothing was saved (a message said why).
    bool save();
    // Before the boxes' changes would go: asks whether to save them, let them go or stay.
    // False when the window is to stay as it is.
    bool settleChanges();
    // The number in the number box, or 0 when it holds no usable number. Every number the data
    // layer hands out or holds (1 to INT_MAX) is one.
    static int boxNumber(const QString &text);

    // A message of the window, a question, and the report of a database failure.
    void message(const QString &glyphs);
    void reportFailure(const AddressBookData &data);

    void closeEvent(QCloseEvent *event) override;

    const ReferenceWindowDef &def() const { return def_; }

protected slots:
    void cmdmf_Click();
    void cmdmp_Click();
    void cmdmn_Click();
    void cmdml_Click();
    void List_Click();
    void cmdnew_Click();
    void Cmdsave_Click();
    void CmdDelete_Click();
    void cmdcancel_Click();
    void cmdexit_Click();
    void Command4_Click();
    void Timer1_Timer();

private:
    void build();
    QString deleteWarning(AddressBookData &data, int number) const;
    bool navigationEof() const { return nav_.isEmpty() || navPos_ >= nav_.size(); }
    bool navigationBof() const { return nav_.isEmpty() || navPos_ < 0; }

    ReferenceWindowDef def_;
    QGridLayout *grid_ = nullptr;
    QVector<int> nav_;
    int navPos_ = -1;
    int shake_ = 0;
    // The number New handed out while the boxes still hold that new entry; 0 otherwise. A save
    // under it takes a new row and never overwrites one that another copy saved meanwhile.
    int newNumber_ = 0;
    // What the boxes held when they last showed an entry (or were saved).
    QString shownNumber_, shownName_;
};
