#include "typing_composer.h"

#include "tovi_library.h"

TypingComposer::TypingComposer(Output output)
    : output_(output), composer_(ToviLibrary::composerNew(output == Output::Glyphs ? 0 : 2)) {}

TypingComposer::~TypingComposer() { ToviLibrary::composerFree(composer_); }

TypingComposer::Step TypingComposer::feed(int key) {
    const ToviLibrary::ComposerStep s = ToviLibrary::composerFeed(composer_, key);
    composing_ = s.preedit > 0;
    Step step{s.used, s.erase, {}};
    step.insert = output_ == Output::Glyphs ? QString::fromLatin1(s.insert) : QString::fromUtf8(s.insert);
    return step;
}

void TypingComposer::reset() {
    ToviLibrary::composerReset(composer_);
    composing_ = false;
}

int TypingComposer::keyOf(const QString &typed) {
    if (typed.size() != 1) return 0;
    const char16_t c = typed.at(0).unicode();
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') ? c : 0;
}
