#include "main_window.h"

#include "question_dialog.h"
#include "reports_window.h"
#include "captions.h"
#include "database.h"
#include "address_entry_window.h"
#include "glyph_widgets.h"
#include "keyboard_bridge.h"
#include "menu_label.h"
#include "menu_window.h"
#include "shared_module.h"
#include "shape.h"
#include "side_picture.h"
#include "tovi_library.h"
#include "twips.h"
#include "window_catalog.h"
#include "window_registry.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGridLayout>
#include <QKeyEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QTimer>

namespace {

struct TitleDef {
    int index;
    QString (*caption)();
    int left;
    int width;
};
// The titles along the bar, left to right (twips from the bar's left edge).
const TitleDef kTitles[] = {
    {5, &Caption::l5, 750, 675},  {1, &Caption::l1, 2550, 585},  {2, &Caption::l2, 4200, 795},
    {3, &Caption::l3, 6150, 1095}, {4, &Caption::l4, 8250, 855}, {6, &Caption::l6, 10140, 1005},
};

// The title next to a title along the bar (step -1: to the left), round at the ends.
int nextTitle(int index, int step) {
    constexpr int n = int(std::size(kTitles));
    int at = 0;
    while (kTitles[at].index != index) ++at;
    return kTitles[(at + step + n) % n].index;
}

const QColor kBoxLit(0xE0, 0xE0, 0xE0);
const QColor kBarColor(0xD6, 0xE2, 0xEE);

}  // namespace

frmmain::frmmain(QWidget *parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("frmmain"));
    setWindowTitle(QStringLiteral("Kelda Vasi"));

    auto *central = new QWidget(this);
    auto *grid = new QGridLayout(central);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(0);
    buildMenuBar();
    buildSidePanel();
    mdiArea = new QMdiArea(central);
    mdiArea->setObjectName(QStringLiteral("mdiArea"));
    mdiArea->setBackground(QColor(0xF4, 0xF1, 0xE8));
    mdiArea->viewport()->installEventFilter(this);
    Pic1->setParent(central);
    Picture1->setParent(central);
    grid->addWidget(Pic1, 0, 0, 1, 2);
    grid->addWidget(Picture1, 1, 0);
    grid->addWidget(mdiArea, 1, 1);
    setCentralWidget(central);
    resize(twips(12600), twips(8700));

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(50);
    connect(Timer1, &QTimer::timeout, this, &frmmain::Timer1_Timer);

    // The windows are opened by name through the main window.
    WindowCatalog::defineAll();
    WindowRegistry::setOpener([this](const QString &name) { return showWindow(name); });

    if (KeyboardBridge *bridge = KeyboardBridge::instance())
        connect(bridge, &KeyboardBridge::kannadaChanged, this, &frmmain::refreshKannadaIndicator);
    // F10 and Alt reach the bar from whichever box has the focus.
    qApp->installEventFilter(this);
    MDIForm_Load();
}

frmmain::~frmmain() {
    qApp->removeEventFilter(this);
    WindowRegistry::setOpener(nullptr);
}

void frmmain::buildMenuBar() {
    Pic1 = new QWidget(this);
    Pic1->setObjectName(QStringLiteral("Pic1"));
    Pic1->setFixedHeight(twips(435));
    Pic1->setMinimumWidth(twips(11880));
    Pic1->setAutoFillBackground(true);
    QPalette pal = Pic1->palette();
    pal.setColor(QPalette::Window, kBarColor);
    Pic1->setPalette(pal);
    Pic1->setMouseTracking(true);
    Pic1->installEventFilter(this);

    sd = new Shape(Pic1);
    sd->setObjectName(QStringLiteral("sd"));
    sd->setFillColor(QColor(0x50, 0x58, 0x60));
    sd->setBorderColor(QColor(0x50, 0x58, 0x60));
    sd->hide();
    s[0] = nullptr;
    l[0] = nullptr;
    for (const TitleDef &t : kTitles) {
        Shape *box = new Shape(Pic1);
        box->setObjectName(QStringLiteral("s%1").arg(t.index));
        box->setGeometry(twipsRect(t.left - 90, 30, t.width + 180, 375));
        box->setBorderColor(QColor(0x1F, 0x4E, 0x79));
        box->hide();
        s[t.index] = box;
    }
    for (const TitleDef &t : kTitles) {
        auto *label = new MenuLabel(t.caption(), Pic1);
        label->setObjectName(QStringLiteral("l%1").arg(t.index));
        label->setGeometry(twipsRect(t.left, 60, t.width, 315));
        label->setAlignment(Qt::AlignCenter);
        // The captions are drawn whole even where the Kannada form is wider than the space
        // the glyph font needed.
        label->setMinimumWidth(label->sizeHint().width());
        if (label->width() < label->sizeHint().width()) {
            const int grow = label->sizeHint().width() - label->width();
            label->setGeometry(label->x() - grow / 2, label->y(), label->sizeHint().width(), label->height());
        }
        l[t.index] = label;
        const int i = t.index;
        connect(label, &MenuLabel::mouseMoved, this, [this, i] { l_MouseMove(i); });
        connect(label, &MenuLabel::mousePressed, this, [this, i] { l_MouseDown(i); });
        connect(label, &MenuLabel::clicked, this, [this, i] { l_Click(i); });
    }
    kannadaIndicator = new GlyphLabel(Caption::kannada(), Pic1);
    kannadaIndicator->setObjectName(QStringLiteral("kannadaIndicator"));
    kannadaIndicator->setAlignment(Qt::AlignCenter);
    kannadaIndicator->setGeometry(twipsRect(11430, 75, 900, 285));
    kannadaIndicator->setToolTip(tr("Kannada typing: Scroll Lock switches it on and off"));
}

void frmmain::buildSidePanel() {
    Picture1 = new QWidget(this);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setFixedWidth(twips(675));
    Picture1->setAutoFillBackground(true);
    QPalette pal = Picture1->palette();
    pal.setColor(QPalette::Window, QColor(0x1F, 0x4E, 0x79));
    Picture1->setPalette(pal);
    pic2 = new QLabel(Picture1);
    pic2->setObjectName(QStringLiteral("pic2"));
    const QPixmap picture = SidePicture::make(twips(600), twips(3690));
    pic2->setPixmap(picture);
    pic2->resize(picture.size() / picture.devicePixelRatio());
}

void frmmain::MDIForm_Load() {
    // The database was opened before the splash, so that a file that is not an address book
    // ends the program before any window shows.
    ModDeclare::MenuActive = false;
    ModDeclare::Ending = false;
    ModDeclare::TurnOnScrollLock();
    pic2Top_ = -3690;
    pic2->move(twips(37), twips(pic2Top_));
    Timer1->start();
    refreshKannadaIndicator();
}

void frmmain::refreshKannadaIndicator() {
    const bool on = KeyboardBridge::kannadaOn();
    kannadaIndicator->setEnabled(on);
    kannadaIndicator->setStyleSheet(on ? QStringLiteral("background: #2e7d32; color: white; border-radius: 3px;")
                                       : QStringLiteral("background: transparent; color: #7a8590;"));
    kannadaIndicator->setProperty("kannadaOn", on);
}

void frmmain::Timer1_Timer() {
    if (pic2Top_ <= 9000)
        pic2Top_ += 50;
    else
        pic2Top_ = -3690;
    pic2->move(pic2->x(), twips(pic2Top_));
}

// ---- The menu bar -----------------------------------------------------------------------------

MenuWindow *frmmain::menu(int number) const {
    if (number < 1 || number > 5) return nullptr;
    return menus_[number].data();
}

void frmmain::showBox(int index) {
    for (int i = 1; i <= 6; ++i) {
        if (i == index) {
            s[i]->setFillColor(kBoxLit);
            s[i]->show();
        } else {
            s[i]->hide();
        }
    }
}

void frmmain::resetBoxes() {
    for (int i = 1; i <= 6; ++i) {
        s[i]->setFillColor(palette().color(QPalette::Button));
        s[i]->hide();
    }
}

// The shadow takes the box's width, 50 twips right of and below its top left corner.
void frmmain::placeShadow(int index) {
    const QRect box = s[index]->geometry();
    sd->setGeometry(box.x() + twips(50), box.y() + twips(50), box.width(), box.height());
    sd->show();
    sd->stackUnder(s[index]);
}

void frmmain::showMenu(int number) {
    MenuWindow *m = menus_[number];
    if (!m) {
        switch (number) {
        case 1: m = new frm1(this); break;
        case 2: m = new frm2(this); break;
        case 3: m = new frm3(this); break;
        case 4: m = new frm4(this); break;
        default: m = new frm5(this); break;
        }
        menus_[number] = m;
        QMdiSubWindow *sub = mdiArea->addSubWindow(m, Qt::SubWindow | Qt::FramelessWindowHint);
        sub->setAttribute(Qt::WA_DeleteOnClose);
        sub->setObjectName(m->objectName() + QStringLiteral("Window"));
        sub->setGeometry(QRect(QPoint(twips(m->leftTwips()), twips(m->topTwips())), m->size()));
    }
    QWidget *sub = m->parentWidget();
    sub->show();
    sub->raise();
    m->setFocus(Qt::MouseFocusReason);
}

void frmmain::unloadMenu(int number) {
    if (MenuWindow *m = menus_[number]) m->unload();
    menus_[number] = nullptr;
}

void frmmain::menuClosedItself() {
    if (keyTitle_) giveKeysBack(false);
    sd->hide();
    for (int i : {1, 2}) {
        s[i]->setFillColor(palette().color(QPalette::Button));
        s[i]->hide();
    }
    ModDeclare::MenuActive = false;
}

void frmmain::l_MouseMove(int index) {
    showBox(index);
    if (!ModDeclare::MenuActive) return;
    placeShadow(index);
    for (int i = 1; i <= 5; ++i)
        if (i != index) unloadMenu(i);
    if (index <= 5) showMenu(index);
}

void frmmain::l_MouseDown(int index) {
    if (index == 6) return;
    showMenu(index);
    placeShadow(index);
}

void frmmain::l_Click(int index) {
    if (index == 6) {
        close();  // the exit: closeEvent asks
        return;
    }
    ModDeclare::MenuActive = true;
}

void frmmain::Pic1_MouseMove() {
    sd->hide();
    resetBoxes();
}

void frmmain::Pic1_MouseDown() { ModDeclare::MenuActive = false; }

void frmmain::MDIForm_Click() {
    keyTitle_ = 0;
    sd->hide();
    resetBoxes();
    for (int i = 1; i <= 5; ++i) unloadMenu(i);
    ModDeclare::MenuActive = false;
}

// ---- The bar from the keyboard: F10 or Alt lights the first title; Left and Right move along
// the bar, Enter or Down opens the title's menu (Up and Down move in it, Enter chooses, Left and
// Right go on to the next menu, Escape goes back to the bar); Escape, F10 or Alt give the keys
// back to the box that had them.

void frmmain::takeKeys() {
    focusBeforeKeys_ = QApplication::focusWidget();
    keyTitle_ = kTitles[0].index;
    showBox(keyTitle_);
    Pic1->setFocus(Qt::ShortcutFocusReason);
}

void frmmain::giveKeysBack(bool restoreFocus) {
    const int title = keyTitle_;
    keyTitle_ = 0;
    if (title && s[title]) s[title]->hide();
    sd->hide();
    if (restoreFocus && focusBeforeKeys_) focusBeforeKeys_->setFocus(Qt::ShortcutFocusReason);
}

void frmmain::openKeyboardTitle() {
    if (keyTitle_ == 6) {
        giveKeysBack(true);
        close();  // the exit: closeEvent asks
        return;
    }
    showBox(keyTitle_);
    placeShadow(keyTitle_);
    showMenu(keyTitle_);
    if (MenuWindow *m = menus_[keyTitle_]) m->highlightEntry(0);
}

bool frmmain::barKey(const QKeyEvent *key) {
    switch (key->key()) {
    case Qt::Key_Left:
    case Qt::Key_Right:
        keyTitle_ = nextTitle(keyTitle_, key->key() == Qt::Key_Left ? -1 : 1);
        showBox(keyTitle_);
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Down:
    case Qt::Key_Space:
        openKeyboardTitle();
        return true;
    case Qt::Key_Escape:
        giveKeysBack(true);
        return true;
    default:
        return false;
    }
}

void frmmain::menuStep(MenuWindow *menu, int step) {
    int title = 0;
    for (int i = 1; i <= 5; ++i)
        if (menus_[i] == menu) title = i;
    if (!title) return;
    if (!keyTitle_) focusBeforeKeys_ = nullptr;  // a menu the mouse opened
    unloadMenu(title);
    keyTitle_ = step ? nextTitle(title, step) : title;
    showBox(keyTitle_);
    if (step && keyTitle_ != 6) {
        openKeyboardTitle();
        return;
    }
    sd->hide();
    Pic1->setFocus(Qt::ShortcutFocusReason);
}

// F10, or Alt pressed and let go alone, while a window of this one has the focus.
bool frmmain::shortcutKey(QObject *watched, QEvent *event) {
    const QEvent::Type type = event->type();
    if (type == QEvent::MouseButtonPress) altAlone_ = false;
    if ((type != QEvent::KeyPress && type != QEvent::KeyRelease) || QApplication::activeWindow() != this ||
        watched != (QApplication::focusWidget() ? static_cast<QObject *>(QApplication::focusWidget()) : this))
        return false;
    const auto *key = static_cast<QKeyEvent *>(event);
    const bool alone = !(key->modifiers() & ~Qt::AltModifier);
    const bool f10 = type == QEvent::KeyPress && key->key() == Qt::Key_F10 && alone;
    const bool alt = type == QEvent::KeyRelease && key->key() == Qt::Key_Alt && altAlone_;
    if (type == QEvent::KeyPress && !key->isAutoRepeat()) altAlone_ = key->key() == Qt::Key_Alt && alone;
    if (!f10 && !alt) return false;
    altAlone_ = false;
    if (!keyTitle_) {
        takeKeys();
    } else {
        for (int i = 1; i <= 5; ++i) unloadMenu(i);
        giveKeysBack(true);
    }
    return true;
}

bool frmmain::eventFilter(QObject *watched, QEvent *event) {
    if (shortcutKey(watched, event)) return true;
    if (watched == Pic1 && keyTitle_) {
        if (event->type() == QEvent::KeyPress && barKey(static_cast<QKeyEvent *>(event))) return true;
        // The focus went elsewhere (a click) but not into the title's menu: the bar lets go.
        if (event->type() == QEvent::FocusOut && !qobject_cast<MenuWindow *>(QApplication::focusWidget()))
            giveKeysBack(false);
    }
    if (watched == Pic1) {
        if (event->type() == QEvent::MouseMove) Pic1_MouseMove();
        if (event->type() == QEvent::MouseButtonPress) Pic1_MouseDown();
    } else if (watched == mdiArea->viewport()) {
        if (event->type() == QEvent::MouseButtonRelease &&
            static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton)
            MDIForm_Click();
    }
    return QMainWindow::eventFilter(watched, event);
}

// ---- Windows ----------------------------------------------------------------------------------

bool frmmain::closeWindows() {
    mdiArea->closeAllSubWindows();
    if (!mdiArea->subWindowList().isEmpty()) return false;
    for (QWidget *w : findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
        if (w->isWindow() && w->isVisible() && !w->close()) return false;
    return true;
}

QMdiSubWindow *frmmain::showChild(QWidget *window) {
    const QSize wanted = window->size();
    QMdiSubWindow *sub = mdiArea->addSubWindow(window);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->setWindowTitle(window->windowTitle());
    sub->show();
    // The window keeps its own size inside the sub-window's frame, at the client area's corner.
    sub->resize(sub->size() - window->size() + wanted);
    sub->move(0, 0);
    return sub;
}

QWidget *frmmain::showWindow(const QString &name) {
    if (QWidget *open = openWindow(name)) {
        if (auto *sub = qobject_cast<QMdiSubWindow *>(open->parentWidget())) {
            mdiArea->setActiveSubWindow(sub);
        } else {
            open->raise();
            open->activateWindow();
        }
        return open;
    }
    // The address windows are children of the main window, at the client area's top left; the
    // reference windows and the about window stand on their own.
    const bool alone = WindowCatalog::standsAlone(name);
    QWidget *window = WindowRegistry::make(name, alone ? this : nullptr);
    if (!window) return nullptr;
    if (!alone) {
        showChild(window);
        return window;
    }
    if (name == QLatin1String("book11")) window->move(geometry().center() - window->rect().center());
    window->show();
    return window;
}

// The open window that a request for that name means, or nullptr.
QWidget *frmmain::openWindow(const QString &name) const {
    for (QMdiSubWindow *sub : mdiArea->subWindowList()) {
        QWidget *w = sub->widget();
        if (!w || w->objectName() != name) continue;
        // The reports window keeps the report it opened for: labels and the general list each
        // have their own.
        if (auto *reports = qobject_cast<book9 *>(w); reports && reports->reportMode() != ModDeclare::ReportMode)
            continue;
        // The entry window takes its mode (EditMode, CurrentId) when it opens. An open one comes
        // forward only when it works in that mode on that record; otherwise another one opens,
        // so that a save never lands on a record other than the one asked for.
        if (auto *entry = qobject_cast<FrmAddressEntry *>(w);
            entry && (entry->changeMode() != ModDeclare::EditMode ||
                      (entry->changeMode() && entry->recordNumber() != ModDeclare::CurrentId)))
            continue;
        return w;
    }
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->objectName() == name && w->isVisible()) return w;
    return nullptr;
}

// ---- Resizing and the exit --------------------------------------------------------------------

void frmmain::MDIForm_Resize() {
    // The windows that stand on their own close.
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->isVisible() && WindowCatalog::standsAlone(w->objectName())) w->close();
}

void frmmain::resizeEvent(QResizeEvent *event) {
    QMainWindow::resizeEvent(event);
    MDIForm_Resize();
}

void frmmain::changeEvent(QEvent *event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange) MDIForm_Resize();
}

void frmmain::closeEvent(QCloseEvent *event) {
    if (ModDeclare::Ending) {
        event->accept();
        return;
    }
    if (!book3::ask(this, Caption::exitQuestion()) || !closeWindows()) {
        event->ignore();
        return;
    }
    ModDeclare::Ending = true;
    Timer1->stop();
    ModDeclare::TurnOffScrollLock();
    refreshKannadaIndicator();
    Database::close();
    event->accept();
    // The program ends at once (main ends the event loop); the other windows are not closed
    // one by one.
    emit applicationEnding();
}
