// What the tests of the windows share: answering the dialogs as a person would, typing Kannada
// through the keyboard bridge, picking from lists, and one fixture that gives each test a fresh
// database and deletes the windows it opened.
#pragma once

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <QtTest>

#include <functional>

#include "app_test_support.h"
#include "arrow_button.h"
#include "glyph_list_box.h"
#include "glyph_widgets.h"
#include "keyboard_bridge.h"
#include "message_dialog.h"
#include "question_dialog.h"
#include "reference_captions.h"
#include "reference_window.h"
#include "save_question.h"
#include "tovi_library.h"
#include "window_catalog.h"
#include "window_registry.h"

// Watches for the modal dialogs and answers them: the message dialog with its button, the
// question with the next queued answer (no when none is queued), the question about unsaved
// changes with the next queued choice (leave them unsaved when none is queued). Every text
// shown is kept.
class DialogAnswerer : public QObject {
public:
    DialogAnswerer() {
        timer_.setInterval(5);
        connect(&timer_, &QTimer::timeout, this, &DialogAnswerer::look);
        timer_.start();
    }
    void answerNextQuestion(bool yes) { answers_.append(yes); }
    void answerNextSaveQuestion(SaveQuestion::Choice choice) { choices_.append(choice); }
    QStringList messages, questions, saveQuestions, failures;
    void forget() {
        messages.clear();
        questions.clear();
        saveQuestions.clear();
        failures.clear();
    }

private:
    void look() {
        QWidget *modal = QApplication::activeModalWidget();
        if (auto *m = qobject_cast<book4 *>(modal)) {
            messages << m->Label1->text() + (m->Detail->text().isEmpty() ? QString() : "\n" + m->Detail->text());
            m->Command1->click();
        } else if (auto *q = qobject_cast<book3 *>(modal)) {
            questions << q->Label1->text();
            (!answers_.isEmpty() && answers_.takeFirst() ? q->Command1 : q->Command2)->click();
        } else if (auto *s = qobject_cast<SaveQuestion *>(modal)) {
            saveQuestions << s->Label1->text();
            const auto choice = choices_.isEmpty() ? SaveQuestion::Choice::Discard : choices_.takeFirst();
            (choice == SaveQuestion::Choice::Save ? s->CmdSave
             : choice == SaveQuestion::Choice::Stay ? s->CmdStay : s->CmdDiscard)->click();
        } else if (auto *box = qobject_cast<QMessageBox *>(modal)) {
            failures << box->text();
            box->accept();
        }
    }
    QTimer timer_;
    QList<bool> answers_;
    QList<SaveQuestion::Choice> choices_;
};

// The keyboard engine, with Kannada typing switched on or off.
class TypingSession {
public:
    TypingSession() {
        WindowCatalog::defineAll();
        bridge_.start();
        kannada(true);
    }
    bool running() const { return bridge_.running(); }
    void kannada(bool on) {
        if (on)
            ToviLibrary::turnOnScrollLock();
        else
            ToviLibrary::turnOffScrollLock();
        bridge_.refresh();
    }

private:
    KeyboardBridge bridge_;
};

// Shows a window as the user would meet it: active, with the focus inside.
inline bool showActive(QWidget *w) {
    w->show();
    w->activateWindow();
    return QTest::qWaitForWindowActive(w);
}

// Types phonetic keys into the widget through the bridge.
inline void typeKeys(QWidget *box, const char *keys) {
    // A closed dialog may have left the window inactive; the keys go to the active window.
    box->window()->activateWindow();
    (void)QTest::qWaitForWindowActive(box->window());
    box->setFocus();
    QApplication::processEvents();
    QTest::keyClicks(box, QString::fromLatin1(keys));
}

// Picks the item of that text from a list with the arrow keys, each step a pick.
inline bool pickItem(GlyphComboBox *list, const QString &glyphs) {
    list->setFocus();
    int target = -1;
    for (int i = 0; i < list->count(); ++i)
        if (list->itemGlyphText(i) == glyphs) target = i;
    if (target < 0) return false;
    while (list->currentIndex() > target) QTest::keyClick(list, Qt::Key_Up);
    while (list->currentIndex() < target) QTest::keyClick(list, Qt::Key_Down);
    return list->text() == glyphs;
}

// The glyph texts of a drop-down list or a reference window's list, top to bottom.
template <class List>
QStringList itemTexts(const List *list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i) out << list->itemGlyphText(i);
    return out;
}

// Clicks the list item of that text, as the user would.
inline void clickItem(ReferenceWindow *w, const QString &glyphs) {
    for (int i = 0; i < w->list->count(); ++i) {
        if (w->list->itemGlyphText(i) != glyphs) continue;
        QTest::mouseClick(w->list->viewport(), Qt::LeftButton, {}, w->list->visualItemRect(w->list->item(i)).center());
        return;
    }
    QFAIL("no such item in the list");
}

// Waits for a reference window's shake to end with the saved message; how often that message
// was shown (0: never). The messages seen are forgotten.
inline int waitForSaved(DialogAnswerer *answerer, ReferenceWindow *w) {
    (void)QTest::qWaitFor([&] { return answerer->messages.contains(Caption::saved()) && !w->Timer1->isActive(); }, 3000);
    QTest::qWait(120);  // a second confirmation would come within a few ticks
    return int(answerer->messages.removeAll(Caption::saved()));
}

// Runs step on the next modal window that is neither of the two dialogs (a reference window
// opened from a "..." button), as soon as it shows.
inline void onNextReferenceWindow(std::function<void(QWidget *)> step) {
    auto *poll = new QTimer;
    poll->setInterval(5);
    QObject::connect(poll, &QTimer::timeout, [poll, step] {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal || qobject_cast<book3 *>(modal) || qobject_cast<book4 *>(modal)) return;
        poll->deleteLater();
        poll->stop();
        step(modal);
    });
    poll->start();
}

// Each test gets a fresh database, a dialog answerer and Kannada typing on; the windows it
// opened (through open()) go afterwards, and no database failure may have been shown unless the
// test forgot it.
class WindowTest : public QObject {
    Q_OBJECT
protected:
    // Runs once the fresh database is open.
    virtual void prepare() {}
    // Shows a new window as the user meets it; nullptr when it cannot be activated.
    template <class W>
    W *open(W *w) {
        windows_ << w;
        return showActive(w) ? w : nullptr;
    }
    ReferenceWindow *openReference(const char *name) {
        return open(static_cast<ReferenceWindow *>(WindowRegistry::make(QLatin1String(name), nullptr)));
    }

    TypingSession *typing_ = nullptr;
    TestDatabase *db_ = nullptr;
    DialogAnswerer *answerer_ = nullptr;

private slots:
    void initTestCase() {
        typing_ = new TypingSession;
        QVERIFY2(typing_->running(), "the keyboard engine did not start");
    }
    void cleanupTestCase() { delete typing_; }
    void init() {
        db_ = new TestDatabase;
        QVERIFY2(db_->opened(), qPrintable(db_->error()));
        answerer_ = new DialogAnswerer;
        typing_->kannada(true);
        prepare();
    }
    void cleanup() {
        for (const QPointer<QWidget> &w : windows_) delete w.data();
        windows_.clear();
        const QStringList failures = answerer_->failures;
        delete answerer_;
        delete db_;
        QVERIFY2(failures.isEmpty(), qPrintable(failures.join('\n')));
    }

private:
    QList<QPointer<QWidget>> windows_;
};
