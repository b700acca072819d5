// Taking addresses in from other programs' vCard and CSV files.
//
// Each record of the file is matched to an address: by its UID (a number of this address book),
// then by its exact name (as it shows). A match is updated, anything else added: under the
// number its UID gives when that number is free, else under the next number. A record that
// cannot be taken (a character the glyph encoding cannot hold, a value too long, no name, a
// second record for one address) is listed with the reason and nothing of it is written; what a
// taken record holds that no field takes is listed with it. References are found by name; a
// name the lists do not have is offered as a new entry, and a declined one keeps its records
// out.
//
// The preview writes nothing. The import runs in one transaction, planned afresh inside it:
// it happens whole or not at all, and a cancel leaves the database as it was.
#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVector>

#include <functional>
#include <optional>

#include "data_access.h"
#include "exchange_record.h"

struct ImportRow {
    enum class Action { Add, Update, Skip };
    int line = 0;
    QString name;          // as the file has it
    Action action = Action::Skip;
    int number = 0;        // Add: the number it gets; Update: the address it changes
    QString currentName;   // Update: the name that address has now
    QStringList reasons;   // Skip: why it cannot be taken
    QStringList notTaken;  // Add, Update: what of the record no field takes
};

// A reference entry the lists do not have yet.
struct NewEntry {
    RefTable table = RefTable::District;
    QString name;          // as the file has it
    QString parentName;    // the district of a taluk, the category of a sub-category
    int rows = 0;          // records that need it
    bool accepted = true;
};

struct ImportPlan {
    QVector<ImportRow> rows;
    QVector<NewEntry> newEntries;  // those some record needs, parents before their children
    QStringList notes;             // what of the file as a whole is not taken
    int added = 0, updated = 0, skipped = 0;
    bool cancelled = false;
};

class AddressImport {
public:
    explicit AddressImport(QSqlDatabase db);

    // A file of either format; which one is told by its contents.
    static ExchangeFile readBytes(const QByteArray &bytes);
    static ExchangeFile readFile(const QString &path);

    // What an import of the file would do now; choices carry the new entries declined in an
    // earlier preview. nullopt when the database cannot be read.
    std::optional<ImportPlan> preview(const ExchangeFile &file, const QVector<NewEntry> &choices = {});
    // Imports the file. progress(done, total) comes after each record; false from it cancels.
    // nullopt when the database failed (nothing is written then either).
    std::optional<ImportPlan> run(const ExchangeFile &file, const QVector<NewEntry> &choices = {},
                                  const std::function<bool(int, int)> &progress = {});

    QString lastError() const { return error_; }

private:
    QSqlDatabase db_;
    QString error_;
};
