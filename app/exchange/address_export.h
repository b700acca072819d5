// Writing addresses out for other programs: every address, or the ones chosen, in the order of
// their numbers, as vCard 4.0 or CSV.
#pragma once

#include <QByteArray>
#include <QSqlDatabase>
#include <QString>
#include <QVector>

#include <functional>
#include <optional>

enum class ExchangeFormat { VCard, Csv };

// "vcard" or "csv" (any case); nullopt for anything else.
std::optional<ExchangeFormat> exchangeFormatNamed(const QString &name);

class AddressExport {
public:
    explicit AddressExport(QSqlDatabase db);

    // The file's contents: the addresses of those numbers (every address when none are given);
    // progress(written, total) after each. nullopt when the database or the bridge fails.
    std::optional<QByteArray> write(ExchangeFormat format, const QVector<int> &numbers = {},
                                    const std::function<void(int, int)> &progress = {});
    // The same into a file, which is replaced only once it is whole.
    bool writeFile(const QString &path, ExchangeFormat format, const QVector<int> &numbers = {},
                   const std::function<void(int, int)> &progress = {});

    int written() const { return written_; }
    QString lastError() const { return error_; }

private:
    QSqlDatabase db_;
    int written_ = 0;
    QString error_;
};
