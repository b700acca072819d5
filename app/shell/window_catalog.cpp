#include "window_catalog.h"

#include "help_window.h"
#include "about_window.h"
#include "search_window.h"
#include "browse_window.h"
#include "reports_window.h"
#include "address_entry_window.h"
#include "district_window.h"
#include "category_window.h"
#include "relation_window.h"
#include "taluk_window.h"
#include "subcategory_window.h"
#include "export_window.h"
#include "import_window.h"
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
    // vCard and CSV out and in.
    define<ExportWindow>("ExportWindow");
    define<ImportWindow>("ImportWindow");
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
