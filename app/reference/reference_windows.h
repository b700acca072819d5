// The one door into the five reference-list windows for other windows of the program: the
// address entry window opens them modally from the small buttons beside its lists, and
// refreshes its lists once the window is closed.
#pragma once

class QWidget;

enum class ReferenceList { District, Taluk, Prakara, Upaprakara, Relation };

// Opens the window of that list modally (over parent) and returns when the user has closed it.
void ShowReferenceWindowModal(ReferenceList which, QWidget *parent);

// Makes the window of that list, not yet shown; its object name is the window's name
// (frmDistrict, Frmtaluk, FrmPrakara, FrmUpaprakara, FrmRelation). It deletes itself on close.
QWidget *CreateReferenceWindow(ReferenceList which, QWidget *parent);
