#include "exchange_record.h"

#include <QStringDecoder>

namespace {

struct FieldInfo {
    const char *title;
    bool severalLines;
    bool stored;
    AddressColumn column;
};

const FieldInfo kFields[kExchangeFieldCount] = {
    {"Name", false, false, AddressColumn::Members},
    {"Household members", true, true, AddressColumn::Members},
    {"Home address", true, true, AddressColumn::Haddress},
    {"Place", false, true, AddressColumn::Hcity},
    {"PIN code", false, true, AddressColumn::HpinCode},
    {"District", false, false, AddressColumn::District},
    {"Taluk", false, false, AddressColumn::Taluk},
    {"State", false, true, AddressColumn::Hstate},
    {"Country", false, true, AddressColumn::Hcountry},
    {"Phone", true, true, AddressColumn::Hphone},
    {"Fax", false, true, AddressColumn::Hfax},
    {"Pager", false, true, AddressColumn::Hpager},
    {"E-mail", false, true, AddressColumn::HeMail},
    {"Other address", true, true, AddressColumn::Oaddress},
    {"Other information", true, true, AddressColumn::Otherinfor},
    {"Relation", false, false, AddressColumn::Relation},
    {"Category", false, false, AddressColumn::Prakara},
    {"Sub-category", false, false, AddressColumn::Upaprakara},
};

}  // namespace

QString exchangeFieldTitle(ExchangeField field) { return QLatin1String(kFields[static_cast<int>(field)].title); }

bool isSeveralLines(ExchangeField field) { return kFields[static_cast<int>(field)].severalLines; }

bool storedColumn(ExchangeField field, AddressColumn *column) {
    const FieldInfo &f = kFields[static_cast<int>(field)];
    if (f.stored && column) *column = f.column;
    return f.stored;
}

std::optional<QString> exchangeText(const QByteArray &bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (utf8.hasError()) return std::nullopt;
    if (text.startsWith(QChar(0xFEFF))) text.remove(0, 1);
    return text;
}
