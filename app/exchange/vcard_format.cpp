#include "vcard_format.h"

#include <QRegularExpression>

#include <optional>

namespace VCardFormat {
namespace {

const char kUidPrefix[] = "urn:kelda-vasi:";
const char kXPrefix[] = "X-KELDA-VASI-";

// ---- Writing --------------------------------------------------------------------------------

// A text value: backslash, comma, semicolon and line breaks escaped.
QString escaped(const QString &text) {
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        switch (c.unicode()) {
        case '\\': out += QLatin1String("\\\\"); break;
        case ',': out += QLatin1String("\\,"); break;
        case ';': out += QLatin1String("\\;"); break;
        case '\n': out += QLatin1String("\\n"); break;
        case '\r': break;
        default: out += c;
        }
    }
    return out;
}

// Appends a content line, folded so that no line passes 75 octets (CR LF aside); a fold never
// splits the bytes of one character.
void appendLine(QByteArray &out, const QString &line) {
    const QByteArray utf8 = line.toUtf8();
    int start = 0, room = 75;
    while (utf8.size() - start > room) {
        int cut = start + room;
        while ((static_cast<unsigned char>(utf8[cut]) & 0xC0) == 0x80) --cut;  // a continuation byte
        out += utf8.mid(start, cut - start);
        out += "\r\n ";
        start = cut;
        room = 74;  // the leading blank counts
    }
    out += utf8.mid(start);
    out += "\r\n";
}

void appendLines(QByteArray &out, const QString &property, const QString &text) {
    for (const QString &line : text.split(QLatin1Char('\n'))) {
        const QString value = line.trimmed();
        if (!value.isEmpty()) appendLine(out, property + escaped(value));
    }
}

// ---- Reading --------------------------------------------------------------------------------

// One content line: group.NAME;PARAM=VALUE:value
struct ContentLine {
    QString name;              // upper case, without its group
    QStringList types;         // TYPE values and bare parameters, lower case
    QString valueType;         // VALUE=, lower case
    QString encoding;          // ENCODING=, upper case
    QString value;             // still escaped
};

// Splits at the separator where it is not inside double quotes.
QStringList splitOutsideQuotes(const QString &text, QChar separator) {
    QStringList parts;
    QString current;
    bool quoted = false;
    for (QChar c : text) {
        if (c == QLatin1Char('"')) quoted = !quoted;
        if (c == separator && !quoted) {
            parts << current;
            current.clear();
        } else {
            current += c;
        }
    }
    parts << current;
    return parts;
}

bool parseLine(const QString &line, ContentLine *out) {
    int colon = -1;
    bool quoted = false;
    for (int i = 0; i < line.size(); ++i) {
        if (line[i] == QLatin1Char('"')) quoted = !quoted;
        if (line[i] == QLatin1Char(':') && !quoted) {
            colon = i;
            break;
        }
    }
    if (colon <= 0) return false;
    QStringList head = splitOutsideQuotes(line.left(colon), QLatin1Char(';'));
    QString name = head.takeFirst().trimmed();
    name = name.mid(name.lastIndexOf(QLatin1Char('.')) + 1).toUpper();
    if (name.isEmpty()) return false;
    out->name = name;
    out->value = line.mid(colon + 1);
    for (const QString &param : head) {
        const int eq = param.indexOf(QLatin1Char('='));
        const QString key = (eq < 0 ? QStringLiteral("TYPE") : param.left(eq)).trimmed().toUpper();
        QString value = eq < 0 ? param : param.mid(eq + 1);
        value.remove(QLatin1Char('"'));
        if (key == QLatin1String("TYPE")) {
            for (const QString &t : value.split(QLatin1Char(','))) out->types << t.trimmed().toLower();
        } else if (key == QLatin1String("VALUE")) {
            out->valueType = value.trimmed().toLower();
        } else if (key == QLatin1String("ENCODING")) {
            out->encoding = value.trimmed().toUpper();
        }
    }
    // vCard 2.1 writes the encoding as a bare parameter.
    if (out->types.contains(QLatin1String("quoted-printable"))) out->encoding = QStringLiteral("QUOTED-PRINTABLE");
    return true;
}

QString unescaped(const QString &text) {
    QString out;
    out.reserve(text.size());
    for (int i = 0; i < text.size(); ++i) {
        if (text[i] != QLatin1Char('\\') || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        const QChar next = text[++i];
        out += (next == QLatin1Char('n') || next == QLatin1Char('N')) ? QChar(QLatin1Char('\n')) : next;
    }
    return out;
}

// Splits an escaped value at a separator that is not escaped; the parts stay escaped.
QStringList splitEscaped(const QString &text, QChar separator) {
    QStringList parts;
    QString current;
    for (int i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('\\') && i + 1 < text.size()) {
            current += text[i];
            current += text[++i];
        } else if (text[i] == separator) {
            parts << current;
            current.clear();
        } else {
            current += text[i];
        }
    }
    parts << current;
    return parts;
}

// The parts of a structured value (N, ADR), each with its list of values joined by ", ".
QStringList components(const QString &value, int count) {
    QStringList out;
    for (const QString &part : splitEscaped(value, QLatin1Char(';'))) {
        QStringList values;
        for (const QString &v : splitEscaped(part, QLatin1Char(','))) {
            const QString text = unescaped(v).trimmed();
            if (!text.isEmpty()) values << text;
        }
        out << values.join(QLatin1String(", "));
    }
    while (out.size() < count) out << QString();
    return out;
}

QString decodeQuotedPrintable(const QString &value) {
    QByteArray bytes;
    const QByteArray ascii = value.toLatin1();
    for (int i = 0; i < ascii.size(); ++i) {
        if (ascii[i] == '=' && i + 2 < ascii.size()) {
            bool ok = false;
            const int b = ascii.mid(i + 1, 2).toInt(&ok, 16);
            if (ok) {
                bytes += static_cast<char>(b);
                i += 2;
                continue;
            }
        }
        bytes += ascii[i];
    }
    return QString::fromUtf8(bytes);
}

void appendTo(QString &field, const QString &text, const QString &separator) {
    if (text.isEmpty()) return;
    if (!field.isEmpty()) field += separator;
    field += text;
}

QString joinNonEmpty(const QStringList &parts, const QString &separator) {
    QStringList kept;
    for (const QString &p : parts)
        if (!p.isEmpty()) kept << p;
    return kept.join(separator);
}

// What a card is being built from.
struct CardReader {
    ExchangeRecord record;
    bool homeTaken = false, otherTaken = false, relationTaken = false;
    QStringList categories;
    QString nameFromN;

    void take(const ContentLine &line) {
        QString value = line.value;
        if (line.encoding == QLatin1String("QUOTED-PRINTABLE")) value = decodeQuotedPrintable(value);
        const QString &n = line.name;
        const QString text = unescaped(value).trimmed();
        auto notTaken = [&] {
            QString shown = text;
            shown.replace(QLatin1Char('\n'), QLatin1Char(' '));
            if (shown.size() > 40) shown = shown.left(39) + QChar(0x2026);
            record.notTaken << n + QLatin1String(": ") + shown;
        };
        if (n == QLatin1String("FN")) {
            appendTo(record[ExchangeField::Name], text, QStringLiteral(" "));
        } else if (n == QLatin1String("N")) {
            // family; given; additional; prefixes; suffixes: read in the order people say them.
            const QStringList c = components(value, 5);
            nameFromN = joinNonEmpty({c[3], c[1], c[2], c[0], c[4]}, QStringLiteral(" "));
        } else if (n == QLatin1String("UID")) {
            record.number = numberOfUid(text);
        } else if (n == QLatin1String("ADR")) {
            const QStringList c = components(value, 7);  // box; extended; street; locality; region; code; country
            if (line.types.contains(QLatin1String("home")) && !homeTaken) {
                homeTaken = true;
                record[ExchangeField::HomeAddress] = joinNonEmpty({c[0], c[1], c[2]}, QStringLiteral("\n"));
                record[ExchangeField::Place] = c[3];
                record[ExchangeField::State] = c[4];
                record[ExchangeField::PinCode] = c[5];
                record[ExchangeField::Country] = c[6];
            } else if (!otherTaken) {
                otherTaken = true;
                record[ExchangeField::OtherAddress] = joinNonEmpty(c.mid(0, 7), QStringLiteral("\n"));
            } else {
                notTaken();
            }
        } else if (n == QLatin1String("TEL")) {
            QString number = text;
            if (number.startsWith(QLatin1String("tel:"), Qt::CaseInsensitive)) number = number.mid(4);
            if (line.types.contains(QLatin1String("fax")))
                appendTo(record[ExchangeField::Fax], number, QStringLiteral(", "));
            else if (line.types.contains(QLatin1String("pager")))
                appendTo(record[ExchangeField::Pager], number, QStringLiteral(", "));
            else
                appendTo(record[ExchangeField::Phone], number, QStringLiteral("\n"));
        } else if (n == QLatin1String("EMAIL")) {
            appendTo(record[ExchangeField::Email], text, QStringLiteral(", "));
        } else if (n == QLatin1String("CATEGORIES")) {
            for (const QString &v : splitEscaped(value, QLatin1Char(','))) categories << unescaped(v).trimmed();
        } else if (n == QLatin1String("RELATED") && line.valueType == QLatin1String("text") && !relationTaken) {
            relationTaken = true;
            record[ExchangeField::Relation] = text;
        } else if (n == QLatin1String("NOTE")) {
            appendTo(record[ExchangeField::OtherInfo], text, QStringLiteral("\n"));
        } else if (n == QLatin1String(kXPrefix) + QLatin1String("DISTRICT")) {
            record[ExchangeField::District] = text;
        } else if (n == QLatin1String(kXPrefix) + QLatin1String("TALUK")) {
            record[ExchangeField::Taluk] = text;
        } else if (n == QLatin1String(kXPrefix) + QLatin1String("MEMBERS")) {
            appendTo(record[ExchangeField::Members], text, QStringLiteral("\n"));
        } else if (n != QLatin1String("VERSION") && n != QLatin1String("PRODID") && n != QLatin1String("REV") &&
                   n != QLatin1String("KIND")) {
            notTaken();
        }
    }

    ExchangeRecord finish() {
        if (record[ExchangeField::Name].isEmpty()) record[ExchangeField::Name] = nameFromN;
        if (!categories.isEmpty()) record[ExchangeField::Category] = categories.value(0);
        if (categories.size() > 1) record[ExchangeField::SubCategory] = categories.value(1);
        for (int i = 2; i < categories.size(); ++i) record.notTaken << QStringLiteral("CATEGORIES: ") + categories[i];
        return record;
    }
};

// The text's physical lines, each with its line number, joined where a value goes on: a line
// that begins with a blank or a tab continues the one before (folding), and a quoted-printable
// value that ends with "=" goes on in the next line.
QVector<QPair<int, QString>> logicalLines(const QString &text) {
    static const QRegularExpression breaks(QStringLiteral("\r\n|\r|\n"));
    const QStringList physical = text.split(breaks);
    QVector<QPair<int, QString>> out;
    bool softBreak = false;
    for (int i = 0; i < physical.size(); ++i) {
        const QString &line = physical[i];
        if (!out.isEmpty() && (softBreak || line.startsWith(QLatin1Char(' ')) || line.startsWith(QLatin1Char('\t')))) {
            QString &last = out.last().second;
            if (softBreak) {
                last.chop(1);
                last += line;
            } else {
                last += line.mid(1);
            }
        } else {
            out.append({i + 1, line});
        }
        const QString &last = out.last().second;
        softBreak = last.endsWith(QLatin1Char('=')) &&
                    last.left(last.indexOf(QLatin1Char(':'))).contains(QLatin1String("QUOTED-PRINTABLE"), Qt::CaseInsensitive);
    }
    return out;
}

}  // namespace

QString uidOf(int number) { return QLatin1String(kUidPrefix) + QString::number(number); }

int numberOfUid(const QString &uid) {
    if (!uid.startsWith(QLatin1String(kUidPrefix))) return 0;
    bool ok = false;
    const int n = uid.mid(int(sizeof kUidPrefix) - 1).toInt(&ok);
    return ok && n > 0 ? n : 0;
}

QByteArray write(const ExchangeRecord &r) {
    QByteArray out;
    out.reserve(1024);
    appendLine(out, QStringLiteral("BEGIN:VCARD"));
    appendLine(out, QStringLiteral("VERSION:4.0"));
    if (r.number > 0) appendLine(out, QStringLiteral("UID:") + uidOf(r.number));
    const QString name = escaped(r[ExchangeField::Name]);
    appendLine(out, QStringLiteral("FN:") + name);
    appendLine(out, QStringLiteral("N:;%1;;;").arg(name));
    if (!r[ExchangeField::Members].isEmpty())
        appendLine(out, QLatin1String(kXPrefix) + QStringLiteral("MEMBERS:") + escaped(r[ExchangeField::Members]));
    const QString home[] = {r[ExchangeField::HomeAddress], r[ExchangeField::Place], r[ExchangeField::State],
                            r[ExchangeField::PinCode], r[ExchangeField::Country]};
    if (!joinNonEmpty({home[0], home[1], home[2], home[3], home[4]}, QString()).isEmpty()) {
        appendLine(out, QStringLiteral("ADR;TYPE=home:;;%1;%2;%3;%4;%5")
                            .arg(escaped(home[0]), escaped(home[1]), escaped(home[2]), escaped(home[3]), escaped(home[4])));
    }
    if (!r[ExchangeField::OtherAddress].isEmpty())
        appendLine(out, QStringLiteral("ADR:;;%1;;;;").arg(escaped(r[ExchangeField::OtherAddress])));
    appendLines(out, QStringLiteral("TEL;TYPE=voice:"), r[ExchangeField::Phone]);
    appendLines(out, QStringLiteral("TEL;TYPE=fax:"), r[ExchangeField::Fax]);
    appendLines(out, QStringLiteral("TEL;TYPE=pager:"), r[ExchangeField::Pager]);
    if (!r[ExchangeField::Email].isEmpty()) appendLine(out, QStringLiteral("EMAIL:") + escaped(r[ExchangeField::Email]));
    if (!r[ExchangeField::SubCategory].isEmpty())
        appendLine(out, QStringLiteral("CATEGORIES:%1,%2").arg(escaped(r[ExchangeField::Category]),
                                                               escaped(r[ExchangeField::SubCategory])));
    else if (!r[ExchangeField::Category].isEmpty())
        appendLine(out, QStringLiteral("CATEGORIES:") + escaped(r[ExchangeField::Category]));
    if (!r[ExchangeField::Relation].isEmpty())
        appendLine(out, QStringLiteral("RELATED;VALUE=text:") + escaped(r[ExchangeField::Relation]));
    if (!r[ExchangeField::District].isEmpty())
        appendLine(out, QLatin1String(kXPrefix) + QStringLiteral("DISTRICT:") + escaped(r[ExchangeField::District]));
    if (!r[ExchangeField::Taluk].isEmpty())
        appendLine(out, QLatin1String(kXPrefix) + QStringLiteral("TALUK:") + escaped(r[ExchangeField::Taluk]));
    if (!r[ExchangeField::OtherInfo].isEmpty())
        appendLine(out, QStringLiteral("NOTE:") + escaped(r[ExchangeField::OtherInfo]));
    appendLine(out, QStringLiteral("END:VCARD"));
    return out;
}

ExchangeFile read(const QByteArray &bytes) {
    ExchangeFile file;
    for (bool &c : file.carries) c = true;
    const std::optional<QString> decoded = exchangeText(bytes);
    if (!decoded) {
        file.error = QStringLiteral("the file is not UTF-8 text");
        return file;
    }
    const QString &text = *decoded;

    std::optional<CardReader> card;
    for (const auto &[lineNumber, line] : logicalLines(text)) {
        if (line.trimmed().isEmpty()) continue;
        ContentLine content;
        const bool parsed = parseLine(line, &content);
        const QString value = content.value.trimmed().toUpper();
        if (parsed && content.name == QLatin1String("BEGIN") && value == QLatin1String("VCARD")) {
            if (card) {
                card->record.error = QStringLiteral("another card begins on line %1 before this one ends").arg(lineNumber);
                file.records.append(card->finish());
            }
            card.emplace();
            card->record.line = lineNumber;
        } else if (!card) {
            file.notes << QStringLiteral("line %1 is outside any card").arg(lineNumber);
        } else if (parsed && content.name == QLatin1String("END") && value == QLatin1String("VCARD")) {
            file.records.append(card->finish());
            card.reset();
        } else if (parsed) {
            card->take(content);
        } else {
            card->record.notTaken << QStringLiteral("line %1 is no vCard line").arg(lineNumber);
        }
    }
    if (card) {
        card->record.error = QStringLiteral("the card has no END:VCARD");
        file.records.append(card->finish());
    }
    if (file.records.isEmpty() && file.error.isEmpty()) file.error = QStringLiteral("the file holds no vCard");
    return file;
}

bool looksLikeVCard(const QByteArray &bytes) {
    QByteArray start = bytes.left(256).trimmed();
    if (start.startsWith("\xEF\xBB\xBF")) start = start.mid(3).trimmed();
    return start.toUpper().startsWith("BEGIN:VCARD");
}

}  // namespace VCardFormat
