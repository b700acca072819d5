// Export and import from the command line, without a window, on the open database: a summary
// on standard output, the problems on standard error, and the exit status.
#pragma once

#include <QString>

namespace ExchangeCommand {

// 0 when the file was written; 1 when it was not.
int exportTo(const QString &formatName, const QString &path);
// 0 when every record of the file was taken; 2 when the import was written but some records
// were not taken (each is listed with the reason); 1 when nothing was imported.
int importFrom(const QString &path);

}  // namespace ExchangeCommand
