#include "platform/inputevents.h"

#include <QAbstractListModel>
#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QScopeGuard>
#include <QScrollBar>
#include <QStringEncoder>
#include <algorithm>
#include <exception>
#include <vector>

namespace platform {

// The rows of one list box. A row is its text and a check bit; the list
// box decides whether the bit is shown as a check box. The texts lie end to
// end as UTF-8 in chunks of a megabyte: a year's journal is a hundred
// thousand rows of some two hundred characters, which as separate texts
// would take twice the memory and an allocation each.
class ListLines : public QAbstractListModel {
public:
    explicit ListLines(ListBox& box) : QAbstractListModel(&box), m_box(box) {}

    int rowCount(const QModelIndex& parent = QModelIndex()) const override
    {
        return parent.isValid() ? 0 : int(count());
    }

    QVariant data(const QModelIndex& index, int role) const override
    {
        if (!has(index))
            return QVariant();
        const int r = index.row();
        switch (role) {
        case Qt::DisplayRole: return m_measure.isEmpty() ? text(r) : m_measure;
        case Qt::CheckStateRole:
            return m_box.CheckBoxes ? QVariant(int(m_checked[size_t(r)] ? Qt::Checked : Qt::Unchecked)) : QVariant();
        default: return QVariant();
        }
    }

    // The check box's click (mouse or space bar) and a mark set from code.
    bool setData(const QModelIndex& index, const QVariant& value, int role) override
    {
        if (!has(index) || role != Qt::CheckStateRole)
            return false;
        const int r = index.row();
        const bool on = value.toInt() == int(Qt::Checked);
        if (m_checked[size_t(r)] == on)
            return true;
        m_checked[size_t(r)] = on;
        m_marked += on ? 1 : -1;
        emit dataChanged(index, index, {Qt::CheckStateRole});
        m_box.lineChecked(r);
        return true;
    }

    Qt::ItemFlags flags(const QModelIndex& index) const override
    {
        if (!has(index))
            return Qt::NoItemFlags;
        Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
        if (m_box.CheckBoxes)
            f |= Qt::ItemIsUserCheckable;
        return f;
    }

    qsizetype count() const { return qsizetype(m_checked.size()); }
    // The rows of a source come first, the rows added by hand after them.
    qsizetype sourced() const { return m_pages.count(); }
    QString text(qsizetype r) const
    {
        if (r < 0 || r >= count())
            return QString();
        if (r < sourced())
            return m_pages.text(r);
        const Span& at = m_spans[size_t(r - sourced())];
        return QString::fromUtf8(m_chunks[at.chunk].constData() + at.offset, at.length);
    }
    bool checked(qsizetype r) const { return r >= 0 && r < count() && m_checked[size_t(r)]; }
    qsizetype marked() const { return m_marked; }
    qsizetype widest() const { return m_widest; }

    void append(const QStringList& rows, bool checked)
    {
        qsizetype i = 0;
        append(
            [&](QString& row) {
                if (i >= rows.size())
                    return false;
                row = rows[i++];
                return true;
            },
            checked);
    }

    // Rows made one by one go into the buffer first, each through the one
    // reused text, and are announced to the view together.
    void append(const RowMaker& next, bool checked)
    {
        const qsizetype first = count();
        QStringEncoder utf8(QStringEncoder::Utf8);
        QString row;
        while (next(row)) {
            const qsizetype room = utf8.requiredSpace(row.size());
            if (m_chunks.empty() || m_chunks.back().capacity() - m_chunks.back().size() < room) {
                // A short list keeps a small chunk; each next one is twice
                // as large, up to a megabyte.
                const qsizetype size = m_chunks.empty() ? 4096 : std::min(m_chunks.back().capacity() * 2, kChunk);
                m_chunks.emplace_back();
                m_chunks.back().reserve(std::max(room, size));
            }
            QByteArray& chunk = m_chunks.back();
            const qsizetype at = chunk.size();
            chunk.resize(at + room);
            chunk.resize(utf8.appendToBuffer(chunk.data() + at, row) - chunk.constData());
            m_spans.push_back({quint32(m_chunks.size() - 1), quint32(at), quint32(chunk.size() - at)});
            if (m_widest < 0 || row.size() > m_widestLength) {
                m_widest = sourced() + qsizetype(m_spans.size()) - 1;
                m_widestLength = row.size();
            }
        }
        const qsizetype added = sourced() + qsizetype(m_spans.size()) - first;
        if (added == 0)
            return;
        beginInsertRows(QModelIndex(), int(first), int(first + added - 1));
        m_checked.resize(m_checked.size() + size_t(added), checked);
        if (checked)
            m_marked += added;
        endInsertRows();
    }

    // Only a row added by hand goes; a source's rows stay as it gives them.
    bool remove(int r)
    {
        if (r < sourced())
            return false;
        beginRemoveRows(QModelIndex(), r, r);
        // The text stays in its chunk until the list is cleared.
        m_spans.erase(m_spans.begin() + (r - sourced()));
        m_marked -= m_checked[size_t(r)] ? 1 : 0;
        m_checked.erase(m_checked.begin() + r);
        if (r == m_widest) {
            m_widest = -1;
            for (qsizetype i = sourced(); i < count(); ++i) {
                const qsizetype n = text(i).size();
                if (m_widest < 0 || n > m_widestLength) {
                    m_widest = i;
                    m_widestLength = n;
                }
            }
        } else if (r < m_widest) {
            --m_widest;
        }
        endRemoveRows();
        return true;
    }

    // Every row gone; with a source, its rows in their place. The memory of
    // the rows before goes back with them.
    void clear(std::shared_ptr<RowSource> source = {})
    {
        beginResetModel();
        std::vector<QByteArray>().swap(m_chunks);
        std::vector<Span>().swap(m_spans);
        std::vector<bool>().swap(m_checked);
        m_pages = RowPages(std::move(source));
        m_checked.resize(size_t(m_pages.count()), false);
        m_marked = 0;
        m_widest = -1;
        m_widestLength = 0;
        endResetModel();
    }

    const std::shared_ptr<RowSource>& source() const { return m_pages.source(); }
    void forget() { m_pages.forget(); }

    // The first row from `from` on, round to the rows before it, whose text
    // begins with `prefix`; -1 for none. A source's rows are read a page at
    // a time, past the pages kept for the screen.
    qsizetype find(const QString& prefix, qsizetype from) const
    {
        const qsizetype n = count();
        QStringList page;
        for (qsizetype done = 0; done < n;) {
            const qsizetype at = (from + done) % n;
            if (at < sourced()) {
                const qsizetype take = std::min({RowPages::kPageRows, sourced() - at, n - done});
                page.clear();
                try {
                    source()->read(at, take, page);
                } catch (const std::exception& e) {
                    qWarning("A list's rows could not be read: %s", e.what());
                    return -1;
                }
                for (qsizetype i = 0; i < page.size() && i < take; ++i)
                    if (page.at(i).startsWith(prefix, Qt::CaseInsensitive))
                        return at + i;
                done += take;
            } else {
                if (text(at).startsWith(prefix, Qt::CaseInsensitive))
                    return at;
                ++done;
            }
        }
        return -1;
    }
    // The widest of the rows added by hand, or of the source's rows as the
    // source tells it (-1: none).
    qsizetype widestLength() const
    {
        const qsizetype fromSource = source() ? source()->width() : -1;
        return std::max(m_widest >= 0 ? m_widestLength : -1, fromSource);
    }
    // A row as wide as the widest, to measure the rows by.
    QModelIndex widestIndex()
    {
        if (m_widest >= 0 && m_widestLength >= widestLength())
            return index(int(m_widest));
        m_measure = QString(widestLength(), QLatin1Char('W'));
        return index(0);
    }
    void measured() { m_measure.clear(); }

private:
    bool has(const QModelIndex& index) const
    {
        return index.isValid() && index.model() == this && index.row() < count();
    }

    // Rows never span two chunks, so a chunk once made is never moved: a
    // long list grows without copying what it holds.
    static constexpr qsizetype kChunk = 1 << 20;
    struct Span {
        quint32 chunk;
        quint32 offset;
        quint32 length;
    };

    ListBox& m_box;
    std::vector<QByteArray> m_chunks;
    std::vector<Span> m_spans;
    std::vector<bool> m_checked;
    // How many bits are set, kept as they change: asked after every mark.
    qsizetype m_marked = 0;
    // The longest row: in a fixed-pitch font, the widest.
    qsizetype m_widest = -1;
    qsizetype m_widestLength = 0;
    // The rows of a source, read a page at a time as the view paints them.
    mutable RowPages m_pages;
    // Set only while the rows are measured.
    QString m_measure;
};

ListBox::ListBox(QWidget* parent, const QString& name) : InputControl(parent), m_lines(new ListLines(*this))
{
    setObjectName(name);
    setModel(m_lines);
    setSelectionMode(QAbstractItemView::SingleSelection);
    // A list, not a grid: no headers, no lines between the rows, no text
    // wrapped, the Tab key leaves the list and a typed key only searches.
    horizontalHeader()->hide();
    verticalHeader()->hide();
    setShowGrid(false);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    setTabKeyNavigation(false);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
    // All rows are of one height, which the header keeps without asking
    // the rows; the one column scrolls by pixels, not a column at a time.
    for (QHeaderView* header : {horizontalHeader(), verticalHeader()}) {
        header->setMinimumSectionSize(1);
        header->setSectionResizeMode(QHeaderView::Fixed);
    }
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this, [this] {
        if (!m_quiet)
            fire(this, "Click", Click);
    });
}

ListBox::~ListBox() = default;

int ListBox::ListIndex() const
{
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.row() : -1;
}

int ListBox::ListCount() const
{
    return int(m_lines->count());
}

void ListBox::setListIndex(int i)
{
    if (i < -1 || i >= ListCount())
        i = -1;
    if (i == ListIndex())
        return;
    selectionModel()->setCurrentIndex(i < 0 ? QModelIndex() : m_lines->index(i), QItemSelectionModel::ClearAndSelect);
    rethrowPending();
}

QString ListBox::List(int i) const
{
    return m_lines->text(i);
}

bool ListBox::Selected(int i) const
{
    return m_lines->checked(i);
}

void ListBox::setSelected(int i, bool on)
{
    if (i < 0 || i >= ListCount() || m_lines->checked(i) == on)
        return;
    m_lines->setData(m_lines->index(i), int(on ? Qt::Checked : Qt::Unchecked), Qt::CheckStateRole);
    rethrowPending();
}

void ListBox::lineChecked(int row)
{
    if (m_quiet || !ItemCheck)
        return;
    runHandler(eventName(this, "ItemCheck"), [&] { ItemCheck(row); });
}

int ListBox::SelCount() const
{
    return int(m_lines->marked());
}

QModelIndexList ListBox::selectedItems() const
{
    return selectionModel()->selectedIndexes();
}

void ListBox::appendRows(const std::function<void()>& append)
{
    if (m_lines->count() == 0)
        fitRowHeight();
    const qsizetype widest = m_lines->widest();
    m_quiet = true;
    append();
    m_quiet = false;
    if (m_lines->widest() != widest)
        measureRows();
}

void ListBox::AddItem(const QString& text, bool checked)
{
    appendRows([&] { m_lines->append({text}, checked && CheckBoxes); });
}

void ListBox::AddItems(const QStringList& rows)
{
    appendRows([&] { m_lines->append(rows, false); });
}

void ListBox::AddItems(const RowMaker& next)
{
    appendRows([&] { m_lines->append(next, false); });
}

void ListBox::RemoveItem(int i)
{
    if (i < 0 || i >= ListCount())
        return;
    // As in a combo box: the selected row gone, no row is selected (the
    // view would move on to the next row), and no handler runs.
    const bool wasCurrent = i == ListIndex();
    const qsizetype widest = m_lines->widest();
    if (i < m_lines->sourced())
        return;
    m_quiet = true;
    m_lines->remove(i);
    if (wasCurrent)
        selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::Clear);
    m_quiet = false;
    if (m_lines->widest() != widest)
        measureRows();
}

void ListBox::Clear()
{
    m_quiet = true;
    m_lines->clear();
    m_quiet = false;
    measureRows();
}

void ListBox::showTop()
{
    // Rows of another source start at the first row and the left edge,
    // not where the rows before them were scrolled to.
    verticalScrollBar()->setValue(0);
    horizontalScrollBar()->setValue(0);
}

void ListBox::setSource(std::shared_ptr<RowSource> source)
{
    fitRowHeight();
    m_quiet = true;
    m_lines->clear(std::move(source));
    m_quiet = false;
    measureRows();
    showTop();
}

const std::shared_ptr<RowSource>& ListBox::source() const
{
    return m_lines->source();
}

void ListBox::measureRows()
{
    m_rowWidth = 0;
    if (m_lines->widestLength() >= 0 && m_lines->count() > 0) {
        QStyleOptionViewItem option;
        initViewItemOption(&option);
        const QModelIndex widest = m_lines->widestIndex();
        m_rowWidth = itemDelegate()->sizeHint(option, widest).width();
        m_lines->measured();
    }
    fitColumn();
    scheduleDelayedItemsLayout();
}

void ListBox::fitColumn()
{
    const int width = std::max(m_rowWidth, viewport()->width());
    if (columnWidth(0) != width)
        setColumnWidth(0, width);
}

void ListBox::fitRowHeight()
{
    // A row of one line, measured as the delegate measures a row.
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    option.features |= QStyleOptionViewItem::HasDisplay;
    option.text = QStringLiteral("W");
    if (CheckBoxes) {
        option.features |= QStyleOptionViewItem::HasCheckIndicator;
        option.checkState = Qt::Unchecked;
    }
    const int height = style()->sizeFromContents(QStyle::CT_ItemViewItem, &option, QSize(), this).height();
    if (height > 0 && height != verticalHeader()->defaultSectionSize())
        verticalHeader()->setDefaultSectionSize(height);
}

void ListBox::updateGeometries()
{
    fitColumn();
    InputControl::updateGeometries();
    keepTopRowWhole();
    // One step of the arrow is a row's width, as in a list view.
    if (m_rowWidth > 0)
        horizontalScrollBar()->setSingleStep(m_rowWidth);
}

void ListBox::doItemsLayout()
{
    InputControl::doItemsLayout();
    keepTopRowWhole();
}

void ListBox::scrollContentsBy(int dx, int dy)
{
    InputControl::scrollContentsBy(dx, dy);
    keepTopRowWhole();
}

void ListBox::keepTopRowWhole()
{
    const QScrollBar* bar = verticalScrollBar();
    if (verticalScrollMode() != ScrollPerItem || bar->maximum() <= 0 || bar->value() != bar->maximum())
        return;
    const int top = verticalHeader()->sectionPosition(bar->value());
    if (top < 0 || verticalHeader()->offset() == top)
        return;
    verticalHeader()->setOffset(top);
    viewport()->update();
}

void ListBox::initViewItemOption(QStyleOptionViewItem* option) const
{
    // Drawn as a list draws its rows: the selection's highlight behind
    // the text as the style has it for lists, not across the whole cell.
    InputControl::initViewItemOption(option);
    option->showDecorationSelected = style()->styleHint(QStyle::SH_ItemView_ShowDecorationSelected, nullptr, this);
    if (!iconSize().isValid()) {
        const int icon = style()->pixelMetric(QStyle::PM_ListViewIconSize, nullptr, this);
        option->decorationSize = QSize(icon, icon);
    }
}

void ListBox::scrollTo(const QModelIndex& index, ScrollHint hint)
{
    const int across = horizontalScrollBar()->value();
    InputControl::scrollTo(index, hint);
    horizontalScrollBar()->setValue(across);
}

QModelIndex ListBox::moveCursor(CursorAction action, Qt::KeyboardModifiers)
{
    const int count = ListCount();
    if (count == 0)
        return QModelIndex();
    const int current = ListIndex();
    if (current < 0)
        return m_lines->index(0);
    const int rowHeight = std::max(1, verticalHeader()->defaultSectionSize());
    const int page = std::max(1, viewport()->height() / rowHeight - 1);
    int row = current;
    switch (action) {
    case MoveUp:
    case MovePrevious: row = current - 1; break;
    case MoveDown:
    case MoveNext: row = current + 1; break;
    case MovePageUp: row = current - page; break;
    case MovePageDown: row = current + page; break;
    case MoveHome: row = 0; break;
    case MoveEnd: row = count - 1; break;
    case MoveLeft:
    case MoveRight: break;
    }
    return m_lines->index(std::clamp(row, 0, count - 1));
}

void ListBox::changeEvent(QEvent* e)
{
    InputControl::changeEvent(e);
    if (e->type() == QEvent::FontChange || e->type() == QEvent::StyleChange) {
        fitRowHeight();
        measureRows();
    }
}

void ListBox::controlKey(QKeyEvent* e)
{
    if (!isWindowKey(e))
        QTableView::keyPressEvent(e);
}

void ListBox::controlFocusIn(QFocusEvent* e)
{
    // Qt makes the first row current when the focus comes by key; here the
    // focus selects nothing by itself.
    if (ListIndex() >= 0) {
        QTableView::focusInEvent(e);
        return;
    }
    m_quiet = true;
    QTableView::focusInEvent(e);
    if (ListIndex() >= 0)
        selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
    m_quiet = false;
}

void ListBox::keyboardSearch(const QString& search)
{
    if (!source()) {
        QTableView::keyboardSearch(search);
        return;
    }
    // Keys typed in quick succession make one text, as in any list. The
    // pause is counted from when the list answered the key before, not
    // from when it was pressed: a search that read many rows must not
    // make the next key start a text of its own.
    if (!m_typedAt.isValid() || m_typedAt.elapsed() > QApplication::keyboardInputInterval())
        m_typed.clear();
    m_typed += search;
    const auto answered = qScopeGuard([this] { m_typedAt.start(); });
    if (m_typed.isEmpty() || ListCount() == 0)
        return;
    // A longer text may still be the current row's; a first key moves on.
    const int from = std::max(0, ListIndex() + (m_typed.size() > 1 ? 0 : 1));
    if (source()->searchable()) {
        const qsizetype row = m_lines->find(m_typed, from % ListCount());
        if (row >= 0)
            setListIndex(int(row));
        return;
    }
    // A report's rows are looked for on the screen only: a typed letter
    // would otherwise read every row after the current one.
    const int first = indexAt(QPoint(0, 0)).row();
    const int last = indexAt(QPoint(0, viewport()->height() - 1)).row();
    if (first < 0)
        return;
    const int end = last < 0 ? ListCount() - 1 : last;
    for (int i = std::max(first, from); i <= end; ++i)
        if (List(i).startsWith(m_typed, Qt::CaseInsensitive)) {
            setListIndex(i);
            return;
        }
}

void ListBox::forgetRows()
{
    m_lines->forget();
    viewport()->update();
}

void ListBox::mouseDoubleClickEvent(QMouseEvent* e)
{
    QTableView::mouseDoubleClickEvent(e);
    fire(this, "DblClick", DblClick);
}

} // namespace platform
