// The phonetic composer of one text field: keys in, what to do to the text before the caret
// out. A glyph box types glyph codes; any other text field Unicode Kannada.
#pragma once

#include <QString>

class TypingComposer {
public:
    enum class Output { Glyphs, Unicode };
    explicit TypingComposer(Output output);
    ~TypingComposer();
    TypingComposer(const TypingComposer &) = delete;
    TypingComposer &operator=(const TypingComposer &) = delete;

    // What one key asks: erase that many characters before the caret, then insert.
    struct Step {
        bool used = false;
        int erase = 0;
        QString insert;
    };
    // Feeds a letter ('a'-'z', 'A'-'Z') or 8 for Backspace. An unused Backspace is the
    // field's own to apply (the composer counts it as one character erased).
    Step feed(int key);
    // Ends the syllable: the next key starts afresh.
    void reset();
    // Whether keys typed since the last reset may still be changed by the next ones.
    bool composing() const { return composing_; }

    // The composer key of a typed character: the letter itself, or 0 for any other.
    static int keyOf(const QString &typed);

private:
    Output output_;
    void *composer_;
    bool composing_ = false;
};
