#include "data/rowsource.h"

#include <QDebug>
#include <algorithm>
#include <exception>

namespace platform {

LinesSource::LinesSource(QStringList lines) : m_lines(std::move(lines))
{
    for (const QString& l : std::as_const(m_lines))
        m_width = std::max(m_width, l.size());
}

void LinesSource::read(qsizetype first, qsizetype n, QStringList& out)
{
    for (qsizetype i = first; i < first + n; ++i)
        out << m_lines.value(i);
}

JoinedSource::JoinedSource(std::vector<std::shared_ptr<RowSource>> parts) : m_parts(std::move(parts))
{
    for (const auto& p : m_parts)
        m_count += p->count();
}

void JoinedSource::read(qsizetype first, qsizetype n, QStringList& out)
{
    qsizetype start = 0;
    for (const auto& p : m_parts) {
        const qsizetype c = p->count();
        if (n > 0 && first < start + c) {
            const qsizetype from = first - start;
            const qsizetype take = std::min(n, c - from);
            const qsizetype before = out.size();
            p->read(from, take, out);
            // A part that gave fewer rows keeps the rest in their places.
            while (out.size() < before + take)
                out << QString();
            first += take;
            n -= take;
        }
        start += c;
    }
}

qsizetype JoinedSource::width() const
{
    qsizetype w = -1;
    for (const auto& p : m_parts)
        w = std::max(w, p->width());
    return w;
}

bool JoinedSource::searchable() const
{
    return std::any_of(m_parts.begin(), m_parts.end(), [](const auto& p) { return p->searchable(); });
}

RowPages::RowPages(std::shared_ptr<RowSource> source) : m_source(std::move(source)) {}

QString RowPages::text(qsizetype row)
{
    if (!m_source || row < 0 || row >= m_source->count())
        return QString();
    const qsizetype index = row / kPageRows;
    const qsizetype at = row % kPageRows;
    for (Page& p : m_pages)
        if (p.index == index) {
            p.used = ++m_clock;
            return p.rows.value(at);
        }
    Page page{index, ++m_clock, {}};
    const qsizetype first = index * kPageRows;
    try {
        m_source->read(first, std::min(kPageRows, m_source->count() - first), page.rows);
    } catch (const std::exception& e) {
        // The list paints from here: a failed read shows empty rows and
        // is tried again at the next paint, never ends the program.
        qWarning("A list's rows could not be read: %s", e.what());
        return QString();
    }
    if (m_pages.size() >= kPagesKept)
        m_pages.erase(std::min_element(m_pages.begin(), m_pages.end(),
                                       [](const Page& a, const Page& b) { return a.used < b.used; }));
    m_pages.push_back(std::move(page));
    return m_pages.back().rows.value(at);
}

} // namespace platform
