#include "flex_grid.h"

#include "glyph_text.h"
#include "glyph_widgets.h"

#include <QFontMetrics>
#include <QHeaderView>

int FlexGridModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : static_cast<int>(cells_.size());
}

int FlexGridModel::columnCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : columns_; }

QVariant FlexGridModel::data(const QModelIndex &index, int role) const {
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole)) return {};
    return cells_.at(index.row()).at(index.column());
}

QVariant FlexGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= columns_) return {};
    if (role == Qt::DisplayRole) return GlyphText::toDisplay(header_.value(section).trimmed());
    if (role == Qt::FontRole) return GlyphText::font(10);
    if (role == Qt::TextAlignmentRole) return int(Qt::AlignLeft | Qt::AlignVCenter);
    return {};
}

FlexGrid::FlexGrid(QWidget *parent) : QTableView(parent) {
    setModel(&model_);
    setItemDelegate(new GlyphItemDelegate(this));
    setFont(GlyphText::font(10));
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    verticalHeader()->hide();
    // Every row as high as the next: thousands of rows lay out at once.
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(QFontMetrics(GlyphText::font(10)).height() + 6);
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setStretchLastSection(true);
    connect(this, &QAbstractItemView::clicked, this, [this] { emit Click(); });
    connect(this, &QAbstractItemView::doubleClicked, this, [this] { emit DblClick(); });
    model_.cells_ = {QStringList()};
    setCols(2);
}

void FlexGrid::Clear() {
    model_.beginResetModel();
    for (QStringList &row : model_.cells_) row.fill(QString());
    model_.endResetModel();
}

void FlexGrid::setRows(int rows) {
    rows = qMax(rows, 2);
    const int have = Rows();
    if (rows > have) {
        model_.beginInsertRows(QModelIndex(), have - 1, rows - 2);
        for (int i = have; i < rows; ++i) model_.cells_.append(QStringList(model_.columns_, QString()));
        model_.endInsertRows();
    } else if (rows < have) {
        model_.beginRemoveRows(QModelIndex(), rows - 1, have - 2);
        model_.cells_.resize(rows - 1);
        model_.endRemoveRows();
    }
}

void FlexGrid::setCols(int cols) {
    model_.beginResetModel();
    model_.columns_ = qMax(cols, 1);
    for (QStringList &row : model_.cells_) {
        while (row.size() < model_.columns_) row.append(QString());
        while (row.size() > model_.columns_) row.removeLast();
    }
    while (model_.header_.size() > model_.columns_) model_.header_.removeLast();
    model_.endResetModel();
}

void FlexGrid::setFormatString(const QString &format) {
    const QStringList parts = format.split(QLatin1Char('|'));
    QStringList captions;
    for (QString part : parts) {
        if (!part.isEmpty() && QStringLiteral("<^>").contains(part.at(0))) part.remove(0, 1);
        captions << part;
    }
    setCols(static_cast<int>(captions.size()));
    model_.header_ = captions;
    emit model_.headerDataChanged(Qt::Horizontal, 0, model_.columns_ - 1);
    // A caption's blanks set its column's first width, as wide as the padded caption shows.
    const QFontMetrics fm(GlyphText::font(10));
    for (int c = 0; c < captions.size(); ++c) {
        if (captions.at(c).isEmpty()) continue;
        const QString shown = GlyphText::toDisplay(captions.at(c).trimmed()) +
                              QString(captions.at(c).size() - captions.at(c).trimmed().size(), QLatin1Char(' '));
        setColWidth(c, fm.horizontalAdvance(shown) + 12);
    }
}

QString FlexGrid::headerCaption(int col) const { return model_.header_.value(col); }

void FlexGrid::setColWidth(int col, int width) {
    setColumnHidden(col, width == 0);
    if (width > 0) setColumnWidth(col, width);
}

QString FlexGrid::TextMatrix(int row, int col) const {
    if (row == 0) return headerCaption(col);
    if (row < 1 || row >= Rows() || col < 0 || col >= Cols()) return QString();
    return model_.cells_.at(row - 1).at(col);
}

void FlexGrid::setTextMatrix(int row, int col, const QString &text) {
    if (row < 1 || row >= Rows() || col < 0 || col >= Cols()) return;
    model_.cells_[row - 1][col] = text;
    const QModelIndex at = model_.index(row - 1, col);
    emit model_.dataChanged(at, at);
}

int FlexGrid::Row() const {
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.row() + 1 : 0;
}

void FlexGrid::setRow(int row) {
    if (row < 1 || row >= Rows()) return;
    // The hidden column 0 cannot be current; the first shown column stands for the row.
    int col = 0;
    while (col < Cols() - 1 && isColumnHidden(col)) ++col;
    setCurrentIndex(model_.index(row - 1, col));
}

void FlexGrid::AddItem() { AddItems({QStringList(model_.columns_, QString())}); }

void FlexGrid::AddItems(const QVector<QStringList> &rows) {
    if (rows.isEmpty()) return;
    const int first = static_cast<int>(model_.cells_.size());
    model_.beginInsertRows(QModelIndex(), first, first + static_cast<int>(rows.size()) - 1);
    model_.cells_.reserve(first + rows.size());
    for (QStringList row : rows) {
        while (row.size() < model_.columns_) row.append(QString());
        while (row.size() > model_.columns_) row.removeLast();
        model_.cells_.append(row);
    }
    model_.endInsertRows();
}

void FlexGrid::RemoveItem(int row) {
    if (row < 1 || row >= Rows() || Rows() <= 2) return;
    model_.beginRemoveRows(QModelIndex(), row - 1, row - 1);
    model_.cells_.removeAt(row - 1);
    model_.endRemoveRows();
}
