// The captions of the export and import windows and of their menu entries, as glyph codes of
// the Kannada glyph font (read as Latin-1). Glyph widgets show them; plain labels and the
// preview table show their Unicode form (GlyphText::toDisplay).
#pragma once

#include "captions.h"

namespace ExchangeCaption {

using Caption::G;

// "Export of addresses", "Import of addresses": window titles and, indented, menu entries.
inline QString exportTitle() { return G("\xAB\xBC\xC1\xB8\xC0U\xC0\xBC\xC0 g\xC0\xA5s\xC0\xC4\xDB"); }
inline QString importTitle() { return G("\xAB\xBC\xC1\xB8\xC0U\xC0\xBC\xC0 D\xAA\xC0\xC4z\xC0\xC4"); }
inline QString exportEntry() { return G("    ") + exportTitle(); }
inline QString importEntry() { return G("    ") + importTitle(); }
// "Export", "Import", "Open file".
inline QString exportButton() { return G("g\xC0\xA5s\xC0\xC4\xDB"); }
inline QString importButton() { return G("D\xAA\xC0\xC4z\xC0\xC4"); }
inline QString openFile() { return G("P\xC0q\xC0v\xC0 v\xC9g\xC9"); }
// "All addresses", "Chosen addresses", "Exported addresses".
inline QString allAddresses() { return G("J\xAE\xE8 \xAB\xBC\xC1\xB8\xC0U\xC0\xBC\xC0\xC4"); }
inline QString chosenAddresses() { return G("DAi\xC0\xC4\xDD \xAB\xBC\xC1\xB8\xC0U\xC0\xBC\xC0\xC4"); }
inline QString exportedAddresses() { return G("g\xC0\xA5s\xC0\xC4\xDB \xAA\xC0i\xC1rz\xC0 \xAB\xBC\xC1\xB8\xC0U\xC0\xBC\xC0\xC4"); }
// "Addresses added", "Addresses changed", "Not taken".
inline QString added() { return G("\xB8\xC9\xC3j\xB9z\xC0 \xAB\xBC\xC1\xB8\xC0U\xC0\xBC\xC0\xC4"); }
inline QString updated() { return G("\xA7z\xC0\xB0\xB9z\xC0 \xAB\xBC\xC1\xB8\xC0U\xC0\xBC\xC0\xC4"); }
inline QString notTaken() { return G("v\xC9U\xC9z\xC0\xC4P\xC9\xC6\xBC\xC0\xEE\xAF\xC1U\xC0z\xC0\xAA\xC0\xC5"); }
// "There are no addresses to export."
inline QString nothingToExport() { return G("g\xC0\xA5s\xC0\xC4\xDB \xAA\xC0i\xC1q\xC0\xAE\xC4 \xAB\xBC\xC1\xB8\xC0U\xC0\xBD\xAE\xE8"); }
// "New entries" of the reference lists.
inline QString newEntries() { return G("\xBA\xC9\xC6\xB8\xC0 \xA3\xC0\xAA\xC0\xC4\xC6z\xC0\xC4U\xC0\xBC\xC0\xC4"); }
// "It did not work", "The import is done", "The import was stopped".
inline QString failed() { return G("DU\xC0\xB0\xAE\xE8"); }
inline QString importDone() { return G("D\xAA\xC0\xC4z\xC0\xC4 \xAA\xC0\xC4\xC4V\xAC\xC4v\xC0\xC4"); }
inline QString importStopped() { return G("D\xAA\xC0\xC4z\xC0\xC4 \xA4\xB0\xE8\xB8\xC0\xAF\xC1Vz\xC9"); }
// The preview's columns: "Line", "Name", "What", "Details"; and what happens to a record:
// "New", "Change", "Left out".
inline QString line() { return G("\xB8\xC1\xAE\xC4"); }
inline QString name() { return G("\xBA\xC9\xB8\xC0g\xC0\xC4"); }
inline QString details() { return G("\xAB\xAA\xC0g\xC0"); }
inline QString add() { return G("\xBA\xC9\xC6\xB8\xC0z\xC0\xC4"); }
inline QString update() { return G("\xA7z\xC0\xAF\xC1\xAA\xC0u\xC9"); }
inline QString skip() { return G("\xA9n\xD6z\xC9"); }

}  // namespace ExchangeCaption
