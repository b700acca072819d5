// What the tests of the reference-list windows share: answering the dialogs as a person would,
// typing Kannada through the keyboard bridge, and reading the database back.
#pragma once

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QSqlQuery>
#include <QTimer>
#include <QtTest>

#include "arrow_button.h"
#include "question_dialog.h"
#include "message_dialog.h"
#include "glyph_list_box.h"
#include "glyph_widgets.h"
#include "keyboard_bridge.h"
#include "reference_captions.h"
#include "reference_window.h"
#include "test_database.h"
#include "tovi_library.h"
#include "window_catalog.h"
#include "window_registry.h"

inline QString G(const char *s) { return QString::fromLatin1(s); }

// Names as the keyboard engine types them from the phonetic keys (glyph codes).
namespace Typed {
inline QString kOlAra() { return G("P\xC9\xC6\xC3\xAF\xC1g\xC0"); }
inline QString tumakUru() { return G("v\xC0\xC4\xAA\xC0\xC4P\xC0\xC6g\xC0\xC4"); }
inline QString bIdara() { return G("\xA9\xC3z\xC0g\xC0"); }
inline QString beLagAvi() { return G("\xA8\xC9\xBC\xC0U\xC1\xAB"); }
inline QString mYsUru() { return G("\xAA\xC9\xC4\xCA\xB8\xC0\xC6g\xC0\xC4"); }
inline QString hAsana() { return G("\xBA\xC1\xB8\xC0\xA3\xC0"); }
}  // namespace Typed

// Watches for the modal dialogs and answers them: the message dialog with its button, the
// question with the next queued answer (no when none is queued). Every text shown is kept.
class DialogAnswerer : public QObject {
public:
    DialogAnswerer() {
        timer_.setInterval(5);
        connect(&timer_, &QTimer::timeout, this, &DialogAnswerer::look);
        timer_.start();
    }
    void answerNextQuestion(bool yes) { answers_.append(yes); }
    QStringList messages, questions, failures;
    void forget() {
        messages.clear();
        questions.clear();
        failures.clear();
    }

private:
    void look() {
        QWidget *modal = QApplication::activeModalWidget();
        if (auto *m = qobject_cast<book4 *>(modal)) {
            messages << m->Label1->text();
            m->Command1->click();
        } else if (auto *q = qobject_cast<book3 *>(modal)) {
            questions << q->Label1->text();
            const bool yes = answers_.isEmpty() ? false : answers_.takeFirst();
            (yes ? q->Command1 : q->Command2)->click();
        } else if (auto *box = qobject_cast<QMessageBox *>(modal)) {
            failures << box->text();
            box->accept();
        }
    }
    QTimer timer_;
    QList<bool> answers_;
};

// Waits for a window's shake to end with the saved message; how often that message was shown
// (0: never). The messages seen are forgotten.
inline int waitForSaved(DialogAnswerer *answerer, ReferenceWindow *w) {
    QTest::qWaitFor([&] { return answerer->messages.contains(Caption::saved()) && !w->Timer1->isActive(); }, 3000);
    QTest::qWait(120);  // a second confirmation would come within a few ticks
    return int(answerer->messages.removeAll(Caption::saved()));
}

// The keyboard engine runs for the whole test program, with Kannada typing on.
class TypingSession {
public:
    TypingSession() {
        WindowCatalog::defineAll();
        bridge_.start();
        ToviLibrary::turnOnScrollLock();
        bridge_.refresh();
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
    QTest::qWaitForWindowActive(box->window());
    box->setFocus();
    QApplication::processEvents();
    QTest::keyClicks(box, QString::fromLatin1(keys));
}

// The glyph texts of a window's list, top to bottom.
inline QStringList listTexts(const ReferenceWindow *w) {
    QStringList out;
    for (int i = 0; i < w->list->count(); ++i) out << w->list->itemGlyphText(i);
    return out;
}

// Clicks the list item of that text, as the user would.
inline void clickItem(ReferenceWindow *w, const QString &glyphs) {
    for (int i = 0; i < w->list->count(); ++i) {
        if (w->list->itemGlyphText(i) != glyphs) continue;
        const QRect r = w->list->visualItemRect(w->list->item(i));
        QTest::mouseClick(w->list->viewport(), Qt::LeftButton, {}, r.center());
        return;
    }
    QFAIL("no such item in the list");
}

// A name column, or "<none>" when the row does not exist.
inline QString nameOf(const char *table, const char *nameCol, const char *numberCol, int number) {
    QSqlQuery q(Database::connection());
    q.prepare(QStringLiteral("SELECT %1 FROM %2 WHERE %3 = ?")
                  .arg(QLatin1String(nameCol), QLatin1String(table), QLatin1String(numberCol)));
    q.addBindValue(number);
    if (!q.exec() || !q.next()) return QStringLiteral("<none>");
    return q.value(0).toString();
}

inline int count(const QString &sql, const QVariantList &values = {}) {
    return TestDatabase::scalar(sql, values).toInt();
}

// An address that points at reference entries: relation, district, taluk, category, sub-category.
inline bool addAddress(int id, int relation, int district, int taluk, int prakara, int upaprakara) {
    return TestDatabase::exec(
        "INSERT INTO addressh (id_no, Name, sl_no, districtno, Talukno, PrakaraNo, UpaPrakaraNo) "
        "VALUES (?, ?, ?, ?, ?, ?, ?)",
        {id, QStringLiteral("n%1").arg(id), relation, district, taluk, prakara, upaprakara});
}

// The reference numbers of an address: sl_no, districtno, Talukno, PrakaraNo, UpaPrakaraNo.
inline QList<int> addressLinks(int id) {
    QSqlQuery q(Database::connection());
    q.prepare("SELECT sl_no, districtno, Talukno, PrakaraNo, UpaPrakaraNo FROM addressh WHERE id_no = ?");
    q.addBindValue(id);
    if (!q.exec() || !q.next()) return {};
    return {q.value(0).toInt(), q.value(1).toInt(), q.value(2).toInt(), q.value(3).toInt(), q.value(4).toInt()};
}
