#include "report_renderer.h"

#include "glyph_text.h"
#include "searchable_text.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QTextLayout>

#include <algorithm>
#include <cmath>

namespace ReportRenderer {
namespace {

QString fieldValue(const ReportRow &row, const QString &field) {
    if (field == QLatin1String("Name")) return row.name;
    if (field == QLatin1String("haddress")) return row.address;
    if (field == QLatin1String("hcity")) return row.place;
    if (field == QLatin1String("hpin_code")) return row.pinCode;
    if (field == QLatin1String("hphone")) return row.phone;
    if (field == QLatin1String("he_mail")) return row.email;
    if (field == QLatin1String("ojob")) return row.job;
    if (field == QLatin1String("odept")) return row.department;
    return QString();
}

// The e-mail address is typed in Latin letters; everything else is glyph text.
QString shown(const QString &field, const QString &value) {
    QString v = value;
    v.remove(QLatin1Char('\r'));
    return field == QLatin1String("he_mail") ? v : GlyphText::toDisplay(v);
}

// Millimetres on the device.
struct Scale {
    qreal perMM;
    qreal operator()(qreal mm) const { return mm * perMM; }
};

QFont reportFont(const ReportLayout &l, bool bold, qreal factor = 1.0) {
    QFont f(l.fontFamily);
    f.setPointSizeF(l.fontSize * factor);
    f.setBold(bold);
    return f;
}

// The text broken into lines no wider than width: at its own line ends, and at blanks where it
// can (anywhere in a word too long for a line). Empty lines are left out.
QStringList wrap(const QString &text, const QFont &font, QPaintDevice *device, qreal width) {
    QStringList out;
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    for (const QString &para : text.split(QLatin1Char('\n'))) {
        if (para.trimmed().isEmpty()) continue;
        QTextLayout layout(para, font, device);
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(width);
            const QString piece = para.mid(line.textStart(), line.textLength()).trimmed();
            if (!piece.isEmpty()) out << piece;
        }
        layout.endLayout();
    }
    return out;
}

// An e-mail address broken into lines no wider than width only after its "@" and its dots, so
// that no name in it is cut (a part too long for a line on its own is cut all the same).
QStringList wrapAddress(const QString &text, const QFont &font, QPaintDevice *device, qreal width) {
    const QFontMetricsF fm(font, device);
    if (fm.horizontalAdvance(text) <= width) return {text};
    QStringList parts;
    qsizetype from = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) != QLatin1Char('@') && text.at(i) != QLatin1Char('.')) continue;
        parts << text.mid(from, i + 1 - from);
        from = i + 1;
    }
    parts << text.mid(from);
    QStringList lines;
    for (const QString &part : parts) {
        if (!lines.isEmpty() && fm.horizontalAdvance(lines.last() + part) <= width)
            lines.last() += part;
        else if (fm.horizontalAdvance(part) <= width)
            lines << part;
        else
            lines += wrap(part, font, device, width);
    }
    return lines;
}

bool holdsEmail(const ReportContent &c) {
    return std::any_of(c.parts.begin(), c.parts.end(),
                       [](const ReportPart &p) { return p.field && p.text == QLatin1String("he_mail"); });
}

// The lines a piece of content takes in a width, at most `room` of them (and at most its own
// limit); when some are left over, the last line shown ends in an ellipsis.
QStringList fitLines(const ReportContent &c, const ReportRow &row, const QFont &font, QPaintDevice *device,
                     qreal width, int room) {
    QStringList all;
    const bool email = holdsEmail(c);
    for (const QString &text : compose(c, row))
        all += email ? wrapAddress(text, font, device, width) : wrap(text, font, device, width);
    int keep = room;
    if (c.maxLines > 0) keep = std::min(keep, c.maxLines);
    keep = std::max(keep, 0);
    if (all.size() <= keep) return all;
    QStringList out = all.mid(0, keep);
    if (!out.isEmpty()) {
        const QFontMetricsF fm(font, device);
        const QString marked = out.last() + QChar(0x2026);
        out.last() = fm.horizontalAdvance(marked) <= width ? marked : fm.elidedText(marked, Qt::ElideRight, width);
    }
    return out;
}

// Into a PDF file, lines are drawn so that a reader can search and copy them as Unicode.
void drawLines(QPainter &p, const QStringList &lines, const QFont &font, qreal x, qreal top, qreal lineHeight) {
    p.setFont(font);
    const QFontMetricsF fm(font, p.device());
    const bool pdf = SearchableText::isPdf(p.device());
    for (int i = 0; i < lines.size(); ++i) {
        const QPointF at(x, top + i * lineHeight + fm.ascent());
        if (!pdf || !SearchableText::draw(p, at, lines.at(i), font)) p.drawText(at, lines.at(i));
    }
}

int renderLabels(const ReportLayout &l, const QVector<ReportRow> &rows, QPagedPaintDevice *device, QPainter &p) {
    const Scale mm{device->logicalDpiX() / 25.4};
    const QFont regular = reportFont(l, false), bold = reportFont(l, true);
    const qreal lineHeight = std::max(QFontMetricsF(regular, device).lineSpacing(), QFontMetricsF(bold, device).lineSpacing());
    const qreal innerWidth = mm(l.labelSize.width() - 2 * l.padding);
    const qreal innerHeight = mm(l.labelSize.height() - 2 * l.padding);
    const int perPage = l.labelsPerPage();
    int pages = 0;
    for (int i = 0; i < rows.size(); ++i) {
        const int slot = i % perPage;
        if (slot == 0) {
            if (pages > 0) device->newPage();
            ++pages;
        }
        const int column = slot % l.labelColumns, line = slot / l.labelColumns;
        const qreal left = mm(l.margins.left() + column * (l.labelSize.width() + l.gap.width()));
        const qreal top = mm(l.margins.top() + line * (l.labelSize.height() + l.gap.height()));
        if (l.outline) {
            p.setPen(QPen(QColor(0xB0, 0xB0, 0xB0), mm(0.2)));
            p.setBrush(Qt::NoBrush);
            p.drawRoundedRect(QRectF(left, top, mm(l.labelSize.width()), mm(l.labelSize.height())), mm(2), mm(2));
            p.setPen(Qt::black);
        }
        int used = 0;
        const int room = int(std::floor(innerHeight / lineHeight));
        for (const ReportContent &c : l.lines) {
            const QFont &font = c.bold ? bold : regular;
            const QStringList lines = fitLines(c, rows.at(i), font, device, innerWidth, room - used);
            drawLines(p, lines, font, left + mm(l.padding), top + mm(l.padding) + used * lineHeight, lineHeight);
            used += static_cast<int>(lines.size());
            if (used >= room) break;
        }
    }
    return pages;
}

int renderList(const ReportLayout &l, const QVector<ReportRow> &rows, QPagedPaintDevice *device, QPainter &p) {
    const Scale mm{device->logicalDpiX() / 25.4};
    const QFont regular = reportFont(l, false), bold = reportFont(l, true);
    const QFont titleFont = reportFont(l, true, 1.4), footFont = reportFont(l, false, 0.85);
    const qreal lineHeight = std::max(QFontMetricsF(regular, device).lineSpacing(), QFontMetricsF(bold, device).lineSpacing());
    const qreal cellPad = mm(1);
    const QSizeF page = l.pageSizeMM();
    const qreal left = mm(l.margins.left());
    const qreal right = mm(page.width() - l.margins.right());
    const qreal titleHeight = l.title.isEmpty() ? 0 : QFontMetricsF(titleFont, device).lineSpacing() + mm(2);
    const qreal footHeight = l.pageNumbers ? QFontMetricsF(footFont, device).lineSpacing() + mm(2) : 0;
    const qreal bodyBottom = mm(page.height() - l.margins.bottom()) - footHeight;

    QVector<qreal> xs;  // where each column begins
    qreal x = left;
    for (const ReportColumn &c : l.columns) {
        xs << x;
        x += mm(c.width);
    }
    auto cellWidth = [&](int c) { return mm(l.columns.at(c).width) - 2 * cellPad; };

    QVector<QStringList> headings;
    int headingLines = 1;
    for (int c = 0; c < l.columns.size(); ++c) {
        headings << wrap(l.columns.at(c).heading, bold, device, cellWidth(c));
        headingLines = std::max(headingLines, static_cast<int>(headings.last().size()));
    }
    const qreal headerTop = mm(l.margins.top()) + titleHeight;
    const qreal bodyTop = headerTop + headingLines * lineHeight + mm(l.rowSpacing) + mm(0.6);
    const int room = std::max(1, int(std::floor((bodyBottom - bodyTop - mm(l.rowSpacing)) / lineHeight)));

    // First where every row goes, so that each page can tell how many pages there are.
    struct Placed {
        int page;
        qreal top;
        QVector<QStringList> cells;
        int lines;
    };
    QVector<Placed> placed;
    placed.reserve(rows.size());
    int pages = rows.isEmpty() ? 0 : 1;
    qreal y = bodyTop;
    for (const ReportRow &row : rows) {
        Placed r{0, 0, {}, 1};
        for (int c = 0; c < l.columns.size(); ++c) {
            const ReportContent &content = l.columns.at(c).content;
            r.cells << fitLines(content, row, content.bold ? bold : regular, device, cellWidth(c), room);
            r.lines = std::max(r.lines, static_cast<int>(r.cells.last().size()));
        }
        const qreal height = r.lines * lineHeight + mm(l.rowSpacing);
        if (y + height > bodyBottom && y > bodyTop) {
            ++pages;
            y = bodyTop;
        }
        r.page = pages;
        r.top = y;
        y += height;
        placed.append(r);
    }

    auto pageFrame = [&](int number) {
        if (!l.title.isEmpty()) drawLines(p, {l.title}, titleFont, left, mm(l.margins.top()), titleHeight);
        for (int c = 0; c < l.columns.size(); ++c) drawLines(p, headings.at(c), bold, xs.at(c) + cellPad, headerTop, lineHeight);
        p.setPen(QPen(Qt::black, mm(0.3)));
        const qreal rule = bodyTop - mm(l.rowSpacing) / 2 - mm(0.3);
        p.drawLine(QPointF(left, rule), QPointF(right, rule));
        if (l.pageNumbers) {
            p.setFont(footFont);
            const QRectF foot(left, bodyBottom + mm(2), right - left, footHeight);
            p.drawText(foot, Qt::AlignHCenter | Qt::AlignTop, QStringLiteral("%1 / %2").arg(number).arg(pages));
        }
    };
    int current = 0;
    for (const Placed &r : placed) {
        if (r.page != current) {
            if (current > 0) device->newPage();
            current = r.page;
            pageFrame(current);
        }
        for (int c = 0; c < r.cells.size(); ++c) {
            const ReportContent &content = l.columns.at(c).content;
            drawLines(p, r.cells.at(c), content.bold ? bold : regular, xs.at(c) + cellPad, r.top, lineHeight);
        }
        p.setPen(QPen(QColor(0xC8, 0xC8, 0xC8), mm(0.15)));
        const qreal under = r.top + r.lines * lineHeight + mm(l.rowSpacing) / 2;
        p.drawLine(QPointF(left, under), QPointF(right, under));
        p.setPen(Qt::black);
    }
    return pages;
}

}  // namespace

QStringList compose(const ReportContent &content, const ReportRow &row) {
    QStringList out;
    QString line;        // the group being joined
    QString joiner;      // the joining text met since the last field
    bool inGroup = false;
    auto endGroup = [&] {
        if (!line.isEmpty()) out << line;
        line.clear();
        joiner.clear();
        inGroup = false;
    };
    for (const ReportPart &part : content.parts) {
        if (!part.field) {
            joiner = part.text;
            continue;
        }
        // Two fields without a joining text between them go on lines of their own.
        if (inGroup && joiner.isEmpty()) endGroup();
        const QString value = shown(part.text, fieldValue(row, part.text));
        if (!value.trimmed().isEmpty()) line += (line.isEmpty() ? QString() : joiner) + value;
        joiner.clear();
        inGroup = true;
    }
    endGroup();
    return out;
}

void preparePaper(const ReportLayout &layout, QPagedPaintDevice *device) {
    if (auto *printer = dynamic_cast<QPrinter *>(device)) printer->setFullPage(true);
    device->setPageLayout(QPageLayout(layout.pageSize, layout.orientation, QMarginsF(0, 0, 0, 0)));
}

int render(const ReportLayout &layout, const QVector<ReportRow> &rows, QPagedPaintDevice *device) {
    if (rows.isEmpty()) return 0;
    QPainter p;
    if (!p.begin(device)) return 0;
    p.setRenderHint(QPainter::Antialiasing);
    const int pages = layout.kind == ReportLayout::Kind::Labels ? renderLabels(layout, rows, device, p)
                                                                : renderList(layout, rows, device, p);
    if (!p.end()) return 0;
    return pages;
}

int writePdf(const ReportLayout &layout, const QVector<ReportRow> &rows, const QString &path, QString *error) {
    if (rows.isEmpty()) {
        if (error) *error = QStringLiteral("there is nothing to print");
        return 0;
    }
    QPdfWriter pdf(path);
    pdf.setResolution(300);
    pdf.setCreator(QStringLiteral("Kelda Vasi"));
    preparePaper(layout, &pdf);
    const int pages = render(layout, rows, &pdf);
    if (pages == 0 && error) *error = QStringLiteral("%1 could not be written").arg(path);
    return pages;
}

}  // namespace ReportRenderer
