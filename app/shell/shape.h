// A filled rectangle with a thin border, drawn behind other controls: the highlight boxes and
// the shadow of the menu bar, the highlight bar of a menu. It takes no mouse events, so the
// mouse reaches what lies under it.
#pragma once

#include <QColor>
#include <QWidget>

class Shape : public QWidget {
    Q_OBJECT
public:
    explicit Shape(QWidget *parent = nullptr);
    QColor fillColor() const { return fill_; }
    void setFillColor(const QColor &color);
    void setBorderColor(const QColor &color);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor fill_;
    QColor border_;
};
