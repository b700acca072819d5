#include "shared_module.h"

#include "database.h"
#include "glyph_widgets.h"
#include "kannada-tovi-sort-key-text.h"
#include "keyboard_bridge.h"
#include "tovi_library.h"

#include <QDebug>

namespace ModDeclare {

bool MenuActive = false;
bool EditMode = false;
bool Answer = false;
int CurrentId = 0;
int ReportMode = 0;
bool ClearBeforeFill = false;
int SelectedRow = 0;
QVector<int> ExportChoice;
bool Ending = false;

QSqlDatabase AppDatabase() { return Database::connection(); }

AddressBookData Data() { return AddressBookData(AppDatabase()); }

void TurnOnScrollLock() {
    ToviLibrary::turnOnScrollLock();
    if (KeyboardBridge *bridge = KeyboardBridge::instance()) bridge->refresh();
}

void TurnOffScrollLock() {
    ToviLibrary::turnOffScrollLock();
    if (KeyboardBridge *bridge = KeyboardBridge::instance()) bridge->refresh();
}

QString SortKey(const QString &name) {
    const QByteArray glyphs = name.toLatin1();
    const std::optional<QByteArray> ksclp = ToviLibrary::monolingualGlyph2KSCLP(glyphs);
    const QByteArray &s = ksclp ? *ksclp : glyphs;
    return QString::fromStdString(ToviSortKeyText::Hex({s.constData(), static_cast<size_t>(s.size())}));
}

namespace {

bool fill(GlyphComboBox *list, bool clearFirst, RefTable table, int parent) {
    if (clearFirst) list->clear();
    AddressBookData data = Data();
    const auto rows = data.rows(table, parent);
    if (!rows) {
        qWarning() << "Filling a list failed:" << data.lastError();
        return false;
    }
    for (const RefRow &r : *rows) list->addGlyphItem(r.name, r.number);
    return true;
}

}  // namespace

bool FillRelations(GlyphComboBox *list) { return fill(list, true, RefTable::Relation, 0); }
bool FillDistricts(GlyphComboBox *list) { return fill(list, true, RefTable::District, 0); }
bool FillPrakaras(GlyphComboBox *list) { return fill(list, ClearBeforeFill, RefTable::Prakara, 0); }
bool FillTaluks(GlyphComboBox *list, int districtNo) {
    return fill(list, ClearBeforeFill, RefTable::Taluk, districtNo);
}
bool FillUpaprakaras(GlyphComboBox *list, int prakaraNo) {
    return fill(list, ClearBeforeFill, RefTable::Upaprakara, prakaraNo);
}

}  // namespace ModDeclare
