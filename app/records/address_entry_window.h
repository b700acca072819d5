// FrmAddressEntry: the address entry window, the one window that writes addresses. Three
// pages of boxes and lists; in new mode each save appends a record and offers to take the
// next one, in change mode (EditMode, CurrentId) a save rewrites the record that was loaded (a box
// emptied there is cleared, after a question that names it). Closing with changes not saved
// asks whether to save them.
#pragma once

#include <QStringList>
#include <QVector>
#include <QWidget>

#include "address_data.h"
#include "data_access.h"

class GlyphButton;
class GlyphComboBox;
class GlyphLabel;
class GlyphLineEdit;
class GlyphTextEdit;
class PinCodeBox;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QTimer;

class FrmAddressEntry : public QWidget {
    Q_OBJECT
public:
    // Opens in change mode when ModDeclare::EditMode is true, on record ModDeclare::CurrentId.
    explicit FrmAddressEntry(QWidget *parent = nullptr);
    ~FrmAddressEntry() override;

    // Empties every text box and the text of every list of the window; lists keep their items.
    static void ClearEntryBoxes(QWidget *window);
    // Fills the boxes and lists from record ModDeclare::CurrentId.
    void LoadRecord();

    bool changeMode() const { return editMode_; }
    // In change mode, the number of the record it was opened on.
    int recordNumber() const { return recordId_; }
    // The numbers of the relation, district, taluk, category and sub-category last picked.
    int relationNumber() const { return relation_; }
    int districtNumber() const { return district_; }
    int talukNumber() const { return taluk_; }
    int prakaraNumber() const { return prakara_; }
    int upaprakaraNumber() const { return upaprakara_; }
    int shakeCounter() const { return shake_; }
    // The page captions, as glyph codes.
    QString pageCaption(int page) const;
    // The boxes and lists differ from what was loaded or last saved.
    bool changed();

    GlyphLabel *Label1;  // the title
    QPushButton *Command4;
    QTabWidget *SSTab1;
    // Page 0
    GlyphLineEdit *Txtname;
    GlyphComboBox *CmbRelation;
    GlyphButton *Command1;
    GlyphComboBox *CmbPrakara;
    GlyphButton *Command3;
    GlyphComboBox *CmbUpaprakara;
    GlyphButton *Command5;
    GlyphTextEdit *TxtHouseDet;
    // Page 1
    GlyphTextEdit *TxtAdd1;
    GlyphLineEdit *Txtplace;
    PinCodeBox *Txtpincode;
    GlyphComboBox *CmbDistrict;
    GlyphButton *Command6;
    GlyphComboBox *CmbTaluk;
    GlyphButton *Command7;
    GlyphLineEdit *TxtState;
    GlyphLineEdit *TxtCountry;
    GlyphTextEdit *Txtphone;
    GlyphLineEdit *TxtFax;
    GlyphLineEdit *TxtPager;
    QLineEdit *Txtemail;
    GlyphTextEdit *TxtAdd2;
    // Page 2
    GlyphTextEdit *Txtremarks;
    // Below the pages
    QLineEdit *Txtno;
    GlyphButton *Cmdsave;
    GlyphButton *Command2;
    QTimer *Timer1;

signals:
    // The window unloaded. The browse window, which opens it in change mode, refreshes the
    // changed record's row then.
    void closed();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private slots:
    void SSTab1_Click(int page);
    void Txtemail_GotFocus();
    void Txtemail_LostFocus();
    void CmbRelation_Click();
    void CmbDistrict_Click();
    void CmbTaluk_Click();
    void CmbPrakara_Click();
    void CmbUpaprakara_Click();
    void CmbDistrict_KeyDown(int key);
    void CmbPrakara_KeyDown(int key);
    void Command1_Click();
    void Command3_Click();
    void Command5_Click();
    void Command6_Click();
    void Command7_Click();
    void Cmdsave_Click();
    void Command2_Click();
    void Command4_Click();
    void Timer1_Timer();

private:
    // The text boxes and the lists with their columns and the labels beside them.
    struct TextBox {
        QWidget *box;
        AddressColumn column;
        QString caption;
    };
    struct ListBox {
        GlyphComboBox *list;
        AddressColumn column;
        RefTable table;
        int *number;
        QString caption;
    };
    QVector<TextBox> textBoxes() const;
    QVector<ListBox> listBoxes();
    // The name, the text boxes' and the lists' texts, in that order.
    QStringList contents();
    void markSaved();
    // Writes the record; asks first when confirm is set or when boxes that held something are
    // now empty (they are cleared). False when nothing was written.
    bool saveRecord(bool confirm);

    void buildPage0(QWidget *page);
    void buildPage1(QWidget *page);
    void buildPage2(QWidget *page);
    void Form_Load();
    void Form_Unload();

    bool editMode_ = false;
    int recordId_ = 0;
    int relation_ = 0;
    int district_ = 0;
    int taluk_ = 0;
    int prakara_ = 0;
    int upaprakara_ = 0;
    int shake_ = 0;
    bool shown_ = false;
    bool unloaded_ = false;
    // Kannada typing was switched off for the e-mail box and is to be switched on again.
    bool latinForEmail_ = false;
    // contents() when the record was loaded or last saved.
    QStringList saved_;
};
