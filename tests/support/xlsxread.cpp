#include "support/xlsxread.h"

#include <QProcess>
#include <QRegularExpression>
#include <QXmlStreamReader>

namespace {

QByteArray part(const QString& path, const QString& name)
{
    QProcess p;
    p.start(QStringLiteral("unzip"), {QStringLiteral("-p"), path, name});
    if (!p.waitForFinished(10000))
        return {};
    return p.readAllStandardOutput();
}

int attrInt(const QXmlStreamReader& x, const char* name)
{
    return x.attributes().value(QLatin1String(name)).toInt();
}

} // namespace

XlsxSheet::XlsxSheet(const QString& path, const QString& sheet)
{
    const QByteArray sheetXml = part(path, QStringLiteral("xl/worksheets/%1.xml").arg(sheet));
    if (sheetXml.isEmpty())
        return;
    m_ok = true;

    QStringList shared;
    {
        QXmlStreamReader x(part(path, QStringLiteral("xl/sharedStrings.xml")));
        QString current;
        bool inSi = false;
        while (!x.atEnd()) {
            x.readNext();
            if (x.isStartElement() && x.name() == QLatin1String("si")) {
                inSi = true;
                current.clear();
            } else if (x.isStartElement() && x.name() == QLatin1String("t") && inSi) {
                current += x.readElementText();
            } else if (x.isEndElement() && x.name() == QLatin1String("si")) {
                shared << current;
                inSi = false;
            }
        }
    }

    {
        QXmlStreamReader x(part(path, QStringLiteral("xl/styles.xml")));
        QHash<int, QString> numFmts = {
            {0, QStringLiteral("General")}, {3, QStringLiteral("#,##0")}, {9, QStringLiteral("0%")}};
        struct Font {
            bool bold = false;
            QString name;
            double size = 0;
        };
        QList<Font> fonts;
        QList<bool> borders;
        QString section;
        while (!x.atEnd()) {
            x.readNext();
            if (x.isStartElement()) {
                const auto n = x.name();
                if (n == QLatin1String("fonts") || n == QLatin1String("borders") || n == QLatin1String("cellXfs") ||
                    n == QLatin1String("cellStyleXfs"))
                    section = n.toString();
                else if (n == QLatin1String("numFmt"))
                    numFmts[attrInt(x, "numFmtId")] = x.attributes().value(QLatin1String("formatCode")).toString();
                else if (n == QLatin1String("font") && section == QLatin1String("fonts"))
                    fonts << Font();
                else if (n == QLatin1String("b") && section == QLatin1String("fonts") && !fonts.isEmpty())
                    fonts.last().bold = true;
                else if (n == QLatin1String("name") && section == QLatin1String("fonts") && !fonts.isEmpty())
                    fonts.last().name = x.attributes().value(QLatin1String("val")).toString();
                else if (n == QLatin1String("sz") && section == QLatin1String("fonts") && !fonts.isEmpty())
                    fonts.last().size = x.attributes().value(QLatin1String("val")).toDouble();
                else if (n == QLatin1String("border") && section == QLatin1String("borders"))
                    borders << false;
                else if ((n == QLatin1String("left") || n == QLatin1String("top")) &&
                         section == QLatin1String("borders") && !borders.isEmpty() &&
                         x.attributes().hasAttribute(QLatin1String("style")))
                    borders.last() = true;
                else if (n == QLatin1String("xf") && section == QLatin1String("cellXfs")) {
                    Style s;
                    s.format = numFmts.value(attrInt(x, "numFmtId"));
                    const Font f = fonts.value(attrInt(x, "fontId"));
                    s.bold = f.bold;
                    s.font = f.name;
                    s.size = f.size;
                    s.border = borders.value(attrInt(x, "borderId"));
                    m_styles << s;
                }
            }
        }
    }

    QXmlStreamReader x(sheetXml);
    QString ref;
    CellData cell;
    while (!x.atEnd()) {
        x.readNext();
        if (x.isStartElement() && x.name() == QLatin1String("col")) {
            const int min = attrInt(x, "min"), max = attrInt(x, "max");
            for (int c = min; c <= max; ++c)
                m_widths[c] = x.attributes().value(QLatin1String("width")).toDouble();
        } else if (x.isStartElement() && x.name() == QLatin1String("c")) {
            ref = x.attributes().value(QLatin1String("r")).toString();
            cell = CellData();
            cell.style = attrInt(x, "s");
            cell.isString = x.attributes().value(QLatin1String("t")) == QLatin1String("s");
            m_cells.insert(ref, cell);
        } else if (x.isStartElement() && x.name() == QLatin1String("v")) {
            QString v = x.readElementText();
            CellData& c = m_cells[ref];
            c.value = c.isString ? shared.value(v.toInt()) : v;
        } else if (x.isStartElement() && x.name() == QLatin1String("t")) {
            m_cells[ref].value = x.readElementText(); // inline string
            m_cells[ref].isString = true;
        }
    }
}

QString XlsxSheet::text(const QString& ref) const
{
    return m_cells.value(ref).value;
}

double XlsxSheet::number(const QString& ref) const
{
    return m_cells.value(ref).value.toDouble();
}

XlsxSheet::Style XlsxSheet::styleOf(const QString& ref) const
{
    return m_styles.value(m_cells.value(ref).style);
}

QString XlsxSheet::format(const QString& ref) const
{
    return styleOf(ref).format;
}

bool XlsxSheet::bold(const QString& ref) const
{
    return styleOf(ref).bold;
}

bool XlsxSheet::border(const QString& ref) const
{
    return styleOf(ref).border;
}

QString XlsxSheet::font(const QString& ref) const
{
    return styleOf(ref).font;
}

double XlsxSheet::fontSize(const QString& ref) const
{
    return styleOf(ref).size;
}

double XlsxSheet::columnWidth(int col) const
{
    return m_widths.value(col);
}

QStringList XlsxSheet::rowRefs(int row) const
{
    QStringList refs;
    static const QRegularExpression re(QStringLiteral("^([A-Z]+)(\\d+)$"));
    for (auto it = m_cells.constBegin(); it != m_cells.constEnd(); ++it) {
        const auto m = re.match(it.key());
        if (m.hasMatch() && m.captured(2).toInt() == row)
            refs << it.key();
    }
    std::sort(refs.begin(), refs.end(),
              [](const QString& a, const QString& b) { return a.size() != b.size() ? a.size() < b.size() : a < b; });
    return refs;
}
