// What the five menu windows frm1-frm5 share: a small frameless child window of the main
// window with entry labels and one highlight bar, which closes itself when it loses the focus.
#pragma once

#include <QWidget>

class frmmain;
class MenuLabel;
class Shape;

class MenuWindow : public QWidget {
    Q_OBJECT
public:
    // left, top: the window's position in the main window's client area, in twips.
    MenuWindow(frmmain *main, const QString &name, int left, int top);

    int leftTwips() const { return left_; }
    int topTwips() const { return top_; }
    // The highlight bar.
    Shape *Shape1;

    // Closing itself (an entry chosen, the focus lost): tells the main window, which resets
    // its bar, and unloads.
    void closeItself();
    // Unloads without touching the bar (the bar's own closing of a menu).
    void unload();
    // Lights an entry from the keyboard (0: the first).
    void highlightEntry(int entry);

protected:
    // Adds an entry at the given top (twips); its click first closes the menu, then runs
    // the entry's step.
    MenuLabel *addEntry(const QString &name, const QString &caption, int top, void (MenuWindow::*step)());
    template <class M>
    MenuLabel *addEntry(const QString &name, const QString &caption, int top, void (M::*step)()) {
        return addEntry(name, caption, top, static_cast<void (MenuWindow::*)()>(step));
    }
    void finishLayout();
    void focusOutEvent(QFocusEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

    frmmain *main_;

private:
    void entryMouseMoved(MenuLabel *entry);

    int left_;
    int top_;
    int lastEntryTop_ = 0;
    QList<MenuLabel *> entries_;
    int keyEntry_ = -1;
    bool unloading_ = false;
};

// frm5: the reference lists.
class frm5 : public MenuWindow {
    Q_OBJECT
public:
    explicit frm5(frmmain *main);
    MenuLabel *lnew, *lopen, *lprk, *luprk, *lexit;

private:
    void lnew_Click();
    void lopen_Click();
    void lprk_Click();
    void luprk_Click();
    void lexit_Click();
};

// frm1: address entry, and the addresses out to other programs and in from them.
class frm1 : public MenuWindow {
    Q_OBJECT
public:
    explicit frm1(frmmain *main);
    MenuLabel *lnew, *lexport, *limport;

private:
    void lnew_Click();
    void lexport_Click();
    void limport_Click();
};

// frm2: browsing and search.
class frm2 : public MenuWindow {
    Q_OBJECT
public:
    explicit frm2(frmmain *main);
    MenuLabel *lnew, *lopen;

private:
    void lnew_Click();
    void lopen_Click();
};

// frm3: reports.
class frm3 : public MenuWindow {
    Q_OBJECT
public:
    explicit frm3(frmmain *main);
    MenuLabel *lnew, *lopen;

private:
    void lnew_Click();
    void lopen_Click();
};

// frm4: help and about.
class frm4 : public MenuWindow {
    Q_OBJECT
public:
    explicit frm4(frmmain *main);
    MenuLabel *lnew, *lopen;

private:
    void lnew_Click();
    void lopen_Click();
};
