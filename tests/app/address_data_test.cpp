// The address table's data layer: numbering at save time, writing only what is set, changes
// to records that are gone, and the prefix search.
#include <gtest/gtest.h>

#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>

#include <algorithm>

#include "app_test_support.h"

namespace {

class AddressDataTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(db.opened()) << db.error().toStdString(); }

    TestDatabase db;
    AddressData data{Database::connection()};

    // A record with a name and a place; returns its number.
    int add(const QString &name, const QString &place = QString()) {
        AddressWrite w;
        w.name = name;
        if (!place.isNull()) w.assign(AddressColumn::Hcity, place);
        return data.insert(w);
    }
    static QList<int> ids() {
        QList<int> out;
        QSqlQuery q(Database::connection());
        q.exec("SELECT id_no FROM addressh ORDER BY id_no");
        while (q.next()) out << q.value(0).toInt();
        return out;
    }
    // The names of records, in the order of their numbers.
    static QStringList namesOf(const QVector<int> &numbers) {
        QStringList out;
        for (int id : numbers) out << TestDatabase::scalar("SELECT Name FROM addressh WHERE id_no = ?", {id}).toString();
        return out;
    }
    QStringList placeMatches(const QString &prefix) {
        const auto found = data.find(AddressSearch::Place, prefix);
        return found ? namesOf(*found) : QStringList{"<failed>"};
    }
};

TEST_F(AddressDataTest, NumbersTheLargestPlusOneWhenWritten) {
    EXPECT_EQ(add(G("a")), 1);
    for (int i = 2; i <= 5; ++i) EXPECT_EQ(add(G("a")), i);
    ASSERT_TRUE(TestDatabase::exec("DELETE FROM addressh WHERE id_no = 5"));
    EXPECT_EQ(add(G("b")), 5);  // the highest number is free again
    ASSERT_TRUE(TestDatabase::exec("DELETE FROM addressh WHERE id_no = 3"));
    EXPECT_EQ(add(G("c")), 6);  // a gap below is not filled
    EXPECT_EQ(ids(), (QList<int>{1, 2, 4, 5, 6}));
}

TEST_F(AddressDataTest, ANewRecordNeverTakesTheNumberAnotherCopySaved) {
    ASSERT_EQ(add(G("mine")), 1);
    // Another copy of the program, with its own connection to the same file, saves next.
    {
        ASSERT_TRUE(db.openOther("other-copy"));
        QSqlDatabase other = QSqlDatabase::database("other-copy");
        AddressData theirs(other);
        AddressWrite w;
        w.name = G("theirs");
        EXPECT_EQ(theirs.insert(w), 2);
        other.close();
    }
    QSqlDatabase::removeDatabase("other-copy");
    EXPECT_EQ(add(G("mine again")), 3);
    EXPECT_EQ(TestDatabase::scalar("SELECT Name FROM addressh WHERE id_no = 2").toString(), G("theirs"));
}

// A new record gets what is set (null text, number 0 for the rest); a change rewrites what it
// sets, clears what it sets to null, and keeps the rest.
TEST_F(AddressDataTest, WritesWhatIsSetAndAChangeKeepsTheRest) {
    AddressWrite w;
    w.name = G(" g\xC1\xAA\xC0\xC4 ");  // stored as typed, blanks and all
    w.assign(AddressColumn::Hcity, G("P\xC0"));
    w.assign(AddressColumn::HeMail, G("rama@example.in"));
    w.assign(AddressColumn::District, 4);
    const int id = data.insert(w);
    ASSERT_EQ(id, 1);
    auto r = data.load(id);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->name, w.name);
    EXPECT_EQ(r->sortKey, ModDeclare::SortKey(w.name));
    EXPECT_EQ(r->text(AddressColumn::Hcity), G("P\xC0"));
    EXPECT_EQ(r->number(AddressColumn::District), 4);
    EXPECT_TRUE(r->isNull(AddressColumn::Hstate));
    EXPECT_EQ(r->number(AddressColumn::Relation), 0);
    EXPECT_FALSE(data.load(2));
    EXPECT_TRUE(data.lastError().isEmpty());
    AddressWrite change;
    change.name = G("b");
    change.assign(AddressColumn::Hphone, G("34"));
    change.assign(AddressColumn::Hcity, QVariant());
    ASSERT_EQ(data.change(id, change), AddressData::ChangeResult::Written);
    EXPECT_EQ(data.change(id + 1, change), AddressData::ChangeResult::Missing);
    r = data.load(id);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->sortKey, ModDeclare::SortKey(G("b")));
    EXPECT_EQ(r->text(AddressColumn::Hphone), G("34"));
    EXPECT_TRUE(r->isNull(AddressColumn::Hcity));
    EXPECT_EQ(r->text(AddressColumn::HeMail), G("rama@example.in"));
    EXPECT_EQ(r->number(AddressColumn::District), 4);
}

TEST_F(AddressDataTest, AFailedWriteSaysSo) {
    ASSERT_TRUE(TestDatabase::refuse("no_writes", "BEFORE INSERT ON addressh"));
    EXPECT_EQ(add(G("a")), 0);
    EXPECT_TRUE(data.lastError().contains("refused"));
    ASSERT_TRUE(TestDatabase::forgive("no_writes", "addressh"));
    const int id = add(G("a"));
    ASSERT_TRUE(TestDatabase::refuse("no_changes", "BEFORE UPDATE ON addressh"));
    AddressWrite change;
    change.name = G("b");
    EXPECT_EQ(data.change(id, change), AddressData::ChangeResult::Failed);
}

// Places of four records: a prefix finds those that begin with its glyph codes or with its
// letters, in the order of the names' sort keys, whatever the order they were saved in.
TEST_F(AddressDataTest, APrefixFindsEveryValueThatBeginsWithItsCodesOrItsLetters) {
    add(G("q\xC0"), G("P\xC0g\xC0"));        // DA, place KA-RA
    add(G("P\xC0"), G("P\xC1"));             // KA, place KAA
    add(G("\x51"), G("Pg\xC0"));             // KI, place KA-RA in other glyphs
    add(G("v\xC0"), G("g\xC0P\xC0"));        // TA, place RA-KA: does not begin with K
    add(G("\xA8\xC1"), QString());           // no place at all
    const QStringList allK = inSortOrder({G("P\xC0"), G("\x51"), G("q\xC0")});
    EXPECT_EQ(placeMatches(G("P")), allK);
    // KA as typed (its glyph codes begin only KA-RA) is the letter K, whatever follows it.
    EXPECT_EQ(placeMatches(G("P\xC0")), allK);
    EXPECT_EQ(placeMatches(G("P\xC0g\xC0")), inSortOrder({G("\x51"), G("q\xC0")}));  // the whole value
    EXPECT_EQ(placeMatches(G("P\xC0g\xC0P")), QStringList{});          // longer than the value
    EXPECT_EQ(placeMatches(G("z")), QStringList{});
    // No prefix at all, empty or null, matches every place there is.
    EXPECT_EQ(placeMatches(G("")).size(), 4);
    EXPECT_EQ(placeMatches(QString()).size(), 4);
}

// Names by their letters: the sort keys find what the glyph shapes hide.
TEST_F(AddressDataTest, ANameIsFoundByItsFirstLetters) {
    const QString subbanna = G("P\xC9. \xB8\xC0\xC4\xA7\xE2t\xC0\xDA");  // ke. subbaNNa
    const QString karnataka = G("P\xC0\xA3\xC1\xF0lP\xC0");                  // karnATaka
    const QString kannada = G("P\xC0\xA3\xC0\xDFq\xC0");                     // kannaDa
    for (const QString &name : {subbanna, karnataka, kannada, G("g\xC0P\xC0")}) add(name);
    const auto names = [&](const QString &prefix) {
        const auto found = data.find(AddressSearch::Name, prefix);
        return found ? namesOf(*found) : QStringList{"<failed>"};
    };
    EXPECT_EQ(names(G("P\xC0")), inSortOrder({subbanna, karnataka, kannada}));  // "ka"
    EXPECT_EQ(names(G("P\xC0g\xEF")), QStringList{karnataka});                 // "kar"
    EXPECT_EQ(names(G("P\xC9.")), QStringList{subbanna});                       // the codes as stored
    // "kan": kannaDa by its letters, karnATaka by its codes (its "rnA" is NA, AA, then the repha).
    EXPECT_EQ(names(G("P\xC0\xA3")), inSortOrder({kannada, karnataka}));
}

TEST_F(AddressDataTest, ThePrefixIsTakenByteForByte) {
    add(G("1"), G("it's"));
    add(G("2"), G("it%s"));
    add(G("3"), G("it_s"));
    add(G("4"), G("its"));
    add(G("5"), G("It's"));
    add(G("6"), G(" it"));
    add(G("7"), G("\xFF\xFF"));
    add(G("8"), G("\xFF\x41"));
    // A quote is a character; so are the wildcards of LIKE. "it" and "It" are two shapes of one
    // letter.
    EXPECT_EQ(placeMatches(G("it'")), inSortOrder({G("1"), G("5")}));
    EXPECT_EQ(placeMatches(G("it%")), QStringList{G("2")});
    EXPECT_EQ(placeMatches(G("it_")), QStringList{G("3")});
    EXPECT_EQ(placeMatches(G("it*")), QStringList{});
    EXPECT_EQ(placeMatches(G(" ")), QStringList{G("6")});  // a leading blank counts
    // The highest glyph code, at the end of the prefix and inside it.
    EXPECT_EQ(placeMatches(G("\xFF")), inSortOrder({G("7"), G("8")}));
    EXPECT_EQ(placeMatches(G("\xFF\xFF")), QStringList{G("7")});
}

}  // namespace
