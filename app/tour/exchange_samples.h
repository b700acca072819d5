// Generated addresses with every box filled, for the exchange tests and benchmarks: Kannada
// names and places of typed syllables, several lines of household members, addresses, phones
// and other information (commas, semicolons and quotes among them), a Latin e-mail address,
// and every reference set (reference lists of their own, made when the lists are empty).
#pragma once

#include <QSqlDatabase>
#include <QString>

namespace ExchangeSamples {

// Adds `count` such addresses in one transaction; false with *error when the database refuses.
bool fill(QSqlDatabase db, int count, QString *error);

}  // namespace ExchangeSamples
