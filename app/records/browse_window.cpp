#include "browse_window.h"

#include "question_dialog.h"
#include "message_dialog.h"
#include "record_captions.h"
#include "exchange_captions.h"
#include "filter_panel.h"
#include "flex_grid.h"
#include "address_entry_window.h"
#include "glyph_widgets.h"
#include "shared_module.h"
#include "window_parts.h"
#include "window_registry.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QVBoxLayout>

namespace {

// The header: the hidden number column, then the five captions, each padded with blanks that
// give its column its first width.
QString gridFormat() {
    using namespace RecordCaption;
    const QString pad(1, QLatin1Char(' '));
    return QStringList{QStringLiteral("<"), fullName() + pad.repeated(19), prakara() + pad.repeated(20),
                       upaprakara() + pad.repeated(23), phone() + pad.repeated(29),
                       place() + pad.repeated(16)}
        .join(QLatin1Char('|'));
}

QStringList cellsOf(const GridRow &r) {
    return {QString::number(r.id), r.name, r.prakaraName, r.upaprakaraName, r.phone, r.place};
}

GlyphCheckBox *check(QWidget *owner, const char *name, const QString &caption) {
    auto *box = new GlyphCheckBox(caption, owner);
    box->setObjectName(QLatin1String(name));
    return box;
}

GlyphButton *button(QWidget *owner, const char *name, const QString &caption) {
    auto *b = new GlyphButton(caption, owner);
    b->setObjectName(QLatin1String(name));
    return b;
}

}  // namespace

book7::book7(QWidget *parent) : QWidget(parent) {
    using namespace RecordCaption;
    setObjectName(QStringLiteral("book7"));
    setAttribute(Qt::WA_DeleteOnClose);

    const WindowTitle title = makeWindowTitle(this, browseHeading());
    Label1 = title.label;
    Label1->setWordWrap(true);
    Command4 = title.close;

    lists_ = new FilterPanel(this, {"Check2", "Check3", "Check4", "Check5", "Check6"});
    Check2 = lists_->CheckDistrict;
    Check3 = lists_->CheckTaluk;
    Check4 = lists_->CheckRelation;
    Check5 = lists_->CheckPrakara;
    Check6 = lists_->CheckUpaprakara;
    CmbDistrict = lists_->CmbDistrict;
    CmbTaluk = lists_->CmbTaluk;
    CmbRelation = lists_->CmbRelation;
    CmbPrakara = lists_->CmbPrakara;
    CmbUpaprakara = lists_->CmbUpaprakara;
    Check1 = check(this, "Check1", allAddresses());
    cmdview = button(this, "cmdview", view());
    cmdcancel = button(this, "cmdcancel", Caption::cancel());
    Mg = new FlexGrid(this);
    Mg->setObjectName(QStringLiteral("Mg"));
    cmdchange = button(this, "cmdchange", change());
    CmdDelete = button(this, "CmdDelete", Caption::remove());
    cmdexport = button(this, "cmdexport", ExchangeCaption::exportButton());
    cmdback = button(this, "cmdback", Caption::close());

    auto *filters = new QGridLayout;
    filters->setHorizontalSpacing(8);
    filters->setVerticalSpacing(4);
    filters->addWidget(Check1, 0, 0, 1, 2);
    lists_->placeIn(filters, 1);
    filters->setColumnStretch(1, 1);
    filters->setColumnStretch(3, 1);
    auto *filterButtons = new QVBoxLayout;
    filterButtons->addWidget(cmdview);
    filterButtons->addWidget(cmdcancel);
    filterButtons->addStretch();
    auto *filterRow = new QHBoxLayout;
    filterRow->addLayout(filters, 1);
    filterRow->addSpacing(12);
    filterRow->addLayout(filterButtons);
    auto *bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(cmdchange);
    bottom->addWidget(CmdDelete);
    bottom->addWidget(cmdexport);
    bottom->addWidget(cmdback);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(title.row);
    layout->addLayout(filterRow);
    layout->addWidget(Mg, 1);
    layout->addLayout(bottom);

    connect(Check1, &QCheckBox::toggled, this, &book7::Check1_Click);
    connect(cmdview, &QPushButton::clicked, this, &book7::cmdview_Click);
    connect(cmdcancel, &QPushButton::clicked, this, &book7::cmdcancel_Click);
    connect(Mg, &FlexGrid::Click, this, &book7::Mg_Click);
    connect(Mg, &FlexGrid::DblClick, this, &book7::Mg_DblClick);
    connect(cmdchange, &QPushButton::clicked, this, &book7::cmdchange_Click);
    connect(CmdDelete, &QPushButton::clicked, this, &book7::CmdDelete_Click);
    connect(cmdexport, &QPushButton::clicked, this, &book7::cmdexport_Click);
    connect(cmdback, &QPushButton::clicked, this, &book7::cmdback_Click);
    setWindowKeys(this, cmdview, cmdback);
    connect(Command4, &QPushButton::clicked, this, &book7::Command4_Click);

    resize(770, 480);
    Form_Load();
}

void book7::Form_Load() {
    ModDeclare::SelectedRow = 0;
    ModDeclare::ClearBeforeFill = true;
    ModDeclare::CurrentId = 0;
    lists_->fillMasters();
    resetGrid();
}

void book7::resetGrid() {
    Mg->Clear();
    Mg->setRows(2);
    Mg->setCols(2);
    Mg->setFormatString(gridFormat());
    Mg->setColWidth(0, 0);
}

bool book7::gridEmpty() const { return Mg->TextMatrix(1, 1).isEmpty(); }

// ---- Filters ----------------------------------------------------------------------------------

void book7::Check1_Click() {
    if (!Check1->isChecked()) return;
    for (GlyphCheckBox *other : {Check2, Check3, Check4, Check5}) other->setChecked(false);
}

// ---- The list ---------------------------------------------------------------------------------

void book7::cmdview_Click() {
    // The texts of the lists decide, not the ticks; a set that makes no sense lists everything.
    const AddressConditions conditions = listConditions(lists_->filters()).value_or(AddressConditions());
    AddressListData data(ModDeclare::AppDatabase());
    const std::optional<QVector<GridRow>> rows = data.gridRows(conditions);
    if (!rows) {
        QMessageBox::warning(this, QStringLiteral("Kelda Vasi"),
                             tr("The addresses could not be read from the database: %1").arg(data.lastError()));
        return;
    }
    LoadDetails(*rows);
}

void book7::LoadDetails(const QVector<GridRow> &rows) {
    resetGrid();
    if (rows.isEmpty()) {
        book4::showMessage(this, RecordCaption::nothingFound());
        return;
    }
    int next = 0;
    // The empty row a reset leaves takes the first address; the others are appended.
    if (Mg->Rows() == 2 && gridEmpty()) writeRow(1, rows.at(next++));
    QVector<QStringList> more;
    more.reserve(rows.size() - next);
    for (int i = next; i < rows.size(); ++i) more.append(cellsOf(rows.at(i)));
    Mg->AddItems(more);
    Mg->setRow(Mg->Rows() - 1);
}

void book7::writeRow(int row, const GridRow &r) {
    const QStringList cells = cellsOf(r);
    for (int c = 0; c < cells.size(); ++c) Mg->setTextMatrix(row, c, cells.at(c));
}

void book7::Mg_Click() {
    if (gridEmpty()) return;
    ModDeclare::SelectedRow = Mg->Row();
    ModDeclare::CurrentId = Mg->TextMatrix(Mg->Row(), 0).toInt();
}

void book7::Mg_DblClick() { cmdchange_Click(); }

void book7::cmdchange_Click() {
    if (gridEmpty() || Mg->Row() < 1) return;
    ModDeclare::EditMode = true;
    ModDeclare::CurrentId = Mg->TextMatrix(Mg->Row(), 0).toInt();
    ModDeclare::SelectedRow = Mg->Row();
    if (ModDeclare::CurrentId != 0) openEntryForChange();
}

void book7::openEntryForChange() {
    // When the entry window unloads, the row of the address it changed is brought up to date.
    // A browse window closed meanwhile has nothing to refresh: the connection goes with it.
    if (auto *entry = qobject_cast<FrmAddressEntry *>(WindowRegistry::open(QStringLiteral("FrmAddressEntry"))))
        connect(entry, &FrmAddressEntry::closed, this, &book7::entryClosed, Qt::UniqueConnection);
}

void book7::entryClosed() {
    if (auto *entry = qobject_cast<FrmAddressEntry *>(sender())) ShowRowDetails(entry->recordNumber());
}

void book7::ShowRowDetails() {
    if (ModDeclare::SelectedRow == 0) return;
    ShowRowDetails(ModDeclare::CurrentId);
}

void book7::ShowRowDetails(int id) {
    if (gridEmpty()) return;
    const QString key = QString::number(id);
    int row = ModDeclare::SelectedRow;
    // The grid may have changed since the row was chosen (a new list, a deleted row above it):
    // the row is found by the address it shows.
    if (row < 1 || row >= Mg->Rows() || Mg->TextMatrix(row, 0) != key) {
        row = 0;
        for (int r = 1; r < Mg->Rows() && row == 0; ++r)
            if (Mg->TextMatrix(r, 0) == key) row = r;
    }
    if (row == 0) return;
    AddressListData data(ModDeclare::AppDatabase());
    if (const std::optional<GridRow> r = data.gridRow(id)) writeRow(row, *r);
}

void book7::CmdDelete_Click() {
    const int row = Mg->Row();
    if (gridEmpty() || row < 1) return;
    // The question names the address: its name and number.
    if (!book3::ask(this, RecordCaption::deleteQuestion().arg(Mg->TextMatrix(row, 1), Mg->TextMatrix(row, 0)))) return;
    AddressListData data(ModDeclare::AppDatabase());
    if (!data.removeAddress(Mg->TextMatrix(row, 0).toInt())) {
        QMessageBox::warning(this, QStringLiteral("Kelda Vasi"),
                             tr("The address could not be deleted: %1").arg(data.lastError()));
        return;
    }
    if (Mg->Rows() >= 3)
        Mg->RemoveItem(row);
    else
        resetGrid();
    // The chosen row keeps pointing at the address it showed, or at none.
    if (ModDeclare::SelectedRow == row)
        ModDeclare::SelectedRow = 0;
    else if (ModDeclare::SelectedRow > row)
        --ModDeclare::SelectedRow;
}

// The addresses the grid lists go to the export window.
void book7::cmdexport_Click() {
    if (gridEmpty()) return book4::showMessage(this, ExchangeCaption::nothingToExport());
    QVector<int> numbers;
    for (int r = 1; r < Mg->Rows(); ++r) numbers.append(Mg->TextMatrix(r, 0).toInt());
    ModDeclare::ExportChoice = numbers;
    WindowRegistry::open(QStringLiteral("ExportWindow"));
}

void book7::cmdcancel_Click() {
    lists_->emptyTexts();
    ModDeclare::EditMode = false;
}

// ---- Closing ----------------------------------------------------------------------------------

void book7::cmdback_Click() { closeWindow(this); }
void book7::Command4_Click() { closeWindow(this); }
