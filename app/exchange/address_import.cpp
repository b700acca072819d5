#include "address_import.h"

#include "address_data.h"
#include "csv_format.h"
#include "exchange_conversion.h"
#include "vcard_format.h"
#include "write_transaction.h"

#include <QFile>
#include <QHash>
#include <QSet>

namespace {

// The references of a record: the field, its list, its column, and the field of its parent.
struct Reference {
    ExchangeField field;
    RefTable table;
    AddressColumn column;
    int parentIndex;  // index of the parent in kReferences, -1 for none
};
const Reference kReferences[] = {
    {ExchangeField::Relation, RefTable::Relation, AddressColumn::Relation, -1},
    {ExchangeField::District, RefTable::District, AddressColumn::District, -1},
    {ExchangeField::Taluk, RefTable::Taluk, AddressColumn::Taluk, 1},
    {ExchangeField::Category, RefTable::Prakara, AddressColumn::Prakara, -1},
    {ExchangeField::SubCategory, RefTable::Upaprakara, AddressColumn::Upaprakara, 3},
};
constexpr int kReferenceCount = 5;


// A record on its way in: what the plan shows, what will be written, and its references (an
// entry's number, or -(i + 1) for new entry i, or 0 for none).
struct Planned {
    ImportRow row;
    AddressWrite write;
    int refs[kReferenceCount] = {};
};

// The plan of one import against the database as it is.
class Planner {
public:
    Planner(QSqlDatabase db, const ExchangeFile &file, const QVector<NewEntry> &choices)
        : db_(db), file_(file), choices_(choices) {}

    bool make(QString *error) {
        AddressBookData refData(db_);
        if (!lists.load(refData, error)) return false;
        AddressData data(db_);
        const auto all = data.loadAll();
        if (!all) return *error = data.lastError(), false;
        for (const AddressRecord &a : *all) {
            const QString shown = glyphsToUnicode(a.name).value_or(a.name);
            byName_[shown].append(a.id);
            names_.insert(a.id, shown);
            highest_ = qMax(highest_, a.id);
        }
        plan.notes = file_.notes;
        for (const ExchangeRecord &r : file_.records) planOne(r);
        numberNewRecords();
        for (const Planned &p : planned) {
            if (p.row.action == ImportRow::Action::Add) ++plan.added;
            else if (p.row.action == ImportRow::Action::Update) ++plan.updated;
            else ++plan.skipped;
            plan.rows.append(p.row);
        }
        return true;
    }

    ReferenceLists lists;
    QVector<Planned> planned;
    ImportPlan plan;

private:
    void planOne(const ExchangeRecord &r) {
        Planned p;
        p.row.line = r.line;
        p.row.name = r[ExchangeField::Name];
        p.row.notTaken = r.notTaken;
        QStringList &reasons = p.row.reasons;
        if (!r.error.isEmpty()) reasons << r.error;

        // The values as they will be stored.
        const QString name = r[ExchangeField::Name].trimmed();
        StoredValue storedName = toStored(ExchangeField::Name, name);
        if (name.isEmpty()) reasons << QStringLiteral("it has no name");
        else if (!storedName.problem.isEmpty()) reasons << storedName.problem;
        p.write.name = storedName.text;
        QString refGlyphs[kReferenceCount], refShown[kReferenceCount];
        for (int f = 0; f < kExchangeFieldCount; ++f) {
            const ExchangeField field = static_cast<ExchangeField>(f);
            if (!file_.carries[f] || field == ExchangeField::Name) continue;
            const StoredValue v = toStored(field, r[field]);
            if (!v.problem.isEmpty()) reasons << v.problem;
            AddressColumn column;
            if (storedColumn(field, &column)) p.write.assign(column, v.text.isEmpty() ? QVariant() : QVariant(v.text));
            for (int i = 0; i < kReferenceCount; ++i)
                if (kReferences[i].field == field) refGlyphs[i] = v.text, refShown[i] = v.shown;
        }
        if (!reasons.isEmpty()) return skip(p);

        // Which address it is.
        const QVector<int> sameName = byName_.value(storedName.shown);
        if (r.number > 0 && names_.contains(r.number)) {
            update(p, r.number);
        } else if (sameName.size() > 1) {
            reasons << QStringLiteral("%1 addresses have this name").arg(sameName.size());
        } else if (sameName.size() == 1) {
            update(p, sameName.first());
        } else {
            p.row.action = ImportRow::Action::Add;
            if (r.number > 0) {
                if (const int earlier = fixedNumbers_.value(r.number))
                    reasons << QStringLiteral("line %1 has the same UID").arg(earlier);
                else
                    p.row.number = r.number;
            }
        }
        if (!reasons.isEmpty()) return skip(p);

        // Its references, new entries offered where the lists lack a name.
        QVector<int> needs;
        for (int i = 0; i < kReferenceCount; ++i) {
            const Reference &ref = kReferences[i];
            if (!file_.carries[static_cast<int>(ref.field)]) continue;
            if (refGlyphs[i].isEmpty()) continue;  // none: the number 0 is written
            // Looked up as it shows, made as it is stored.
            int parent = 0;
            QString parentName;
            if (ref.parentIndex >= 0) {
                parent = p.refs[ref.parentIndex];
                parentName = r[kReferences[ref.parentIndex].field].trimmed();
                if (parent == 0) {
                    // A taluk without its district is found in any district, not made.
                    p.refs[i] = lists.find(ref.table, refShown[i], -1);
                    if (p.refs[i] == 0)
                        reasons << QStringLiteral("the %1 \"%2\" is in no list, and the record names no %3")
                                       .arg(listTitle(ref.table), r[ref.field].trimmed(),
                                            listTitle(kReferences[ref.parentIndex].table));
                    continue;
                }
            }
            p.refs[i] = parent >= 0 ? lists.find(ref.table, refShown[i], parent) : 0;
            if (p.refs[i] == 0) {
                const int entry = newEntry(ref.table, refGlyphs[i], refShown[i], r[ref.field].trimmed(), parent, parentName);
                p.refs[i] = -(entry + 1);
                needs << entry;
                if (!plan.newEntries[entry].accepted)
                    reasons << QStringLiteral("the new %1 \"%2\" is not added").arg(listTitle(ref.table), r[ref.field].trimmed());
            }
        }
        for (int entry : needs) ++plan.newEntries[entry].rows;
        if (!reasons.isEmpty()) return skip(p);

        // One record per address.
        const int number = p.row.number;
        if (p.row.action == ImportRow::Action::Update) {
            if (const int earlier = changed_.value(number))
                return reasons << QStringLiteral("line %1 is for the same address").arg(earlier), skip(p);
            changed_.insert(number, p.row.line);
        } else if (number > 0) {
            fixedNumbers_.insert(number, p.row.line);
        }
        planned.append(p);
    }

    void update(Planned &p, int number) {
        p.row.action = ImportRow::Action::Update;
        p.row.number = number;
        p.row.currentName = names_.value(number);
    }

    void skip(Planned &p) {
        p.row.action = ImportRow::Action::Skip;
        p.row.number = 0;
        planned.append(p);
    }

    // The index of the new entry of that list, name and parent; made on its first need. A
    // parent is an entry's number, or -(i + 1) for new entry i.
    int newEntry(RefTable table, const QString &glyphs, const QString &shown, const QString &name, int parent,
                 const QString &parentName) {
        const QString key = QStringLiteral("%1|%2|%3").arg(int(table)).arg(parent).arg(shown);
        if (const auto it = entryIndex_.constFind(key); it != entryIndex_.cend()) return *it;
        NewEntry e;
        e.table = table;
        e.name = name;
        e.parentName = parentName;
        for (const NewEntry &c : choices_)
            if (c.table == table && c.name == name && c.parentName == parentName) e.accepted = c.accepted;
        plan.newEntries.append(e);
        entryGlyphs.append(glyphs);
        entryParents.append(parent);
        entryIndex_.insert(key, plan.newEntries.size() - 1);
        return plan.newEntries.size() - 1;
    }

    // New records without a number of their own take the next ones past every number in use or
    // kept for another record of the file, in the order of the file.
    void numberNewRecords() {
        int next = highest_;
        for (auto it = fixedNumbers_.cbegin(); it != fixedNumbers_.cend(); ++it) next = qMax(next, it.key());
        for (Planned &p : planned)
            if (p.row.action == ImportRow::Action::Add && p.row.number == 0) p.row.number = ++next;
    }

public:
    QStringList entryGlyphs;
    QVector<int> entryParents;

private:
    QSqlDatabase db_;
    const ExchangeFile &file_;
    const QVector<NewEntry> &choices_;
    QHash<QString, QVector<int>> byName_;  // the numbers of the addresses of a name, as it shows
    QHash<int, QString> names_;
    int highest_ = 0;
    QHash<int, int> fixedNumbers_;  // number -> line of the new record that keeps it
    QHash<int, int> changed_;       // number -> line of the record that updates it
    QHash<QString, int> entryIndex_;
};

}  // namespace

AddressImport::AddressImport(QSqlDatabase db) : db_(db) {}

ExchangeFile AddressImport::readBytes(const QByteArray &bytes) {
    return VCardFormat::looksLikeVCard(bytes) ? VCardFormat::read(bytes) : CsvFormat::read(bytes);
}

ExchangeFile AddressImport::readFile(const QString &path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        ExchangeFile file;
        file.error = QStringLiteral("%1: %2").arg(path, f.errorString());
        return file;
    }
    ExchangeFile file = readBytes(f.readAll());
    if (!file.error.isEmpty()) file.error = QStringLiteral("%1: %2").arg(path, file.error);
    return file;
}

std::optional<ImportPlan> AddressImport::preview(const ExchangeFile &file, const QVector<NewEntry> &choices) {
    error_.clear();
    Planner planner(db_, file, choices);
    if (!planner.make(&error_)) return std::nullopt;
    return planner.plan;
}

std::optional<ImportPlan> AddressImport::run(const ExchangeFile &file, const QVector<NewEntry> &choices,
                                             const std::function<bool(int, int)> &progress) {
    error_.clear();
    WriteTransaction tx(db_);
    if (!tx.begin(&error_)) return std::nullopt;
    Planner planner(db_, file, choices);
    if (!planner.make(&error_)) return std::nullopt;
    ImportPlan &plan = planner.plan;

    // The new entries first, parents before their children.
    AddressBookData refData(db_);
    QVector<int> entryNumbers(plan.newEntries.size(), 0);
    for (int i = 0; i < plan.newEntries.size(); ++i) {
        const NewEntry &e = plan.newEntries[i];
        if (!e.accepted || e.rows == 0) continue;
        const int parent = planner.entryParents[i] < 0 ? entryNumbers[-planner.entryParents[i] - 1] : planner.entryParents[i];
        const int number = refData.nextNumber(e.table);
        const SaveOutcome saved = number > 0 ? refData.save(e.table, number, planner.entryGlyphs[i], parent, SaveIntent::NewEntry)
                                             : SaveOutcome{};
        if (!saved.ok) return error_ = refData.lastError(), std::nullopt;
        entryNumbers[i] = saved.number;
    }

    AddressData data(db_);
    const int total = plan.added + plan.updated;
    int done = 0;
    if (progress && !progress(0, total)) return plan.cancelled = true, plan;
    for (Planned &p : planner.planned) {
        if (p.row.action == ImportRow::Action::Skip) continue;
        for (int i = 0; i < kReferenceCount; ++i) {
            if (!file.carries[static_cast<int>(kReferences[i].field)]) continue;
            const int ref = p.refs[i];
            p.write.assign(kReferences[i].column, ref < 0 ? entryNumbers[-ref - 1] : ref);
        }
        if (p.row.action == ImportRow::Action::Add) {
            if (data.insert(p.write, p.row.number) == 0) return error_ = data.lastError(), std::nullopt;
        } else if (data.change(p.row.number, p.write) != AddressData::ChangeResult::Written) {
            error_ = data.lastError().isEmpty() ? QStringLiteral("the address %1 could not be changed").arg(p.row.number)
                                                : data.lastError();
            return std::nullopt;
        }
        ++done;
        if (progress && !progress(done, total)) return plan.cancelled = true, plan;
    }
    if (!tx.commit(&error_)) return std::nullopt;
    return plan;
}
