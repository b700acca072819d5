// book10: the help window, a child of the main window showing the help pages that lie in
// Help/ beside the program.
#pragma once

#include <QWidget>

class GlyphLabel;
class GlyphButton;
class QTextBrowser;

class book10 : public QWidget {
    Q_OBJECT
public:
    explicit book10(QWidget *parent = nullptr);

    GlyphLabel *Label1;
    QTextBrowser *WB;
    GlyphButton *Command1;

private slots:
    void Command1_Click();
};
