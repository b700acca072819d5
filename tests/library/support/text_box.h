// A text box of the virtual desktop that behaves like a Windows edit control for the engine's
// output: a character message appends its code (a byte, or a UTF-16 unit of the Unicode
// engine), character 8 removes the last one; key messages are ignored.
#pragma once

#include <string>
#include <vector>

#include "kannada-tovi-desktop.h"

class TextBox {
public:
    TextBox() : window_(ToviDesktopCreateWindow("EDIT")) { ToviDesktopSetFocus(window_); }
    ~TextBox() { ToviDesktopDestroyWindow(window_); }
    TextBox(const TextBox &) = delete;
    TextBox &operator=(const TextBox &) = delete;

    void *window() const { return window_; }

    // Takes every queued message into the text and returns the text as codes.
    std::vector<int> Codes() {
        ToviDesktopMessage m;
        while (ToviDesktopTakeMessage(window_, &m)) {
            if (m.message != 0x0102) continue;  // WM_CHAR
            if (m.wParam == 8) {
                if (!text_.empty()) text_.pop_back();
            } else {
                text_.push_back(static_cast<int>(m.wParam));
            }
        }
        return text_;
    }

private:
    void *window_;
    std::vector<int> text_;
};

// Drains the messages of a window into a list, for tests that look at the messages themselves.
inline std::vector<ToviDesktopMessage> TakeMessages(void *window) {
    std::vector<ToviDesktopMessage> all;
    ToviDesktopMessage m;
    while (ToviDesktopTakeMessage(window, &m)) all.push_back(m);
    return all;
}
