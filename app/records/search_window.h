// book5: the address search. Finds the addresses whose name, place, state or country begins
// with what the user typed (its glyph codes, or its Kannada letters) and shows them one at a
// time, stepped through with a scroll bar in Kannada order, "n / N" beside it. The search runs
// on the Search button and also by itself when typing pauses. It changes nothing.
#pragma once

#include <QVector>
#include <QWidget>

#include "address_data.h"

class GlyphButton;
class GlyphCheckBox;
class GlyphLabel;
class GlyphLineEdit;
class GlyphTextEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;
class QTimer;

class book5 : public QWidget {
    Q_OBJECT
public:
    explicit book5(QWidget *parent = nullptr);

    // The number of matches of the last search.
    int matchCount() const { return count_; }
    // How long typing pauses before the criteria are searched for.
    static constexpr int kTypingPauseMs = 400;

    GlyphLabel *Label1;  // the title
    GlyphCheckBox *ChkName;
    GlyphLineEdit *txtsearch;
    GlyphCheckBox *Chkplace;
    GlyphLineEdit *Txtplace;
    GlyphCheckBox *ChkState;
    GlyphLineEdit *TxtState;
    GlyphCheckBox *Chkcountry;
    GlyphLineEdit *TxtCountry;
    GlyphButton *Command1;
    GlyphButton *Command2;
    GlyphButton *Command3;
    QPushButton *Command4;
    // The match shown.
    GlyphLineEdit *Txtname;
    GlyphLineEdit *txtrelation;
    GlyphLineEdit *TxtPrakara;
    GlyphLineEdit *TxtUpaprakara;
    QLineEdit *Txtemail;
    GlyphTextEdit *txthphone;
    GlyphTextEdit *txthaddress;
    GlyphTextEdit *txtoaddress;
    QScrollBar *Vs;
    QLabel *LblPosition;  // "n / N"

private slots:
    void ChkName_Click(bool ticked);
    void Chkplace_Click(bool ticked);
    void ChkState_Click(bool ticked);
    void Chkcountry_Click(bool ticked);
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Vs_Change(int value);
    void Criterion_Change();
    void TypingPause_Timer();

private:
    void criterionTicked(GlyphLineEdit *box, bool ticked);
    // Searches for the first criterion; typed (asTyped) it says nothing when there is nothing
    // to search for or nothing found.
    void search(bool asTyped);
    void showPosition();
    void emptyResults();
    void showMatch(int position);
    void setRange(int maximum);

    AddressSearch column_ = AddressSearch::Name;
    QVector<int> matches_;  // the numbers of the matching records, in sort order
    int count_ = 0;
    QTimer *typingPause_;
};
