// CSV (RFC 4180): UTF-8, records ended by CR LF, a header row, one column per field ("Number",
// then the fields' titles), the references by their names. A value with a comma, a double quote
// or a line break is quoted; its line breaks are CR LF.
//
// The reader finds the columns by their titles (in any order, any case); a column nobody knows
// is told, not dropped, and a field without a column is not in the file.
#pragma once

#include <QByteArray>

#include "exchange_record.h"

namespace CsvFormat {

QByteArray header();
QByteArray row(const ExchangeRecord &record);
ExchangeFile read(const QByteArray &bytes);

}  // namespace CsvFormat
