#include "exchange_conversion.h"

#include "tovi_library.h"

namespace {

constexpr int kLineLimit = 255;
constexpr int kBoxLimit = 4000;

const RefTable kReferenceOf[] = {RefTable::District, RefTable::Taluk, RefTable::Relation, RefTable::Prakara,
                                 RefTable::Upaprakara};
const ExchangeField kReferenceFields[] = {ExchangeField::District, ExchangeField::Taluk, ExchangeField::Relation,
                                          ExchangeField::Category, ExchangeField::SubCategory};
const AddressColumn kReferenceColumns[] = {AddressColumn::District, AddressColumn::Taluk, AddressColumn::Relation,
                                           AddressColumn::Prakara, AddressColumn::Upaprakara};

QString described(char32_t c) {
    const QString shown = c == char32_t(-1) ? QStringLiteral("?") : QString::fromUcs4(&c, 1);
    return QStringLiteral("\"%1\" (U+%2)").arg(shown, QString::number(uint(c), 16).toUpper().rightJustified(4, QLatin1Char('0')));
}

}  // namespace

bool ReferenceLists::load(AddressBookData &data, QString *error) {
    for (RefTable t : kReferenceOf) {
        const auto rows = data.allRows(t);
        if (!rows) {
            *error = data.lastError();
            return false;
        }
        rows_[static_cast<int>(t)].clear();
        byShownName_[static_cast<int>(t)].clear();
        for (const RefRow &r : *rows) add(t, r);
    }
    return true;
}

QString ReferenceLists::name(RefTable table, int number) const {
    return rows_[static_cast<int>(table)].value(number).name;
}

int ReferenceLists::parent(RefTable table, int number) const {
    return rows_[static_cast<int>(table)].value(number).parent;
}

int ReferenceLists::find(RefTable table, const QString &shown, int parent) const {
    const bool hasParent = refTableInfo(table).parent != nullptr;
    const QMultiHash<QString, int> &names = byShownName_[static_cast<int>(table)];
    int found = 0;
    for (auto it = names.constFind(shown); it != names.cend() && it.key() == shown; ++it) {
        const int number = it.value();
        if (hasParent && parent != -1 && this->parent(table, number) != parent) continue;
        if (found == 0 || number < found) found = number;
    }
    return found;
}

void ReferenceLists::add(RefTable table, const RefRow &row) {
    rows_[static_cast<int>(table)].insert(row.number, row);
    byShownName_[static_cast<int>(table)].insert(glyphsToUnicode(row.name).value_or(row.name), row.number);
}

QString listTitle(RefTable t) {
    switch (t) {
    case RefTable::District: return QStringLiteral("district");
    case RefTable::Taluk: return QStringLiteral("taluk");
    case RefTable::Prakara: return QStringLiteral("category");
    case RefTable::Upaprakara: return QStringLiteral("sub-category");
    case RefTable::Relation: break;
    }
    return QStringLiteral("relation");
}

int glyphLimit(ExchangeField field) { return isSeveralLines(field) ? kBoxLimit : kLineLimit; }

std::optional<QString> glyphsToUnicode(const QString &glyphs) {
    if (glyphs.isEmpty()) return QString();
    return ToviLibrary::glyphToUnicode(glyphs);
}

std::optional<ExchangeRecord> toExchange(const AddressRecord &a, const ReferenceLists &lists, QString *error) {
    ExchangeRecord r;
    r.number = a.id;
    auto unicode = [&](const QString &glyphs, QString *out) {
        const std::optional<QString> u = glyphsToUnicode(glyphs);
        if (!u) *error = QStringLiteral("the library's Unicode bridge could not convert the address %1").arg(a.id);
        else *out = *u;
        return u.has_value();
    };
    if (!unicode(a.name, &r[ExchangeField::Name])) return std::nullopt;
    for (int f = 0; f < kExchangeFieldCount; ++f) {
        const ExchangeField field = static_cast<ExchangeField>(f);
        AddressColumn column;
        if (!storedColumn(field, &column)) continue;
        if (field == ExchangeField::Email) r[field] = a.text(column);
        else if (!unicode(a.text(column), &r[field])) return std::nullopt;
    }
    for (int i = 0; i < 5; ++i) {
        const int number = a.number(kReferenceColumns[i]);
        if (number != 0 && !unicode(lists.name(kReferenceOf[i], number), &r[kReferenceFields[i]])) return std::nullopt;
    }
    return r;
}

StoredValue toStored(ExchangeField field, const QString &unicode) {
    StoredValue v;
    const QString title = exchangeFieldTitle(field);
    if (unicode.isEmpty()) return v;
    if (field == ExchangeField::Email) {
        for (QChar c : unicode)
            if (c.unicode() > 0xFF) {
                v.problem = QStringLiteral("%1: Latin text cannot hold %2").arg(title, described(c.unicode()));
                return v;
            }
        v.text = v.shown = unicode;
    } else {
        // Text that comes back as it was is held whole; only other text is asked which of its
        // characters the glyph encoding cannot hold (those the conversion left out).
        const std::optional<QString> glyphs = ToviLibrary::unicodeToGlyph(unicode);
        const std::optional<QString> back = glyphs ? glyphsToUnicode(*glyphs) : std::nullopt;
        if (!back || *back != unicode) {
            const std::optional<QVector<char32_t>> unheld = ToviLibrary::unheldInGlyphs(unicode);
            if (unheld && !unheld->isEmpty()) {
                QStringList chars;
                for (char32_t c : *unheld)
                    if (chars.size() < 3 && !chars.contains(described(c))) chars << described(c);
                v.problem = QStringLiteral("%1: the glyph encoding cannot hold %2").arg(title, chars.join(QLatin1String(", ")));
                return v;
            }
            if (!unheld || !back) {
                v.problem = QStringLiteral("%1: the library's Unicode bridge could not convert it").arg(title);
                return v;
            }
        }
        v.text = *glyphs;
        v.shown = *back;
    }
    if (v.text.size() > glyphLimit(field))
        v.problem = QStringLiteral("%1 is too long: %2 characters, at most %3 are taken")
                        .arg(title).arg(v.text.size()).arg(glyphLimit(field));
    return v;
}
