// Kannada on screen and from the keyboard: the glyph widgets, typing through the keyboard bridge
// (each glyph box with its own composer, other text fields with Unicode), and the shared
// module's list fillers.
#include <QClipboard>
#include <QFileDialog>
#include <QProcess>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QVBoxLayout>

#include "captions.h"
#include "window_test.h"

namespace {

constexpr unsigned int VK_SCROLL = 0x91;
// KA with its vowel sign, NA with a subscript NA, DDA: the word "Kannada".
const QString kKannada = G("P\xC0\xA3\xC0\xDFq\xC0");
const QString kKannadaUnicode = QStringLiteral("\u0C95\u0CA8\u0CCD\u0CA8\u0CA1");

// The syllable boundaries of a word by their definition over the whole word: the places where
// the word splits into two parts whose scripts make the word's script, where the script may
// break (not before a sign, not after a virama or joiner); of two at one place in the script,
// the later.
QVector<int> wholeWordBounds(const QString &word) {
    const QString full = ToviLibrary::glyphToUnicode(word).value_or(QString());
    auto joins = [](QChar c) { return c == QChar(0x0CCD) || c == QChar(0x200D) || c == QChar(0x200C); };
    QVector<int> bounds{0};
    int lastAt = -1;
    for (int k = 1; k < word.size(); ++k) {
        const QString head = ToviLibrary::glyphToUnicode(word.left(k)).value_or(QString());
        const QString tail = ToviLibrary::glyphToUnicode(word.mid(k)).value_or(QString());
        if (head.isEmpty() || tail.isEmpty() || head + tail != full || joins(head.back()) || joins(tail.front()) ||
            tail.front().category() == QChar::Mark_NonSpacing || tail.front().category() == QChar::Mark_SpacingCombining)
            continue;
        if (lastAt == head.size()) bounds.removeLast();
        bounds << k;
        lastAt = int(head.size());
    }
    return bounds << int(word.size());
}

}  // namespace

class GlyphTypingTest : public WindowTest {
    Q_OBJECT

private slots:
    void typingKIThroughTheBridgeLeavesGlyph81();
    void aSyllableEndsWhenTheCaretOrTheFocusMoves();
    void scrollLockIsTheKannadaSwitch();
    void otherTextFieldsGetUnicodeKannadaOrTheKeysAsTyped();
    void anotherHostOfTheDesktopChangesNothingHere();
    void theMultiLineBoxTypesToo();
    void cursorKeysMoveByWholeSyllables();
    void theClipboardCarriesUnicodeAndAPasteIsWholeOrRefused();
    void longWordsSplitIntoTheSyllablesOfTheWholeWord();
    void glyphTextShowsAsKannadaScript();
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
    QCOMPARE(box->text(), G("\x51"));    // the composer took KA back and typed KI
    QCOMPARE(box->glyphCursor(), 1);
    if (ToviLibrary::hasUnicodeBridge()) QCOMPARE(box->QLineEdit::text(), QStringLiteral("\u0C95\u0CBF"));
    // With no syllable open a Backspace erases the syllable before the caret.
    QTest::keyClick(box, Qt::Key_Space);
    QTest::keyClick(box, Qt::Key_Backspace);
    QCOMPARE(box->text(), G("\x51"));
    QTest::keyClick(box, Qt::Key_Backspace);
    QCOMPARE(box->text(), QString());
}

void GlyphTypingTest::aSyllableEndsWhenTheCaretOrTheFocusMoves() {
    if (!ToviLibrary::hasUnicodeBridge()) QSKIP("the library has no Unicode bridge");
    auto *box = focused<GlyphLineEdit>();
    QVERIFY(box);
    const QString kannada = G("P\xC0\xA3\xC0\xDFz\xC0");  // "kanfnada"
    // A click before the first letter: Backspace has nothing before it to take.
    QTest::keyClicks(box, "kanfnada");
    QCOMPARE(box->text(), kannada);
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(2, box->height() / 2));
    QCOMPARE(box->glyphCursor(), 0);
    QTest::keyClick(box, Qt::Key_Backspace);
    QCOMPARE(box->text(), kannada);
    // End, then Backspace: the last syllable, whole.
    QTest::keyClick(box, Qt::Key_End);
    QTest::keyClick(box, Qt::Key_Backspace);
    QCOMPARE(box->text(), kKannada.left(5));
    // Away and back by the arrows: a vowel after it stands on its own.
    QTest::keyClicks(box, "k");
    QTest::keyClick(box, Qt::Key_Left);
    QTest::keyClick(box, Qt::Key_Right);
    QTest::keyClicks(box, "i");
    QCOMPARE(box->text(), kKannada.left(5) + G("P\xC0" "E"));
    // Ctrl+A or a selection by the mouse, then Backspace: the selection goes, nothing else.
    QTest::keyClicks(box, "k");
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(box, Qt::Key_Backspace);
    QCOMPARE(box->text(), QString());
    QTest::keyClicks(box, "ki ki");
    QTest::mouseDClick(box, Qt::LeftButton, {}, QPoint(4, box->height() / 2));  // selects the first word
    QTest::keyClick(box, Qt::Key_Backspace);
    QCOMPARE(box->text(), G(" \x51"));
    // The focus in another box and back: "i" begins a syllable of its own in each.
    auto *other = new GlyphLineEdit(box->parentWidget());
    box->parentWidget()->layout()->addWidget(other);
    other->show();
    other->setText(G("abc"));
    QTest::keyClick(box, Qt::Key_K);
    other->setFocus();
    QTest::keyClick(other, Qt::Key_I);
    QCOMPARE(other->text(), G("abcE"));
    box->setFocus();
    QTest::keyClick(box, Qt::Key_I);
    QCOMPARE(box->text(), G("P\xC0" "E \x51"));
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

void GlyphTypingTest::otherTextFieldsGetUnicodeKannadaOrTheKeysAsTyped() {
    // The file-name box of the dialog that saves a PDF.
    auto *dialog = new QFileDialog(nullptr, QString(), QDir::tempPath(), QStringLiteral("PDF (*.pdf)"));
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
    QVERIFY(name && open(dialog));
    typeKeys(name, "kanfnawa");
    QCOMPARE(name->text(), kKannadaUnicode);
    // Backspace takes back a key ("a" showed nothing of its own), then DDA.
    QTest::keyClick(name, Qt::Key_Backspace);
    QTest::keyClick(name, Qt::Key_Backspace);
    QCOMPARE(name->text(), kKannadaUnicode.left(4));
    QTest::keyClick(name, Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(name->selectedText(), kKannadaUnicode.left(4));
    typing_->kannada(false);
    typeKeys(name, "ab");
    QCOMPARE(name->text(), QStringLiteral("ab"));
    // A box that asks for Latin (e-mail, digits) gets the keys as typed.
    typing_->kannada(true);
    auto *email = focused<QLineEdit>();
    QVERIFY(email);
    email->setInputMethodHints(Qt::ImhEmailCharactersOnly);
    typeKeys(email, "ki@x");
    QCOMPARE(email->text(), QStringLiteral("ki@x"));
}

void GlyphTypingTest::anotherHostOfTheDesktopChangesNothingHere() {
    // The program starts again while another host of the same desktop runs the engine.
    delete typing_;
    typing_ = nullptr;
    QProcess other;
    other.start(QStringLiteral(ENGINE_HOLDER_BINARY));
    QVERIFY(other.waitForReadyRead(10000));
    QCOMPARE(other.readAllStandardOutput(), QByteArray("started 1\n"));
    typing_ = new TypingSession;
    auto *box = focused<GlyphLineEdit>();
    QVERIFY(box);
    QTest::keyClicks(box, "ki");
    other.closeWriteChannel();
    QVERIFY(other.waitForFinished(10000) && other.exitCode() == 0);
    QCOMPARE(box->text(), G("\x51"));
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
}

void GlyphTypingTest::theClipboardCarriesUnicodeAndAPasteIsWholeOrRefused() {
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
    QVERIFY(answerer_->messages.isEmpty());
    // Text with characters the box cannot hold pastes nothing and names them, each once.
    const QString unheld = Caption::cannotHold() + "\n";
    for (auto [text, named] : {std::pair{"Ravi", "\u201CR\u201D U+0052"},
                               {"NTR Road", "\u201CN\u201D U+004E, \u201CT\u201D U+0054, \u201CR\u201D U+0052"},
                               {"\u0C95 \u00E9\u20AC", "\u201C\u00E9\u201D U+00E9, \u201C\u20AC\u201D U+20AC"}}) {
        QApplication::clipboard()->setText(QString::fromUtf8(text));
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(box->text(), G("\x51 ") + kKannada);
        QCOMPARE(answerer_->messages, QStringList{unheld + QString::fromUtf8(named)});
        answerer_->forget();
    }
}

void GlyphTypingTest::longWordsSplitIntoTheSyllablesOfTheWholeWord() {
    if (!ToviLibrary::hasUnicodeBridge()) QSKIP("the library has no Unicode bridge");
    // Words typed from random phonetic keys, longer than a syllable's window, and runs of
    // random glyph codes.
    static const char *const keys[] = {"k", "g", "c", "j", "T", "D", "N", "t", "d", "n", "p", "b", "m", "y", "r",
                                       "l", "v", "S", "s", "h", "L", "a", "A", "i", "I", "u", "U", "e", "E", "o",
                                       "O", "Y", "V", "M", "H", "R", "f", "X", "x", "q", "Q", "kf", "nfn", "rf"};
    QRandomGenerator random(12);
    TypingComposer composer(TypingComposer::Output::Glyphs);
    for (int round = 0; round < 1500; ++round) {
        QString word;
        if (round % 5 == 4) {
            for (int i = 0, n = random.bounded(1, 40); i < n; ++i) word += QChar(random.bounded(0xA1, 0x100));
        } else {
            composer.reset();
            for (int i = 0, n = random.bounded(1, 60); i < n; ++i)
                for (const char *k = keys[random.bounded(int(std::size(keys)))]; *k; ++k) {
                    const TypingComposer::Step step = composer.feed(*k);
                    word.chop(qMin(step.erase, int(word.size())));
                    word += step.insert;
                }
        }
        if (word.isEmpty()) continue;
        const GlyphText::Layout layout = GlyphText::layout(word);
        QVERIFY2(layout.glyphBounds == wholeWordBounds(word), qPrintable(QString::number(round) + ": " + word.toLatin1().toHex(' ')));
        QCOMPARE(layout.display, ToviLibrary::glyphToUnicode(word).value_or(word));
    }
}

void GlyphTypingTest::glyphTextShowsAsKannadaScript() {
    if (!ToviLibrary::hasUnicodeBridge()) QSKIP("the library has no Unicode bridge");
    GlyphLabel label(Caption::l1());
    QCOMPARE(label.text(), Caption::l1());
    // "File": KA, DDA, TA, in a font that draws Kannada itself, not substitutes.
    QCOMPARE(label.QLabel::text(), QStringLiteral("\u0C95\u0CA1\u0CA4"));
    QVERIFY(QFontMetrics(label.font()).inFont(QChar(0x0C95)));
}

void GlyphTypingTest::fillRoutinesKeepSortOrderAndItemData() {
    // Saved out of order; the lists come back in the order of their sort keys (emptied first
    // unless ClearBeforeFill is off, as the address window's own refills show).
    QVERIFY(seed(RefTable::District, 2, G("P\xC0")) && seed(RefTable::Taluk, 5, G("v\xC0"), 2) &&
            seed(RefTable::Taluk, 6, G("\x51"), 2));
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
