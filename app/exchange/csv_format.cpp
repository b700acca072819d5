#include "csv_format.h"

#include "vcard_format.h"


namespace CsvFormat {
namespace {

const char kNumberTitle[] = "Number";

QString quoted(const QString &value) {
    QString v = value;
    v.remove(QLatin1Char('\r'));
    if (!v.contains(QLatin1Char(',')) && !v.contains(QLatin1Char('"')) && !v.contains(QLatin1Char('\n'))) return v;
    v.replace(QLatin1Char('"'), QLatin1String("\"\""));
    v.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    return QLatin1Char('"') + v + QLatin1Char('"');
}

QByteArray line(const QStringList &values) {
    QStringList cells;
    for (const QString &v : values) cells << quoted(v);
    return (cells.join(QLatin1Char(',')) + QLatin1String("\r\n")).toUtf8();
}

// One record of the text: its values and the line it begins on.
struct Row {
    QStringList values;
    int line = 0;
    bool unclosedQuote = false;
};

QVector<Row> rowsOf(const QString &text) {
    QVector<Row> rows;
    Row row;
    row.line = 1;
    QString value;
    bool quoted = false, wasQuoted = false;
    int lineNumber = 1;
    auto endValue = [&] {
        row.values << value;
        value.clear();
        wasQuoted = false;
    };
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        const bool lineBreak = c == QLatin1Char('\n') || c == QLatin1Char('\r');
        if (lineBreak && c == QLatin1Char('\r') && i + 1 < text.size() && text[i + 1] == QLatin1Char('\n')) ++i;
        if (lineBreak) ++lineNumber;
        if (quoted) {
            if (c == QLatin1Char('"')) {
                if (i + 1 < text.size() && text[i + 1] == QLatin1Char('"')) {
                    value += c;
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                value += lineBreak ? QChar(QLatin1Char('\n')) : c;
            }
        } else if (c == QLatin1Char('"') && value.isEmpty() && !wasQuoted) {
            quoted = wasQuoted = true;
        } else if (c == QLatin1Char(',')) {
            endValue();
        } else if (lineBreak) {
            endValue();
            rows.append(row);
            row = Row();
            row.line = lineNumber;
        } else {
            value += c;
        }
    }
    if (quoted) row.unclosedQuote = true;
    if (!value.isEmpty() || !row.values.isEmpty() || quoted) {
        endValue();
        rows.append(row);
    }
    return rows;
}

bool isBlank(const Row &row) { return row.values.size() == 1 && row.values[0].trimmed().isEmpty(); }

}  // namespace

QByteArray header() {
    QStringList titles{QLatin1String(kNumberTitle)};
    for (int f = 0; f < kExchangeFieldCount; ++f) titles << exchangeFieldTitle(static_cast<ExchangeField>(f));
    return line(titles);
}

QByteArray row(const ExchangeRecord &r) {
    QStringList values{r.number > 0 ? QString::number(r.number) : QString()};
    for (const QString &v : r.values) values << v;
    return line(values);
}

ExchangeFile read(const QByteArray &bytes) {
    ExchangeFile file;
    const std::optional<QString> decoded = exchangeText(bytes);
    if (!decoded) {
        file.error = QStringLiteral("the file is not UTF-8 text");
        return file;
    }
    const QString &text = *decoded;
    QVector<Row> rows = rowsOf(text);
    while (!rows.isEmpty() && isBlank(rows.first())) rows.removeFirst();
    if (rows.isEmpty()) {
        file.error = QStringLiteral("the file is empty");
        return file;
    }

    // What each column of the header is: a field, the number (-2), or nothing known (-1).
    const Row head = rows.takeFirst();
    QVector<int> columns;
    bool anyField = false;
    for (const QString &title : head.values) {
        const QString t = title.trimmed();
        int which = t.compare(QLatin1String(kNumberTitle), Qt::CaseInsensitive) == 0 ? -2 : -1;
        for (int f = 0; f < kExchangeFieldCount && which == -1; ++f)
            if (t.compare(exchangeFieldTitle(static_cast<ExchangeField>(f)), Qt::CaseInsensitive) == 0) which = f;
        if (which >= 0 && file.carries[which]) which = -1;  // a second column of one field
        if (which == -1) {
            file.notes << QStringLiteral("the column \"%1\" is not taken").arg(t);
        } else if (which >= 0) {
            file.carries[which] = true;
            anyField = true;
        }
        columns << which;
    }
    if (!anyField) {
        file.error = QStringLiteral("its first line names none of the address book's columns");
        return file;
    }

    for (const Row &row : rows) {
        if (isBlank(row)) continue;
        ExchangeRecord r;
        r.line = row.line;
        if (row.unclosedQuote) r.error = QStringLiteral("a quoted value is not closed");
        for (int i = 0; i < row.values.size(); ++i) {
            const QString &value = row.values[i];
            if (i >= columns.size()) {
                if (!value.trimmed().isEmpty()) r.notTaken << QStringLiteral("a value past the last column: ") + value;
            } else if (columns[i] == -2) {
                const QString n = value.trimmed();
                bool ok = false;
                r.number = n.toInt(&ok);
                if (!ok) r.number = VCardFormat::numberOfUid(n);
                if (r.number <= 0 && !n.isEmpty()) r.notTaken << QStringLiteral("Number: ") + n;
                if (r.number < 0) r.number = 0;
            } else if (columns[i] >= 0) {
                r.values[columns[i]] = value;
            }
        }
        file.records.append(r);
    }
    return file;
}

}  // namespace CsvFormat
