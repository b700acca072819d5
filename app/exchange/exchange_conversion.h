// Between the stored form of an address (glyph codes, reference numbers) and the form it
// travels in (Unicode, reference names). Kannada goes through the library's Unicode bridge both
// ways; the e-mail address is Latin text and stays as it is.
#pragma once

#include <QHash>
#include <QString>
#include <QVector>

#include <optional>

#include "address_data.h"
#include "data_access.h"
#include "exchange_record.h"

// The five reference lists, read once for an export or an import.
class ReferenceLists {
public:
    bool load(AddressBookData &data, QString *error);

    // The name (glyph codes) of the entry of that number; empty when there is none.
    QString name(RefTable table, int number) const;
    // The parent of the entry of that number (taluk, sub-category); 0 when none.
    int parent(RefTable table, int number) const;
    // The number of the entry whose name shows exactly as that Unicode text, of that parent for
    // a taluk or a sub-category (of any parent when parent is -1: the lowest number); 0 when
    // there is none. Names are compared as they show, since one Kannada name may be stored in
    // more than one way.
    int find(RefTable table, const QString &shown, int parent = 0) const;

private:
    void add(RefTable table, const RefRow &row);

    QHash<int, RefRow> rows_[5];
    QMultiHash<QString, int> byShownName_[5];
};

// What a person calls the list in messages ("district", "sub-category").
QString listTitle(RefTable table);

// The largest number of glyph codes a field takes: a line, or a box of several lines.
int glyphLimit(ExchangeField field);

// Glyph text as Unicode (empty stays empty); nullopt when the bridge fails.
std::optional<QString> glyphsToUnicode(const QString &glyphs);

// The address as it travels; nullopt (and *error) when the bridge fails.
std::optional<ExchangeRecord> toExchange(const AddressRecord &address, const ReferenceLists &lists, QString *error);

// A value of a file as it is stored: glyph codes (Latin-1 for the e-mail address), or why it
// cannot be: a character the stored form cannot hold, or more than the field takes.
struct StoredValue {
    QString text;
    QString shown;    // how the stored text shows (Unicode), to compare names as they show
    QString problem;  // empty when the value can be stored
};
StoredValue toStored(ExchangeField field, const QString &unicode);
