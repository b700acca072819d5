#include "reference_windows.h"

#include "captions.h"
#include "placeholder_window.h"

#include <QEventLoop>
#include <QPointer>

QWidget *CreateReferenceWindow(ReferenceList which, QWidget *parent) {
    struct Def {
        const char *name;
        QString (*title)();
    };
    static const Def defs[] = {
        {"frmDistrict", &Caption::districtsTitle},     {"Frmtaluk", &Caption::taluksTitle},
        {"FrmPrakara", &Caption::prakarasTitle},       {"FrmUpaprakara", &Caption::upaprakarasTitle},
        {"FrmRelation", &Caption::relationsTitle},
    };
    const Def &d = defs[static_cast<int>(which)];
    auto *window = new PlaceholderWindow(QString::fromLatin1(d.name), d.title());
    window->setParent(parent, Qt::Window);
    return window;
}

void ShowReferenceWindowModal(ReferenceList which, QWidget *parent) {
    QPointer<QWidget> window = CreateReferenceWindow(which, parent);
    window->setWindowModality(Qt::ApplicationModal);
    window->move(0, 0);
    QEventLoop loop;
    QObject::connect(window, &QObject::destroyed, &loop, &QEventLoop::quit);
    window->show();
    loop.exec();
}
