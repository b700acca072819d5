// The address search and the save of the entry window, on an address book of 30,000 addresses
// that the benchmark makes itself (names, places, states and countries of typed Kannada
// syllables, unevenly spread as real ones are), in a SQLite file and on a PostgreSQL server
// (a throwaway cluster of the benchmark's own) one after the other.
//
// PrefixSearch/N: what the search window does for a place criterion of N glyph codes: find
// the addresses whose place begins with it (its codes or its letters), their numbers in Kannada
// order, and load the first match.
// LetterSearch/N: the same for a name criterion of the first N letters of a name, typed as a
// person types them (the last consonant bare, so its vowel sign and conjuncts come by letter).
// Target for both: under 20 ms; each benchmark's figure is held to its target at the end.
// SaveNew: one new address with every box filled, numbered and written on its own, as the
// entry window's save does (target: under 20 ms).
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QSqlDatabase>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <iterator>
#include <random>
#include <vector>

#include "address_data.h"
#include "app_engines.h"
#include "database.h"
#include "tovi_library.h"
#include "write_transaction.h"

namespace {

constexpr int kAddresses = 30000;

// Syllables as the keyboard engine types them (glyph codes).
const char *const kSyllables[] = {
    "P\xC0", "\xA3\xC0\xDF", "q\xC0", "\x51", "\xB8\xC0j", "\xBA\xCBz\xC0\xC4", "v\xC1", "\xAE\xC6\xE8",
    "\xAB\xC3", "\xB9z\xC0\xDD", "\xAA\xC0\xC4", "g\xC1", "\xA9\xC3", "\xA8\xC9", "U\xC0", "\xBA\xC1",
    "\xAA\xC9\xC4\xCA", "\xB8\xC0\xC6", "z\xC0", "P\xC9\xC6\xC3", "\xAF\xC1", "g\xC0", "\xBC\xC0", "Ai\xC0\xC4"};

class Book {
public:
    explicit Book(const QString &address) {
        QString error;
        if (!Database::open(address, &error)) {
            error_ = error.toStdString();
            return;
        }
        std::mt19937 random(2024);
        // Skewed choices: a few syllables and places are far more common than the rest.
        std::geometric_distribution<int> common(0.18);
        auto syllable = [&] { return QString::fromLatin1(kSyllables[common(random) % std::size(kSyllables)]); };
        auto word = [&](int syllables) {
            QString w;
            for (int i = 0; i < syllables; ++i) w += syllable();
            return w;
        };
        std::uniform_int_distribution<int> length(2, 5);
        std::vector<QString> places, states, countries;
        for (int i = 0; i < 400; ++i) places.push_back(word(length(random)));
        for (int i = 0; i < 12; ++i) states.push_back(word(3));
        for (int i = 0; i < 3; ++i) countries.push_back(word(2));

        QSqlDatabase db = Database::connection();
        AddressData addresses(db);
        WriteTransaction tx(db);
        tx.begin(&error);
        for (int i = 0; i < kAddresses; ++i) {
            AddressWrite w = sample(random, word(length(random)) + QLatin1Char(' ') + word(length(random)));
            const QString &place = places[common(random) % places.size()];
            w.assign(AddressColumn::Hcity, place);
            places_.push_back(place);
            w.assign(AddressColumn::Hstate, states[common(random) % states.size()]);
            w.assign(AddressColumn::Hcountry, countries[common(random) % countries.size()]);
            names_.push_back(w.name);
            if (addresses.insert(w) == 0) {
                error_ = addresses.lastError().toStdString();
                break;
            }
        }
        tx.commit(&error);
    }
    ~Book() { Database::close(); }

    const std::string &error() const { return error_; }
    // The place of every address, in the order they were made: searches for them come as
    // often as the places are common.
    const std::vector<QString> &places() const { return places_; }
    const std::vector<QString> &names() const { return names_; }

    // The glyph codes a person types for the first n consonants of a name: the name up to its
    // n-th consonant, without the vowel sign or conjunct that follows it there.
    static QString firstLetters(const QString &name, int n) {
        const QString unicode = ToviLibrary::glyphToUnicode(name).value_or(QString());
        QString out;
        int consonants = 0;
        for (const QChar c : unicode) {
            out += c;
            if (c.unicode() >= 0x0C95 && c.unicode() <= 0x0CB9 && ++consonants == n) break;
        }
        return ToviLibrary::unicodeToGlyph(out).value_or(QString());
    }

    // An address with every box filled.
    static AddressWrite sample(std::mt19937 &random, const QString &name) {
        AddressWrite w;
        w.name = name;
        w.assign(AddressColumn::Members, QString::fromLatin1("\xAA\xC0\xC4\xA3\xC9 \x51\n\xB8\xC0j"));
        w.assign(AddressColumn::Haddress, QString::fromLatin1("12, \xBA\xC1\xB8\xC0\xA3\xC0 g\xC0\xB9\xC0\xC3\n\xAA\xC0\xC4\xA3\xC9"));
        w.assign(AddressColumn::HpinCode, QStringLiteral("560001"));
        w.assign(AddressColumn::Hphone, QStringLiteral("080 2222 3333"));
        w.assign(AddressColumn::HeMail, QStringLiteral("someone@example.in"));
        w.assign(AddressColumn::Hfax, QStringLiteral("080 2222 3334"));
        w.assign(AddressColumn::Hpager, QStringLiteral("96"));
        w.assign(AddressColumn::Oaddress, QString::fromLatin1("P\xC0\xA3\xC0\xDF \xAB\xBC\xC1\xB8\xC0"));
        w.assign(AddressColumn::Otherinfor, QString::fromLatin1("\xB8\xC0j"));
        std::uniform_int_distribution<int> number(1, 40);
        for (AddressColumn c : {AddressColumn::Relation, AddressColumn::District, AddressColumn::Taluk,
                                AddressColumn::Prakara, AddressColumn::Upaprakara})
            w.assign(c, number(random));
        return w;
    }

private:
    std::vector<QString> places_;
    std::vector<QString> names_;
    std::string error_;
};

// Made in main, before the benchmarks run and while the application object lives.
Book *theBook = nullptr;
Book &book() { return *theBook; }

// Runs one search per iteration over the criteria in turn and keeps the mean time.
void Search(benchmark::State &state, AddressSearch column, const std::vector<QString> &criteria) {
    Book &b = book();
    if (!b.error().empty()) {
        state.SkipWithError(b.error().c_str());
        return;
    }
    AddressData addresses(Database::connection());
    size_t next = 0;
    long long matches = 0;
    for (auto _ : state) {
        const QString &prefix = criteria[next++ % criteria.size()];
        const std::optional<QVector<int>> ids = addresses.find(column, prefix);
        if (!ids || ids->isEmpty() || !addresses.load(ids->front())) {
            state.SkipWithError("a search found nothing where it should");
            return;
        }
        matches += ids->size();
    }
    state.counters["matches"] = benchmark::Counter(static_cast<double>(matches), benchmark::Counter::kAvgIterations);
}

void PrefixSearch(benchmark::State &state) {
    std::vector<QString> criteria;
    for (const QString &place : book().places()) criteria.push_back(place.left(static_cast<int>(state.range(0))));
    Search(state, AddressSearch::Place, criteria);
}

void LetterSearch(benchmark::State &state) {
    std::vector<QString> criteria;
    for (const QString &name : book().names()) criteria.push_back(Book::firstLetters(name, static_cast<int>(state.range(0))));
    Search(state, AddressSearch::Name, criteria);
}

void SaveNew(benchmark::State &state) {
    Book &b = book();
    if (!b.error().empty()) {
        state.SkipWithError(b.error().c_str());
        return;
    }
    AddressData addresses(Database::connection());
    std::mt19937 random(7);
    for (auto _ : state) {
        AddressWrite w = Book::sample(random, QString::fromLatin1("g\xC1\xAA\xC0\xC4 P\xC0\xA3\xC0\xDF"));
        w.assign(AddressColumn::Hcity, b.places().front());
        if (addresses.insert(w) == 0) {
            state.SkipWithError(addresses.lastError().toStdString().c_str());
            return;
        }
    }
}

}  // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    TargetReporter reporter({{"PrefixSearch/", 20}, {"LetterSearch/", 20}, {"SaveNew/", 20}});
    QTemporaryDir dir;
    BenchCluster cluster;
    const std::pair<const char *, QString> engines[] = {
        {"SQLite", dir.filePath(QStringLiteral("address.sqlite"))},
        {"PostgreSQL", cluster.started() ? cluster.address(QStringLiteral("records")) : QString()}};
    for (const auto &[engine, address] : engines) {
        if (address.isEmpty()) continue;
        Book b(address);
        theBook = &b;
        const std::string name = engine;
        benchmark::RegisterBenchmark(("PrefixSearch/" + name).c_str(), PrefixSearch)
            ->Arg(1)->Arg(2)->Arg(4)->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("LetterSearch/" + name).c_str(), LetterSearch)
            ->Arg(1)->Arg(2)->Arg(3)->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("SaveNew/" + name).c_str(), SaveNew)->Unit(benchmark::kMillisecond);
        benchmark::RunSpecifiedBenchmarks(&reporter);
        benchmark::ClearRegisteredBenchmarks();
    }
    reporter.printTargets();
    benchmark::Shutdown();
    return 0;
}
