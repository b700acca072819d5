// Sample addresses in Kannada, for the screenshot tour and the benchmarks: the five reference
// lists and as many generated addresses as wanted, stored the way the entry window stores them
// (glyph codes, sort keys, empty boxes left null).
#pragma once

#include <QSqlDatabase>
#include <QString>

namespace SampleAddresses {

// Adds the sample reference entries to the lists that are empty, then `count` addresses
// numbered from the next free number, in one transaction, each pointing at entries of the
// lists. False with *error set when the database refuses.
bool fill(QSqlDatabase db, int count, QString *error);

}  // namespace SampleAddresses
