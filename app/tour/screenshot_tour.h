// The screenshot tour (kelda-vasi --screenshots DIR): the program walks through its own
// windows, the way a person would click them, and saves a picture of each into DIR.
#pragma once

#include <QObject>
#include <QString>

#include <functional>

class frmSplash;
class frmmain;
class QWidget;

class ScreenshotTour : public QObject {
    Q_OBJECT
public:
    ScreenshotTour(const QString &folder, frmSplash *splash, std::function<frmmain *()> mainWindow,
                   QObject *parent = nullptr);
    // Begins the tour; the program ends when it is done.
    void start();
    int saved() const { return saved_; }

private:
    using Step = std::function<void()>;
    void then(int delayMs, Step step);
    void next();
    // Saves what the screen shows where the widget is.
    void shoot(QWidget *widget, const QString &name);
    // Saves the dialog the next step opens, once it shows, and answers it with the button of
    // that name.
    void shootDialog(const QString &name, const char *button);
    void runSteps();
    void referenceSteps();
    void recordSteps();
    // Defined beside the browse and reports windows (browse_report_tour.cpp).
    void browseAndReportSteps();
    // Defined beside the export and import windows (exchange_tour.cpp).
    void exchangeSteps();
    // The keyboard: the menus from the keys, the help pages on typing, a paste refused, Kannada
    // typed into a file dialog (typing_tour.cpp).
    void typingSteps();

    QString folder_;
    frmSplash *splash_;
    std::function<frmmain *()> mainWindow_;
    QList<QPair<int, Step>> steps_;
    int saved_ = 0;
};
