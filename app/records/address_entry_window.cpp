#include "address_entry_window.h"

#include "address_data.h"
#include "question_dialog.h"
#include "message_dialog.h"
#include "captions.h"
#include "glyph_widgets.h"
#include "shared_module.h"
#include "pin_code_box.h"
#include "record_captions.h"
#include "save_question.h"
#include "twips.h"
#include "window_parts.h"
#include "window_registry.h"

#include <QCloseEvent>
#include <QDebug>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QTabBar>
#include <QTabWidget>
#include <QShortcut>
#include <QTimer>
#include <QVBoxLayout>

#include <iterator>

namespace {

// The text of a box, whichever kind it is.
QString boxText(QWidget *box) {
    if (auto *g = qobject_cast<GlyphLineEdit *>(box)) return g->text();
    if (auto *t = qobject_cast<GlyphTextEdit *>(box)) return t->text();
    if (auto *l = qobject_cast<QLineEdit *>(box)) return l->text();
    return QString();
}

void setBoxText(QWidget *box, const QString &text) {
    if (auto *g = qobject_cast<GlyphLineEdit *>(box))
        g->setText(text);
    else if (auto *t = qobject_cast<GlyphTextEdit *>(box))
        t->setText(text);
    else if (auto *l = qobject_cast<QLineEdit *>(box))
        l->setText(text);
}

GlyphLabel *label(const QString &caption, QWidget *parent) {
    auto *l = new GlyphLabel(caption, parent);
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return l;
}

GlyphButton *moreButton(const QString &name, QWidget *parent) {
    auto *b = new GlyphButton(QStringLiteral("..."), parent);
    b->setObjectName(name);
    b->setFixedWidth(twips(450));
    return b;
}

template <class W>
W *named(W *widget, const char *name) {
    widget->setObjectName(QLatin1String(name));
    return widget;
}

}  // namespace

FrmAddressEntry::FrmAddressEntry(QWidget *parent) : QWidget(parent) {
    setObjectName(QStringLiteral("FrmAddressEntry"));
    editMode_ = ModDeclare::EditMode;
    recordId_ = editMode_ ? ModDeclare::CurrentId : 0;

    auto *layout = new QVBoxLayout(this);
    const WindowTitle title = makeWindowTitle(this, Caption::addressEntryTitle());
    Label1 = title.label;
    Command4 = title.close;
    layout->addLayout(title.row);

    SSTab1 = named(new QTabWidget(this), "SSTab1");
    SSTab1->tabBar()->setFont(GlyphText::font());
    const QString captions[] = {RecordCaption::page0(), RecordCaption::page1(), RecordCaption::page2()};
    for (int i = 0; i < 3; ++i) {
        auto *page = new QWidget(SSTab1);
        page->setObjectName(QStringLiteral("page%1").arg(i));
        SSTab1->addTab(page, GlyphText::toDisplay(captions[i]));
        SSTab1->tabBar()->setTabData(i, captions[i]);
    }
    buildPage0(SSTab1->widget(0));
    buildPage1(SSTab1->widget(1));
    buildPage2(SSTab1->widget(2));
    layout->addWidget(SSTab1, 1);

    auto *bottom = new QHBoxLayout;
    Txtno = named(new QLineEdit(this), "Txtno");
    Txtno->setReadOnly(true);
    Txtno->setFocusPolicy(Qt::NoFocus);
    Txtno->setFixedWidth(twips(1200));
    Txtno->setAlignment(Qt::AlignRight);
    Cmdsave = named(new GlyphButton(Caption::save(), this), "Cmdsave");
    Command2 = named(new GlyphButton(Caption::close(), this), "Command2");
    bottom->addWidget(Txtno);
    bottom->addStretch();
    bottom->addWidget(Cmdsave);
    bottom->addSpacing(12);
    bottom->addWidget(Command2);
    layout->addLayout(bottom);

    // The focus order of the boxes, page by page, each list's "..." after it.
    QWidget *order[] = {Txtname, CmbRelation, Command1, CmbPrakara, Command3, CmbUpaprakara, Command5, TxtHouseDet,
                        TxtAdd1, Txtplace, Txtpincode, CmbDistrict, Command6, CmbTaluk, Command7, TxtState, TxtCountry,
                        Txtphone, TxtFax, TxtPager, Txtemail, TxtAdd2, Txtremarks, Cmdsave, Command2};
    for (size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);

    Timer1 = named(new QTimer(this), "Timer1");
    Timer1->setInterval(50);

    connect(SSTab1, &QTabWidget::currentChanged, this, &FrmAddressEntry::SSTab1_Click);
    connect(CmbRelation, &QComboBox::activated, this, &FrmAddressEntry::CmbRelation_Click);
    connect(CmbDistrict, &QComboBox::activated, this, &FrmAddressEntry::CmbDistrict_Click);
    connect(CmbTaluk, &QComboBox::activated, this, &FrmAddressEntry::CmbTaluk_Click);
    connect(CmbPrakara, &QComboBox::activated, this, &FrmAddressEntry::CmbPrakara_Click);
    connect(CmbUpaprakara, &QComboBox::activated, this, &FrmAddressEntry::CmbUpaprakara_Click);
    connect(CmbDistrict, &GlyphComboBox::keyDown, this, &FrmAddressEntry::CmbDistrict_KeyDown);
    connect(CmbPrakara, &GlyphComboBox::keyDown, this, &FrmAddressEntry::CmbPrakara_KeyDown);
    // Delete empties a list's own text, as it would in an edit box; the list keeps its items.
    for (GlyphComboBox *list : {CmbRelation, CmbDistrict, CmbTaluk, CmbPrakara, CmbUpaprakara}) {
        connect(list, &GlyphComboBox::keyDown, list, [list](int key) {
            if (key == Qt::Key_Delete) list->setText(QString());
        });
    }
    connect(Command1, &QPushButton::clicked, this, &FrmAddressEntry::Command1_Click);
    connect(Command3, &QPushButton::clicked, this, &FrmAddressEntry::Command3_Click);
    connect(Command5, &QPushButton::clicked, this, &FrmAddressEntry::Command5_Click);
    connect(Command6, &QPushButton::clicked, this, &FrmAddressEntry::Command6_Click);
    connect(Command7, &QPushButton::clicked, this, &FrmAddressEntry::Command7_Click);
    connect(Cmdsave, &QPushButton::clicked, this, &FrmAddressEntry::Cmdsave_Click);
    connect(Command2, &QPushButton::clicked, this, &FrmAddressEntry::Command2_Click);
    setWindowKeys(this, Cmdsave, Command2);
    // Ctrl+Page Down and Up turn the pages (Ctrl+Tab is the main window's, between its windows).
    for (auto [keys, step] : {std::pair{Qt::CTRL | Qt::Key_PageDown, 1}, std::pair{Qt::CTRL | Qt::Key_PageUp, 2}})
        connect(new QShortcut(keys, this, nullptr, nullptr, Qt::WidgetWithChildrenShortcut), &QShortcut::activated,
                this, [this, step = step] { SSTab1->setCurrentIndex((SSTab1->currentIndex() + step) % 3); });
    connect(Command4, &QPushButton::clicked, this, &FrmAddressEntry::Command4_Click);
    connect(Timer1, &QTimer::timeout, this, &FrmAddressEntry::Timer1_Timer);
    TxtHouseDet->installEventFilter(this);
    TxtAdd2->installEventFilter(this);
    Txtemail->installEventFilter(this);

    resize(twips(11400), twips(7200));
    Form_Load();
}

// Deleted without being closed (the program ends): nothing to undo.
FrmAddressEntry::~FrmAddressEntry() = default;

void FrmAddressEntry::buildPage0(QWidget *page) {
    auto *grid = new QGridLayout(page);
    Txtname = named(new GlyphLineEdit(page), "Txtname");
    CmbRelation = named(new GlyphComboBox(page), "CmbRelation");
    Command1 = moreButton(QStringLiteral("Command1"), page);
    CmbPrakara = named(new GlyphComboBox(page), "CmbPrakara");
    Command3 = moreButton(QStringLiteral("Command3"), page);
    CmbUpaprakara = named(new GlyphComboBox(page), "CmbUpaprakara");
    Command5 = moreButton(QStringLiteral("Command5"), page);
    TxtHouseDet = named(new GlyphTextEdit(page), "TxtHouseDet");
    grid->addWidget(label(RecordCaption::fullName(), page), 0, 0);
    grid->addWidget(Txtname, 0, 1, 1, 2);
    grid->addWidget(label(RecordCaption::relation(), page), 1, 0);
    grid->addWidget(CmbRelation, 1, 1);
    grid->addWidget(Command1, 1, 2);
    grid->addWidget(label(RecordCaption::prakara(), page), 2, 0);
    grid->addWidget(CmbPrakara, 2, 1);
    grid->addWidget(Command3, 2, 2);
    grid->addWidget(label(RecordCaption::upaprakara(), page), 3, 0);
    grid->addWidget(CmbUpaprakara, 3, 1);
    grid->addWidget(Command5, 3, 2);
    auto *houseLabel = label(RecordCaption::houseDetails(), page);
    houseLabel->setWordWrap(true);
    houseLabel->setAlignment(Qt::AlignRight | Qt::AlignTop);
    grid->addWidget(houseLabel, 4, 0);
    grid->addWidget(TxtHouseDet, 4, 1, 1, 2);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(4, 1);
}

void FrmAddressEntry::buildPage1(QWidget *page) {
    auto *columns = new QHBoxLayout(page);
    auto *left = new QGridLayout;
    auto *right = new QGridLayout;
    columns->addLayout(left, 1);
    columns->addSpacing(12);
    columns->addLayout(right, 1);

    TxtAdd1 = named(new GlyphTextEdit(page), "TxtAdd1");
    Txtplace = named(new GlyphLineEdit(page), "Txtplace");
    Txtpincode = named(new PinCodeBox(page), "Txtpincode");
    CmbDistrict = named(new GlyphComboBox(page), "CmbDistrict");
    Command6 = moreButton(QStringLiteral("Command6"), page);
    CmbTaluk = named(new GlyphComboBox(page), "CmbTaluk");
    Command7 = moreButton(QStringLiteral("Command7"), page);
    TxtState = named(new GlyphLineEdit(page), "TxtState");
    TxtCountry = named(new GlyphLineEdit(page), "TxtCountry");
    left->addWidget(label(RecordCaption::address1(), page), 0, 0, Qt::AlignRight | Qt::AlignTop);
    left->addWidget(TxtAdd1, 0, 1, 1, 2);
    left->addWidget(label(RecordCaption::place(), page), 1, 0);
    left->addWidget(Txtplace, 1, 1, 1, 2);
    left->addWidget(label(RecordCaption::pinCode(), page), 2, 0);
    left->addWidget(Txtpincode, 2, 1, 1, 2);
    left->addWidget(label(RecordCaption::district(), page), 3, 0);
    left->addWidget(CmbDistrict, 3, 1);
    left->addWidget(Command6, 3, 2);
    left->addWidget(label(RecordCaption::taluk(), page), 4, 0);
    left->addWidget(CmbTaluk, 4, 1);
    left->addWidget(Command7, 4, 2);
    left->addWidget(label(RecordCaption::state(), page), 5, 0);
    left->addWidget(TxtState, 5, 1, 1, 2);
    left->addWidget(label(RecordCaption::country(), page), 6, 0);
    left->addWidget(TxtCountry, 6, 1, 1, 2);
    left->setColumnStretch(1, 1);
    left->setRowStretch(0, 1);

    Txtphone = named(new GlyphTextEdit(page), "Txtphone");
    TxtFax = named(new GlyphLineEdit(page), "TxtFax");
    TxtPager = named(new GlyphLineEdit(page), "TxtPager");
    // The e-mail address is Latin text in a Latin font.
    Txtemail = named(new QLineEdit(page), "Txtemail");
    Txtemail->setFont(QFont(QStringLiteral("Arial"), 10));
    Txtemail->setInputMethodHints(Qt::ImhEmailCharactersOnly);
    TxtAdd2 = named(new GlyphTextEdit(page), "TxtAdd2");
    right->addWidget(label(RecordCaption::phone(), page), 0, 0, Qt::AlignRight | Qt::AlignTop);
    right->addWidget(Txtphone, 0, 1);
    right->addWidget(label(RecordCaption::fax(), page), 1, 0);
    right->addWidget(TxtFax, 1, 1);
    right->addWidget(label(RecordCaption::pager(), page), 2, 0);
    right->addWidget(TxtPager, 2, 1);
    right->addWidget(label(RecordCaption::email(), page), 3, 0);
    right->addWidget(Txtemail, 3, 1);
    right->addWidget(label(RecordCaption::address2(), page), 4, 0, Qt::AlignRight | Qt::AlignTop);
    right->addWidget(TxtAdd2, 4, 1);
    right->setColumnStretch(1, 1);
    right->setRowStretch(0, 1);
    right->setRowStretch(4, 2);
}

void FrmAddressEntry::buildPage2(QWidget *page) {
    auto *box = new QVBoxLayout(page);
    auto *remarksLabel = new GlyphLabel(RecordCaption::remarks(), page);
    Txtremarks = named(new GlyphTextEdit(page), "Txtremarks");
    box->addWidget(remarksLabel);
    box->addWidget(Txtremarks, 1);
}

QString FrmAddressEntry::pageCaption(int page) const { return SSTab1->tabBar()->tabData(page).toString(); }

// ---- Opening and closing ------------------------------------------------------------------

void FrmAddressEntry::Form_Load() {
    ModDeclare::ClearBeforeFill = true;
    shake_ = 0;
    Timer1->stop();
    ClearEntryBoxes(this);
    ModDeclare::FillRelations(CmbRelation);
    ModDeclare::FillDistricts(CmbDistrict);
    ModDeclare::FillPrakaras(CmbPrakara);
    if (editMode_) {
        // Filling keeps the texts that the record put into the lists.
        ModDeclare::ClearBeforeFill = false;
        LoadRecord();
        if (!CmbDistrict->text().isEmpty()) ModDeclare::FillTaluks(CmbTaluk, district_);
        if (!CmbPrakara->text().isEmpty()) ModDeclare::FillUpaprakaras(CmbUpaprakara, prakara_);
    }
    SSTab1->setCurrentIndex(0);
    markSaved();
}

void FrmAddressEntry::showEvent(QShowEvent *event) {
    QWidget::showEvent(event);
    if (shown_) return;
    shown_ = true;
    Txtname->setFocus(Qt::OtherFocusReason);
}

void FrmAddressEntry::ClearEntryBoxes(QWidget *window) {
    for (QWidget *w : window->findChildren<QWidget *>()) {
        if (auto *list = qobject_cast<GlyphComboBox *>(w)) {
            list->setText(QString());
        } else if (qobject_cast<QLineEdit *>(w) && qobject_cast<QComboBox *>(w->parentWidget())) {
            continue;  // the edit part of a list, emptied with its list
        } else if (qobject_cast<GlyphLineEdit *>(w) || qobject_cast<GlyphTextEdit *>(w) ||
                   qobject_cast<QLineEdit *>(w)) {
            setBoxText(w, QString());
        }
    }
}

void FrmAddressEntry::LoadRecord() {
    AddressData addresses(ModDeclare::AppDatabase());
    const std::optional<AddressRecord> record = addresses.load(ModDeclare::CurrentId);
    if (!record) {
        if (!addresses.lastError().isEmpty()) {
            qWarning() << "Reading an address failed:" << addresses.lastError();
            book4::showMessage(this, RecordCaption::notRead());
        }
        return;  // no such record: the boxes stay empty
    }
    Txtno->setText(QString::number(ModDeclare::CurrentId));
    Txtname->setText(record->name);
    for (const TextBox &b : textBoxes())
        if (!record->isNull(b.column)) setBoxText(b.box, record->text(b.column));
    AddressBookData reference = ModDeclare::Data();
    for (const ListBox &l : listBoxes()) {
        if (const std::optional<RefRow> row = reference.row(l.table, record->number(l.column))) {
            l.list->setText(row->name);
            *l.number = row->number;
        }
    }
}

QVector<FrmAddressEntry::TextBox> FrmAddressEntry::textBoxes() const {
    using namespace RecordCaption;
    return {{TxtHouseDet, AddressColumn::Members, houseDetails()}, {TxtAdd1, AddressColumn::Haddress, address1()},
            {Txtplace, AddressColumn::Hcity, place()},           {Txtpincode, AddressColumn::HpinCode, pinCode()},
            {TxtState, AddressColumn::Hstate, state()},          {TxtCountry, AddressColumn::Hcountry, country()},
            {Txtphone, AddressColumn::Hphone, phone()},          {Txtemail, AddressColumn::HeMail, email()},
            {TxtFax, AddressColumn::Hfax, fax()},                {TxtPager, AddressColumn::Hpager, pager()},
            {TxtAdd2, AddressColumn::Oaddress, address2()},      {Txtremarks, AddressColumn::Otherinfor, page2()}};
}

QVector<FrmAddressEntry::ListBox> FrmAddressEntry::listBoxes() {
    using namespace RecordCaption;
    return {{CmbRelation, AddressColumn::Relation, RefTable::Relation, &relation_, relation()},
            {CmbDistrict, AddressColumn::District, RefTable::District, &district_, district()},
            {CmbTaluk, AddressColumn::Taluk, RefTable::Taluk, &taluk_, taluk()},
            {CmbPrakara, AddressColumn::Prakara, RefTable::Prakara, &prakara_, prakara()},
            {CmbUpaprakara, AddressColumn::Upaprakara, RefTable::Upaprakara, &upaprakara_, upaprakara()}};
}

QStringList FrmAddressEntry::contents() {
    QStringList texts{Txtname->text()};
    for (const TextBox &b : textBoxes()) texts << boxText(b.box);
    for (const ListBox &l : listBoxes()) texts << l.list->text();
    return texts;
}

void FrmAddressEntry::markSaved() { saved_ = contents(); }

bool FrmAddressEntry::changed() { return contents() != saved_; }

// Typing that was not saved goes only after the question: save it, let it go, or stay.
void FrmAddressEntry::closeEvent(QCloseEvent *event) {
    if (!unloaded_ && changed()) {
        const SaveQuestion::Choice choice = SaveQuestion::ask(this, Caption::unsavedQuestion());
        if (choice == SaveQuestion::Choice::Stay || (choice == SaveQuestion::Choice::Save && !saveRecord(false))) {
            event->ignore();
            return;
        }
    }
    Form_Unload();
    event->accept();
}

void FrmAddressEntry::Form_Unload() {
    if (unloaded_) return;
    unloaded_ = true;
    Timer1->stop();
    ModDeclare::ClearBeforeFill = true;
    // Leaving with the focus in the e-mail box must not leave Kannada typing off.
    if (latinForEmail_) Txtemail_LostFocus();
    emit closed();
}

void FrmAddressEntry::Command2_Click() { closeWindow(this); }
void FrmAddressEntry::Command4_Click() { closeWindow(this); }

// ---- Focus and typing ---------------------------------------------------------------------

void FrmAddressEntry::SSTab1_Click(int page) {
    QWidget *const first[] = {Txtname, TxtAdd1, Txtremarks};
    if (page >= 0 && page < 3) first[page]->setFocus(Qt::OtherFocusReason);
}

bool FrmAddressEntry::eventFilter(QObject *watched, QEvent *event) {
    // Tab out of the last box of a page comes back to the page's first box.
    if ((watched == TxtHouseDet || watched == TxtAdd2) && event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Tab && !(key->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier))) {
            (watched == TxtHouseDet ? static_cast<QWidget *>(Txtname) : TxtAdd1)->setFocus(Qt::TabFocusReason);
            return true;
        }
    }
    if (watched == Txtemail) {
        if (event->type() == QEvent::FocusIn) Txtemail_GotFocus();
        if (event->type() == QEvent::FocusOut) Txtemail_LostFocus();
    }
    return QWidget::eventFilter(watched, event);
}

void FrmAddressEntry::Txtemail_GotFocus() {
    ModDeclare::TurnOffScrollLock();
    latinForEmail_ = true;
}

void FrmAddressEntry::Txtemail_LostFocus() {
    // The main window going away on the confirmed exit has switched Kannada typing off for
    // good; the e-mail box losing the focus with it must not switch it on again.
    if (ModDeclare::Ending) return;
    ModDeclare::TurnOnScrollLock();
    latinForEmail_ = false;
}

// ---- The lists ----------------------------------------------------------------------------

static void pick(GlyphComboBox *list, int *number) {
    if (!list->text().isEmpty() && list->currentIndex() >= 0) *number = list->itemNumber(list->currentIndex());
}

void FrmAddressEntry::CmbRelation_Click() { pick(CmbRelation, &relation_); }
void FrmAddressEntry::CmbTaluk_Click() { pick(CmbTaluk, &taluk_); }
void FrmAddressEntry::CmbUpaprakara_Click() { pick(CmbUpaprakara, &upaprakara_); }

void FrmAddressEntry::CmbDistrict_Click() {
    pick(CmbDistrict, &district_);
    ModDeclare::ClearBeforeFill = true;
    ModDeclare::FillTaluks(CmbTaluk, district_);
}

void FrmAddressEntry::CmbPrakara_Click() {
    pick(CmbPrakara, &prakara_);
    ModDeclare::ClearBeforeFill = true;
    ModDeclare::FillUpaprakaras(CmbUpaprakara, prakara_);
}

void FrmAddressEntry::CmbDistrict_KeyDown(int key) {
    if (key == Qt::Key_Delete) CmbTaluk->clear();
}

void FrmAddressEntry::CmbPrakara_KeyDown(int key) {
    if (key == Qt::Key_Delete) CmbUpaprakara->clear();
}

// The "..." buttons: the reference window opens modally and the list is brought up to date
// after it closes. Every refill starts from an empty list, so that no entry shows twice.

void FrmAddressEntry::Command1_Click() {
    WindowRegistry::openModal(QStringLiteral("FrmRelation"), this);
    ModDeclare::FillRelations(CmbRelation);
}

void FrmAddressEntry::Command3_Click() {
    WindowRegistry::openModal(QStringLiteral("FrmPrakara"), this);
    ModDeclare::ClearBeforeFill = true;
    ModDeclare::FillPrakaras(CmbPrakara);
    CmbUpaprakara->clear();
}

void FrmAddressEntry::Command5_Click() {
    WindowRegistry::openModal(QStringLiteral("FrmUpaprakara"), this);
    if (CmbPrakara->text().isEmpty()) return;
    ModDeclare::ClearBeforeFill = true;
    ModDeclare::FillUpaprakaras(CmbUpaprakara, prakara_);
}

void FrmAddressEntry::Command6_Click() {
    WindowRegistry::openModal(QStringLiteral("frmDistrict"), this);
    ModDeclare::FillDistricts(CmbDistrict);
    CmbTaluk->clear();
}

void FrmAddressEntry::Command7_Click() {
    WindowRegistry::openModal(QStringLiteral("Frmtaluk"), this);
    if (CmbDistrict->text().isEmpty()) return;
    ModDeclare::ClearBeforeFill = true;
    ModDeclare::FillTaluks(CmbTaluk, district_);
}

// ---- Saving -------------------------------------------------------------------------------

void FrmAddressEntry::Cmdsave_Click() {
    if (!saveRecord(true)) return;
    if (editMode_) return;
    const QString number = Txtno->text();
    ClearEntryBoxes(this);
    CmbTaluk->clear();
    CmbUpaprakara->clear();
    markSaved();
    if (book3::ask(this, RecordCaption::savedAs().arg(number) + QLatin1Char(' ') + RecordCaption::enterAnother())) {
        SSTab1->setCurrentIndex(0);
        Txtname->setFocus(Qt::OtherFocusReason);
    } else {
        closeWindow(this);
    }
}

bool FrmAddressEntry::saveRecord(bool confirm) {
    if (trimBlanks(Txtname->text()).isEmpty()) {
        book4::showMessage(this, RecordCaption::emptyName());
        return false;
    }
    // What is filled in is written. An empty box leaves its column as it is, except in change
    // mode where it held something when loaded: that is cleared, and the question says so.
    AddressWrite write;
    write.name = Txtname->text();
    QStringList cleared;
    const auto loaded = [this](int i) { return !trimBlanks(saved_.value(i)).isEmpty(); };
    int i = 1;  // saved_ begins with the name
    for (const TextBox &b : textBoxes()) {
        const QString text = boxText(b.box);
        if (!trimBlanks(text).isEmpty()) {
            write.assign(b.column, text);
        } else if (editMode_ && loaded(i)) {
            write.assign(b.column, QVariant());
            cleared << b.caption;
        }
        ++i;
    }
    for (const ListBox &l : listBoxes()) {
        if (!trimBlanks(l.list->text()).isEmpty()) {
            write.assign(l.column, *l.number);
        } else if (editMode_ && loaded(i)) {
            write.assign(l.column, 0);
            cleared << l.caption;
        }
        ++i;
    }
    const QString clearedNote =
        cleared.isEmpty() ? QString() : RecordCaption::clearedBoxes().arg(cleared.join(QStringLiteral(", ")));
    if ((confirm || !cleared.isEmpty()) &&
        !book3::ask(this, (RecordCaption::confirmSave() + QLatin1Char(' ') + clearedNote).trimmed()))
        return false;

    AddressData addresses(ModDeclare::AppDatabase());
    if (!editMode_) {
        const int number = addresses.insert(write);
        if (number == 0) {
            qWarning() << "Saving an address failed:" << addresses.lastError();
            book4::showMessage(this, RecordCaption::notSaved());
            return false;
        }
        Txtno->setText(QString::number(number));
    } else {
        bool numbered = false;
        const int number = Txtno->text().toInt(&numbered);
        const AddressData::ChangeResult result =
            numbered ? addresses.change(number, write) : AddressData::ChangeResult::Missing;
        if (result == AddressData::ChangeResult::Missing) {
            book4::showMessage(this, RecordCaption::recordDeleted());
            return false;
        }
        if (result == AddressData::ChangeResult::Failed) {
            qWarning() << "Saving an address failed:" << addresses.lastError();
            book4::showMessage(this, RecordCaption::notSaved());
            return false;
        }
    }
    markSaved();
    Timer1->start();
    return true;
}

// The shake that tells the save went through: six times right and back, 100 twips each.
void FrmAddressEntry::Timer1_Timer() {
    QWidget *frame = outerWindow(this);
    if (shake_ >= 0 && shake_ <= 11) {
        const int step = shake_ % 2 == 0 ? twips(100) : -twips(100);
        frame->move(frame->pos() + QPoint(step, 0));
        ++shake_;
    } else {
        Timer1->stop();
        shake_ = 0;
    }
}
