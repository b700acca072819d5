#include "import_window.h"

#include "exchange_captions.h"
#include "record_captions.h"
#include "glyph_text.h"
#include "glyph_widgets.h"
#include "message_dialog.h"
#include "shared_module.h"
#include "window_parts.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

using namespace ExchangeCaption;

QString shown(const QString &glyphs) { return GlyphText::toDisplay(glyphs); }

GlyphButton *button(QWidget *owner, const char *name, const QString &caption) {
    auto *b = new GlyphButton(caption, owner);
    b->setObjectName(QLatin1String(name));
    return b;
}

// The list's name as the entry window calls it.
QString listCaption(RefTable table) {
    switch (table) {
    case RefTable::District: return RecordCaption::district();
    case RefTable::Taluk: return RecordCaption::taluk();
    case RefTable::Prakara: return RecordCaption::prakara();
    case RefTable::Upaprakara: return RecordCaption::upaprakara();
    case RefTable::Relation: break;
    }
    return RecordCaption::relation();
}

QString summaryOf(const ImportPlan &plan) {
    return QStringLiteral("%1: %2    %3: %4    %5: %6")
        .arg(shown(added())).arg(plan.added).arg(shown(updated())).arg(plan.updated).arg(shown(notTaken())).arg(plan.skipped);
}

}  // namespace

ImportWindow::ImportWindow(QWidget *parent) : QWidget(parent) {
    setObjectName(QStringLiteral("ImportWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Kelda Vasi"));

    const WindowTitle title = makeWindowTitle(this, importTitle());
    Label1 = title.label;
    Command4 = title.close;
    LblFile = new QLabel(this);
    LblFile->setObjectName(QStringLiteral("LblFile"));
    LblFile->setFont(GlyphText::font());
    LblFile->setWordWrap(true);
    GrdPreview = new QTableWidget(0, 4, this);
    GrdPreview->setObjectName(QStringLiteral("GrdPreview"));
    GrdPreview->setFont(GlyphText::font(10));
    GrdPreview->setHorizontalHeaderLabels({shown(line()), shown(name()), QString(), shown(details())});
    GrdPreview->horizontalHeader()->setStretchLastSection(true);
    GrdPreview->verticalHeader()->hide();
    GrdPreview->setEditTriggers(QAbstractItemView::NoEditTriggers);
    GrdPreview->setWordWrap(false);
    LblNewEntries = new GlyphLabel(newEntries(), this);
    LblNewEntries->setObjectName(QStringLiteral("LblNewEntries"));
    LstNewEntries = new QListWidget(this);
    LstNewEntries->setObjectName(QStringLiteral("LstNewEntries"));
    LstNewEntries->setFont(GlyphText::font(10));
    LstNewEntries->setMaximumHeight(110);
    Progress = new QProgressBar(this);
    Progress->setObjectName(QStringLiteral("Progress"));
    CmdOpen = button(this, "CmdOpen", ExchangeCaption::openFile());
    CmdImport = button(this, "CmdImport", importButton());
    CmdCancel = button(this, "CmdCancel", Caption::cancel());
    CmdClose = button(this, "CmdClose", Caption::close());

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(CmdOpen);
    buttons->addStretch(1);
    buttons->addWidget(CmdImport);
    buttons->addWidget(CmdCancel);
    buttons->addWidget(CmdClose);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(title.row);
    layout->addWidget(LblFile);
    layout->addWidget(GrdPreview, 1);
    layout->addWidget(LblNewEntries);
    layout->addWidget(LstNewEntries);
    layout->addWidget(Progress);
    layout->addLayout(buttons);

    connect(CmdOpen, &QPushButton::clicked, this, &ImportWindow::CmdOpen_Click);
    connect(CmdImport, &QPushButton::clicked, this, &ImportWindow::CmdImport_Click);
    connect(CmdCancel, &QPushButton::clicked, this, &ImportWindow::CmdCancel_Click);
    connect(CmdClose, &QPushButton::clicked, this, &ImportWindow::CmdClose_Click);
    connect(Command4, &QPushButton::clicked, this, &ImportWindow::Command4_Click);
    connect(LstNewEntries, &QListWidget::itemChanged, this, &ImportWindow::LstNewEntries_ItemChanged);
    setRunning(false);
    CmdImport->setEnabled(false);
    resize(760, 520);
}

bool ImportWindow::openFile(const QString &path) {
    path_ = path;
    file_ = AddressImport::readFile(path);
    entries_.clear();
    if (!file_.error.isEmpty()) {
        GrdPreview->setRowCount(0);
        LstNewEntries->clear();
        LblFile->setText(file_.error);
        CmdImport->setEnabled(false);
        return false;
    }
    return showPreview();
}

bool ImportWindow::showPreview() {
    AddressImport in(ModDeclare::AppDatabase());
    const std::optional<ImportPlan> plan = in.preview(file_, entries_);
    if (!plan) {
        LblFile->setText(in.lastError());
        CmdImport->setEnabled(false);
        return false;
    }
    showPlan(*plan);
    CmdImport->setEnabled(plan->added + plan->updated > 0);
    return true;
}

void ImportWindow::showPlan(const ImportPlan &plan) {
    LblFile->setText(path_ + QLatin1Char('\n') + summaryOf(plan));
    // The file's own notes first, then a row for every record.
    GrdPreview->setRowCount(0);
    GrdPreview->setRowCount(plan.notes.size() + plan.rows.size());
    int row = 0;
    auto put = [&](int column, const QString &text) { GrdPreview->setItem(row, column, new QTableWidgetItem(text)); };
    for (const QString &note : plan.notes) {
        put(2, shown(skip()));
        put(3, note);
        ++row;
    }
    for (const ImportRow &r : plan.rows) {
        put(0, QString::number(r.line));
        put(1, r.name);
        QString details;
        switch (r.action) {
        case ImportRow::Action::Add:
            put(2, shown(add()));
            details = QStringLiteral("%1").arg(r.number);
            break;
        case ImportRow::Action::Update:
            put(2, shown(ExchangeCaption::update()));
            details = QStringLiteral("%1: %2").arg(r.number).arg(r.currentName);
            break;
        case ImportRow::Action::Skip:
            put(2, shown(skip()));
            details = r.reasons.join(QLatin1String("; "));
            break;
        }
        if (!r.notTaken.isEmpty()) details += QStringLiteral("  (%1: %2)").arg(shown(notTaken()), r.notTaken.join(QLatin1String("; ")));
        put(3, details);
        ++row;
    }
    GrdPreview->resizeColumnsToContents();

    // The new entries, each ticked to be made.
    const QSignalBlocker quiet(LstNewEntries);
    LstNewEntries->clear();
    entries_.clear();
    for (const NewEntry &e : plan.newEntries) {
        if (e.rows == 0 && e.accepted) continue;
        entries_.append(e);
        QString text = QStringLiteral("%1: %2").arg(shown(listCaption(e.table)), e.name);
        if (!e.parentName.isEmpty()) text += QStringLiteral(" (%1)").arg(e.parentName);
        auto *item = new QListWidgetItem(text + QStringLiteral("  [%1]").arg(e.rows), LstNewEntries);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(e.accepted ? Qt::Checked : Qt::Unchecked);
    }
    LblNewEntries->setVisible(!entries_.isEmpty());
    LstNewEntries->setVisible(!entries_.isEmpty());
}

bool ImportWindow::runImport() {
    setRunning(true);
    cancelRequested_ = false;
    AddressImport in(ModDeclare::AppDatabase());
    QElapsedTimer sinceShown;
    sinceShown.start();
    const std::optional<ImportPlan> plan = in.run(file_, entries_, [&](int done, int total) {
        Progress->setMaximum(qMax(total, 1));
        // The window is kept alive, and Cancel heard, a few times a second.
        if (done == total || sinceShown.elapsed() > 100) {
            Progress->setValue(done);
            QCoreApplication::processEvents();
            sinceShown.restart();
        }
        return !cancelRequested_;
    });
    setRunning(false);
    if (!plan) {
        LblFile->setText(in.lastError());
        book4::showMessage(this, failed());
        return false;
    }
    if (plan->cancelled) {
        Progress->setValue(0);
        book4::showMessage(this, importStopped());
        return false;
    }
    showPlan(*plan);
    CmdImport->setEnabled(false);  // done: a second press would only change the same addresses again
    book4::showMessage(this, importDone());
    return true;
}

void ImportWindow::setRunning(bool running) {
    running_ = running;
    CmdOpen->setEnabled(!running);
    CmdImport->setEnabled(!running);
    CmdClose->setEnabled(!running);
    LstNewEntries->setEnabled(!running);
    CmdCancel->setVisible(running);
}

void ImportWindow::CmdOpen_Click() {
    const QString path = QFileDialog::getOpenFileName(this, shown(importTitle()), QString(),
                                                      QStringLiteral("vCard, CSV (*.vcf *.vcard *.csv);;* (*)"));
    if (!path.isEmpty()) openFile(path);
}

void ImportWindow::CmdImport_Click() { runImport(); }
void ImportWindow::CmdCancel_Click() { cancelRequested_ = true; }
void ImportWindow::CmdClose_Click() { closeWindow(this); }

void ImportWindow::Command4_Click() {
    if (running_) cancelRequested_ = true;
    else closeWindow(this);
}

void ImportWindow::LstNewEntries_ItemChanged(QListWidgetItem *item) {
    const int i = LstNewEntries->row(item);
    if (i < 0 || i >= entries_.size()) return;
    entries_[i].accepted = item->checkState() == Qt::Checked;
    showPreview();
}

// While the import runs the window stays; closing it asks the import to stop.
void ImportWindow::closeEvent(QCloseEvent *event) {
    if (!running_) return QWidget::closeEvent(event);
    cancelRequested_ = true;
    event->ignore();
}
