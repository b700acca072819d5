// A grid of glyph-text cells with one fixed header row, addressed the way the browse window
// thinks of it: row 0 is the header, rows 1 and on hold the data, and the current row is the
// one the user last moved to. The header comes from a format string ("<" then the captions,
// joined by "|"); the blanks a caption is padded with widen its column. A value of several
// lines shows them one under the other (its row grows), a cell too small for its text shows
// the whole text as a tooltip, and a click on a column's header sorts the rows by that column
// in Kannada order (again: the other way round).
#pragma once

#include <QAbstractTableModel>
#include <QStringList>
#include <QTableView>
#include <QVector>

class FlexGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;
    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    friend class FlexGrid;
    QStringList header_;
    QVector<QStringList> cells_;  // the data rows, each as wide as the header
    int columns_ = 0;
};

class FlexGrid : public QTableView {
    Q_OBJECT
public:
    explicit FlexGrid(QWidget *parent = nullptr);

    // Every cell emptied; the rows stay.
    void Clear();
    // Rows, the header included; at least 2 (the header and one data row).
    int Rows() const { return static_cast<int>(model_.cells_.size()) + 1; }
    void setRows(int rows);
    int Cols() const { return model_.columns_; }
    void setCols(int cols);
    // "<" for column 0, then one caption per column, joined by "|". A leading "<", "^" or ">"
    // of a part is its alignment mark, not part of its caption.
    void setFormatString(const QString &format);
    // The header caption of a column, as given (blanks included).
    QString headerCaption(int col) const;
    // A width of 0 hides the column.
    void setColWidth(int col, int width);

    QString TextMatrix(int row, int col) const;
    void setTextMatrix(int row, int col, const QString &text);
    // The current row (0 when there is none).
    int Row() const;
    void setRow(int row);

    // Appends one empty data row.
    void AddItem();
    // Appends data rows at once, each as wide as the grid.
    void AddItems(const QVector<QStringList> &rows);
    // Removes one data row.
    void RemoveItem(int row);

    // Sorts the data rows by the Kannada order of a column's texts (equal texts keep their
    // order); the current row stays with its data.
    void sortByColumn(int col, Qt::SortOrder order);
    // The whole text of a cell when the cell cannot show all of it; "" when it shows it all.
    QString cutOffText(int row, int col) const;

protected:
    bool viewportEvent(QEvent *event) override;

signals:
    void Click();
    void DblClick();

private:
    void headerClicked(int col);
    // Gives each of the data rows from first on (to the end) the height of its tallest cell.
    void fitRowHeights(int first, int last);

    FlexGridModel model_;
    int lineHeight_ = 0;
    int sortColumn_ = -1;  // the column the rows were last sorted by; -1: as they were given
    Qt::SortOrder sortOrder_ = Qt::AscendingOrder;
};
