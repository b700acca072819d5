// One address as it travels to and from other programs: every value as Unicode text, the
// references by their names, the record number apart. The vCard and CSV formats read and write
// this and nothing else; the conversion to and from the stored glyph codes is done elsewhere.
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

#include "address_data.h"

enum class ExchangeField {
    Name, Members, HomeAddress, Place, PinCode, District, Taluk, State, Country, Phone, Fax, Pager, Email,
    OtherAddress, OtherInfo, Relation, Category, SubCategory,
};
constexpr int kExchangeFieldCount = static_cast<int>(ExchangeField::SubCategory) + 1;

// How the field is called in a CSV header and in messages ("Home address").
QString exchangeFieldTitle(ExchangeField field);
// Whether the field may hold several lines.
bool isSeveralLines(ExchangeField field);
// The column of addressh a text field is stored in; false for the name and the references.
bool storedColumn(ExchangeField field, AddressColumn *column);

struct ExchangeRecord {
    int number = 0;       // the record number this address had where it was written; 0: none
    QString values[kExchangeFieldCount];
    int line = 0;         // where the record begins in the file it was read from (1-based)
    QStringList notTaken; // what the file holds for it that no field takes (told, not dropped)
    QString error;        // why the record could not be read at all (then nothing else counts)

    QString &operator[](ExchangeField f) { return values[static_cast<int>(f)]; }
    const QString &operator[](ExchangeField f) const { return values[static_cast<int>(f)]; }
};

// The text of a file of either format: UTF-8, a byte order mark dropped; nullopt when it is not
// UTF-8.
std::optional<QString> exchangeText(const QByteArray &bytes);

// What a reader made of a file.
struct ExchangeFile {
    QVector<ExchangeRecord> records;
    // The fields the file carries: a CSV file may leave columns out, and an import then keeps
    // what the address book has in them. A vCard carries every field.
    bool carries[kExchangeFieldCount] = {};
    QStringList notes;    // what of the file as a whole is not taken (a column nobody knows)
    QString error;        // the file cannot be read at all
};
