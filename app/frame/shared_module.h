// ModDeclare: what several windows share. The open database, a handful of flags, the sort key
// of a name, and the routines that fill a drop-down list from a reference table.
#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QVector>

#include "data_access.h"

class GlyphComboBox;

namespace ModDeclare {

// The one open database (Database::open makes it).
QSqlDatabase AppDatabase();
// The data-access module on AppDatabase.
AddressBookData Data();

// A menu of the bar was opened by a click and follows the mouse.
extern bool MenuActive;
// The address entry window changes an existing record (true) or takes a new one.
extern bool EditMode;
// The answer of the confirmation dialog book3: true for yes.
extern bool Answer;
// id_no of the address chosen in the browse window.
extern int CurrentId;
// Which report the reports window prepares: 50 labels, 51 the general list.
extern int ReportMode;
// FillPrakaras, FillTaluks and FillUpaprakaras empty the list before filling it.
extern bool ClearBeforeFill;
// The grid row of the address selected in the browse window; 0 when none.
extern int SelectedRow;
// The numbers of the addresses the browse window hands to the export window; empty: every
// address. The export window takes them when it opens.
extern QVector<int> ExportChoice;
// The exit was confirmed: Kannada typing stays off and the database is closed.
extern bool Ending;

// The Kannada switch (Scroll Lock) of the keyboard library; the main window's sign follows.
void TurnOnScrollLock();
void TurnOffScrollLock();

// The value of a name's sort column: the bytes of its KSCLP key as capital hexadecimal digits
// without leading zeros (a byte below 16 gives one digit). When the library cannot be called
// the key is made from the glyph codes themselves.
QString SortKey(const QString &name);

// Each leaves the list holding one item per row in Kannada order: the name as text and the
// row's number as item data. Returns false when the query fails (the list is then as the
// routine left it: emptied or unchanged).
bool FillRelations(GlyphComboBox *list);
bool FillDistricts(GlyphComboBox *list);
bool FillPrakaras(GlyphComboBox *list);
bool FillTaluks(GlyphComboBox *list, int districtNo);
bool FillUpaprakaras(GlyphComboBox *list, int prakaraNo);

}  // namespace ModDeclare
