// The selections of the browse and reports windows: which addresses a set of filter lists or a
// text criterion picks, in which order, and what the report table receives of each.
#include <gtest/gtest.h>

#include <QSqlQuery>

#include <algorithm>

#include "address_selection.h"
#include "app_test_support.h"

namespace {

class AddressSelectionTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(db.opened()) << db.error().toStdString(); }

    QVector<int> ids(const AddressConditions &conditions) {
        QVector<int> out;
        const auto rows = data.gridRows(conditions);
        EXPECT_TRUE(rows.has_value()) << data.lastError().toStdString();
        if (rows)
            for (const GridRow &r : *rows) out << r.id;
        return out;
    }

    TestDatabase db;
    AddressListData data{Database::connection()};
};

// Every address with each of the five numbers taking the values 0, 1 and 2.
TEST_F(AddressSelectionTest, EachSensibleSetOfListsFiltersByExactlyItsListsAndEveryOtherSetListsAll) {
    QVector<TestAddress> all;
    ASSERT_TRUE(TestDatabase::exec("BEGIN"));
    for (int i = 0; i < 243; ++i) {
        const TestAddress a = makeAddress(i + 1, kannadaName(i), i / 9 % 3, i % 3, i / 3 % 3, i / 27 % 3, i / 81 % 3);
        ASSERT_TRUE(insertAddress(a));
        all << a;
    }
    ASSERT_TRUE(TestDatabase::exec("COMMIT"));
    // Kannada order: by sort key, the number breaking ties.
    std::sort(all.begin(), all.end(), [](const TestAddress &x, const TestAddress &y) {
        const QString kx = ModDeclare::SortKey(x.name), ky = ModDeclare::SortKey(y.name);
        return kx != ky ? kx < ky : x.id < y.id;
    });

    int sensible = 0;
    for (int set = 0; set < 32; ++set) {
        ListFilters f;
        f.districtSet = set & 1;
        f.talukSet = set & 2;
        f.relationSet = set & 4;
        f.prakaraSet = set & 8;
        f.upaprakaraSet = set & 16;
        f.district = 1, f.taluk = 2, f.relation = 1, f.prakara = 2, f.upaprakara = 1;
        // A taluk belongs with its district, a sub-category with its category; no list at all
        // selects nothing in particular.
        const bool makesSense = set != 0 && (!f.talukSet || f.districtSet) && (!f.upaprakaraSet || f.prakaraSet);
        QVector<int> expected;
        for (const TestAddress &a : all) {
            const bool meets = !makesSense || ((!f.districtSet || a.district == 1) && (!f.talukSet || a.taluk == 2) &&
                                               (!f.relationSet || a.relation == 1) && (!f.prakaraSet || a.prakara == 2) &&
                                               (!f.upaprakaraSet || a.upaprakara == 1));
            if (meets) expected << a.id;
        }
        const std::optional<AddressConditions> conditions = listConditions(f);
        EXPECT_EQ(conditions.has_value(), makesSense) << "lists " << set;
        EXPECT_EQ(ids(conditions.value_or(AddressConditions())), expected) << "lists " << set;
        if (conditions) {
            ++sensible;
            EXPECT_EQ(conditions->size(), __builtin_popcount(set)) << "lists " << set;
        }
    }
    EXPECT_EQ(sensible, 17);
}

TEST_F(AddressSelectionTest, GridRowsCarryTheCategoryNamesWhereTheyExist) {
    AddressBookData ref(Database::connection());
    ASSERT_TRUE(ref.save(RefTable::Prakara, 4, G("P\xC1g\xC0\xE5"), 0, SaveIntent::NewEntry).ok);
    ASSERT_TRUE(ref.save(RefTable::Upaprakara, 9, G("\xBA\xC0\xC4z\xC9\xDD"), 4, SaveIntent::NewEntry).ok);
    TestAddress withCategory = makeAddress(1, G("P\xC0"), 0, 0, 0, 4, 9);
    withCategory.hcity = G("Hg\xC0\xC4");
    withCategory.hphone = "22 333";
    ASSERT_TRUE(insertAddress(withCategory));
    // A category that was deleted in the meantime, and none at all.
    ASSERT_TRUE(insertAddress(makeAddress(2, G("g\xC1"), 0, 0, 0, 7, 8)));
    ASSERT_TRUE(insertAddress(makeAddress(3, G("\xAB\xC3"))));
    const auto rows = data.gridRows({});
    ASSERT_TRUE(rows && rows->size() == 3);
    const GridRow &first = *std::find_if(rows->begin(), rows->end(), [](const GridRow &r) { return r.id == 1; });
    EXPECT_EQ(first.name, G("P\xC0"));
    EXPECT_EQ(first.prakaraName, G("P\xC1g\xC0\xE5"));
    EXPECT_EQ(first.upaprakaraName, G("\xBA\xC0\xC4z\xC9\xDD"));
    EXPECT_EQ(first.phone, "22 333");
    EXPECT_EQ(first.place, G("Hg\xC0\xC4"));
    for (const GridRow &r : *rows)
        if (r.id != 1) {
            EXPECT_TRUE(r.prakaraName.isEmpty() && r.upaprakaraName.isEmpty()) << r.id;
        }

    ASSERT_TRUE(data.gridRow(2).has_value());
    EXPECT_FALSE(data.gridRow(99).has_value());
    EXPECT_TRUE(data.lastError().isEmpty());
    EXPECT_TRUE(data.removeAddress(2));
    EXPECT_FALSE(data.gridRow(2).has_value());
    EXPECT_EQ(ids({}).size(), 2);
}

TEST_F(AddressSelectionTest, TextCriteriaMatchExactlyTheFirstBoxThatIsNotBlank) {
    const QString state = G("\x4B\xC0\xA3\xC0\xDFq\xC0");  // a state name
    TestAddress a1 = makeAddress(1, G("P\xC0")), a2 = makeAddress(2, G("g\xC1")), a3 = makeAddress(3, G("O'\xAB\xC3"));
    a1.hcity = G("Hg\xC0\xC4");
    a1.hstate = state;
    a1.hcountry = G("\xC9\xC3\xB1\xC0");
    a2.hcity = G("Hg\xC0\xC4j");
    a2.hstate = state + " ";
    a3.hstate = G("\x4B\xC0");
    a3.hcountry = G("\xC9\xC3\xB1\xC0");
    for (const TestAddress &a : {a1, a2, a3}) ASSERT_TRUE(insertAddress(a));

    auto pick = [&](TextCriteria t) { return ids(textConditions(t).value_or(AddressConditions{{"id_no", -1}})); };
    // Exact, not a prefix; the text as typed, so a trailing blank matches only a trailing blank.
    EXPECT_EQ(pick({{}, {}, state, {}}), QVector<int>{1});
    EXPECT_EQ(pick({{}, {}, state + " ", {}}), QVector<int>{2});
    EXPECT_EQ(pick({{}, {}, G("\x4B"), {}}), QVector<int>{});
    EXPECT_EQ(pick({{}, {}, {}, G("Hg\xC0\xC4")}), QVector<int>{1});
    // A quote is a character of the name like any other.
    EXPECT_EQ(pick({{}, G("O'\xAB\xC3"), {}, {}}), QVector<int>{3});
    // Country before name before state before place; a box of blanks counts as empty.
    EXPECT_EQ(pick({G("\xC9\xC3\xB1\xC0"), G("g\xC1"), state, G("Hg\xC0\xC4j")}).size(), 2);
    EXPECT_EQ(pick({G("   "), G("g\xC1"), state, {}}), QVector<int>{2});
    EXPECT_EQ(pick({{}, {}, G("  "), G("Hg\xC0\xC4j")}), QVector<int>{2});
    EXPECT_FALSE(textConditions({G(" "), {}, {}, {}}).has_value());
    // The leading blank of a name typed that way is kept for the match.
    EXPECT_EQ(pick({{}, G(" g\xC1"), {}, {}}), QVector<int>{});
}

// What a row of temp holds, as one comparable text: address | PIN | place | phone | e-mail |
// category | sub-category, with "-" for null.
QString tempRow(const QString &name) {
    QSqlQuery q(Database::connection());
    q.prepare("SELECT haddress, hpin_code, hcity, hphone, he_mail, ojob, odept FROM temp WHERE Name = ?");
    q.addBindValue(name);
    if (!q.exec() || !q.next()) return QStringLiteral("missing");
    QStringList parts;
    for (int i = 0; i < 7; ++i) parts << (q.value(i).isNull() ? QStringLiteral("-") : q.value(i).toString());
    return parts.join(QLatin1Char('|'));
}

TEST_F(AddressSelectionTest, TheReportTableTakesTheChosenAddressOrForLabelsTheOther) {
    AddressBookData ref(Database::connection());
    ASSERT_TRUE(ref.save(RefTable::Prakara, 1, G("P\xC1"), 0, SaveIntent::NewEntry).ok);
    ASSERT_TRUE(ref.save(RefTable::Upaprakara, 1, G("\xBA\xC0"), 1, SaveIntent::NewEntry).ok);
    TestAddress onlyFirst = makeAddress(1, "first"), onlySecond = makeAddress(2, "second"), both = makeAddress(3, "both");
    onlyFirst.haddress = "H1";
    onlyFirst.hpin_code = "560001";
    onlyFirst.hcity = "C1";
    onlySecond.oaddress = "O2";
    onlySecond.hpin_code = "560002";  // a PIN code belongs to the first address
    onlySecond.hcity = "C2";
    both.haddress = "H3";
    both.oaddress = "O3";
    both.hcity = "C3";
    both.hphone = "080 1";
    both.he_mail = "a@b.in";
    both.prakara = 1;
    both.upaprakara = 1;
    for (const TestAddress &a : {onlyFirst, onlySecond, both}) ASSERT_TRUE(insertAddress(a));

    struct Case {
        ReportKind kind;
        AddressChoice choice;
        const char *first, *second, *both;
    };
    const Case cases[] = {
        {ReportKind::Labels, AddressChoice::First, "H1|560001|C1|-|-|-|-", "O2|-|-|-|-|-|-", "H3|-|C3|-|-|-|-"},
        {ReportKind::Labels, AddressChoice::Second, "H1|560001|C1|-|-|-|-", "O2|-|-|-|-|-|-", "O3|-|-|-|-|-|-"},
        {ReportKind::GeneralList, AddressChoice::First, "H1|560001|C1|-|-|-|-", "-|560002|C2|-|-|-|-",
         "H3|-|C3|080 1|a@b.in|P\xC1|\xBA\xC0"},
        {ReportKind::GeneralList, AddressChoice::Second, "-|-|-|-|-|-|-", "O2|-|-|-|-|-|-",
         "O3|-|-|080 1|a@b.in|P\xC1|\xBA\xC0"},
    };
    for (const Case &c : cases) {
        QVector<QPair<int, int>> progress;
        EXPECT_EQ(data.fillReportTable({}, c.kind, c.choice, [&](int n, int total) { progress.append({n, total}); }), 3) << data.lastError().toStdString();
        const QString which = QStringLiteral("%1/%2").arg(int(c.kind)).arg(int(c.choice));
        EXPECT_EQ(tempRow("first"), G(c.first)) << which.toStdString();
        EXPECT_EQ(tempRow("second"), G(c.second)) << which.toStdString();
        EXPECT_EQ(tempRow("both"), G(c.both)) << which.toStdString();
        EXPECT_EQ(progress, (QVector<QPair<int, int>>{{0, 3}, {1, 3}, {2, 3}, {3, 3}}));
    }
    EXPECT_EQ(TestDatabase::scalar("SELECT count(*) FROM temp").toInt(), 3);

    // Rows come out in sort order with their sort keys; an empty selection leaves temp empty.
    const auto rows = data.reportRows();
    ASSERT_TRUE(rows && rows->size() == 3);
    EXPECT_TRUE(std::is_sorted(rows->begin(), rows->end(),
                               [](const ReportRow &a, const ReportRow &b) { return a.sortKey < b.sortKey; }));
    EXPECT_EQ(rows->at(0).sortKey, ModDeclare::SortKey(rows->at(0).name));
    EXPECT_EQ(data.fillReportTable({{"id_no", 42}}, ReportKind::Labels, AddressChoice::First), 0);
    EXPECT_EQ(TestDatabase::scalar("SELECT count(*) FROM temp").toInt(), 0);
}

TEST_F(AddressSelectionTest, AFailedCopyLeavesTheLastReportTableAsItWas) {
    ASSERT_TRUE(insertAddress(makeAddress(1, G("P\xC0"))));
    ASSERT_EQ(data.fillReportTable({}, ReportKind::Labels, AddressChoice::First), 1);
    // A condition on a column that does not exist makes the selection fail halfway.
    EXPECT_EQ(data.fillReportTable({{"no_such_column", 1}}, ReportKind::Labels, AddressChoice::First), -1);
    EXPECT_FALSE(data.lastError().isEmpty());
    EXPECT_EQ(TestDatabase::scalar("SELECT count(*) FROM temp").toInt(), 1);
    // And the database is usable afterwards: no transaction was left open.
    EXPECT_EQ(data.fillReportTable({}, ReportKind::GeneralList, AddressChoice::First), 1);
}

}  // namespace
