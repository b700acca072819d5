// A report layout: the plain-text file that says how a report of the address book prints, read
// into settings the renderer follows. The two layouts ship beside the program
// (rpkeldalabel.rpt, rpoffice.rpt); each file explains the format at its top.
#pragma once

#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QSizeF>
#include <QString>
#include <QVector>

#include <optional>

// One piece of what a line or a column prints: a field of the report table, or a text that
// joins the fields either side of it.
struct ReportPart {
    bool field = false;
    QString text;  // the field's name, or the joining text
};

// Fields next to each other print on lines of their own; a joining text between two fields
// puts them on one line, and prints only when both have something to print.
struct ReportContent {
    QVector<ReportPart> parts;
    bool bold = false;
    int maxLines = 0;  // 0: as many as there is room for
};

struct ReportColumn {
    QString heading;
    qreal width = 0;  // mm
    ReportContent content;
};

struct ReportLayout {
    enum class Kind { Labels, List };
    Kind kind = Kind::Labels;
    QPageSize pageSize{QPageSize::A4};
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    QMarginsF margins;  // mm: left, top, right, bottom
    QString fontFamily = QStringLiteral("Lohit Kannada");
    qreal fontSize = 10;  // points

    // Labels: a grid of labels on each sheet, filled across, then down.
    int labelColumns = 3, labelRows = 7;
    QSizeF labelSize;  // mm
    QSizeF gap;        // mm between neighbouring labels, across and down
    qreal padding = 2; // mm inside each label
    bool outline = false;
    QVector<ReportContent> lines;

    // List: a title, a table of columns, one row per address.
    QString title;
    QVector<ReportColumn> columns;
    qreal rowSpacing = 1;  // mm between rows
    bool pageNumbers = false;

    int labelsPerPage() const { return labelColumns * labelRows; }
    QSizeF pageSizeMM() const;

    // Reads a layout; on a mistake *error names the line and what is wrong with it.
    static std::optional<ReportLayout> parse(const QString &text, QString *error);
    static std::optional<ReportLayout> load(const QString &path, QString *error);
};

// The fields a layout may print: the columns of the report table.
bool isReportField(const QString &name);
