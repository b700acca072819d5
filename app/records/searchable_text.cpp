#include "searchable_text.h"

#include <QFile>
#include <QFontDatabase>
#include <QGlyphRun>
#include <QHash>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QRawFont>
#include <QTemporaryDir>
#include <QTextLayout>
#include <QtEndian>

#include <algorithm>

namespace SearchableText {
namespace {

void put16(QByteArray &out, quint16 v) {
    out += char(v >> 8);
    out += char(v & 0xFF);
}

void put32(QByteArray &out, quint32 v) {
    put16(out, quint16(v >> 16));
    put16(out, quint16(v & 0xFFFF));
}

// A character map that maps no character: one format 4 subtable whose only segment is the
// closing one.
QByteArray emptyCharacterMap() {
    QByteArray m;
    put16(m, 0);           // version
    put16(m, 1);           // one subtable:
    put16(m, 3);           //   Windows,
    put16(m, 1);           //   Unicode BMP,
    put32(m, 12);          //   right after this header
    put16(m, 4);           // format 4
    put16(m, 24);          // its length
    put16(m, 0);           // language
    put16(m, 2);           // one segment (times 2)
    put16(m, 2);           // search range
    put16(m, 0);           // entry selector
    put16(m, 0);           // range shift
    put16(m, 0xFFFF);      // end code
    put16(m, 0);           // reserved
    put16(m, 0xFFFF);      // start code
    put16(m, 1);           // delta
    put16(m, 0);           // range offset
    return m;
}

// A naming table that gives the copy its own family, so that it never stands in for the font.
QByteArray names(const QString &family) {
    const QString postscript = QString(family).remove(QLatin1Char(' '));
    const QPair<quint16, QString> entries[] = {{1, family}, {2, QStringLiteral("Regular")}, {4, family}, {6, postscript}};
    QByteArray records, strings;
    for (const auto &[id, text] : entries) {
        put16(records, 3);
        put16(records, 1);
        put16(records, 0x409);
        put16(records, id);
        put16(records, quint16(text.size() * 2));
        put16(records, quint16(strings.size()));
        for (const QChar c : text) put16(strings, c.unicode());
    }
    QByteArray table;
    put16(table, 0);
    put16(table, quint16(std::size(entries)));
    put16(table, quint16(6 + records.size()));
    return table + records + strings;
}

// The source font's outlines and metrics under a new family, without its character map; empty
// when the source is no TrueType font.
QByteArray copyWithoutCharacterMap(const QRawFont &source, const QString &family) {
    // What drawing a glyph by its number needs; shaping tables are left out.
    static const char *const kTags[] = {"OS/2", "cmap", "cvt ", "fpgm", "gasp", "glyf", "head",
                                        "hhea", "hmtx", "loca", "maxp", "name", "post", "prep"};
    QList<QPair<QByteArray, QByteArray>> tables;
    for (const char *tag : kTags) {
        QByteArray data = source.fontTable(tag);
        if (qstrcmp(tag, "cmap") == 0) data = emptyCharacterMap();
        if (qstrcmp(tag, "name") == 0) data = names(family);
        if (!data.isEmpty()) tables.append({QByteArray(tag), data});
    }
    for (const char *needed : {"glyf", "loca", "head", "hhea", "hmtx", "maxp"})
        if (std::none_of(tables.begin(), tables.end(), [&](const auto &t) { return t.first == needed; })) return {};
    QByteArray font;
    put32(font, 0x00010000);  // TrueType outlines
    put16(font, quint16(tables.size()));
    put16(font, 0);  // search range, entry selector and range shift: no reader relies on them
    put16(font, 0);
    put16(font, 0);
    QByteArray body;
    const int start = 12 + 16 * int(tables.size());
    for (const auto &[tag, data] : tables) {
        font += tag;
        put32(font, 0);  // checksum: no reader checks it
        put32(font, quint32(start + body.size()));
        put32(font, quint32(data.size()));
        body += data;
        while (body.size() % 4) body += '\0';
    }
    return font + body;
}

// The copies made so far, by the source font's family and style; an empty family when none
// can be made. The files live as long as the program.
QString copyFamily(const QRawFont &source) {
    static QTemporaryDir folder;
    static QHash<QString, QString> made;
    const QString key = source.familyName() + QLatin1Char('/') + source.styleName();
    const auto found = made.constFind(key);
    if (found != made.constEnd()) return *found;
    QString family;
    const QString wanted = QStringLiteral("Kelda Vasi Glyphs %1").arg(made.size() + 1);
    const QByteArray font = copyWithoutCharacterMap(source, wanted);
    QFile file(folder.filePath(QStringLiteral("glyphs-%1.ttf").arg(made.size() + 1)));
    // Registered from a file, the copy is embedded in PDF files as a font (from memory it
    // would be drawn as outlines).
    if (folder.isValid() && !font.isEmpty() && file.open(QIODevice::WriteOnly) && file.write(font) == font.size()) {
        file.close();
        const int id = QFontDatabase::addApplicationFont(file.fileName());
        if (QFontDatabase::applicationFontFamilies(id).contains(wanted)) family = wanted;
    }
    made.insert(key, family);
    return family;
}

// The copy of a shaped run's font at its pixel size, made once.
QRawFont copyOf(const QRawFont &source, const QFont &font) {
    static QHash<QString, QRawFont> made;
    const QString key = QStringLiteral("%1/%2/%3%4/%5")
                            .arg(source.familyName(), source.styleName())
                            .arg(font.bold())
                            .arg(font.italic())
                            .arg(source.pixelSize());
    if (const auto found = made.constFind(key); found != made.constEnd()) return *found;
    QRawFont raw;
    const QString family = copyFamily(source);
    if (!family.isEmpty()) {
        QFont copy(family);
        copy.setBold(font.bold());
        copy.setItalic(font.italic());
        raw = QRawFont::fromFont(copy);
        if (raw.familyName() == family)
            raw.setPixelSize(source.pixelSize());
        else
            raw = QRawFont();
    }
    made.insert(key, raw);
    return raw;
}

// The unseen layer: the plain glyph of each character, from the first of the shaped line's
// fonts that has it, over the width the shaped line takes.
void drawCharacters(QPainter &painter, const QPointF &origin, const QString &text, const QVector<QRawFont> &fonts,
                    qreal width) {
    QVector<QGlyphRun> runs;
    QVector<quint32> glyphs;
    QVector<QPointF> positions;
    const QRawFont *current = nullptr;
    qreal x = 0;
    const auto endRun = [&] {
        if (!current || glyphs.isEmpty()) return;
        QGlyphRun run;
        run.setRawFont(*current);
        run.setGlyphIndexes(glyphs);
        run.setPositions(positions);
        runs.append(run);
        glyphs.clear();
        positions.clear();
    };
    for (const QChar c : text) {
        const auto has = std::find_if(fonts.begin(), fonts.end(), [c](const QRawFont &f) { return f.supportsCharacter(c); });
        if (has == fonts.end()) continue;
        const QRawFont *use = &*has;
        if (use != current) {
            endRun();
            current = use;
        }
        const QVector<quint32> glyph = use->glyphIndexesForString(QString(c));
        glyphs += glyph;
        positions.append(QPointF(x, 0));
        x += use->advancesForGlyphIndexes(glyph).value(0).x();
    }
    endRun();
    // Narrowed or widened as a whole, so that each glyph keeps its own advance and a reader takes
    // the line for the words it holds.
    painter.save();
    painter.setPen(QColor(0, 0, 0, 0));
    painter.translate(origin);
    if (x > 0) painter.scale(width / x, 1);
    for (const QGlyphRun &run : runs) painter.drawGlyphRun(QPointF(0, 0), run);
    painter.restore();
}

}  // namespace

bool isPdf(const QPaintDevice *device) {
    if (dynamic_cast<const QPdfWriter *>(device)) return true;
    const auto *printer = dynamic_cast<const QPrinter *>(device);
    return printer && printer->outputFormat() == QPrinter::PdfFormat;
}

bool draw(QPainter &painter, const QPointF &at, const QString &text, const QFont &font) {
    QTextLayout layout(text, font, painter.device());
    layout.beginLayout();
    QTextLine line = layout.createLine();
    layout.endLayout();
    if (!line.isValid()) return true;
    QList<QGlyphRun> runs = line.glyphRuns();
    QVector<QRawFont> sources;
    for (QGlyphRun &run : runs) {
        if (!sources.contains(run.rawFont())) sources.append(run.rawFont());
        const QRawFont copy = copyOf(run.rawFont(), font);
        if (!copy.isValid()) return false;
        run.setRawFont(copy);
    }
    for (const QGlyphRun &run : runs) painter.drawGlyphRun(QPointF(at.x(), at.y() - line.ascent()), run);
    drawCharacters(painter, at, text, sources, line.naturalTextWidth());
    return true;
}

}  // namespace SearchableText
