#pragma once
// Reads back a sheet of an .xlsx file written by the exports: cell texts and
// numbers, their number format, bold and border, and column widths. The
// parts of the file are taken out with the system's unzip.
#include <QHash>
#include <QString>
#include <QStringList>

class XlsxSheet {
public:
    explicit XlsxSheet(const QString& path, const QString& sheet = QStringLiteral("sheet1"));
    bool ok() const { return m_ok; }
    // By reference ("A1"); an empty cell gives "" and 0.
    QString text(const QString& ref) const;
    double number(const QString& ref) const;
    bool has(const QString& ref) const { return m_cells.contains(ref); }
    QString format(const QString& ref) const;
    bool bold(const QString& ref) const;
    bool border(const QString& ref) const;
    QString font(const QString& ref) const;
    double fontSize(const QString& ref) const;
    // 1-based column; 0 when the file sets no width.
    double columnWidth(int col) const;
    // The references of the used cells of a row ("A2", "B2" …).
    QStringList rowRefs(int row) const;

private:
    struct CellData {
        QString value;
        bool isString = false;
        int style = 0;
    };
    struct Style {
        QString format;
        bool bold = false;
        bool border = false;
        QString font;
        double size = 0;
    };
    Style styleOf(const QString& ref) const;
    bool m_ok = false;
    QHash<QString, CellData> m_cells;
    QList<Style> m_styles;
    QHash<int, double> m_widths;
};
