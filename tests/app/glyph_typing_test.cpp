// Kannada on screen and from the keyboard: the glyph widgets, the keyboard bridge through the
// library's engine, and the shared module's list fillers.
#include <QApplication>
#include <QClipboard>
#include <QSignalSpy>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QtTest>

#include "captions.h"
#include "glyph_widgets.h"
#include "keyboard_bridge.h"
#include "shared_module.h"
#include "test_database.h"
#include "tovi_library.h"

namespace {

constexpr unsigned int VK_SCROLL = 0x91;
QString G(const char *s) { return QString::fromLatin1(s); }
// KA with its vowel sign, NA with a subscript NA, DDA: the word "Kannada".
const char *const kKannada = "P\xC0\xA3\xC0\xDFq\xC0";

void setKannada(bool on) {
    if (on)
        ToviLibrary::turnOnScrollLock();
    else
        ToviLibrary::turnOffScrollLock();
}

}  // namespace

class GlyphTypingTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();

    void typingKIThroughTheBridgeLeavesGlyph81();
    void aSyllableEndsWhenTheFocusMoves();
    void keysPassWhenKannadaIsOff();
    void scrollLockIsTheKannadaSwitch();
    void ordinaryWidgetsReceiveTheEnginesCharacters();
    void theMultiLineBoxTypesToo();
    void cursorKeysMoveByWholeSyllables();
    void theClipboardCarriesUnicode();
    void glyphTextShowsAsKannadaScript();
    void dropDownListsTakeNoTyping();
    void gridCellsShowTheirGlyphTextAsKannada();
    void fillRoutinesKeepSortOrderAndItemData();

private:
    template <class W>
    W *showFocused() {
        auto *w = new W(window_);
        window_->layout()->addWidget(w);
        window_->show();
        window_->activateWindow();
        if (!QTest::qWaitForWindowActive(window_)) return nullptr;
        w->setFocus();
        QApplication::processEvents();
        return w;
    }

    TestDatabase *db_ = nullptr;
    KeyboardBridge *bridge_ = nullptr;
    QWidget *window_ = nullptr;
};

void GlyphTypingTest::initTestCase() {
    db_ = new TestDatabase;
    QVERIFY(db_->opened());
    bridge_ = new KeyboardBridge;
    QVERIFY2(bridge_->start(), "the keyboard engine did not start");
}

void GlyphTypingTest::cleanupTestCase() {
    delete bridge_;
    delete db_;
}

void GlyphTypingTest::init() {
    delete window_;
    window_ = new QWidget;
    new QVBoxLayout(window_);
    setKannada(true);
}

void GlyphTypingTest::typingKIThroughTheBridgeLeavesGlyph81() {
    auto *box = showFocused<GlyphLineEdit>();
    QVERIFY(box && box->hasFocus());
    QVERIFY(KeyboardBridge::kannadaOn());
    QTest::keyClick(box, Qt::Key_K);
    QCOMPARE(box->text(), G("P\xC0"));  // KA: the consonant and its vowel sign
    QTest::keyClick(box, Qt::Key_I);
    QCOMPARE(box->text(), G("\x51"));    // the engine took KA back and typed KI
    QCOMPARE(box->glyphCursor(), 1);
    if (ToviLibrary::hasUnicodeBridge())
        QCOMPARE(box->QLineEdit::text(), QStringLiteral("\u0C95\u0CBF"));
    // A Backspace with no syllable open reaches the box and removes one glyph code.
    QTest::keyClick(box, Qt::Key_Space);
    QTest::keyClick(box, Qt::Key_Backspace);
    QCOMPARE(box->text(), G("\x51"));
    QTest::keyClick(box, Qt::Key_Backspace);
    QCOMPARE(box->text(), QString());
}

void GlyphTypingTest::aSyllableEndsWhenTheFocusMoves() {
    auto *first = showFocused<GlyphLineEdit>();
    QVERIFY(first);
    auto *second = new GlyphLineEdit(window_);
    window_->layout()->addWidget(second);
    second->show();
    second->setText(G("abc"));
    second->end(false);
    QTest::keyClick(first, Qt::Key_K);
    QCOMPARE(first->text(), G("P\xC0"));
    // "i" in the other box starts a syllable of its own: nothing of "abc" is taken back.
    second->setFocus();
    QApplication::processEvents();
    QTest::keyClick(second, Qt::Key_I);
    QCOMPARE(second->text(), G("abcE"));
    QCOMPARE(first->text(), G("P\xC0"));
    // Back in the first box, a vowel sign no longer changes the old syllable either.
    first->setFocus();
    QApplication::processEvents();
    QTest::keyClick(first, Qt::Key_I);
    QCOMPARE(first->text(), G("P\xC0" "E"));
}

void GlyphTypingTest::keysPassWhenKannadaIsOff() {
    auto *box = showFocused<GlyphLineEdit>();
    QVERIFY(box);
    setKannada(false);
    QVERIFY(!KeyboardBridge::kannadaOn());
    QTest::keyClicks(box, "ki");
    QCOMPARE(box->text(), G("ki"));
    QTest::keyClick(box, 'K', Qt::ShiftModifier);
    QCOMPARE(box->text(), G("kiK"));
}

void GlyphTypingTest::scrollLockIsTheKannadaSwitch() {
    auto *box = showFocused<GlyphLineEdit>();
    QVERIFY(box);
    QSignalSpy changed(bridge_, &KeyboardBridge::kannadaChanged);
    QTest::keyClick(box, Qt::Key_ScrollLock);
    QVERIFY(!KeyboardBridge::kannadaOn());
    QVERIFY(!(ToviLibrary::desktopKeyState(VK_SCROLL) & 1));
    QTest::keyClick(box, Qt::Key_K);
    QCOMPARE(box->text(), G("k"));
    QTest::keyClick(box, Qt::Key_ScrollLock);
    QVERIFY(KeyboardBridge::kannadaOn());
    QCOMPARE(changed.count(), 2);
    QTest::keyClick(box, Qt::Key_K);
    QCOMPARE(box->text(), G("kP\xC0"));
}

void GlyphTypingTest::ordinaryWidgetsReceiveTheEnginesCharacters() {
    auto *plain = showFocused<QLineEdit>();
    QVERIFY(plain);
    QTest::keyClicks(plain, "ki");
    QCOMPARE(plain->text(), G("\x51"));
    // Shortcuts stay the program's: Ctrl+A selects, it types nothing.
    QTest::keyClick(plain, Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(plain->selectedText(), G("\x51"));
}

void GlyphTypingTest::theMultiLineBoxTypesToo() {
    auto *box = showFocused<GlyphTextEdit>();
    QVERIFY(box);
    QTest::keyClicks(box, "ki");
    QTest::keyClick(box, Qt::Key_Return);
    QTest::keyClicks(box, "k");
    QCOMPARE(box->text(), G("\x51\nP\xC0"));
    QTest::keyClick(box, Qt::Key_Home);
    QCOMPARE(box->glyphCursor(), 2);
    QTest::keyClick(box, Qt::Key_Up);
    QTest::keyClick(box, Qt::Key_End);
    QCOMPARE(box->glyphCursor(), 1);
}

void GlyphTypingTest::cursorKeysMoveByWholeSyllables() {
    if (!ToviLibrary::hasUnicodeBridge()) QSKIP("the library has no Unicode bridge");
    auto *box = showFocused<GlyphLineEdit>();
    QVERIFY(box);
    setKannada(false);
    box->setText(G(kKannada));
    QCOMPARE(box->glyphCursor(), 7);
    QTest::keyClick(box, Qt::Key_Left);
    QCOMPARE(box->glyphCursor(), 5);  // before DDA
    QTest::keyClick(box, Qt::Key_Left);
    QCOMPARE(box->glyphCursor(), 2);  // before NNA: the subscript goes with its syllable
    QTest::keyClick(box, Qt::Key_Right, Qt::ShiftModifier);
    QCOMPARE(box->selectedText(), G("\xA3\xC0\xDF"));
    QTest::keyClick(box, Qt::Key_Home);
    QCOMPARE(box->glyphCursor(), 0);
    QTest::keyClick(box, Qt::Key_Delete);
    QCOMPARE(box->text(), G("\xA3\xC0\xDFq\xC0"));
    QTest::keyClick(box, Qt::Key_End);
    QCOMPARE(box->glyphCursor(), 5);
    // Backspace takes one glyph code, as the engine counts them.
    QTest::keyClick(box, Qt::Key_Backspace);
    QCOMPARE(box->text(), G("\xA3\xC0\xDFq"));
}

void GlyphTypingTest::theClipboardCarriesUnicode() {
    if (!ToviLibrary::hasUnicodeBridge()) QSKIP("the library has no Unicode bridge");
    auto *box = showFocused<GlyphLineEdit>();
    QVERIFY(box);
    box->setText(G(kKannada));
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(box, Qt::Key_C, Qt::ControlModifier);
    const QString copied = QApplication::clipboard()->text();
    QCOMPARE(copied, QStringLiteral("\u0C95\u0CA8\u0CCD\u0CA8\u0CA1"));
    QTest::keyClick(box, Qt::Key_X, Qt::ControlModifier);
    QCOMPARE(box->text(), QString());
    QApplication::clipboard()->setText(QStringLiteral("\u0C95\u0CBF \u0C95\u0CA8\u0CCD\u0CA8\u0CA1"));
    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(box->text(), G("\x51 ") + G(kKannada));
}

void GlyphTypingTest::glyphTextShowsAsKannadaScript() {
    GlyphLabel label(Caption::l1());
    GlyphButton button(Caption::yes());
    QCOMPARE(label.text(), Caption::l1());
    QCOMPARE(button.text(), Caption::yes());
    QVERIFY(label.font().family().contains("Kannada"));
    if (!ToviLibrary::hasUnicodeBridge()) {
        QCOMPARE(label.QLabel::text(), Caption::l1());
        return;
    }
    // "File": KA, DDA, TA.
    QCOMPARE(label.QLabel::text(), QStringLiteral("\u0C95\u0CA1\u0CA4"));
    for (QChar c : button.QPushButton::text()) QVERIFY(c.unicode() >= 0x0C80 && c.unicode() <= 0x0CFF);
    // The font draws Kannada itself, not substitutes.
    QFontMetrics metrics(GlyphText::font());
    QVERIFY(metrics.inFont(QChar(0x0C95)));
}

void GlyphTypingTest::dropDownListsTakeNoTyping() {
    auto *list = showFocused<GlyphComboBox>();
    QVERIFY(list);
    list->addGlyphItem(G("a"), 7);
    list->addGlyphItem(G(kKannada), 9);
    QCOMPARE(list->text(), QString());  // appending items leaves the text empty
    QTest::keyClicks(list, "kib");
    QCOMPARE(list->text(), QString());
    QCOMPARE(list->count(), 2);
    list->setText(G(kKannada));
    QCOMPARE(list->currentIndex(), 1);
    QCOMPARE(list->itemNumber(list->currentIndex()), 9);
    // A text that is no item still shows (a record's taluk before its list is filled).
    list->setText(G("zz"));
    QCOMPARE(list->text(), G("zz"));
    QCOMPARE(list->currentIndex(), -1);
    list->clear();
    QCOMPARE(list->text(), QString());
    QCOMPARE(list->count(), 0);
}

void GlyphTypingTest::gridCellsShowTheirGlyphTextAsKannada() {
    QTableWidget grid(2, 2);
    auto *delegate = new GlyphItemDelegate(&grid);
    grid.setItemDelegate(delegate);
    grid.setItem(1, 1, new QTableWidgetItem(G(kKannada)));
    // The cell keeps the glyph codes; only what is painted is Kannada.
    QCOMPARE(grid.item(1, 1)->text(), G(kKannada));
    const QString shown = delegate->displayText(grid.item(1, 1)->data(Qt::DisplayRole), QLocale());
    if (ToviLibrary::hasUnicodeBridge())
        QCOMPARE(shown, QStringLiteral("\u0C95\u0CA8\u0CCD\u0CA8\u0CA1"));
    else
        QCOMPARE(shown, G(kKannada));
    grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&grid));
    QVERIFY(grid.visualRect(grid.model()->index(1, 1)).isValid());
}

void GlyphTypingTest::fillRoutinesKeepSortOrderAndItemData() {
    AddressBookData data = ModDeclare::Data();
    // Saved out of order; the lists come back in the order of their sort keys.
    QVERIFY(data.save(RefTable::District, 1, G("q\xC0"), 0, SaveIntent::ByNumber).ok);
    QVERIFY(data.save(RefTable::District, 2, G("P\xC0"), 0, SaveIntent::ByNumber).ok);
    QVERIFY(data.save(RefTable::Taluk, 5, G("v\xC0"), 2, SaveIntent::ByNumber).ok);
    QVERIFY(data.save(RefTable::Taluk, 6, G("\x51"), 2, SaveIntent::ByNumber).ok);
    QVERIFY(data.save(RefTable::Taluk, 7, G("P\xC0"), 1, SaveIntent::ByNumber).ok);

    GlyphComboBox districts;
    QVERIFY(ModDeclare::FillDistricts(&districts));
    QVERIFY(ModDeclare::FillDistricts(&districts));
    QCOMPARE(districts.count(), 2);  // always emptied first
    QCOMPARE(districts.itemGlyphText(0), G("P\xC0"));  // KA before DDA
    QCOMPARE(districts.itemNumber(0), 2);
    QCOMPARE(districts.itemNumber(1), 1);

    GlyphComboBox taluks;
    ModDeclare::ClearBeforeFill = false;
    QVERIFY(ModDeclare::FillTaluks(&taluks, 2));
    QVERIFY(ModDeclare::FillTaluks(&taluks, 2));
    QCOMPARE(taluks.count(), 4);  // not emptied: every taluk twice
    QCOMPARE(taluks.itemNumber(0), 6);  // KI before TA
    ModDeclare::ClearBeforeFill = true;
    QVERIFY(ModDeclare::FillTaluks(&taluks, 3));
    QCOMPARE(taluks.count(), 0);
    QVERIFY(ModDeclare::FillRelations(&taluks));
    QCOMPARE(taluks.count(), 0);
}

QTEST_MAIN(GlyphTypingTest)
#include "glyph_typing_test.moc"
