#include "flex_grid.h"

#include "glyph_text.h"
#include "glyph_widgets.h"
#include "shared_module.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QHelpEvent>
#include <QSignalBlocker>
#include <QToolTip>

#include <algorithm>
#include <numeric>

namespace {

// Paints a cell's glyph text as Kannada, each of its lines on a line of its own.
class GridCellDelegate : public GlyphItemDelegate {
public:
    using GlyphItemDelegate::GlyphItemDelegate;
    QString displayText(const QVariant &value, const QLocale &locale) const override {
        QString text = GlyphItemDelegate::displayText(value, locale);
        text.remove(QLatin1Char('\r'));
        while (text.endsWith(QLatin1Char('\n'))) text.chop(1);
        return text.replace(QLatin1Char('\n'), QChar::LineSeparator);
    }
};

// How many lines a cell's glyph text shows (blank lines at its end aside).
int lineCount(const QString &cell) {
    qsizetype end = cell.size();
    while (end > 0 && (cell.at(end - 1) == QLatin1Char('\n') || cell.at(end - 1) == QLatin1Char('\r'))) --end;
    return 1 + int(QStringView(cell).left(end).count(QLatin1Char('\n')));
}

// The text a cell shows, line by line.
QStringList shownLines(const QString &cell) {
    QString text = GlyphText::toDisplay(cell);
    text.remove(QLatin1Char('\r'));
    while (text.endsWith(QLatin1Char('\n'))) text.chop(1);
    return text.split(QLatin1Char('\n'));
}

}  // namespace

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
    setItemDelegate(new GridCellDelegate(this));
    setFont(GlyphText::font(10));
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    verticalHeader()->hide();
    // Rows are one line high unless a value has more lines: thousands of rows lay out at once.
    lineHeight_ = QFontMetrics(GlyphText::font(10)).height();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(lineHeight_ + 6);
    horizontalHeader()->setSectionsClickable(true);
    horizontalHeader()->setHighlightSections(false);
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this, &FlexGrid::headerClicked);
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
    sortColumn_ = -1;
    horizontalHeader()->setSortIndicatorShown(false);
    fitRowHeights(0, static_cast<int>(model_.cells_.size()) - 1);
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
    fitRowHeights(row - 1, row - 1);
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
    fitRowHeights(first, static_cast<int>(model_.cells_.size()) - 1);
}

void FlexGrid::RemoveItem(int row) {
    if (row < 1 || row >= Rows() || Rows() <= 2) return;
    model_.beginRemoveRows(QModelIndex(), row - 1, row - 1);
    model_.cells_.removeAt(row - 1);
    model_.endRemoveRows();
}

void FlexGrid::fitRowHeights(int first, int last) {
    QHeaderView *rows = verticalHeader();
    bool resized = false;
    {
        // Thousands of rows at once: the view takes the new heights in once, at the end.
        const QSignalBlocker quiet(rows);
        for (int r = std::max(first, 0); r <= last && r < model_.cells_.size(); ++r) {
            int lines = 1;
            for (int c = 0; c < model_.columns_; ++c)
                if (!isColumnHidden(c)) lines = std::max(lines, lineCount(model_.cells_.at(r).at(c)));
            const int height = lines * lineHeight_ + 6;
            if (rows->sectionSize(r) == height) continue;
            rows->resizeSection(r, height);
            resized = true;
        }
    }
    if (resized) {
        updateGeometries();
        viewport()->update();
    }
}

QString FlexGrid::cutOffText(int row, int col) const {
    if (row < 1 || row >= Rows() || col < 0 || col >= Cols() || isColumnHidden(col)) return QString();
    const QStringList lines = shownLines(model_.cells_.at(row - 1).at(col));
    const QRect cell = visualRect(model_.index(row - 1, col));
    // The room the style leaves for text inside a cell.
    const int margin = style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1;
    const QFontMetrics fm(GlyphText::font(10));
    const bool cut = std::any_of(lines.begin(), lines.end(), [&](const QString &line) {
        return fm.horizontalAdvance(line) > cell.width() - 2 * margin;
    }) || lines.size() * fm.height() > cell.height();
    return cut ? lines.join(QLatin1Char('\n')) : QString();
}

bool FlexGrid::viewportEvent(QEvent *event) {
    if (event->type() != QEvent::ToolTip) return QTableView::viewportEvent(event);
    auto *help = static_cast<QHelpEvent *>(event);
    const QModelIndex at = indexAt(help->pos());
    const QString text = at.isValid() ? cutOffText(at.row() + 1, at.column()) : QString();
    if (text.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(help->globalPos(), text, viewport(), visualRect(at));
    return true;
}

// The header has turned its indicator by itself before it tells of the click: the grid keeps
// its own order.
void FlexGrid::headerClicked(int col) {
    sortByColumn(col, sortColumn_ == col && sortOrder_ == Qt::AscendingOrder ? Qt::DescendingOrder : Qt::AscendingOrder);
}

void FlexGrid::sortByColumn(int col, Qt::SortOrder order) {
    if (col < 0 || col >= Cols()) return;
    const int n = static_cast<int>(model_.cells_.size());
    QVector<QString> keys(n);
    for (int r = 0; r < n; ++r) keys[r] = ModDeclare::SortKey(model_.cells_.at(r).at(col));
    QVector<int> order_(n);  // order_[new place] = old place
    std::iota(order_.begin(), order_.end(), 0);
    std::stable_sort(order_.begin(), order_.end(), [&](int a, int b) {
        return order == Qt::AscendingOrder ? keys.at(a) < keys.at(b) : keys.at(b) < keys.at(a);
    });
    emit model_.layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    QVector<int> newPlace(n);
    QVector<QStringList> sorted(n);
    for (int i = 0; i < n; ++i) {
        newPlace[order_.at(i)] = i;
        sorted[i] = model_.cells_.at(order_.at(i));
    }
    model_.cells_ = std::move(sorted);
    const QModelIndexList before = model_.persistentIndexList();
    QModelIndexList after;
    for (const QModelIndex &i : before) after << model_.index(newPlace.at(i.row()), i.column());
    model_.changePersistentIndexList(before, after);
    emit model_.layoutChanged({}, QAbstractItemModel::VerticalSortHint);
    sortColumn_ = col;
    sortOrder_ = order;
    horizontalHeader()->setSortIndicatorShown(true);
    horizontalHeader()->setSortIndicator(col, order);
    fitRowHeights(0, n - 1);
}
