// frmmain: the main window. A multiple-document window with the home-made menu bar Pic1 across
// the top, a side panel with a picture running down it, and the data windows as its children.
#pragma once

#include <QMainWindow>
#include <QPointer>

class GlyphLabel;
class MenuLabel;
class MenuWindow;
class QLabel;
class QMdiArea;
class QKeyEvent;
class QMdiSubWindow;
class QTimer;
class Shape;

class frmmain : public QMainWindow {
    Q_OBJECT
public:
    explicit frmmain(QWidget *parent = nullptr);
    ~frmmain() override;

    // Controls, named as the window names them. l[1]..l[6] and s[1]..s[6]; index 0 is unused.
    QWidget *Pic1;
    MenuLabel *l[7];
    Shape *s[7];
    Shape *sd;
    QWidget *Picture1;
    QLabel *pic2;
    QTimer *Timer1;
    QMdiArea *mdiArea;
    // Shows whether Kannada typing (Scroll Lock) is on.
    GlyphLabel *kannadaIndicator;

    // The open menu window frm1..frm5 of that number, or nullptr.
    MenuWindow *menu(int number) const;
    // pic2's top, in twips.
    int pic2Top() const { return pic2Top_; }
    // Opens a window by its name without making it modal (brings it forward when open). The
    // program's windows reach it through WindowRegistry::open.
    QWidget *showWindow(const QString &name);
    // A menu window closed itself: the bar forgets its open menu.
    void menuClosedItself();
    // The title the keyboard lit on the bar (F10 or Alt), 0 when the bar does not have the keys.
    int keyboardTitle() const { return keyTitle_; }
    // A key of an open menu: Left or Right (step -1, 1) opens the next title's menu along the
    // bar; Escape (step 0) closes the menu and the bar keeps the keys.
    void menuStep(MenuWindow *menu, int step);

public slots:
    void refreshKannadaIndicator();

signals:
    // The exit was confirmed: Kannada typing is off and the database closed.
    void applicationEnding();

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private slots:
    void MDIForm_Load();
    void MDIForm_Resize();
    void MDIForm_Click();
    void Timer1_Timer();
    void Pic1_MouseMove();
    void Pic1_MouseDown();
    void l_MouseMove(int index);
    void l_MouseDown(int index);
    void l_Click(int index);

private:
    void buildMenuBar();
    void buildSidePanel();
    void showBox(int index);
    void resetBoxes();
    void placeShadow(int index);
    void showMenu(int number);
    void unloadMenu(int number);
    QMdiSubWindow *showChild(QWidget *window);
    QWidget *openWindow(const QString &name) const;
    // Closes the windows the program opened; false when one stays open (it had changes not
    // saved and the user went back to it).
    bool closeWindows();
    // The bar from the keyboard.
    void takeKeys();
    void giveKeysBack(bool restoreFocus);
    bool barKey(const QKeyEvent *key);
    void openKeyboardTitle();
    bool shortcutKey(QObject *watched, QEvent *event);

    QPointer<MenuWindow> menus_[6];
    int pic2Top_ = -3690;
    int keyTitle_ = 0;
    bool altAlone_ = false;
    QPointer<QWidget> focusBeforeKeys_;
};
