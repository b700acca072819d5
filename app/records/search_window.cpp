#include "search_window.h"

#include "message_dialog.h"
#include "captions.h"
#include "glyph_widgets.h"
#include "shared_module.h"
#include "record_captions.h"
#include "twips.h"
#include "window_parts.h"

#include <QDebug>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QScrollBar>
#include <QLabel>
#include <QSignalBlocker>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <iterator>

namespace {

template <class W>
W *named(W *widget, const char *name) {
    widget->setObjectName(QLatin1String(name));
    return widget;
}

GlyphLabel *label(const QString &caption, QWidget *parent) {
    auto *l = new GlyphLabel(caption, parent);
    l->setAlignment(Qt::AlignRight | Qt::AlignTop);
    return l;
}

template <class Box>
Box *resultBox(const char *name, QWidget *parent) {
    auto *box = named(new Box(parent), name);
    box->setReadOnly(true);
    return box;
}

}  // namespace

book5::book5(QWidget *parent) : QWidget(parent) {
    setObjectName(QStringLiteral("book5"));

    auto *layout = new QVBoxLayout(this);
    const WindowTitle title = makeWindowTitle(this, Caption::searchTitle());
    Label1 = title.label;
    Command4 = title.close;
    layout->addLayout(title.row);

    // The criteria: each box is enabled by its check box.
    auto *criteria = new QGridLayout;
    ChkName = named(new GlyphCheckBox(RecordCaption::personName(), this), "ChkName");
    txtsearch = named(new GlyphLineEdit(this), "txtsearch");
    Chkplace = named(new GlyphCheckBox(RecordCaption::placeName(), this), "Chkplace");
    Txtplace = named(new GlyphLineEdit(this), "Txtplace");
    ChkState = named(new GlyphCheckBox(RecordCaption::stateName(), this), "ChkState");
    TxtState = named(new GlyphLineEdit(this), "TxtState");
    Chkcountry = named(new GlyphCheckBox(RecordCaption::countryName(), this), "Chkcountry");
    TxtCountry = named(new GlyphLineEdit(this), "TxtCountry");
    GlyphCheckBox *const checks[] = {ChkName, Chkplace, ChkState, Chkcountry};
    GlyphLineEdit *const boxes[] = {txtsearch, Txtplace, TxtState, TxtCountry};
    for (int i = 0; i < 4; ++i) {
        criteria->addWidget(checks[i], i, 0);
        criteria->addWidget(boxes[i], i, 1);
        boxes[i]->setEnabled(false);
    }
    Command1 = named(new GlyphButton(RecordCaption::search(), this), "Command1");
    Command2 = named(new GlyphButton(Caption::cancel(), this), "Command2");
    Command3 = named(new GlyphButton(Caption::close(), this), "Command3");
    auto *buttons = new QVBoxLayout;
    buttons->addWidget(Command1);
    buttons->addWidget(Command2);
    buttons->addWidget(Command3);
    buttons->addStretch();
    criteria->addLayout(buttons, 0, 2, 4, 1);
    criteria->setColumnStretch(1, 1);
    layout->addLayout(criteria);

    auto *rule = new QFrame(this);
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);
    layout->addWidget(rule);

    // The match shown: the short texts on the left, the phone and the two addresses on the
    // right, and the scroll bar that steps through the matches beside them.
    Txtname = resultBox<GlyphLineEdit>("Txtname", this);
    txtrelation = resultBox<GlyphLineEdit>("txtrelation", this);
    TxtPrakara = resultBox<GlyphLineEdit>("TxtPrakara", this);
    TxtUpaprakara = resultBox<GlyphLineEdit>("TxtUpaprakara", this);
    Txtemail = resultBox<QLineEdit>("Txtemail", this);
    Txtemail->setFont(QFont(QStringLiteral("Arial"), 10));
    txthphone = resultBox<GlyphTextEdit>("txthphone", this);
    txthaddress = resultBox<GlyphTextEdit>("txthaddress", this);
    txtoaddress = resultBox<GlyphTextEdit>("txtoaddress", this);
    auto *left = new QGridLayout;
    const std::pair<QString, QWidget *> shortTexts[] = {
        {RecordCaption::fullName(), Txtname},     {RecordCaption::relationKind(), txtrelation},
        {RecordCaption::prakara(), TxtPrakara},   {RecordCaption::upaprakara(), TxtUpaprakara},
        {RecordCaption::email(), Txtemail}};
    int row = 0;
    for (const auto &[caption, box] : shortTexts) {
        left->addWidget(label(caption, this), row, 0, Qt::AlignRight | Qt::AlignVCenter);
        left->addWidget(box, row++, 1);
    }
    left->setRowStretch(row, 1);
    left->setColumnStretch(1, 1);
    auto *right = new QGridLayout;
    const std::pair<QString, GlyphTextEdit *> longTexts[] = {
        {RecordCaption::phone(), txthphone}, {RecordCaption::homeAddress(), txthaddress},
        {RecordCaption::officeAddress(), txtoaddress}};
    row = 0;
    for (const auto &[caption, box] : longTexts) {
        right->addWidget(label(caption, this), row, 0, Qt::AlignRight | Qt::AlignTop);
        right->addWidget(box, row, 1);
        right->setRowStretch(row++, 1);
    }
    right->setColumnStretch(1, 1);
    auto *results = new QHBoxLayout;
    results->addLayout(left, 1);
    results->addSpacing(12);
    results->addLayout(right, 1);
    // One step of the bar is one match.
    Vs = named(new QScrollBar(Qt::Vertical, this), "Vs");
    Vs->setRange(1, 1);
    Vs->setSingleStep(1);
    Vs->setPageStep(1);
    LblPosition = named(new QLabel(this), "LblPosition");
    LblPosition->setAlignment(Qt::AlignCenter);
    auto *stepper = new QVBoxLayout;
    stepper->addWidget(LblPosition);
    stepper->addWidget(Vs, 1, Qt::AlignHCenter);
    auto *resultRow = new QHBoxLayout;
    resultRow->addLayout(results, 1);
    resultRow->addLayout(stepper);
    layout->addLayout(resultRow, 1);

    connect(ChkName, &QCheckBox::toggled, this, &book5::ChkName_Click);
    connect(Chkplace, &QCheckBox::toggled, this, &book5::Chkplace_Click);
    connect(ChkState, &QCheckBox::toggled, this, &book5::ChkState_Click);
    connect(Chkcountry, &QCheckBox::toggled, this, &book5::Chkcountry_Click);
    connect(Command1, &QPushButton::clicked, this, &book5::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &book5::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &book5::Command3_Click);
    setWindowKeys(this, Command1, Command3);
    connect(Command4, &QPushButton::clicked, this, &book5::Command4_Click);
    connect(Vs, &QScrollBar::valueChanged, this, &book5::Vs_Change);
    typingPause_ = new QTimer(this);
    typingPause_->setSingleShot(true);
    typingPause_->setInterval(kTypingPauseMs);
    connect(typingPause_, &QTimer::timeout, this, &book5::TypingPause_Timer);
    for (GlyphLineEdit *box : boxes) connect(box, &GlyphLineEdit::glyphTextChanged, this, &book5::Criterion_Change);

    resize(twips(10800), twips(6600));
}

// ---- The criteria -------------------------------------------------------------------------

void book5::criterionTicked(GlyphLineEdit *box, bool ticked) {
    box->setEnabled(ticked);
    if (ticked)
        box->setFocus(Qt::OtherFocusReason);
    else
        box->setText(QString());
}

// The name excludes the other criteria; place, state and country go together.
void book5::ChkName_Click(bool ticked) {
    if (ticked) {
        Chkplace->setChecked(false);
        ChkState->setChecked(false);
        Chkcountry->setChecked(false);
    }
    criterionTicked(txtsearch, ticked);
}

void book5::Chkplace_Click(bool ticked) { criterionTicked(Txtplace, ticked); }
void book5::ChkState_Click(bool ticked) { criterionTicked(TxtState, ticked); }
void book5::Chkcountry_Click(bool ticked) { criterionTicked(TxtCountry, ticked); }

// Reset: every criterion cleared; the match shown stays.
void book5::Command2_Click() {
    for (GlyphCheckBox *check : {ChkName, Chkplace, ChkState, Chkcountry}) check->setChecked(false);
    typingPause_->stop();
    setRange(1);
    LblPosition->clear();
}

// ---- Searching ----------------------------------------------------------------------------

void book5::setRange(int maximum) {
    const QSignalBlocker quiet(Vs);
    Vs->setRange(1, 1);
    Vs->setMaximum(maximum);
}

void book5::Command1_Click() { search(false); }

// The criteria changed by typing: once the typing pauses, the search runs without its
// messages.
void book5::Criterion_Change() { typingPause_->start(); }
void book5::TypingPause_Timer() { search(true); }

void book5::search(bool asTyped) {
    typingPause_->stop();
    if (txtsearch->text().isEmpty() && trimBlanks(Txtplace->text()).isEmpty() &&
        trimBlanks(TxtState->text()).isEmpty() && trimBlanks(TxtCountry->text()).isEmpty()) {
        if (!asTyped) {
            count_ = 0;
            book4::showMessage(this, RecordCaption::noCriterion());
        }
        return;
    }
    // The first criterion that holds more than blanks decides; the others are not looked at.
    // It is searched for as typed, blanks and all.
    const struct {
        GlyphLineEdit *box;
        AddressSearch column;
    } order[] = {
        {Txtplace, AddressSearch::Place},
        {TxtState, AddressSearch::State},
        {TxtCountry, AddressSearch::Country},
        {txtsearch, AddressSearch::Name},
    };
    const auto chosen = std::find_if(std::begin(order), std::end(order),
                                     [](const auto &c) { return !trimBlanks(c.box->text()).isEmpty(); });
    if (chosen == std::end(order)) {
        if (!asTyped) {
            count_ = 0;
            book4::showMessage(this, RecordCaption::onlyBlanks());
        }
        return;
    }
    column_ = chosen->column;

    AddressData addresses(ModDeclare::AppDatabase());
    std::optional<QVector<int>> ids = addresses.find(column_, chosen->box->text());
    matches_ = ids ? std::move(*ids) : QVector<int>();
    count_ = static_cast<int>(matches_.size());
    setRange(qMax(count_, 1));
    if (!ids) {
        qWarning() << "Searching the addresses failed:" << addresses.lastError();
        emptyResults();
        book4::showMessage(this, RecordCaption::notRead());
        return;
    }
    if (count_ >= 1) {
        showMatch(1);
        return;
    }
    // No match: nothing to step through either.
    if (!asTyped) book4::showMessage(this, RecordCaption::noMatch());
    emptyResults();
}

void book5::Vs_Change(int value) { showMatch(value); }

// "n / N": the match shown and how many there are.
void book5::showPosition() {
    LblPosition->setText(count_ > 0 ? QStringLiteral("%1 / %2").arg(Vs->value()).arg(count_) : QStringLiteral("0 / 0"));
}

void book5::emptyResults() {
    for (GlyphLineEdit *box : {Txtname, txtrelation, TxtPrakara, TxtUpaprakara}) box->setText(QString());
    for (GlyphTextEdit *box : {txthphone, txthaddress, txtoaddress}) box->setText(QString());
    Txtemail->clear();
}

// Shows match number position (from 1) of the last search. A match that cannot be read (it
// was deleted meanwhile) leaves the boxes empty.
void book5::showMatch(int position) {
    emptyResults();
    showPosition();
    if (position < 1 || position > matches_.size()) return;
    AddressData addresses(ModDeclare::AppDatabase());
    const std::optional<AddressRecord> record = addresses.load(matches_.at(position - 1));
    if (!record) return;
    Txtname->setText(record->name);
    AddressBookData reference = ModDeclare::Data();
    const struct {
        RefTable table;
        AddressColumn column;
        GlyphLineEdit *box;
    } names[] = {
        {RefTable::Relation, AddressColumn::Relation, txtrelation},
        {RefTable::Prakara, AddressColumn::Prakara, TxtPrakara},
        {RefTable::Upaprakara, AddressColumn::Upaprakara, TxtUpaprakara},
    };
    for (const auto &n : names)
        if (const std::optional<RefRow> row = reference.row(n.table, record->number(n.column))) n.box->setText(row->name);
    if (!record->isNull(AddressColumn::Oaddress)) txtoaddress->setText(record->text(AddressColumn::Oaddress));
    if (!record->isNull(AddressColumn::Haddress)) txthaddress->setText(record->text(AddressColumn::Haddress));
    if (!record->isNull(AddressColumn::Hphone)) txthphone->setText(record->text(AddressColumn::Hphone));
    if (!record->isNull(AddressColumn::HeMail)) Txtemail->setText(record->text(AddressColumn::HeMail));
}

// ---- Closing ------------------------------------------------------------------------------

void book5::Command3_Click() { closeWindow(this); }
void book5::Command4_Click() { closeWindow(this); }
