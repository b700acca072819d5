// The reference lists' data layer: numbering, saving by number, the duplicate check, sort keys
// and the rules that keep the addresses consistent when a list entry is deleted or moved.
#include <gtest/gtest.h>

#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>

#include <climits>

#include "app_test_support.h"

namespace {

const RefTable kAllTables[] = {RefTable::District, RefTable::Taluk, RefTable::Prakara,
                               RefTable::Upaprakara, RefTable::Relation};

class DataAccessTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(db.opened()) << db.error().toStdString(); }

    TestDatabase db;  // first: the data layer works on its connection
    AddressBookData data{Database::connection()};

    static QList<int> numbers(RefTable t) {
        QList<int> out;
        QSqlQuery q(Database::connection());
        q.exec(QStringLiteral("SELECT %1 FROM %2 ORDER BY 1").arg(refTableInfo(t).number, refTableInfo(t).table));
        while (q.next()) out << q.value(0).toInt();
        return out;
    }
    // Everything the cascades can touch, as one comparable text.
    static QString snapshot() {
        QString out;
        for (const char *sql : {"SELECT * FROM district", "SELECT * FROM taluk", "SELECT * FROM prakara",
                                "SELECT * FROM upaprakara", "SELECT * FROM addrelation",
                                "SELECT id_no, sl_no, districtno, Talukno, PrakaraNo, UpaPrakaraNo FROM addressh"}) {
            QSqlQuery q(Database::connection());
            q.exec(QString::fromLatin1(sql) + " ORDER BY 1");
            while (q.next())
                for (int i = 0; i < q.record().count(); ++i) out += q.value(i).toString() + '|';
            out += '\n';
        }
        return out;
    }
    void save(RefTable t, int number, const QString &name, int parent = 0) {
        SaveOutcome o = data.save(t, number, name, parent, SaveIntent::ByNumber);
        ASSERT_TRUE(o.ok) << data.lastError().toStdString();
    }
};

TEST_F(DataAccessTest, NumberingTakesTheLargestNumberPlusOne) {
    for (RefTable t : kAllTables) {
        SCOPED_TRACE(refTableInfo(t).table);
        EXPECT_EQ(data.nextNumber(t), 1) << "an empty table starts at 1";
        for (int n = 1; n <= 5; ++n) save(t, n, QStringLiteral("x%1").arg(n), 1);
        EXPECT_EQ(data.nextNumber(t), 6);
        ASSERT_TRUE(data.remove(t, 5));
        EXPECT_EQ(data.nextNumber(t), 5) << "the highest number is handed out again";
        save(t, 5, G("x5"), 1);
        ASSERT_TRUE(data.remove(t, 3));
        EXPECT_EQ(data.nextNumber(t), 6) << "a gap below the highest is not reused";
    }
    EXPECT_EQ(data.nextAddressNumber(), 1);
    ASSERT_TRUE(insertAddress(makeAddress(7, "n7", 0, 0, 0, 0, 0)));
    EXPECT_EQ(data.nextAddressNumber(), 8);
}

TEST_F(DataAccessTest, NumbersBeyondSixteenBitsAreOrdinaryNumbers) {
    save(RefTable::District, 32767, G("f\xAF\xC9\xE8"));
    EXPECT_EQ(data.nextNumber(RefTable::District), 32768);
    save(RefTable::District, 32768, G("v\xC1\xAE\xC6\xE8P\xEF"));
    EXPECT_EQ(numbers(RefTable::District), (QList<int>{32767, 32768}));
    // Past the largest number there is no next one.
    save(RefTable::District, INT_MAX, G("x"));
    EXPECT_EQ(data.nextNumber(RefTable::District), 0);
    EXPECT_FALSE(data.lastError().isEmpty());
}

TEST_F(DataAccessTest, SavingByNumberEditsOrAppendsExactlyThatRow) {
    save(RefTable::District, 1, G("C"));
    save(RefTable::District, 2, G("D"));
    save(RefTable::District, 1, G("E"));
    EXPECT_EQ(numbers(RefTable::District), (QList<int>{1, 2})) << "an existing number is edited";
    EXPECT_EQ(data.row(RefTable::District, 1)->name, G("E"));
    EXPECT_EQ(data.row(RefTable::District, 1)->sortKey, ModDeclare::SortKey(G("E")));
    save(RefTable::District, 42, G("F"));
    EXPECT_EQ(numbers(RefTable::District), (QList<int>{1, 2, 42})) << "a new number is appended as it is";
    EXPECT_FALSE(data.row(RefTable::District, 3).has_value());

    // Names are stored as typed, blanks and quotes included.
    save(RefTable::Relation, 1, G("  P\xC0'q\xC0  "));
    EXPECT_EQ(data.row(RefTable::Relation, 1)->name, G("  P\xC0'q\xC0  "));

    // The parent of a new second-level row is written with it; a save never moves the row.
    save(RefTable::Taluk, 3, G("v\xC1"), 2);
    EXPECT_TRUE(data.save(RefTable::Taluk, 3, G("v\xC1"), 1, SaveIntent::ByNumber).otherParent);
    EXPECT_EQ(data.row(RefTable::Taluk, 3)->parent, 2);
}

TEST_F(DataAccessTest, ANewEntryDoesNotOverwriteOneSavedUnderItsNumberMeanwhile) {
    const int handedOut = data.nextNumber(RefTable::Prakara);
    // Another copy of the program saves under the same number first.
    save(RefTable::Prakara, handedOut, G("first"));
    SaveOutcome o = data.save(RefTable::Prakara, handedOut, G("second"), 0, SaveIntent::NewEntry);
    ASSERT_TRUE(o.ok);
    EXPECT_TRUE(o.renumbered);
    EXPECT_EQ(o.number, handedOut + 1);
    EXPECT_EQ(data.row(RefTable::Prakara, handedOut)->name, G("first"));
    EXPECT_EQ(data.row(RefTable::Prakara, handedOut + 1)->name, G("second"));
    // A free number is kept as it is.
    o = data.save(RefTable::Prakara, 10, G("third"), 0, SaveIntent::NewEntry);
    EXPECT_TRUE(o.ok && !o.renumbered && o.number == 10);
    EXPECT_FALSE(data.save(RefTable::Prakara, 0, G("zero"), 0, SaveIntent::ByNumber).ok);
}

TEST_F(DataAccessTest, DuplicateCheckTrimsTheNewNameAndComparesExactly) {
    save(RefTable::District, 1, G("\xB8\xC0j"));
    save(RefTable::District, 2, G(" \xBA\xCBz\xC0\xC4 "));
    EXPECT_TRUE(*data.nameExists(RefTable::District, G("\xB8\xC0j")));
    EXPECT_TRUE(*data.nameExists(RefTable::District, G("   \xB8\xC0j  "))) << "the new name's blanks are trimmed";
    EXPECT_FALSE(*data.nameExists(RefTable::District, G("\xBA\xCBz\xC0\xC4"))) << "a stored name keeps its blanks";
    EXPECT_FALSE(*data.nameExists(RefTable::District, G("\xB8\xC0J"))) << "no case folding of glyph codes";
    EXPECT_FALSE(*data.nameExists(RefTable::District, G("\xB8\xC0j\xA0"))) << "byte 160 is a glyph, not a blank";
    EXPECT_FALSE(*data.nameExists(RefTable::District, G("\xB8\xC0%"))) << "no wildcards";
    EXPECT_FALSE(*data.nameExists(RefTable::District, G("   ")));
    save(RefTable::District, 3, G("a'b"));
    EXPECT_TRUE(*data.nameExists(RefTable::District, G("a'b"))) << "a quote is just a character";
    EXPECT_FALSE(*data.nameExists(RefTable::District, G("x' OR '1'='1")));

    // Taluks and sub-categories are unique within their parent only.
    save(RefTable::Taluk, 1, G("v\xC1\xAE\xC6\xE8P\xEF"), 1);
    EXPECT_TRUE(*data.nameExists(RefTable::Taluk, G("v\xC1\xAE\xC6\xE8P\xEF"), 1));
    EXPECT_FALSE(*data.nameExists(RefTable::Taluk, G("v\xC1\xAE\xC6\xE8P\xEF"), 2));
    save(RefTable::Upaprakara, 1, G("\xBA\xC0\xC4z\xC9\xDD"), 4);
    EXPECT_TRUE(*data.nameExists(RefTable::Upaprakara, G(" \xBA\xC0\xC4z\xC9\xDD"), 4));
    EXPECT_FALSE(*data.nameExists(RefTable::Upaprakara, G("\xBA\xC0\xC4z\xC9\xDD"), 5));
}

TEST_F(DataAccessTest, SortColumnsHoldTheHexKeyWithSingleDigitsBelowSixteen) {
    EXPECT_EQ(ModDeclare::SortKey(QString()), QString());
    // Bytes below 16 pass unchanged into the key and are written with one digit.
    EXPECT_EQ(ModDeclare::SortKey(G("\x05")), G("5"));
    EXPECT_EQ(ModDeclare::SortKey(G("\x0A")), G("A"));
    EXPECT_EQ(ModDeclare::SortKey(G("1 2")), G("312032"));
    // KA: glyphs 80 192, ISCII 179, key 201 182.
    EXPECT_EQ(ModDeclare::SortKey(G("P\xC0")), G("C9B6"));
    EXPECT_EQ(ModDeclare::SortKey(G("P\xC0\x05")), G("C9B65"));
    save(RefTable::District, 1, G("\x0A"));
    EXPECT_EQ(TestDatabase::scalar("SELECT sortcol FROM district WHERE districtno = 1").toString(), G("A"));
}

// ---- The cascades ---------------------------------------------------------------------------

class CascadeTest : public DataAccessTest {
protected:
    void SetUp() override {
        DataAccessTest::SetUp();
        seedLists();
        //         id  rel dist taluk prak upa
        ASSERT_TRUE(insertAddress(makeAddress(1, "n1", 1, 1, 10, 1, 10)));
        ASSERT_TRUE(insertAddress(makeAddress(2, "n2", 2, 1, 11, 2, 20)));
        ASSERT_TRUE(insertAddress(makeAddress(3, "n3", 1, 2, 20, 1, 0)));
    }
    void seedLists() {
        for (RefTable t : kAllTables) ASSERT_TRUE(data.remove(t, 10) && data.remove(t, 20));
        save(RefTable::District, 1, G("d1"));
        save(RefTable::District, 2, G("d2"));
        save(RefTable::Taluk, 10, G("t10"), 1);
        save(RefTable::Taluk, 11, G("t11"), 1);
        save(RefTable::Taluk, 20, G("t20"), 2);
        save(RefTable::Prakara, 1, G("p1"));
        save(RefTable::Prakara, 2, G("p2"));
        save(RefTable::Upaprakara, 10, G("u10"), 1);
        save(RefTable::Upaprakara, 20, G("u20"), 2);
        save(RefTable::Relation, 1, G("r1"));
        save(RefTable::Relation, 2, G("r2"));
    }
};

// Each delete resets the addresses that used the entry and takes the entries below it along;
// each move of a taluk or sub-category carries its addresses to its new parent.
TEST_F(CascadeTest, DeletesResetTheirAddressesAndMovesCarryThemAlong) {
    using L = QList<int>;
    //                 rel dist taluk prak upa: addresses 1, 2 and 3 as set up
    const L start[] = {{1, 1, 10, 1, 10}, {2, 1, 11, 2, 20}, {1, 2, 20, 1, 0}};
    const struct {
        RefTable table;
        int number;
        int moveTo;  // 0: delete; else move the entry to that parent
        int users;   // how many addresses use the entry
        L after[3];
        L leftNumbers;
    } cases[] = {
        {RefTable::District, 1, 0, 2, {{1, 0, 0, 1, 10}, {2, 0, 0, 2, 20}, start[2]}, {20}},
        {RefTable::Taluk, 10, 0, 1, {{1, 1, 0, 1, 10}, start[1], start[2]}, {11, 20}},
        {RefTable::Prakara, 1, 0, 2, {{1, 1, 10, 0, 0}, start[1], {1, 2, 20, 0, 0}}, {20}},
        {RefTable::Upaprakara, 20, 0, 1, {start[0], {2, 1, 11, 2, 0}, start[2]}, {10}},
        {RefTable::Relation, 1, 0, 2, {{0, 1, 10, 1, 10}, start[1], {0, 2, 20, 1, 0}}, {2}},
        {RefTable::Taluk, 10, 2, 1, {{1, 2, 10, 1, 10}, start[1], start[2]}, {10, 11, 20}},
        {RefTable::Upaprakara, 10, 2, 1, {{1, 1, 10, 2, 10}, start[1], start[2]}, {10, 20}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(refTableInfo(c.table).table) + " " + std::to_string(c.moveTo));
        seedLists();  // the lists and the addresses as they were
        for (int id = 1; id <= 3; ++id)
            ASSERT_TRUE(TestDatabase::exec("UPDATE addressh SET sl_no = ?, districtno = ?, Talukno = ?, PrakaraNo = ?, "
                                           "UpaPrakaraNo = ? WHERE id_no = ?",
                                           {start[id - 1][0], start[id - 1][1], start[id - 1][2], start[id - 1][3],
                                            start[id - 1][4], id}));
        EXPECT_EQ(data.addressCount(c.table, c.number), c.users);
        if (c.moveTo) {
            const MoveOutcome moved = data.move(c.table, c.number, c.moveTo);
            ASSERT_TRUE(moved.ok);
            EXPECT_EQ(moved.addresses, c.users);
        } else {
            ASSERT_TRUE(data.remove(c.table, c.number));
        }
        for (int id = 1; id <= 3; ++id) EXPECT_EQ(addressLinks(id), c.after[id - 1]) << "address " << id;
        const RefTable below = c.table == RefTable::District ? RefTable::Taluk
                               : c.table == RefTable::Prakara ? RefTable::Upaprakara : c.table;
        EXPECT_EQ(numbers(below), c.leftNumbers);
    }
}

TEST_F(CascadeTest, DeletingANumberNobodyUsesChangesNothing) {
    const QString before = snapshot();
    for (RefTable t : kAllTables) EXPECT_TRUE(data.remove(t, 99));
    EXPECT_EQ(snapshot(), before);
}

TEST_F(CascadeTest, ACascadeThatFailsHalfwayLeavesNothingChanged) {
    // The last step of deleting a district fails after the addresses and taluks were done.
    ASSERT_TRUE(TestDatabase::refuse("refuse", "BEFORE DELETE ON district"));
    const QString before = snapshot();
    EXPECT_FALSE(data.remove(RefTable::District, 1));
    EXPECT_TRUE(data.lastError().contains("refused")) << data.lastError().toStdString();
    EXPECT_EQ(snapshot(), before);

    // The same for a move whose carrying along fails: the taluk keeps its old district. A move
    // to a parent with an entry of that name is refused before anything changes.
    ASSERT_TRUE(TestDatabase::refuse("refuse2", "BEFORE UPDATE OF districtno ON addressh"));
    EXPECT_FALSE(data.move(RefTable::Taluk, 10, 2).ok);
    EXPECT_EQ(snapshot(), before);
    save(RefTable::Taluk, 21, G("t11"), 2);
    const QString beforeDuplicate = snapshot();
    EXPECT_TRUE(data.move(RefTable::Taluk, 11, 2).duplicate);
    EXPECT_EQ(snapshot(), beforeDuplicate);

    // And the connection is usable afterwards: no transaction is left open.
    ASSERT_TRUE(TestDatabase::forgive("refuse", "district"));
    ASSERT_TRUE(TestDatabase::forgive("refuse2", "addressh"));
    EXPECT_TRUE(data.remove(RefTable::District, 2));
    EXPECT_EQ(numbers(RefTable::District), (QList<int>{1}));
}

}  // namespace
