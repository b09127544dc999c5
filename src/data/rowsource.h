#pragma once
// Rows a list shows without holding them: a source says how many rows there
// are and gives the text of any run of them when the list needs it, so that
// a list of a year's journal or of the whole catalogue costs what is on the
// screen. Widget-free: the report builders make sources, the list box, the
// printer and the export read them.
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

namespace platform {

class RowSource {
public:
    virtual ~RowSource() = default;
    // How many rows the list has; fixed for the life of the source.
    virtual qsizetype count() const = 0;
    // The texts of rows first .. first + n - 1 (within count), appended to
    // `out` in order. Each call reads on its own and holds nothing open
    // afterwards. A source whose rows changed since it was made still gives
    // n texts (a row gone shows empty), so that the list never shifts.
    virtual void read(qsizetype first, qsizetype n, QStringList& out) = 0;
    // The number of characters of the widest row, by which the list
    // measures its rows; -1 when the source cannot tell.
    virtual qsizetype width() const = 0;
    // Whether a typed text may look through every row: true for a list of
    // records one looks up by their first letters, false for a report,
    // whose rows a typed letter looks for only on the screen.
    virtual bool searchable() const { return false; }
};

// Rows held in memory, for a source made of a few lines (and for tests).
class LinesSource : public RowSource {
public:
    explicit LinesSource(QStringList lines);
    qsizetype count() const override { return m_lines.size(); }
    void read(qsizetype first, qsizetype n, QStringList& out) override;
    qsizetype width() const override { return m_width; }

private:
    QStringList m_lines;
    qsizetype m_width = 0;
};

// One source after another, as one list (a report's head, its rows and
// its foot).
class JoinedSource : public RowSource {
public:
    explicit JoinedSource(std::vector<std::shared_ptr<RowSource>> parts);
    qsizetype count() const override { return m_count; }
    void read(qsizetype first, qsizetype n, QStringList& out) override;
    qsizetype width() const override;
    bool searchable() const override;

private:
    std::vector<std::shared_ptr<RowSource>> m_parts;
    qsizetype m_count = 0;
};

// The pages of a source that were read last, kept for the rows on the
// screen and around them; a row outside them reads its page. A page that
// fails to read shows empty rows and is read again the next time.
class RowPages {
public:
    static constexpr qsizetype kPageRows = 256;
    static constexpr size_t kPagesKept = 16;

    explicit RowPages(std::shared_ptr<RowSource> source = {});
    const std::shared_ptr<RowSource>& source() const { return m_source; }
    qsizetype count() const { return m_source ? m_source->count() : 0; }
    QString text(qsizetype row);
    // Forgets the pages read (the source's rows may have changed).
    void forget() { m_pages.clear(); }

private:
    struct Page {
        qsizetype index;
        quint64 used;
        QStringList rows;
    };
    std::shared_ptr<RowSource> m_source;
    std::vector<Page> m_pages;
    quint64 m_clock = 0;
};

// Every row of a source in order, read a page at a time: what printing and
// export walk instead of holding a whole report. `each` takes the row's
// position and text.
template <class Each> void ForEachRow(RowSource& source, Each each)
{
    const qsizetype count = source.count();
    QStringList page;
    for (qsizetype first = 0; first < count; first += RowPages::kPageRows) {
        const qsizetype n = std::min(RowPages::kPageRows, count - first);
        page.clear();
        source.read(first, n, page);
        for (qsizetype i = 0; i < n; ++i)
            each(first + i, i < page.size() ? page.at(i) : QString());
    }
}

} // namespace platform
