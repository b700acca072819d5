#include "reference_window.h"

#include "arrow_button.h"
#include "question_dialog.h"
#include "message_dialog.h"
#include "glyph_list_box.h"
#include "glyph_widgets.h"
#include "shared_module.h"
#include "reference_captions.h"
#include "save_question.h"
#include "twips.h"
#include "window_parts.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QTimer>
#include <QVBoxLayout>

namespace {

}  // namespace

int ReferenceWindow::boxNumber(const QString &text) {
    bool ok = false;
    const int n = text.trimmed().toInt(&ok);
    return ok && n >= 1 ? n : 0;
}

ReferenceWindow::ReferenceWindow(const ReferenceWindowDef &def, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::MSWindowsFixedSizeDialogHint), def_(def) {
    setObjectName(QString::fromLatin1(def.windowName));
    setAttribute(Qt::WA_DeleteOnClose);
    build();
}

ReferenceWindow::~ReferenceWindow() = default;

void ReferenceWindow::build() {
    auto named = [](QWidget *w, const char *name) {
        w->setObjectName(QString::fromLatin1(name));
        return w;
    };
    const WindowTitle title = makeWindowTitle(this, def_.title, def_.titleLabelName);
    titleLabel = title.label;
    Command4 = title.close;

    list = new GlyphListBox(this);
    named(list, def_.listName);
    list->setMinimumSize(twips(3200), twips(3600));

    numberLabel = new GlyphLabel(Caption::numberLabel(), this);
    named(numberLabel, def_.numberLabelName);
    Txtno = new QLineEdit(this);
    named(Txtno, "Txtno");
    Txtno->setMaximumWidth(twips(1200));
    nameLabel = new GlyphLabel(def_.nameLabel, this);
    named(nameLabel, def_.nameLabelName);
    nameBox = new GlyphLineEdit(this);
    named(nameBox, def_.nameBoxName);
    nameBox->setMinimumWidth(twips(4200));

    cmdmf = new ArrowButton(ArrowButton::Kind::First, this);
    cmdmp = new ArrowButton(ArrowButton::Kind::Previous, this);
    cmdmn = new ArrowButton(ArrowButton::Kind::Next, this);
    cmdml = new ArrowButton(ArrowButton::Kind::Last, this);
    named(cmdmf, "cmdmf");
    named(cmdmp, "cmdmp");
    named(cmdmn, "cmdmn");
    named(cmdml, "cmdml");
    cmdnew = new GlyphButton(Caption::newEntry(), this);
    Cmdsave = new GlyphButton(Caption::save(), this);
    CmdDelete = new GlyphButton(Caption::remove(), this);
    cmdcancel = new GlyphButton(Caption::cancel(), this);
    cmdexit = new GlyphButton(Caption::close(), this);
    named(cmdnew, "cmdnew");
    named(Cmdsave, "Cmdsave");
    named(CmdDelete, "CmdDelete");
    named(cmdcancel, "cmdcancel");
    named(cmdexit, "cmdexit");

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(50);

    auto *outer = new QVBoxLayout(this);
    outer->addLayout(title.row);
    auto *body = new QHBoxLayout;
    body->addWidget(list);
    auto *right = new QVBoxLayout;
    grid_ = new QGridLayout;
    // Row 0 is the parent list's, in the two-level windows.
    grid_->addWidget(numberLabel, 1, 0);
    grid_->addWidget(Txtno, 1, 1, Qt::AlignLeft);
    grid_->addWidget(nameLabel, 2, 0);
    grid_->addWidget(nameBox, 2, 1);
    right->addLayout(grid_);
    right->addSpacing(twips(240));
    auto *arrows = new QHBoxLayout;
    arrows->addStretch();
    for (QPushButton *b : {static_cast<QPushButton *>(cmdmf), static_cast<QPushButton *>(cmdmp),
                           static_cast<QPushButton *>(cmdmn), static_cast<QPushButton *>(cmdml)}) {
        b->setFixedSize(twips(600), twips(420));
        arrows->addWidget(b);
    }
    arrows->addStretch();
    right->addLayout(arrows);
    right->addStretch();
    auto *buttons = new QHBoxLayout;
    for (GlyphButton *b : {cmdnew, Cmdsave, CmdDelete, cmdcancel, cmdexit}) {
        b->setAutoDefault(false);
        b->setMinimumHeight(twips(450));
        buttons->addWidget(b);
    }
    right->addLayout(buttons);
    body->addLayout(right, 1);
    outer->addLayout(body);

    connect(cmdmf, &QPushButton::clicked, this, &ReferenceWindow::cmdmf_Click);
    connect(cmdmp, &QPushButton::clicked, this, &ReferenceWindow::cmdmp_Click);
    connect(cmdmn, &QPushButton::clicked, this, &ReferenceWindow::cmdmn_Click);
    connect(cmdml, &QPushButton::clicked, this, &ReferenceWindow::cmdml_Click);
    connect(list, &GlyphListBox::choiceMade, this, &ReferenceWindow::List_Click);
    connect(cmdnew, &QPushButton::clicked, this, &ReferenceWindow::cmdnew_Click);
    connect(Cmdsave, &QPushButton::clicked, this, &ReferenceWindow::Cmdsave_Click);
    connect(CmdDelete, &QPushButton::clicked, this, &ReferenceWindow::CmdDelete_Click);
    connect(cmdcancel, &QPushButton::clicked, this, &ReferenceWindow::cmdcancel_Click);
    connect(cmdexit, &QPushButton::clicked, this, &ReferenceWindow::cmdexit_Click);
    setWindowKeys(this, Cmdsave, cmdexit);
    connect(Command4, &QPushButton::clicked, this, &ReferenceWindow::Command4_Click);
    connect(Timer1, &QTimer::timeout, this, &ReferenceWindow::Timer1_Timer);
}

void ReferenceWindow::Form_Load() {
    shake_ = 0;
    Timer1->stop();
    setFixedSize(sizeHint());
    move(0, 0);
    ShowFirst();
    FillList();
}

// ---- Window routines --------------------------------------------------------------------------

void ReferenceWindow::fillListFrom(const QVector<RefRow> &rows) {
    list->clear();
    for (const RefRow &r : rows) list->addGlyphItem(r.name, r.number);
    list->setText(nameBox->text());
}

void ReferenceWindow::FillList() {
    AddressBookData data = ModDeclare::Data();
    const auto rows = data.rows(def_.table, currentParent());
    if (!rows) {
        list->clear();
        reportFailure(data);
        return;
    }
    fillListFrom(*rows);
}

void ReferenceWindow::ClearBoxes() {
    Txtno->clear();
    nameBox->setText(QString());
    newNumber_ = 0;
    markShown();
}

void ReferenceWindow::markShown() {
    shownNumber_ = Txtno->text();
    shownName_ = nameBox->text();
}

bool ReferenceWindow::changed() const { return Txtno->text() != shownNumber_ || nameBox->text() != shownName_; }

bool ReferenceWindow::settleChanges() {
    if (!changed()) return true;
    switch (SaveQuestion::ask(this, Caption::unsavedQuestion())) {
    case SaveQuestion::Choice::Save: return save();
    case SaveQuestion::Choice::Discard: return true;
    case SaveQuestion::Choice::Stay: break;
    }
    return false;
}

void ReferenceWindow::openNavigationSet() {
    nav_.clear();
    navPos_ = -1;
    AddressBookData data = ModDeclare::Data();
    const auto rows = data.rows(def_.table, currentParent());
    if (!rows) {
        reportFailure(data);
        return;
    }
    for (const RefRow &r : *rows) nav_.append(r.number);
}

void ReferenceWindow::ShowFirst() {
    ClearBoxes();
    openNavigationSet();
    if (nav_.isEmpty()) return;
    navPos_ = 0;
    showNavigationRow();
}

// The set holds the numbers of its rows; each row is read when it is shown, so a rename made
// since the set was opened shows, and a row deleted meanwhile cannot be read (the arrow then
// does nothing more, as past the end).
bool ReferenceWindow::showNavigationRow(bool selectInList) {
    if (navigationBof() || navigationEof()) return false;
    const std::optional<RefRow> r = ModDeclare::Data().row(def_.table, nav_.at(navPos_));
    if (!r) return false;
    showRow(*r, selectInList);
    return true;
}

void ReferenceWindow::showRow(const RefRow &row, bool selectInList) {
    Txtno->setText(QString::number(row.number));
    nameBox->setText(row.name);
    if (selectInList) list->setText(nameBox->text());
    newNumber_ = 0;
    markShown();
}

void ReferenceWindow::message(const QString &glyphs) { book4::showMessage(this, glyphs); }

void ReferenceWindow::reportFailure(const AddressBookData &data) {
    QMessageBox::critical(this, QStringLiteral("Kelda Vasi"), data.lastError());
}

// ---- Arrows and the list ----------------------------------------------------------------------

void ReferenceWindow::cmdmf_Click() {
    ShowFirst();
    list->setText(nameBox->text());
}

void ReferenceWindow::cmdml_Click() {
    if (navigationEof()) return;
    navPos_ = static_cast<int>(nav_.size()) - 1;
    showNavigationRow();
}

// Past the last row the set cannot be read: the boxes keep the last row, and only Previous
// brings the set back.
void ReferenceWindow::cmdmn_Click() {
    if (navigationEof()) return;
    ++navPos_;
    showNavigationRow();
}

void ReferenceWindow::cmdmp_Click() {
    if (navigationBof()) return;
    --navPos_;
    showNavigationRow();
}

// A choice in the list shows that entry; the navigation set stays where it was.
void ReferenceWindow::List_Click() {
    if (list->text().isEmpty()) return;
    const int row = list->currentRow();
    Txtno->setText(QString::number(list->itemNumber(row)));
    nameBox->setText(list->itemGlyphText(row));
    newNumber_ = 0;
    markShown();
}

// ---- New, Save, Delete, Cancel, close -----------------------------------------------------------

void ReferenceWindow::cmdnew_Click() {
    ClearBoxes();
    AddressBookData data = ModDeclare::Data();
    const int next = data.nextNumber(def_.table);
    if (next == 0) {
        reportFailure(data);
        return;
    }
    Txtno->setText(QString::number(next));
    newNumber_ = next;
    markShown();
    nameBox->setFocus();
}

void ReferenceWindow::Cmdsave_Click() { save(); }

bool ReferenceWindow::save() {
    // The number box is a text box: anything but a reference number in it cannot be saved.
    const int number = boxNumber(Txtno->text());
    if (number == 0) {
        message(Caption::allInformation());
        return false;
    }
    if (!parentReady()) return false;
    const QString name = nameBox->text();
    if (trimBlanks(name).isEmpty()) {
        message(def_.nameMessage);
        return false;
    }
    AddressBookData data = ModDeclare::Data();
    const std::optional<bool> taken = data.nameExists(def_.table, name, currentParent());
    if (!taken) {
        reportFailure(data);
        return false;
    }
    if (*taken) {
        message(Caption::alreadyExists());
        nameBox->setText(QString());
        nameBox->setFocus();
        return false;
    }
    const SaveIntent intent = number == newNumber_ ? SaveIntent::NewEntry : SaveIntent::ByNumber;
    const SaveOutcome saved = data.save(def_.table, number, name, currentParent(), intent);
    if (saved.otherParent) {
        // The number is another parent's entry: a save never moves it there.
        message(Caption::allInformation());
        return false;
    }
    if (!saved.ok) {
        reportFailure(data);
        return false;
    }
    // The entry exists now: saving it again rewrites it.
    newNumber_ = 0;
    if (saved.renumbered) {
        Txtno->setText(QString::number(saved.number));
        message(Caption::numberTaken() + QString::number(saved.number));
    }
    markShown();
    Timer1->start();  // a save during the shake lets the running shake finish
    afterSave();
    cmdnew->setFocus();
    return true;
}

QString ReferenceWindow::deleteWarning(AddressBookData &data, int number) const {
    const std::optional<RefRow> entry = data.row(def_.table, number);
    const int addresses = data.addressCount(def_.table, number).value_or(0);
    const QString name = entry ? entry->name : nameBox->text();
    if (def_.table != RefTable::District && def_.table != RefTable::Prakara)
        return def_.warning.arg(name, QString::number(addresses));
    // A district takes its taluks along, a category its sub-categories.
    const RefTable child = def_.table == RefTable::District ? RefTable::Taluk : RefTable::Upaprakara;
    const int children = static_cast<int>(data.rows(child, number).value_or(QVector<RefRow>()).size());
    return def_.warning.arg(name, QString::number(addresses), QString::number(children));
}

void ReferenceWindow::CmdDelete_Click() {
    if (Txtno->text().isEmpty() && nameBox->text().isEmpty()) return;
    // Only a numbered entry can be deleted; a name typed without one is not stored anywhere.
    const int number = boxNumber(Txtno->text());
    if (number == 0) return;
    AddressBookData data = ModDeclare::Data();
    if (!book3::ask(this, deleteWarning(data, number))) return;
    if (!data.remove(def_.table, number)) {
        reportFailure(data);
        return;
    }
    afterDelete();
}

void ReferenceWindow::afterDelete() {
    ShowFirst();
    FillList();
}

void ReferenceWindow::cmdcancel_Click() {
    ClearBoxes();
    ShowFirst();
    list->setText(nameBox->text());
    cmdnew->setFocus();
}

void ReferenceWindow::cmdexit_Click() { close(); }
void ReferenceWindow::Command4_Click() { close(); }

// Typing that was not saved goes only after the question.
void ReferenceWindow::closeEvent(QCloseEvent *event) {
    if (settleChanges())
        event->accept();
    else
        event->ignore();
}

// ---- The shake --------------------------------------------------------------------------------

// Six times right and back in 0.6 seconds, ending where it started; only then the save is
// confirmed and the list shows the saved entry in its place.
void ReferenceWindow::Timer1_Timer() {
    if (shake_ < 12) {
        const int step = twips(100);
        move(x() + (shake_ % 2 == 0 ? step : -step), y());
        ++shake_;
        return;
    }
    Timer1->stop();
    message(Caption::saved());
    FillList();
    cmdnew->setFocus();
    shake_ = 0;
}
