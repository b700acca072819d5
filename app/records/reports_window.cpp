#include "reports_window.h"

#include "app_files.h"
#include "message_dialog.h"
#include "record_captions.h"
#include "filter_panel.h"
#include "glyph_widgets.h"
#include "shared_module.h"
#include "window_parts.h"
#include "report_control.h"

#include <QElapsedTimer>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QProgressBar>
#include <QVBoxLayout>

namespace {

constexpr int kLabels = 50;
constexpr int kGeneralList = 51;

template <class W>
W *named(W *widget, const char *name) {
    widget->setObjectName(QLatin1String(name));
    return widget;
}

}  // namespace

book9::book9(QWidget *parent) : QWidget(parent), mode_(ModDeclare::ReportMode) {
    using namespace RecordCaption;
    setObjectName(QStringLiteral("book9"));
    setAttribute(Qt::WA_DeleteOnClose);

    const WindowTitle title = makeWindowTitle(this, QString());
    Label1 = title.label;
    Command4 = title.close;
    Opth = named(new GlyphRadioButton(address1(), this), "Opth");
    OptO = named(new GlyphRadioButton(address2(), this), "OptO");
    Opth->setChecked(true);

    lists_ = new FilterPanel(this, {"Check9", "Check3", "Check4", "Check2", "Check6"});
    Check9 = lists_->CheckDistrict;
    Check3 = lists_->CheckTaluk;
    Check4 = lists_->CheckRelation;
    Check2 = lists_->CheckPrakara;
    Check6 = lists_->CheckUpaprakara;
    CmbDistrict = lists_->CmbDistrict;
    CmbTaluk = lists_->CmbTaluk;
    CmbRelation = lists_->CmbRelation;
    CmbPrakara = lists_->CmbPrakara;
    CmbUpaprakara = lists_->CmbUpaprakara;
    Check7 = named(new GlyphCheckBox(personName(), this), "Check7");
    Check8 = named(new GlyphCheckBox(placeName(), this), "Check8");
    Check1 = named(new GlyphCheckBox(state(), this), "Check1");
    Check5 = named(new GlyphCheckBox(country(), this), "Check5");
    Txtname = named(new GlyphLineEdit(this), "Txtname");
    Txtplace = named(new GlyphLineEdit(this), "Txtplace");
    TxtState = named(new GlyphLineEdit(this), "TxtState");
    TxtCountry = named(new GlyphLineEdit(this), "TxtCountry");

    cmdreport = named(new GlyphButton(runReport(), this), "cmdreport");
    cmdcancel = named(new GlyphButton(Caption::cancel(), this), "cmdcancel");
    cmdexit = named(new GlyphButton(Caption::close(), this), "cmdexit");
    Frame2 = named(new QFrame(this), "Frame2");
    Frame2->setFrameShape(QFrame::StyledPanel);
    l1 = named(new GlyphLabel(working(), Frame2), "l1");
    PB = named(new QProgressBar(Frame2), "PB");
    PB->setTextVisible(true);
    Crrp = named(new ReportControl(this), "Crrp");

    auto *which = new QHBoxLayout;
    which->addWidget(Opth);
    which->addSpacing(24);
    which->addWidget(OptO);
    which->addStretch();
    auto *filters = new QGridLayout;
    filters->setHorizontalSpacing(10);
    lists_->placeIn(filters, 0);
    filters->addWidget(Check7, 3, 0);
    filters->addWidget(Txtname, 3, 1);
    filters->addWidget(Check8, 3, 2);
    filters->addWidget(Txtplace, 3, 3);
    filters->addWidget(Check1, 4, 0);
    filters->addWidget(TxtState, 4, 1);
    filters->addWidget(Check5, 4, 2);
    filters->addWidget(TxtCountry, 4, 3);
    filters->setColumnStretch(1, 1);
    filters->setColumnStretch(3, 1);
    auto *progress = new QHBoxLayout(Frame2);
    progress->addWidget(l1);
    progress->addWidget(PB, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdreport);
    buttons->addWidget(cmdcancel);
    buttons->addWidget(cmdexit);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(title.row);
    layout->addLayout(which);
    layout->addSpacing(6);
    layout->addLayout(filters);
    layout->addStretch();
    layout->addWidget(Frame2);
    layout->addLayout(buttons);

    // A list filter ticked: the text criteria go.
    connect(lists_, &FilterPanel::filterTicked, this, &book9::clearTextCriteria);
    connect(Check7, &QCheckBox::toggled, this, &book9::Check7_Click);
    connect(Check8, &QCheckBox::toggled, this, &book9::Check8_Click);
    connect(Check1, &QCheckBox::toggled, this, &book9::Check1_Click);
    connect(Check5, &QCheckBox::toggled, this, &book9::Check5_Click);
    connect(cmdreport, &QPushButton::clicked, this, &book9::cmdreport_Click);
    connect(cmdcancel, &QPushButton::clicked, this, &book9::cmdcancel_Click);
    connect(cmdexit, &QPushButton::clicked, this, &book9::cmdexit_Click);
    setWindowKeys(this, cmdreport, cmdexit);
    connect(Command4, &QPushButton::clicked, this, &book9::Command4_Click);

    resize(760, 420);
    Form_Load();
}

void book9::Form_Load() {
    Frame2->hide();
    // A text box takes typing once its box is ticked, and looks so.
    for (GlyphLineEdit *box : {Txtname, Txtplace, TxtState, TxtCountry}) box->setEnabled(false);
    if (mode_ != kLabels && mode_ != kGeneralList) return;
    Label1->setText(mode_ == kLabels ? Caption::labelsTitle() : Caption::generalTitle());
    nameWindow(this, Label1->text());
    ModDeclare::ClearBeforeFill = true;
    lists_->fillMasters();
}

// ---- Filters ----------------------------------------------------------------------------------

void book9::clearTextCriteria() {
    for (GlyphCheckBox *c : {Check7, Check8, Check1, Check5}) c->setChecked(false);
}

void book9::textCriterion(GlyphCheckBox *check, GlyphLineEdit *box) {
    if (check->isChecked()) {
        for (GlyphCheckBox *other : {Check1, Check2, Check3, Check4, Check5, Check6, Check7, Check8, Check9})
            if (other != check) other->setChecked(false);
        box->setEnabled(true);
        box->setFocus();
    } else {
        box->setEnabled(false);
        box->setText(QString());
    }
}

void book9::Check7_Click() { textCriterion(Check7, Txtname); }
void book9::Check8_Click() { textCriterion(Check8, Txtplace); }
void book9::Check1_Click() { textCriterion(Check1, TxtState); }
void book9::Check5_Click() { textCriterion(Check5, TxtCountry); }

// ---- Running ----------------------------------------------------------------------------------

void book9::cmdreport_Click() {
    Frame2->show();
    // A reset hides the label and the bar; every run shows its progress again.
    l1->show();
    PB->show();
    cmdreport->setEnabled(false);
    // Painted now: the copy below lets no event run until it is done.
    if (layout()) layout()->activate();
    repaint();
    // The list filters first, then the first text criterion, else every address.
    std::optional<AddressConditions> conditions = listConditions(lists_->filters());
    if (!conditions)
        conditions = textConditions({TxtCountry->text(), Txtname->text(), TxtState->text(), Txtplace->text()});
    LoadDetails(conditions.value_or(AddressConditions()));
    cmdreport->setEnabled(true);
    Frame2->hide();
}

void book9::LoadDetails(const AddressConditions &conditions) {
    copied_ = 0;
    PB->reset();
    if (mode_ != kLabels && mode_ != kGeneralList) return;
    AddressListData data(ModDeclare::AppDatabase());
    QElapsedTimer sinceRepaint;
    sinceRepaint.start();
    // temp is filled inside one write transaction, so no event may run meanwhile (a timer, a
    // close, the exit question): the bar is painted directly, the event loop is not entered.
    const int rows = data.fillReportTable(
        conditions, mode_ == kLabels ? ReportKind::Labels : ReportKind::GeneralList,
        Opth->isChecked() ? AddressChoice::First : AddressChoice::Second, [&](int copied, int total) {
            if (copied == 0) PB->setRange(0, qMax(total, 1));
            copied_ = copied;
            PB->setValue(copied);
            if (sinceRepaint.elapsed() >= 40) {
                PB->repaint();
                sinceRepaint.restart();
            }
        });
    if (rows < 0) {
        copied_ = 0;
        QMessageBox::warning(this, QStringLiteral("Kelda Vasi"),
                             tr("The addresses could not be copied for the report: %1").arg(data.lastError()));
        return;
    }
    if (rows == 0) {
        book4::showMessage(this, mode_ == kLabels ? RecordCaption::nothingFound() : RecordCaption::nothingFoundList());
        return;
    }
    Crrp->ReportFileName =
        AppFiles::path(mode_ == kLabels ? QStringLiteral("rpkeldalabel.rpt") : QStringLiteral("rpoffice.rpt"));
    Crrp->run(this);
}

void book9::cmdcancel_Click() {
    // The district filter stays ticked, with its text.
    for (GlyphCheckBox *c : {Check1, Check2, Check3, Check4, Check5, Check6, Check7, Check8}) c->setChecked(false);
    Opth->setChecked(true);
    TxtCountry->setText(QString());
    TxtState->setText(QString());
    l1->hide();
    PB->hide();
}

// ---- Closing ----------------------------------------------------------------------------------

void book9::cmdexit_Click() { closeWindow(this); }
void book9::Command4_Click() { closeWindow(this); }
