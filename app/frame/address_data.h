// The queries of the address table addressh: one record by number, a new record, a change to
// a record, and the prefix search by name, place, state or country. Windows call these and
// never build SQL of their own.
//
// Values travel as bound parameters. A new record is numbered inside the statement that writes
// it, so two copies of the program saving at once get two numbers; a change writes only to a
// record that is still there.
#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QHash>
#include <QVariant>
#include <QVector>

#include <memory>
#include <optional>

// The columns of addressh that the entry window fills, in the order it reads them (id_no,
// Name and sortcol aside).
enum class AddressColumn {
    Members, Haddress, Hcity, HpinCode, Hstate, Hcountry, Hphone, HeMail, Hfax, Hpager, Oaddress,
    Otherinfor,
    // The five classification numbers (0: none).
    Relation, District, Taluk, Prakara, Upaprakara,
};
constexpr int kAddressColumnCount = static_cast<int>(AddressColumn::Upaprakara) + 1;
const char *addressColumnName(AddressColumn column);
bool isClassification(AddressColumn column);

// One row of addressh as read. A text column that holds null reads as a null QString.
struct AddressRecord {
    int id = 0;
    QString name;
    QString sortKey;
    QVariant values[kAddressColumnCount];

    QString text(AddressColumn c) const { return values[static_cast<int>(c)].toString(); }
    bool isNull(AddressColumn c) const { return values[static_cast<int>(c)].isNull(); }
    int number(AddressColumn c) const { return values[static_cast<int>(c)].toInt(); }
};

// What a save writes: the name (its sort key is made from it) and the columns to set. A column
// not set keeps its value: its default (null, or 0 for a number) in a new record, its stored
// value in a changed one.
struct AddressWrite {
    QString name;
    QVector<QPair<AddressColumn, QVariant>> set;

    void assign(AddressColumn c, const QVariant &value) { set.append({c, value}); }
};

// The columns the search looks in.
enum class AddressSearch { Place, State, Country, Name };

class AddressData {
public:
    explicit AddressData(QSqlDatabase db);

    // The record of that number; nullopt when there is none (or the query failed: lastError()
    // is then not empty).
    std::optional<AddressRecord> load(int id);
    // Every record, in the order of their numbers.
    std::optional<QVector<AddressRecord>> loadAll();

    // Writes a new record under the largest number plus 1 (1 in an empty table), taken when it
    // is written, or under the number given (which must be free). Returns the number, or 0 when
    // nothing was written.
    int insert(const AddressWrite &write, int number = 0);

    enum class ChangeResult { Written, Missing, Failed };
    // Rewrites the name, sort key and the set columns of record id. Missing: no record of that
    // number (deleted meanwhile); nothing was written.
    ChangeResult change(int id, const AddressWrite &write);

    // The numbers of the records whose column begins with the prefix, in sort order (sortcol,
    // then id_no). A value begins with it when it begins with exactly these glyph codes (no
    // case folding, no wildcard characters), or when it begins with the same Kannada letters:
    // the prefix's last consonant may carry any vowel sign or start any conjunct, however the
    // glyphs of the value are shaped ("ಕ" finds "ಕೆ. ಸುಬ್ಬಣ್ಣ", "ಕರ್" finds "ಕರ್ನಾಟಕ"). Names are
    // found through their sort keys, places, states and countries through their distinct
    // values. An empty (or null) prefix matches every value that is not null.
    std::optional<QVector<int>> find(AddressSearch column, const QString &prefix);

    // The text a sort key (as the sort columns hold it) of a value found by letters begins
    // with: the prefix's key, less the inherent vowel of a last consonant. Empty when the
    // prefix has no key.
    static QString letterKey(const QString &prefix);

    QString lastError() const { return error_; }

private:
    bool fail(const class QSqlQuery &query);
    std::optional<QVector<int>> findNames(const QString &prefix, const QString &key);
    std::optional<QVector<int>> findValues(AddressSearch column, const QString &prefix, const QString &key);
    // The range of every text that begins with the prefix: col >= the prefix and col < the
    // first text past them. Both engines compare text by its code points here (SQLite by its
    // UTF-8 bytes, the PostgreSQL columns in the "C" collation).
    static QVariantList prefixBounds(const QString &prefix);
    // The statement of that text, prepared on its first use; nullptr when it cannot be.
    class QSqlQuery *statement(const QString &sql);
    static QString selectSql();
    static AddressRecord readRecord(const class QSqlQuery &query);

    QSqlDatabase db_;
    QString error_;
    QHash<QString, std::shared_ptr<class QSqlQuery>> statements_;
};
