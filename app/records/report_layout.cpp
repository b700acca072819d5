#include "report_layout.h"

#include <QFile>
#include <QStringList>

namespace {

struct Token {
    QString text;
    bool quoted = false;
};

// The words of one line: blanks separate them, double quotes hold a text with blanks, "#"
// outside quotes begins a comment.
bool tokenize(const QString &line, QVector<Token> *out, QString *why) {
    int i = 0;
    const int n = static_cast<int>(line.size());
    while (i < n) {
        const QChar c = line.at(i);
        if (c.isSpace()) {
            ++i;
        } else if (c == QLatin1Char('#')) {
            break;
        } else if (c == QLatin1Char('"')) {
            const int end = static_cast<int>(line.indexOf(QLatin1Char('"'), i + 1));
            if (end < 0) {
                *why = QStringLiteral("a quoted text is not closed");
                return false;
            }
            out->append({line.mid(i + 1, end - i - 1), true});
            i = end + 1;
        } else {
            int end = i;
            while (end < n && !line.at(end).isSpace() && line.at(end) != QLatin1Char('"')) ++end;
            out->append({line.mid(i, end - i), false});
            i = end;
        }
    }
    return true;
}

const char *const kFields[] = {"Name", "haddress", "hcity", "hpin_code", "hphone", "he_mail", "ojob", "odept"};

// A length or size: a number not below zero.
bool number(const Token &t, qreal *out) {
    bool ok = false;
    const qreal v = t.text.toDouble(&ok);
    if (!ok || v < 0 || t.quoted) return false;
    *out = v;
    return true;
}

bool yesNo(const Token &t, bool *out) {
    if (t.text == QLatin1String("yes")) *out = true;
    else if (t.text == QLatin1String("no")) *out = false;
    else return false;
    return true;
}

// Fields and joining texts, with "bold" and "lines N" among them.
bool content(const QVector<Token> &tokens, int from, ReportContent *out, QString *why) {
    for (int i = from; i < tokens.size(); ++i) {
        const Token &t = tokens.at(i);
        if (t.quoted) {
            out->parts.append({false, t.text});
        } else if (t.text == QLatin1String("bold")) {
            out->bold = true;
        } else if (t.text == QLatin1String("lines")) {
            qreal lines = 0;
            if (i + 1 >= tokens.size() || !number(tokens.at(i + 1), &lines) || lines < 1 || lines != int(lines)) {
                *why = QStringLiteral("\"lines\" needs a whole number of at least 1");
                return false;
            }
            out->maxLines = int(lines);
            ++i;
        } else if (isReportField(t.text)) {
            out->parts.append({true, t.text});
        } else {
            QStringList fields;
            for (const char *f : kFields) fields << QLatin1String(f);
            *why = QStringLiteral("\"%1\" is no field of the report (fields: %2)")
                       .arg(t.text, fields.join(QStringLiteral(", ")));
            return false;
        }
    }
    bool anyField = false;
    for (const ReportPart &p : out->parts) anyField = anyField || p.field;
    if (!anyField) {
        *why = QStringLiteral("there is no field to print");
        return false;
    }
    return true;
}

bool readPaper(const QVector<Token> &t, ReportLayout *l, QString *why) {
    int next = 1;
    qreal w = 0, h = 0;
    if (t.size() >= 3 && number(t.at(1), &w) && number(t.at(2), &h) && w > 0 && h > 0) {
        l->pageSize = QPageSize(QSizeF(w, h), QPageSize::Millimeter);
        next = 3;
    } else if (t.size() >= 2) {
        const QString name = t.at(1).text.toLower();
        if (name == QLatin1String("a4")) l->pageSize = QPageSize(QPageSize::A4);
        else if (name == QLatin1String("a5")) l->pageSize = QPageSize(QPageSize::A5);
        else if (name == QLatin1String("letter")) l->pageSize = QPageSize(QPageSize::Letter);
        else if (name == QLatin1String("legal")) l->pageSize = QPageSize(QPageSize::Legal);
        else {
            *why = QStringLiteral("the paper is A4, A5, Letter, Legal or a width and a height");
            return false;
        }
        next = 2;
    } else {
        *why = QStringLiteral("\"page\" needs the paper");
        return false;
    }
    if (next < t.size()) {
        if (t.at(next).text == QLatin1String("portrait")) l->orientation = QPageLayout::Portrait;
        else if (t.at(next).text == QLatin1String("landscape")) l->orientation = QPageLayout::Landscape;
        else {
            *why = QStringLiteral("the paper is turned portrait or landscape");
            return false;
        }
        ++next;
    }
    if (next < t.size()) {
        *why = QStringLiteral("too many words");
        return false;
    }
    return true;
}

// Checks that the layout holds together: its parts are there and fit on the paper.
bool complete(const ReportLayout &l, QString *why) {
    const QSizeF page = l.pageSizeMM();
    const qreal slack = 0.01;
    if (l.margins.left() + l.margins.right() >= page.width() || l.margins.top() + l.margins.bottom() >= page.height()) {
        *why = QStringLiteral("the margins leave no room on the paper");
        return false;
    }
    if (l.fontSize <= 0) {
        *why = QStringLiteral("the font size must be above 0");
        return false;
    }
    if (l.kind == ReportLayout::Kind::Labels) {
        if (l.labelSize.width() <= 0 || l.labelSize.height() <= 0) {
            *why = QStringLiteral("\"label\" must give the size of a label");
            return false;
        }
        if (l.lines.isEmpty()) {
            *why = QStringLiteral("a label needs at least one \"line\"");
            return false;
        }
        const qreal across = l.margins.left() + l.labelColumns * l.labelSize.width() + (l.labelColumns - 1) * l.gap.width();
        const qreal down = l.margins.top() + l.labelRows * l.labelSize.height() + (l.labelRows - 1) * l.gap.height();
        if (across > page.width() + slack || down > page.height() + slack) {
            *why = QStringLiteral("the labels do not fit on the paper (%1 x %2 mm of %3 x %4 mm)")
                       .arg(across).arg(down).arg(page.width()).arg(page.height());
            return false;
        }
        if (2 * l.padding >= l.labelSize.width() || 2 * l.padding >= l.labelSize.height()) {
            *why = QStringLiteral("the padding leaves no room inside a label");
            return false;
        }
    } else {
        if (l.columns.isEmpty()) {
            *why = QStringLiteral("a list needs at least one \"column\"");
            return false;
        }
        qreal width = 0;
        for (const ReportColumn &c : l.columns) width += c.width;
        if (width > page.width() - l.margins.left() - l.margins.right() + slack) {
            *why = QStringLiteral("the columns (%1 mm) are wider than the paper between the margins").arg(width);
            return false;
        }
    }
    return true;
}

}  // namespace

bool isReportField(const QString &name) {
    for (const char *f : kFields)
        if (name == QLatin1String(f)) return true;
    return false;
}

QSizeF ReportLayout::pageSizeMM() const {
    const QSizeF s = pageSize.size(QPageSize::Millimeter);
    return orientation == QPageLayout::Landscape ? s.transposed() : s;
}

std::optional<ReportLayout> ReportLayout::parse(const QString &text, QString *error) {
    ReportLayout l;
    bool kindGiven = false;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (int number0 = 0; number0 < lines.size(); ++number0) {
        QVector<Token> t;
        QString why;
        auto fail = [&](const QString &reason) {
            if (error) *error = QStringLiteral("line %1: %2").arg(number0 + 1).arg(reason);
            return std::nullopt;
        };
        if (!tokenize(lines.at(number0), &t, &why)) return fail(why);
        if (t.isEmpty()) continue;
        const QString key = t.at(0).text;
        const int args = static_cast<int>(t.size()) - 1;
        auto numbers = [&](int count, QVector<qreal> *out) {
            if (args != count) return false;
            for (int i = 1; i <= count; ++i) {
                qreal v = 0;
                if (!number(t.at(i), &v)) return false;
                out->append(v);
            }
            return true;
        };
        QVector<qreal> v;
        if (t.at(0).quoted) {
            return fail(QStringLiteral("a line begins with a setting, not a quoted text"));
        } else if (key == QLatin1String("report")) {
            if (args != 1 || (t.at(1).text != QLatin1String("labels") && t.at(1).text != QLatin1String("list")))
                return fail(QStringLiteral("\"report\" is \"labels\" or \"list\""));
            l.kind = t.at(1).text == QLatin1String("labels") ? Kind::Labels : Kind::List;
            kindGiven = true;
        } else if (key == QLatin1String("page")) {
            if (!readPaper(t, &l, &why)) return fail(why);
        } else if (key == QLatin1String("margins")) {
            if (!numbers(4, &v)) return fail(QStringLiteral("\"margins\" needs four lengths: top right bottom left"));
            l.margins = QMarginsF(v[3], v[0], v[1], v[2]);
        } else if (key == QLatin1String("font")) {
            qreal size = 0;
            if (args != 2 || !t.at(1).quoted || !number(t.at(2), &size) || size <= 0)
                return fail(QStringLiteral("\"font\" needs a quoted family and a size in points"));
            l.fontFamily = t.at(1).text;
            l.fontSize = size;
        } else if (key == QLatin1String("labels")) {
            if (!numbers(2, &v) || v[0] < 1 || v[1] < 1 || v[0] != int(v[0]) || v[1] != int(v[1]))
                return fail(QStringLiteral("\"labels\" needs the whole numbers of labels across and down"));
            l.labelColumns = int(v[0]);
            l.labelRows = int(v[1]);
        } else if (key == QLatin1String("label")) {
            if (!numbers(2, &v)) return fail(QStringLiteral("\"label\" needs a width and a height"));
            l.labelSize = QSizeF(v[0], v[1]);
        } else if (key == QLatin1String("gap")) {
            if (!numbers(2, &v)) return fail(QStringLiteral("\"gap\" needs the space across and down"));
            l.gap = QSizeF(v[0], v[1]);
        } else if (key == QLatin1String("padding")) {
            if (!numbers(1, &v)) return fail(QStringLiteral("\"padding\" needs one length"));
            l.padding = v[0];
        } else if (key == QLatin1String("spacing")) {
            if (!numbers(1, &v)) return fail(QStringLiteral("\"spacing\" needs one length"));
            l.rowSpacing = v[0];
        } else if (key == QLatin1String("outline") || key == QLatin1String("pagenumbers")) {
            bool on = false;
            if (args != 1 || !yesNo(t.at(1), &on)) return fail(QStringLiteral("\"%1\" is \"yes\" or \"no\"").arg(key));
            (key == QLatin1String("outline") ? l.outline : l.pageNumbers) = on;
        } else if (key == QLatin1String("title")) {
            if (args != 1 || !t.at(1).quoted) return fail(QStringLiteral("\"title\" needs one quoted text"));
            l.title = t.at(1).text;
        } else if (key == QLatin1String("line")) {
            ReportContent c;
            if (!content(t, 1, &c, &why)) return fail(why);
            l.lines.append(c);
        } else if (key == QLatin1String("column")) {
            ReportColumn c;
            if (args < 3 || !t.at(1).quoted || !number(t.at(2), &c.width) || c.width <= 0)
                return fail(QStringLiteral("\"column\" needs a quoted heading, a width and the fields"));
            c.heading = t.at(1).text;
            if (!content(t, 3, &c.content, &why)) return fail(why);
            l.columns.append(c);
        } else {
            return fail(QStringLiteral("\"%1\" is no setting of a report layout").arg(key));
        }
    }
    if (!kindGiven) {
        if (error) *error = QStringLiteral("the layout does not say \"report labels\" or \"report list\"");
        return std::nullopt;
    }
    QString why;
    if (!complete(l, &why)) {
        if (error) *error = why;
        return std::nullopt;
    }
    return l;
}

std::optional<ReportLayout> ReportLayout::load(const QString &path, QString *error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error) *error = QStringLiteral("%1: %2").arg(path, file.errorString());
        return std::nullopt;
    }
    QString why;
    std::optional<ReportLayout> layout = parse(QString::fromUtf8(file.readAll()), &why);
    if (!layout && error) *error = QStringLiteral("%1: %2").arg(path, why);
    return layout;
}
