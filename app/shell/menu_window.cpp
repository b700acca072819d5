#include "menu_window.h"

#include "captions.h"
#include "exchange_captions.h"
#include "main_window.h"
#include "menu_label.h"
#include "shared_module.h"
#include "shape.h"
#include "twips.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMdiSubWindow>

namespace {
constexpr int kEntryHeight = 330;  // twips
constexpr int kBarHeight = 375;
}  // namespace

MenuWindow::MenuWindow(frmmain *main, const QString &name, int left, int top)
    : QWidget(nullptr), main_(main), left_(left), top_(top) {
    setObjectName(name);
    setFocusPolicy(Qt::StrongFocus);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(0xFF, 0xFB, 0xF0));
    setPalette(pal);
    Shape1 = new Shape(this);
    Shape1->setObjectName(QStringLiteral("Shape1"));
    Shape1->setFillColor(QColor(0xE0, 0xE0, 0xE0));
    Shape1->setBorderColor(QColor(0x1F, 0x4E, 0x79));
    Shape1->hide();
}

MenuLabel *MenuWindow::addEntry(const QString &name, const QString &caption, int top,
                                void (MenuWindow::*step)()) {
    auto *entry = new MenuLabel(caption, this);
    entry->setObjectName(name);
    entry->move(twips(60), twips(top));
    entry->resize(entry->sizeHint().width() + twips(240), twips(kEntryHeight));
    lastEntryTop_ = qMax(lastEntryTop_, top);
    entries_.append(entry);
    connect(entry, &MenuLabel::mouseMoved, this, [this, entry] { entryMouseMoved(entry); });
    connect(entry, &MenuLabel::clicked, this, [this, step] {
        closeItself();
        (this->*step)();
    });
    return entry;
}

void MenuWindow::finishLayout() {
    int width = 0;
    for (MenuLabel *entry : findChildren<MenuLabel *>()) width = qMax(width, entry->geometry().right());
    for (MenuLabel *entry : findChildren<MenuLabel *>()) entry->resize(width - entry->x(), entry->height());
    resize(width + twips(120), twips(lastEntryTop_ + kBarHeight + 150));
    Shape1->resize(width - twips(20), twips(kBarHeight));
    Shape1->lower();
}

// The highlight bar goes under the entry, its top 50 twips above the entry's.
void MenuWindow::entryMouseMoved(MenuLabel *entry) {
    Shape1->move(twips(40), entry->y() - twips(50));
    Shape1->show();
}

void MenuWindow::highlightEntry(int entry) {
    if (entries_.isEmpty()) return;
    keyEntry_ = (entry + int(entries_.size())) % int(entries_.size());
    entryMouseMoved(entries_.at(keyEntry_));
}

void MenuWindow::keyPressEvent(QKeyEvent *event) {
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
        highlightEntry(keyEntry_ < 0 ? 0 : keyEntry_ + (event->key() == Qt::Key_Up ? -1 : 1));
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        if (keyEntry_ >= 0) emit entries_.at(keyEntry_)->clicked();
        return;
    case Qt::Key_Left:
    case Qt::Key_Right:
        main_->menuStep(this, event->key() == Qt::Key_Left ? -1 : 1);
        return;
    case Qt::Key_Escape:
        main_->menuStep(this, 0);
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

void MenuWindow::closeItself() {
    if (unloading_) return;
    Shape1->hide();
    main_->menuClosedItself();
    unload();
}

void MenuWindow::unload() {
    if (unloading_) return;
    unloading_ = true;
    // The menu is the widget of its MDI sub-window; closing that one deletes both.
    if (auto *sub = qobject_cast<QMdiSubWindow *>(parentWidget()))
        sub->close();
    else
        close();
}

void MenuWindow::focusOutEvent(QFocusEvent *event) {
    QWidget::focusOutEvent(event);
    // A popup of the desktop (a tooltip, a context menu) does not take a menu away.
    if (event->reason() == Qt::PopupFocusReason) return;
    closeItself();
}

// ---- The five menus ---------------------------------------------------------------------------

frm5::frm5(frmmain *main) : MenuWindow(main, QStringLiteral("frm5"), 20, 0) {
    lnew = addEntry(QStringLiteral("lnew"), Caption::frm5Districts(), 180, &frm5::lnew_Click);
    lopen = addEntry(QStringLiteral("lopen"), Caption::frm5Taluks(), 570, &frm5::lopen_Click);
    lprk = addEntry(QStringLiteral("lprk"), Caption::frm5Prakaras(), 990, &frm5::lprk_Click);
    luprk = addEntry(QStringLiteral("luprk"), Caption::frm5Upaprakaras(), 1410, &frm5::luprk_Click);
    lexit = addEntry(QStringLiteral("lexit"), Caption::frm5Relations(), 1800, &frm5::lexit_Click);
    finishLayout();
}

void frm5::lnew_Click() { main_->showWindow(QStringLiteral("frmDistrict")); }
void frm5::lopen_Click() { main_->showWindow(QStringLiteral("Frmtaluk")); }
void frm5::lprk_Click() { main_->showWindow(QStringLiteral("FrmPrakara")); }
void frm5::luprk_Click() { main_->showWindow(QStringLiteral("FrmUpaprakara")); }
void frm5::lexit_Click() { main_->showWindow(QStringLiteral("FrmRelation")); }

frm1::frm1(frmmain *main) : MenuWindow(main, QStringLiteral("frm1"), 1850, 0) {
    lnew = addEntry(QStringLiteral("lnew"), Caption::frm1Entry(), 120, &frm1::lnew_Click);
    lexport = addEntry(QStringLiteral("lexport"), ExchangeCaption::exportEntry(), 480, &frm1::lexport_Click);
    limport = addEntry(QStringLiteral("limport"), ExchangeCaption::importEntry(), 840, &frm1::limport_Click);
    finishLayout();
}

void frm1::lexport_Click() {
    ModDeclare::ExportChoice.clear();
    main_->showWindow(QStringLiteral("ExportWindow"));
}

void frm1::limport_Click() { main_->showWindow(QStringLiteral("ImportWindow")); }

void frm1::lnew_Click() {
    ModDeclare::EditMode = false;
    main_->showWindow(QStringLiteral("FrmAddressEntry"));
}

frm2::frm2(frmmain *main) : MenuWindow(main, QStringLiteral("frm2"), 3470, 0) {
    lnew = addEntry(QStringLiteral("lnew"), Caption::frm2Browse(), 180, &frm2::lnew_Click);
    lopen = addEntry(QStringLiteral("lopen"), Caption::frm2Search(), 540, &frm2::lopen_Click);
    finishLayout();
}

void frm2::lnew_Click() { main_->showWindow(QStringLiteral("book7")); }
void frm2::lopen_Click() { main_->showWindow(QStringLiteral("book5")); }

frm3::frm3(frmmain *main) : MenuWindow(main, QStringLiteral("frm3"), 5350, 0) {
    lnew = addEntry(QStringLiteral("lnew"), Caption::frm3Labels(), 150, &frm3::lnew_Click);
    lopen = addEntry(QStringLiteral("lopen"), Caption::frm3General(), 510, &frm3::lopen_Click);
    finishLayout();
}

void frm3::lnew_Click() {
    ModDeclare::ReportMode = 50;
    main_->showWindow(QStringLiteral("book9"));
}

void frm3::lopen_Click() {
    ModDeclare::ReportMode = 51;
    main_->showWindow(QStringLiteral("book9"));
}

frm4::frm4(frmmain *main) : MenuWindow(main, QStringLiteral("frm4"), 7450, 0) {
    lnew = addEntry(QStringLiteral("lnew"), Caption::frm4Help(), 180, &frm4::lnew_Click);
    lopen = addEntry(QStringLiteral("lopen"), Caption::frm4About(), 540, &frm4::lopen_Click);
    finishLayout();
}

void frm4::lnew_Click() { main_->showWindow(QStringLiteral("book10")); }
void frm4::lopen_Click() { main_->showWindow(QStringLiteral("book11")); }
