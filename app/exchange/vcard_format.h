// vCard 4.0 (RFC 6350): UTF-8, lines ended by CR LF and folded at 75 octets.
//
// One card per address: FN and N from the name, ADR;TYPE=home for the home address with its
// place (locality), state (region), PIN code (postal code) and country, an ADR without a type
// for the other address, one TEL per line of the phone (TYPE=voice), fax and pager boxes, EMAIL,
// CATEGORIES (category, sub-category), RELATED;VALUE=text for the relation, the district, taluk
// and household members as X-KELDA-VASI- properties, NOTE for the other information and UID
// urn:kelda-vasi:NUMBER.
//
// The reader takes vCard 2.1, 3.0 and 4.0 as other programs write them (quoted-printable values
// of 2.1 included), and tells what of a card no field takes.
#pragma once

#include <QByteArray>

#include "exchange_record.h"

namespace VCardFormat {

// The UID of a record number, and the number of a UID (0 when it is not one of ours).
QString uidOf(int number);
int numberOfUid(const QString &uid);

QByteArray write(const ExchangeRecord &record);
ExchangeFile read(const QByteArray &bytes);

// Whether the text starts the way a vCard file does (BEGIN:VCARD, after blank lines).
bool looksLikeVCard(const QByteArray &bytes);

}  // namespace VCardFormat
