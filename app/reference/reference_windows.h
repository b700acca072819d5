// The one door into the five reference-list windows for other windows of the program: the
// reference menu opens them without making them modal, the address entry window opens them
// modally from the small buttons beside its lists and refreshes its lists once they close.
#pragma once

#include <optional>

class QString;
class QWidget;

enum class ReferenceList { District, Taluk, Prakara, Upaprakara, Relation };

// Opens the window of that list modally (over parent) at the top left corner of the screen
// and returns when the user has closed it.
void ShowReferenceWindowModal(ReferenceList which, QWidget *parent);

// Makes the window of that list, loaded but not shown: a top-level window (parent only owns
// it) at the top left corner of the screen. Its object name is the window's name
// (frmDistrict, Frmtaluk, FrmPrakara, FrmUpaprakara, FrmRelation); it deletes itself on close.
QWidget *CreateReferenceWindow(ReferenceList which, QWidget *parent);

// The list whose window has that name.
std::optional<ReferenceList> ReferenceListByName(const QString &windowName);
