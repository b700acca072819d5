#include "address_export.h"

#include "csv_format.h"
#include "exchange_conversion.h"
#include "vcard_format.h"

#include <QSaveFile>

#include <algorithm>

std::optional<ExchangeFormat> exchangeFormatNamed(const QString &name) {
    if (name.compare(QLatin1String("vcard"), Qt::CaseInsensitive) == 0) return ExchangeFormat::VCard;
    if (name.compare(QLatin1String("csv"), Qt::CaseInsensitive) == 0) return ExchangeFormat::Csv;
    return std::nullopt;
}

AddressExport::AddressExport(QSqlDatabase db) : db_(db) {}

std::optional<QByteArray> AddressExport::write(ExchangeFormat format, const QVector<int> &numbers,
                                               const std::function<void(int, int)> &progress) {
    written_ = 0;
    error_.clear();
    AddressBookData refData(db_);
    ReferenceLists lists;
    if (!lists.load(refData, &error_)) return std::nullopt;

    AddressData data(db_);
    QVector<AddressRecord> records;
    if (numbers.isEmpty()) {
        auto all = data.loadAll();
        if (!all) return error_ = data.lastError(), std::nullopt;
        records = std::move(*all);
    } else {
        QVector<int> sorted = numbers;
        std::sort(sorted.begin(), sorted.end());
        sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
        for (int n : sorted) {
            auto one = data.load(n);
            if (!one && !data.lastError().isEmpty()) return error_ = data.lastError(), std::nullopt;
            if (one) records.append(*one);  // deleted meanwhile: nothing to write
        }
    }

    QByteArray out = format == ExchangeFormat::Csv ? CsvFormat::header() : QByteArray();
    out.reserve(records.size() * 600);
    if (progress) progress(0, records.size());
    for (const AddressRecord &a : records) {
        const std::optional<ExchangeRecord> r = toExchange(a, lists, &error_);
        if (!r) return std::nullopt;
        out += format == ExchangeFormat::Csv ? CsvFormat::row(*r) : VCardFormat::write(*r);
        ++written_;
        if (progress) progress(written_, records.size());
    }
    return out;
}

bool AddressExport::writeFile(const QString &path, ExchangeFormat format, const QVector<int> &numbers,
                              const std::function<void(int, int)> &progress) {
    const std::optional<QByteArray> bytes = write(format, numbers, progress);
    if (!bytes) return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(*bytes) != bytes->size() || !file.commit()) {
        error_ = QStringLiteral("%1: %2").arg(path, file.errorString());
        written_ = 0;
        return false;
    }
    return true;
}
