#include "exchange_command.h"

#include "address_export.h"
#include "address_import.h"
#include "database.h"
#include "exchange_conversion.h"

#include <cstdio>

namespace ExchangeCommand {
namespace {

void say(FILE *to, const QString &text) {
    const QByteArray utf8 = (text + QLatin1Char('\n')).toUtf8();
    std::fwrite(utf8.constData(), 1, static_cast<size_t>(utf8.size()), to);
}

int failed(const QString &message) {
    say(stderr, QStringLiteral("kelda-vasi: ") + message);
    return 1;
}


}  // namespace

int exportTo(const QString &formatName, const QString &path) {
    const std::optional<ExchangeFormat> format = exchangeFormatNamed(formatName);
    if (!format) return failed(QStringLiteral("--export takes vcard or csv, not \"%1\"").arg(formatName));
    if (path.isEmpty()) return failed(QStringLiteral("--export %1 needs the file to write").arg(formatName));
    AddressExport out(Database::connection());
    if (!out.writeFile(path, *format)) return failed(QStringLiteral("export to %1 failed: %2").arg(path, out.lastError()));
    say(stdout, QStringLiteral("Exported %1 addresses to %2 (%3).")
                    .arg(out.written())
                    .arg(path, *format == ExchangeFormat::VCard ? QStringLiteral("vCard 4.0") : QStringLiteral("CSV")));
    return 0;
}

int importFrom(const QString &path) {
    const ExchangeFile file = AddressImport::readFile(path);
    if (!file.error.isEmpty()) return failed(QStringLiteral("import failed: ") + file.error);
    AddressImport in(Database::connection());
    const std::optional<ImportPlan> plan = in.run(file);
    if (!plan) return failed(QStringLiteral("import of %1 failed, nothing was written: %2").arg(path, in.lastError()));

    say(stdout, QStringLiteral("Imported %1: %2 added, %3 updated, %4 not taken.")
                    .arg(path).arg(plan->added).arg(plan->updated).arg(plan->skipped));
    for (const NewEntry &e : plan->newEntries) {
        if (e.rows == 0) continue;
        QString entry = QStringLiteral("New %1: %2").arg(listTitle(e.table), e.name);
        if (!e.parentName.isEmpty()) entry += QStringLiteral(" (in %1)").arg(e.parentName);
        say(stdout, entry);
    }
    for (const QString &note : plan->notes) say(stdout, QStringLiteral("Not taken from the file: ") + note);
    for (const ImportRow &r : plan->rows) {
        const QString where = QStringLiteral("line %1 (%2)").arg(r.line).arg(r.name);
        if (r.action == ImportRow::Action::Skip)
            say(stderr, where + QStringLiteral(": not taken: ") + r.reasons.join(QLatin1String("; ")));
        else if (!r.notTaken.isEmpty())
            say(stdout, where + QStringLiteral(": taken without ") + r.notTaken.join(QLatin1String("; ")));
    }
    return plan->skipped > 0 ? 2 : 0;
}

}  // namespace ExchangeCommand
