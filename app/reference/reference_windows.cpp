#include "reference_windows.h"

#include "frmdistrict.h"
#include "frmprakara.h"
#include "frmrelation.h"
#include "frmtaluk.h"
#include "frmupaprakara.h"

#include <QEventLoop>
#include <QPointer>

namespace {
const char *const kNames[] = {"frmDistrict", "Frmtaluk", "FrmPrakara", "FrmUpaprakara", "FrmRelation"};
}

QWidget *CreateReferenceWindow(ReferenceList which, QWidget *parent) {
    switch (which) {
    case ReferenceList::District: return new frmDistrict(parent);
    case ReferenceList::Taluk: return new Frmtaluk(parent);
    case ReferenceList::Prakara: return new FrmPrakara(parent);
    case ReferenceList::Upaprakara: return new FrmUpaprakara(parent);
    case ReferenceList::Relation: return new FrmRelation(parent);
    }
    return nullptr;
}

std::optional<ReferenceList> ReferenceListByName(const QString &windowName) {
    for (int i = 0; i < 5; ++i)
        if (windowName == QLatin1String(kNames[i])) return static_cast<ReferenceList>(i);
    return std::nullopt;
}

void ShowReferenceWindowModal(ReferenceList which, QWidget *parent) {
    QPointer<QWidget> window = CreateReferenceWindow(which, parent);
    window->setWindowModality(Qt::ApplicationModal);
    // The window deletes itself when it closes; the loop ends with it.
    QEventLoop loop;
    QObject::connect(window, &QObject::destroyed, &loop, &QEventLoop::quit);
    window->show();
    if (window) loop.exec();
}
