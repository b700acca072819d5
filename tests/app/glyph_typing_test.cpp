// Kannada on screen and from the keyboard: the glyph widgets, the keyboard bridge through the
// library's engine, and the shared module's list fillers.
#include <QClipboard>
#include <QSignalSpy>
#include <QTableWidget>
#include <QVBoxLayout>

#include "captions.h"
#include "window_test.h"

namespace {

constexpr unsigned int VK_SCROLL = 0x91;
// KA with its vowel sign, NA with a subscript NA, DDA: the word "Kannada".
const QString kKannada = G("P\xC0\xA3\xC0\xDFq\xC0");
const QString kKannadaUnicode = QStringLiteral("\u0C95\u0CA8\u0CCD\u0CA8\u0CA1");

}  // namespace

class GlyphTypingTest : public WindowTest {
    Q_OBJECT

private slots:
    void typingKIThroughTheBridgeLeavesGlyph81();
    void aSyllableEndsWhenTheFocusMoves();
    void scrollLockIsTheKannadaSwitch();
    void ordinaryWidgetsReceiveTheEnginesCharacters();
    void theMultiLineBoxTypesToo();
    void cursorKeysMoveByWholeSyllables();
    void theClipboardCarriesUnicode();
    void glyphTextShowsAsKannadaScript();
    void dropDownListsTakeNoTyping();
    void fillRoutinesKeepSortOrderAndItemData();

private:
    // A new widget of that kind in a window of its own, with the focus.
    template <class W>
    W *focused() {
        auto *window = open(new QWidget);
        if (!window) return nullptr;
        auto *w = new W(window);
        (new QVBoxLayout(window))->addWidget(w);
        w->show();
        w->setFocus();
        QApplication::processEvents();
        return w;
    }
};

void GlyphTypingTest::typingKIThroughTheBridgeLeavesGlyph81() {
    auto *box = focused<GlyphLineEdit>();
    QVERIFY(box && box->hasFocus());
    QTest::keyClick(box, Qt::Key_K);
    QCOMPARE(box->text(), G("P\xC0"));  // KA: the consonant and its vowel sign
    QTest::keyClick(box, Qt::Key_I);
    QCOMPARE(box->text(), G("\x51"));    // the engine took KA back and typed KI
    QCOMPARE(box->glyphCursor(), 1);
    if (ToviLibrary::hasUnicodeBridge()) QCOMPARE(box->QLineEdit::text(), QStringLiteral("\u0C95\u0CBF"));
    // A Backspace with no syllable open reaches the box and removes one glyph code.
    QTest::keyClick(box, Qt::Key_Space);
    QTest::keyClick(box, Qt::Key_Backspace);
    QCOMPARE(box->text(), G("\x51"));
    QTest::keyClick(box, Qt::Key_Backspace);
    QCOMPARE(box->text(), QString());
}

void GlyphTypingTest::aSyllableEndsWhenTheFocusMoves() {
    auto *first = focused<GlyphLineEdit>();
    QVERIFY(first);
    auto *second = new GlyphLineEdit(first->parentWidget());
    first->parentWidget()->layout()->addWidget(second);
    second->show();
    second->setText(G("abc"));
    QTest::keyClick(first, Qt::Key_K);
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

void GlyphTypingTest::scrollLockIsTheKannadaSwitch() {
    auto *box = focused<GlyphLineEdit>();
    QVERIFY(box);
    QSignalSpy changed(KeyboardBridge::instance(), &KeyboardBridge::kannadaChanged);
    QTest::keyClick(box, Qt::Key_ScrollLock);
    QVERIFY(!KeyboardBridge::kannadaOn());
    QVERIFY(!(ToviLibrary::desktopKeyState(VK_SCROLL) & 1));
    // Keys pass as typed while it is off, Shift included.
    QTest::keyClick(box, Qt::Key_K);
    QTest::keyClick(box, 'K', Qt::ShiftModifier);
    QCOMPARE(box->text(), G("kK"));
    QTest::keyClick(box, Qt::Key_ScrollLock);
    QVERIFY(KeyboardBridge::kannadaOn());
    QCOMPARE(changed.count(), 2);
    QTest::keyClick(box, Qt::Key_K);
    QCOMPARE(box->text(), G("kKP\xC0"));
}

void GlyphTypingTest::ordinaryWidgetsReceiveTheEnginesCharacters() {
    auto *plain = focused<QLineEdit>();
    QVERIFY(plain);
    QTest::keyClicks(plain, "ki");
    QCOMPARE(plain->text(), G("\x51"));
    // Shortcuts stay the program's: Ctrl+A selects, it types nothing.
    QTest::keyClick(plain, Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(plain->selectedText(), G("\x51"));
}

void GlyphTypingTest::theMultiLineBoxTypesToo() {
    auto *box = focused<GlyphTextEdit>();
    QVERIFY(box);
    QTest::keyClicks(box, "ki");
    QTest::keyClick(box, Qt::Key_Return);
    QTest::keyClicks(box, "k");
    QCOMPARE(box->text(), G("\x51\nP\xC0"));
    // Home and End keep to the line.
    QTest::keyClick(box, Qt::Key_Home);
    QCOMPARE(box->glyphCursor(), 2);
    QTest::keyClick(box, Qt::Key_Up);
    QTest::keyClick(box, Qt::Key_End);
    QCOMPARE(box->glyphCursor(), 1);
}

void GlyphTypingTest::cursorKeysMoveByWholeSyllables() {
    if (!ToviLibrary::hasUnicodeBridge()) QSKIP("the library has no Unicode bridge");
    auto *box = focused<GlyphLineEdit>();
    QVERIFY(box);
    typing_->kannada(false);
    box->setText(kKannada);
    QCOMPARE(box->glyphCursor(), 7);
    QTest::keyClick(box, Qt::Key_Left);
    QCOMPARE(box->glyphCursor(), 5);  // before DDA
    QTest::keyClick(box, Qt::Key_Left);
    QCOMPARE(box->glyphCursor(), 2);  // before NNA: the subscript goes with its syllable
    QTest::keyClick(box, Qt::Key_Right, Qt::ShiftModifier);
    QCOMPARE(box->selectedText(), G("\xA3\xC0\xDF"));
    QTest::keyClick(box, Qt::Key_Home);
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
    auto *box = focused<GlyphLineEdit>();
    QVERIFY(box);
    box->setText(kKannada);
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(box, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), kKannadaUnicode);
    QTest::keyClick(box, Qt::Key_X, Qt::ControlModifier);
    QCOMPARE(box->text(), QString());
    QApplication::clipboard()->setText(QStringLiteral("\u0C95\u0CBF ") + kKannadaUnicode);
    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(box->text(), G("\x51 ") + kKannada);
}

void GlyphTypingTest::glyphTextShowsAsKannadaScript() {
    if (!ToviLibrary::hasUnicodeBridge()) QSKIP("the library has no Unicode bridge");
    GlyphLabel label(Caption::l1());
    QCOMPARE(label.text(), Caption::l1());
    // "File": KA, DDA, TA, in a font that draws Kannada itself, not substitutes.
    QCOMPARE(label.QLabel::text(), QStringLiteral("\u0C95\u0CA1\u0CA4"));
    QVERIFY(QFontMetrics(label.font()).inFont(QChar(0x0C95)));
    GlyphButton button(kKannada);
    QCOMPARE(button.QPushButton::text(), kKannadaUnicode);
    // A grid cell keeps the glyph codes; only what is painted is Kannada.
    QTableWidget grid(1, 1);
    auto *delegate = new GlyphItemDelegate(&grid);
    grid.setItemDelegate(delegate);
    grid.setItem(0, 0, new QTableWidgetItem(kKannada));
    QCOMPARE(grid.item(0, 0)->text(), kKannada);
    QCOMPARE(delegate->displayText(grid.item(0, 0)->data(Qt::DisplayRole), QLocale()), kKannadaUnicode);
}

void GlyphTypingTest::dropDownListsTakeNoTyping() {
    auto *list = focused<GlyphComboBox>();
    QVERIFY(list);
    list->addGlyphItem(G("a"), 7);
    list->addGlyphItem(kKannada, 9);
    QCOMPARE(list->text(), QString());  // appending items leaves the text empty
    QTest::keyClicks(list, "kib");
    QCOMPARE(list->text(), QString());
    QCOMPARE(list->count(), 2);
    list->setText(kKannada);
    QCOMPARE(list->itemNumber(list->currentIndex()), 9);
    // A text that is no item still shows (a record's taluk before its list is filled).
    list->setText(G("zz"));
    QCOMPARE(list->text(), G("zz"));
    QCOMPARE(list->currentIndex(), -1);
    list->clear();
    QVERIFY(list->text().isEmpty() && list->count() == 0);
}

void GlyphTypingTest::fillRoutinesKeepSortOrderAndItemData() {
    // Saved out of order; the lists come back in the order of their sort keys.
    QVERIFY(seed(RefTable::District, 1, G("q\xC0")) && seed(RefTable::District, 2, G("P\xC0")) &&
            seed(RefTable::Taluk, 5, G("v\xC0"), 2) && seed(RefTable::Taluk, 6, G("\x51"), 2) &&
            seed(RefTable::Taluk, 7, G("P\xC0"), 1));
    GlyphComboBox districts;
    QVERIFY(ModDeclare::FillDistricts(&districts));
    QVERIFY(ModDeclare::FillDistricts(&districts));
    QCOMPARE(itemTexts(&districts), (QStringList{G("P\xC0"), G("q\xC0")}));  // always emptied first
    QCOMPARE(districts.itemNumber(0), 2);
    GlyphComboBox taluks;
    ModDeclare::ClearBeforeFill = false;
    QVERIFY(ModDeclare::FillTaluks(&taluks, 2));
    QVERIFY(ModDeclare::FillTaluks(&taluks, 2));
    QCOMPARE(taluks.count(), 4);  // not emptied: every taluk twice
    QCOMPARE(taluks.itemNumber(0), 6);  // KI before TA
    ModDeclare::ClearBeforeFill = true;
    QVERIFY(ModDeclare::FillTaluks(&taluks, 3));
    QCOMPARE(taluks.count(), 0);
}

QTEST_MAIN(GlyphTypingTest)
#include "glyph_typing_test.moc"
