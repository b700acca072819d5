// book11: the about window. A click anywhere on it closes it.
#pragma once

#include <QWidget>

class book11 : public QWidget {
    Q_OBJECT
public:
    explicit book11(QWidget *parent = nullptr);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
};
