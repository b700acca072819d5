#include "window_catalog.h"

#include "book10.h"
#include "book11.h"
#include "book5.h"
#include "book7.h"
#include "book9.h"
#include "frmaddressentry.h"
#include "frmdistrict.h"
#include "frmprakara.h"
#include "frmrelation.h"
#include "frmtaluk.h"
#include "frmupaprakara.h"
#include "window_registry.h"

#include <QString>

namespace WindowCatalog {
namespace {

template <class W>
void define(const char *name) {
    WindowRegistry::define(QLatin1String(name), [](QWidget *parent) -> QWidget * { return new W(parent); });
}

const char *const kStandAlone[] = {"book11", "frmDistrict", "Frmtaluk", "FrmPrakara", "FrmRelation", "FrmUpaprakara"};

}  // namespace

void defineAll() {
    // The five reference lists.
    define<frmDistrict>("frmDistrict");
    define<Frmtaluk>("Frmtaluk");
    define<FrmPrakara>("FrmPrakara");
    define<FrmUpaprakara>("FrmUpaprakara");
    define<FrmRelation>("FrmRelation");
    // The addresses: entry, search, browsing, reports.
    define<FrmAddressEntry>("FrmAddressEntry");
    define<book5>("book5");
    define<book7>("book7");
    define<book9>("book9");
    // Help and about.
    define<book10>("book10");
    define<book11>("book11");
}

bool standsAlone(const QString &name) {
    for (const char *n : kStandAlone)
        if (name == QLatin1String(n)) return true;
    return false;
}

}  // namespace WindowCatalog
