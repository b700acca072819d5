// Prints the rows of the report table in a report layout: a sheet of address labels or a list
// with a table, onto a printer, Qt's print preview or a PDF file. Glyph text prints as Kannada
// script in the layout's font.
#pragma once

#include <QString>
#include <QVector>

#include "address_selection.h"
#include "report_layout.h"

class QPagedPaintDevice;

namespace ReportRenderer {

// Gives the device the layout's paper, with the page's corner as the origin (the layout's
// margins are its own). Call before painting on it.
void preparePaper(const ReportLayout &layout, QPagedPaintDevice *device);

// Paints the rows, in the order given, page after page onto the prepared device. Returns the
// number of pages painted; 0 when there are no rows or the device cannot be painted on.
int render(const ReportLayout &layout, const QVector<ReportRow> &rows, QPagedPaintDevice *device);

// Writes the report into a PDF file. Returns the number of pages, or 0 with *error set.
int writePdf(const ReportLayout &layout, const QVector<ReportRow> &rows, const QString &path, QString *error);

// What one piece of a layout prints for one row: one text per line group (the groups that
// have nothing to print left out), in Unicode, not yet broken into lines.
QStringList compose(const ReportContent &content, const ReportRow &row);

}  // namespace ReportRenderer
