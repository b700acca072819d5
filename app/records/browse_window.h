// book7: the browse window. Lists the addresses of a district, taluk, relation, category or
// sub-category (or a sensible mix of them) in a grid; a listed address can be opened for change
// in the entry window or deleted.
#pragma once

#include <QWidget>

#include "address_selection.h"

class FilterPanel;
class FlexGrid;
class GlyphButton;
class GlyphCheckBox;
class GlyphComboBox;
class GlyphLabel;
class QPushButton;

class book7 : public QWidget {
    Q_OBJECT
public:
    explicit book7(QWidget *parent = nullptr);

    GlyphLabel *Label1;
    GlyphCheckBox *Check1;
    GlyphCheckBox *Check2;
    GlyphCheckBox *Check3;
    GlyphCheckBox *Check4;
    GlyphCheckBox *Check5;
    GlyphCheckBox *Check6;
    GlyphComboBox *CmbDistrict;
    GlyphComboBox *CmbTaluk;
    GlyphComboBox *CmbRelation;
    GlyphComboBox *CmbPrakara;
    GlyphComboBox *CmbUpaprakara;
    GlyphButton *cmdview;
    GlyphButton *cmdcancel;
    FlexGrid *Mg;
    GlyphButton *cmdchange;
    GlyphButton *CmdDelete;
    GlyphButton *cmdexport;
    GlyphButton *cmdback;
    QPushButton *Command4;

    // The filter ticks and lists and the numbers picked in them.
    FilterPanel *lists() const { return lists_; }

    // Fills the grid with the rows, in their order (the message when there are none).
    void LoadDetails(const QVector<GridRow> &rows);
    // Rewrites the grid row of the address CurrentId from the database, where it stands.
    void ShowRowDetails();
    // The same for the address of that number: the row that shows it, wherever the grid has
    // it now (the entry window that changed it may have been open while the list changed).
    void ShowRowDetails(int id);
    void savechange() {}

public slots:
    void cmdview_Click();

private slots:
    void Form_Load();
    void Check1_Click();
    void cmdcancel_Click();
    void Mg_Click();
    void Mg_DblClick();
    void cmdchange_Click();
    void CmdDelete_Click();
    void cmdexport_Click();
    void cmdback_Click();
    void Command4_Click();
    void entryClosed();

private:
    void resetGrid();
    bool gridEmpty() const;
    void writeRow(int row, const GridRow &r);
    void openEntryForChange();

    FilterPanel *lists_;
};
