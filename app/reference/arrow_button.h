// The four arrow buttons of the reference windows: first, previous, next and last, each drawn
// as its arrow (a bar marks first and last).
#pragma once

#include <QPushButton>

class ArrowButton : public QPushButton {
    Q_OBJECT
public:
    enum class Kind { First, Previous, Next, Last };
    ArrowButton(Kind kind, QWidget *parent = nullptr);
    Kind kind() const { return kind_; }

private:
    Kind kind_;
};
