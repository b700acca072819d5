// frmSplash: the start-up window. It says what the computer needs and waits, without a time
// limit, for a click or a key.
#pragma once

#include <QWidget>

class GlyphLabel;

class frmSplash : public QWidget {
    Q_OBJECT
public:
    explicit frmSplash(QWidget *parent = nullptr);

    GlyphLabel *Label1;
    GlyphLabel *Label2;
    GlyphLabel *Label3;

signals:
    // The user dismissed the splash; the main window is to be shown.
    void dismissed();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void Form_Click();
};
