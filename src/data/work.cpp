#include "data/work.h"

namespace platform {

namespace {
// Often enough to look alive and to hear Cancel at once, seldom enough to
// cost the work nothing.
constexpr qint64 kReportEveryMs = 50;
} // namespace

namespace {
Work* g_current = nullptr;
} // namespace

QString WorkCount(const QString& text, qint64 n, qint64 total)
{
    QString out = text;
    out.replace(QLatin1String("%1"), QString::number(n));
    out.replace(QLatin1String("%2"), QString::number(total));
    return out;
}

Work::Work(std::unique_ptr<ProgressBox> box, WorkTexts texts) : m_box(std::move(box)), m_texts(std::move(texts))
{
    m_outer = g_current;
    g_current = this;
    // At once: the operator sees the work has started before its first
    // row is read.
    tell(WorkCount(m_texts.rows, 0), -1);
}

Work::~Work()
{
    if (g_current == this)
        g_current = m_outer;
}

Work* Work::current()
{
    return g_current;
}

bool Work::tell(const QString& what, double done)
{
    m_sinceReport.restart();
    if (m_box && !m_box->report(what, done))
        m_cancelled = true;
    return !m_cancelled;
}

bool Work::row(qint64 done)
{
    if (m_cancelled)
        return false;
    if (m_sinceReport.isValid() && m_sinceReport.elapsed() < kReportEveryMs)
        return true;
    if (m_rows > 0)
        return tell(WorkCount(m_texts.rowOf, done, m_rows), double(done) / double(m_rows));
    return tell(WorkCount(m_texts.rows, done), -1);
}

bool Work::page(int page, int pages)
{
    if (m_cancelled)
        return false;
    if (m_sinceReport.isValid() && m_sinceReport.elapsed() < kReportEveryMs && page > 1)
        return true;
    return tell(WorkCount(m_texts.pageOf, page, pages), pages > 0 ? double(page - 1) / pages : -1);
}

void Work::check() const
{
    if (m_cancelled)
        throw Cancelled();
}

} // namespace platform
