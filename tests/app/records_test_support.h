// What the tests of the address windows share: answering the dialogs as a person would, typing
// through the keyboard bridge, and the reference lists the addresses point at.
#pragma once

#include <QApplication>
#include <QSqlQuery>
#include <QTimer>
#include <QtTest>

#include "book3.h"
#include "book4.h"
#include "data_access.h"
#include "glyph_widgets.h"
#include "keyboard_bridge.h"
#include "moddeclare.h"
#include "test_database.h"
#include "tovi_library.h"

inline QString G(const char *s) { return QString::fromLatin1(s); }

// Words as the keyboard engine types them from phonetic keys (glyph codes).
namespace Typed {
inline QString rAma() { return G("g\xC1\xAA\xC0\xC4"); }  // keys "rAma"
inline QString ka() { return G("P\xC0"); }                 // key "k"
inline QString ki() { return G("\x51"); }                  // keys "ki"
}  // namespace Typed

// Watches for the modal dialogs and answers them as they open: the message dialog with its
// button, each question with the next queued answer (no when none is queued). Every text shown
// is kept, in order.
class DialogWatcher : public QObject {
public:
    DialogWatcher() {
        timer_.setInterval(5);
        connect(&timer_, &QTimer::timeout, this, &DialogWatcher::look);
        timer_.start();
    }
    void answer(bool yes) { answers_.append(yes); }
    // Runs once the next modal window other than the two dialogs opens (a reference window).
    void onOtherModal(std::function<void(QWidget *)> step) { other_ = std::move(step); }
    void forget() {
        messages.clear();
        questions.clear();
    }
    QStringList messages, questions;

private:
    void look() {
        QWidget *modal = QApplication::activeModalWidget();
        if (auto *m = qobject_cast<book4 *>(modal)) {
            messages << m->Label1->text();
            m->Command1->click();
        } else if (auto *q = qobject_cast<book3 *>(modal)) {
            questions << q->Label1->text();
            const bool yes = !answers_.isEmpty() && answers_.takeFirst();
            (yes ? q->Command1 : q->Command2)->click();
        } else if (modal && other_) {
            auto step = std::move(other_);
            other_ = nullptr;
            step(modal);
        }
    }
    QTimer timer_;
    QList<bool> answers_;
    std::function<void(QWidget *)> other_;
};

// The keyboard engine runs for the whole test program; Kannada typing is switched on.
class TypingSession {
public:
    TypingSession() { bridge_.start(); }
    bool running() const { return bridge_.running(); }
    void kannada(bool on) {
        if (on)
            ModDeclare::TurnOnScrollLock();
        else
            ModDeclare::TurnOffScrollLock();
    }

private:
    KeyboardBridge bridge_;
};

inline bool showActive(QWidget *w) {
    w->show();
    w->activateWindow();
    return QTest::qWaitForWindowActive(w);
}

// Types keys into the widget through the bridge, the way a person types them.
inline void typeKeys(QWidget *box, const char *keys) {
    box->setFocus();
    QApplication::processEvents();
    QTest::keyClicks(box, QString::fromLatin1(keys));
}

// Picks the item of that text from a list with the keyboard: the arrows step through the
// list, each step a pick.
inline bool pickItem(GlyphComboBox *list, const QString &glyphs) {
    list->setFocus();
    QApplication::processEvents();
    int target = -1;
    for (int i = 0; i < list->count(); ++i)
        if (list->itemGlyphText(i) == glyphs) target = i;
    if (target < 0) return false;
    while (list->currentIndex() > target) QTest::keyClick(list, Qt::Key_Up);
    while (list->currentIndex() < target) QTest::keyClick(list, Qt::Key_Down);
    return list->text() == glyphs;
}

inline QStringList itemTexts(const GlyphComboBox *list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i) out << list->itemGlyphText(i);
    return out;
}

// The reference lists of the tests: two districts with taluks, two categories with
// sub-categories, two relations. Names as typed glyph codes; numbers as given.
inline bool addReferenceLists() {
    AddressBookData data = ModDeclare::Data();
    bool ok = true;
    auto save = [&](RefTable t, int n, const char *name, int parent = 0) {
        ok = ok && data.save(t, n, G(name), parent, SaveIntent::ByNumber).ok;
    };
    save(RefTable::District, 1, "v\xC0\xC4\xAA\xC0\xC4P\xC0\xC6g\xC0\xC4");  // tumakUru
    save(RefTable::District, 2, "\xAA\xC9\xC4\xCA\xB8\xC0\xC6g\xC0\xC4");     // mYsUru
    save(RefTable::Taluk, 11, "v\xC0\xC4\xAA\xC0\xC4P\xC0\xC6g\xC0\xC4", 1);
    save(RefTable::Taluk, 12, "U\xC0\xC4\xA9\xE2", 1);                     // gubbi
    save(RefTable::Taluk, 13, "\xBA\xC1\xB8\xC0\xA3\xC0", 2);                // hAsana
    save(RefTable::Prakara, 21, "\xA9\xC3z\xC0g\xC0");                        // bIdara
    save(RefTable::Upaprakara, 31, "P\xC9\xC6\xC3\xAF\xC1g\xC0", 21);        // kOlAra
    save(RefTable::Upaprakara, 32, "\xA8\xC9\xBC\xC0U\xC1\xAB", 21);         // beLagAvi
    save(RefTable::Relation, 41, "\xAA\xC0\xC4\xA3\xC9");                    // mane
    save(RefTable::Relation, 42, "P\xC0" "b\xC9\xC3j");                      // kachEri
    return ok;
}

// One column of an address, or "<none>" when there is no such address.
inline QVariant column(int id, const char *name) {
    QSqlQuery q(Database::connection());
    q.prepare(QStringLiteral("SELECT %1 FROM addressh WHERE id_no = ?").arg(QLatin1String(name)));
    q.addBindValue(id);
    if (!q.exec() || !q.next()) return QStringLiteral("<none>");
    return q.value(0);
}

inline int addressCount() { return TestDatabase::scalar("SELECT count(*) FROM addressh").toInt(); }
