#include "splash_window.h"

#include "captions.h"
#include "glyph_widgets.h"
#include "twips.h"

#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QScreen>
#include <QVBoxLayout>

frmSplash::frmSplash(QWidget *parent) : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("frmSplash"));
    setWindowTitle(QStringLiteral("Kelda Vasi"));
    setFocusPolicy(Qt::StrongFocus);
    setFixedSize(twips(7200), twips(4800));

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(twips(600), twips(2700), twips(600), twips(300));
    layout->setSpacing(2);
    Label1 = new GlyphLabel(Caption::splashHeading(), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setFont(GlyphText::font(12));
    Label2 = new GlyphLabel(Caption::splashDisplay(), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label3 = new GlyphLabel(Caption::splashMemory(), this);
    Label3->setObjectName(QStringLiteral("Label3"));
    for (GlyphLabel *l : {Label1, Label2, Label3}) {
        l->setStyleSheet(QStringLiteral("color: #203040; background: transparent;"));
        layout->addWidget(l);
    }
    layout->addStretch();

    if (QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

// The picture: the program's name over a calm band of colour.
void frmSplash::paintEvent(QPaintEvent *) {
    QPainter p(this);
    QLinearGradient sky(0, 0, 0, height());
    sky.setColorAt(0, QColor(0xF6, 0xE7, 0xC1));
    sky.setColorAt(1, QColor(0xFF, 0xFB, 0xF0));
    p.fillRect(rect(), sky);
    p.fillRect(QRect(0, 0, width(), twips(2400)), QColor(0x1F, 0x4E, 0x79));
    p.setPen(QColor(0xF6, 0xC3, 0x43));
    p.setFont(GlyphText::font(30));
    p.drawText(QRect(0, twips(240), width(), twips(1300)), Qt::AlignCenter,
               GlyphText::toDisplay(Caption::appName()));
    p.setPen(Qt::white);
    QFont latin = font();
    latin.setPointSize(13);
    latin.setLetterSpacing(QFont::PercentageSpacing, 115);
    p.setFont(latin);
    p.drawText(QRect(0, twips(1500), width(), twips(600)), Qt::AlignCenter,
               QStringLiteral("Kelda Vasi \u2014 Kannada address book"));
    p.setPen(QPen(QColor(0x1F, 0x4E, 0x79), 2));
    p.drawRect(rect().adjusted(1, 1, -1, -1));
}

void frmSplash::Form_Click() {
    emit dismissed();
    close();
}

void frmSplash::mousePressEvent(QMouseEvent *) { Form_Click(); }
void frmSplash::mouseDoubleClickEvent(QMouseEvent *) { Form_Click(); }
void frmSplash::keyPressEvent(QKeyEvent *) { Form_Click(); }
