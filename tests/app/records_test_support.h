// What the tests of the address windows add to the reference windows' test support: picking
// from lists, the reference entries the addresses point at, and reading addresses back.
#pragma once

#include <algorithm>
#include <functional>

#include "address_data.h"
#include "shared_module.h"
#include "reference_test_support.h"

namespace Typed {
inline QString rAma() { return G("g\xC1\xAA\xC0\xC4"); }
inline QString ka() { return G("P\xC0"); }  // the key "k"
inline QString ki() { return G("\x51"); }
inline QString gubbi() { return G("U\xC0\xC4\xA9\xE2"); }
inline QString mane() { return G("\xAA\xC0\xC4\xA3\xC9"); }
inline QString kachEri() { return G("P\xC0" "b\xC9\xC3j"); }
}  // namespace Typed

// Picks the item of that text from a list with the arrow keys, each step a pick.
inline bool pickItem(GlyphComboBox *list, const QString &glyphs) {
    list->setFocus();
    int target = -1;
    for (int i = 0; i < list->count(); ++i)
        if (list->itemGlyphText(i) == glyphs) target = i;
    if (target < 0) return false;
    while (list->currentIndex() > target) QTest::keyClick(list, Qt::Key_Up);
    while (list->currentIndex() < target) QTest::keyClick(list, Qt::Key_Down);
    return list->text() == glyphs;
}

inline QStringList itemTexts(const GlyphComboBox *list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i) out << list->itemGlyphText(i);
    return out;
}

inline QStringList inSortOrder(QStringList names) {
    std::sort(names.begin(), names.end(),
              [](const QString &a, const QString &b) { return ModDeclare::SortKey(a) < ModDeclare::SortKey(b); });
    return names;
}

// Districts tumakUru (1: taluks tumakUru 11, gubbi 12) and mYsUru (2: hAsana 13); category
// bIdara (21: sub-categories kOlAra 31, beLagAvi 32); relations mane (41) and kachEri (42).
inline bool addReferenceLists() {
    AddressBookData data = ModDeclare::Data();
    const struct {
        RefTable table;
        int number;
        QString name;
        int parent;
    } rows[] = {
        {RefTable::District, 1, Typed::tumakUru(), 0}, {RefTable::District, 2, Typed::mYsUru(), 0},
        {RefTable::Taluk, 11, Typed::tumakUru(), 1},   {RefTable::Taluk, 12, Typed::gubbi(), 1},
        {RefTable::Taluk, 13, Typed::hAsana(), 2},     {RefTable::Prakara, 21, Typed::bIdara(), 0},
        {RefTable::Upaprakara, 31, Typed::kOlAra(), 21}, {RefTable::Upaprakara, 32, Typed::beLagAvi(), 21},
        {RefTable::Relation, 41, Typed::mane(), 0},    {RefTable::Relation, 42, Typed::kachEri(), 0},
    };
    for (const auto &r : rows)
        if (!data.save(r.table, r.number, r.name, r.parent, SaveIntent::ByNumber).ok) return false;
    return true;
}

// Runs step on the next modal window that is neither of the two dialogs (a reference window
// opened from a "..." button), as soon as it shows.
inline void onNextReferenceWindow(std::function<void(QWidget *)> step) {
    auto *poll = new QTimer;
    poll->setInterval(5);
    QObject::connect(poll, &QTimer::timeout, [poll, step] {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal || qobject_cast<book3 *>(modal) || qobject_cast<book4 *>(modal)) return;
        poll->deleteLater();
        poll->stop();
        step(modal);
    });
    poll->start();
}

// One column of an address, or "<none>" when there is no such address.
inline QVariant column(int id, const char *name) {
    QSqlQuery q(Database::connection());
    q.prepare(QStringLiteral("SELECT %1 FROM addressh WHERE id_no = ?").arg(QLatin1String(name)));
    q.addBindValue(id);
    if (!q.exec() || !q.next()) return QStringLiteral("<none>");
    return q.value(0);
}

inline int addressCount() { return TestDatabase::scalar("SELECT count(*) FROM addressh").toInt(); }

// Saves an address through the data layer; returns its number.
inline int saveAddress(const QString &name, const QVector<QPair<AddressColumn, QVariant>> &values) {
    AddressWrite w;
    w.name = name;
    w.set = values;
    return AddressData(Database::connection()).insert(w);
}
