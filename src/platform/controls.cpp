#include "platform/controls.h"

#include "platform/backend.h"
#include "platform/keys.h"
#include "platform/runtime.h"

#include <QAbstractListModel>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QPointer>
#include <QRegularExpression>
#include <QSignalBlocker>
#include <QStringEncoder>
#include <algorithm>
#include <vector>

namespace platform {

namespace {

QString eventName(const QObject* o, const char* event)
{
    return o->objectName() + QLatin1Char('.') + QLatin1String(event);
}

void fire(const QObject* o, const char* event, const Handler& h)
{
    fireHandler(o, event, h);
}

// The key event to pass on when the key-press handler replaced the typed
// character.
QKeyEvent replacedKey(const QKeyEvent* e, int replaced)
{
    const int key = replaced == vbKeyBack     ? int(Qt::Key_Backspace)
                    : replaced == vbKeyReturn ? int(Qt::Key_Return)
                                              : int(QChar(replaced).toUpper().unicode());
    return QKeyEvent(e->type(), key, e->modifiers() & ~Qt::ShiftModifier, QString(QChar(replaced)));
}

} // namespace

void setBackColor(QWidget* w, const QColor& c)
{
    QPalette p = w->palette();
    p.setColor(QPalette::Base, c);
    w->setPalette(p);
}

QColor backColor(const QWidget* w)
{
    return w->palette().color(QPalette::Base);
}

void fireHandler(const QObject* control, const char* event, const Handler& h)
{
    if (h)
        runHandler(eventName(control, event), h);
}

bool isWindowKey(const QKeyEvent* e)
{
    return e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter || e->key() == Qt::Key_Escape;
}

namespace {

// A key that types a character, which the key-press handler filters. The
// editing keys (Ctrl+A, Ctrl+C, Ctrl+V, Ctrl+Z, Delete …) type none: they
// carry control characters, and no filter may throw them away.
bool typesCharacter(const QKeyEvent* e)
{
    if (e->text().size() != 1)
        return false;
    // Ctrl with Alt is AltGr on some keyboards, which types characters.
    const Qt::KeyboardModifiers m = e->modifiers();
    if ((m & Qt::ControlModifier) && !(m & Qt::AltModifier))
        return false;
    const QChar c = e->text().at(0);
    return c.isPrint() || c.unicode() == vbKeyBack || c.unicode() == vbKeyReturn;
}

// Returns true when the handlers swallowed the key, and sets *replacedAscii
// when the key-press handler changed the typed character.
bool dispatchKey(InputEvents& ev, QKeyEvent* e, int* replacedAscii)
{
    *replacedAscii = -1;
    if (ev.KeyDown) {
        int code = keyCodeOf(e);
        if (code != 0) {
            runHandler(QStringLiteral("KeyDown"), [&] { ev.KeyDown(code, shiftOf(e->modifiers())); });
            if (code == 0)
                return true;
        }
    }
    if (ev.KeyPress && typesCharacter(e)) {
        const int original = e->text().at(0).unicode();
        int ascii = original;
        runHandler(QStringLiteral("KeyPress"), [&] { ev.KeyPress(ascii); });
        if (ascii == 0)
            return true;
        if (ascii != original)
            *replacedAscii = ascii;
    }
    return false;
}

} // namespace

void handleInputKey(InputEvents& ev, QKeyEvent* e, const std::function<void(QKeyEvent*)>& pass)
{
    int replaced;
    if (!dispatchKey(ev, e, &replaced)) {
        if (replaced < 0) {
            pass(e);
        } else {
            QKeyEvent ne = replacedKey(e, replaced);
            pass(&ne);
        }
    }
    e->accept();
}

QString UnselectedText(const QLineEdit* edit)
{
    QString t = edit->text();
    if (edit->hasSelectedText())
        t.remove(edit->selectionStart(), edit->selectedText().size());
    return t;
}

namespace {

bool isPasteKey(const QKeyEvent* e)
{
    return e->matches(QKeySequence::Paste) ||
           (e->key() == Qt::Key_Insert && (e->modifiers() & ~Qt::KeypadModifier) == Qt::ShiftModifier);
}

void tellFigureTooLong()
{
    if (Runtime* rt = Runtime::current())
        rt->backend().messageBox(MsgKind::Warning, FigureTooLong, MsgTitleWarn);
}

// What a field takes, and what it does with a text the operator brings in
// one piece (a paste, a drop).
struct Intake {
    QLineEdit* edit;
    InputEvents* events;
    int maxLength;
    bool figure;
};

bool isLineBreak(QChar c)
{
    return c == QLatin1Char('\n') || c == QLatin1Char('\r') || c == QChar(0x2028) || c == QChar(0x2029);
}

// A field of one line holds the lines of a pasted text side by side: each
// run of line breaks inside it is one space, those at its ends go.
QString oneLine(const QString& text)
{
    QString out;
    out.reserve(text.size());
    bool pendingBreak = false;
    for (const QChar c : text) {
        if (isLineBreak(c)) {
            pendingBreak = !out.isEmpty();
            continue;
        }
        if (pendingBreak)
            out += QLatin1Char(' ');
        pendingBreak = false;
        out += c;
    }
    return out;
}

// Puts pasted text into the field as if it were typed: each character
// through the key-press filter and within the room the field has, so that a
// paste stores nothing a keyboard could not. Line breaks become spaces (see
// oneLine); other control characters are dropped. A figure that does not fit
// is refused whole, with a message, and the field keeps what it had; other
// text is cut at the limit as typing would stop there.
void typeIn(const Intake& in, const QString& pasted)
{
    QLineEdit* edit = in.edit;
    const QString text = oneLine(pasted);
    if (edit->isReadOnly() || text.isEmpty())
        return;
    QPointer<QLineEdit> guard(edit);
    const QString before = edit->text();
    const int selStart = edit->selectionStart();
    const int selLength = int(edit->selectedText().size());
    const int cursor = edit->cursorPosition();
    bool overflow = false;
    for (const QChar c : text) {
        if (!c.isPrint())
            continue;
        int ascii = c.unicode();
        if (in.events->KeyPress) {
            runHandler(QStringLiteral("KeyPress"), [&] { in.events->KeyPress(ascii); });
            if (!guard)
                return;
        }
        if (ascii <= 0 || !QChar(ascii).isPrint())
            continue;
        if (UnselectedText(edit).size() + 1 > in.maxLength) {
            overflow = true;
            break;
        }
        edit->insert(QString(QChar(ascii)));
        rethrowPending();
        if (!guard)
            return;
    }
    if (in.figure && (overflow || edit->text().size() > in.maxLength)) {
        edit->setText(before);
        rethrowPending();
        if (!guard)
            return;
        if (selStart >= 0 && selLength > 0)
            edit->setSelection(selStart, selLength);
        else
            edit->setCursorPosition(cursor);
        tellFigureTooLong();
    }
}

void pasteFrom(const Intake& in, QClipboard::Mode mode)
{
    if (const QClipboard* cb = QGuiApplication::clipboard())
        typeIn(in, cb->text(mode));
}

// An event by which text may arrive without a key that the field's filter
// sees: the middle mouse button, the context menu (its Paste) and a drop.
bool bringsText(const QEvent* e)
{
    return e->type() == QEvent::ContextMenu || e->type() == QEvent::Drop ||
           (e->type() == QEvent::MouseButtonRelease &&
            static_cast<const QMouseEvent*>(e)->button() == Qt::MiddleButton);
}

// Handles such an event; true when it was handled here.
bool takeInText(const Intake& in, QEvent* e)
{
    QLineEdit* edit = in.edit;
    switch (e->type()) {
    case QEvent::MouseButtonRelease: {
        auto* me = static_cast<QMouseEvent*>(e);
        const QClipboard* cb = QGuiApplication::clipboard();
        if (me->button() != Qt::MiddleButton || !cb || !cb->supportsSelection() || edit->isReadOnly())
            return false;
        edit->deselect();
        edit->setCursorPosition(edit->cursorPositionAt(me->position().toPoint()));
        pasteFrom(in, QClipboard::Selection);
        e->accept();
        return true;
    }
    case QEvent::ContextMenu: {
        auto* ce = static_cast<QContextMenuEvent*>(e);
        QPointer<QMenu> menu = edit->createStandardContextMenu();
        if (!menu)
            return false;
        menu->setAttribute(Qt::WA_DeleteOnClose);
        // The line edit's own Paste, known by its caption.
        const QString caption = QCoreApplication::translate("QLineEdit", "&Paste");
        for (QAction* paste : menu->actions()) {
            if (!paste->text().startsWith(caption))
                continue;
            QObject::disconnect(paste, &QAction::triggered, nullptr, nullptr);
            QObject::connect(paste, &QAction::triggered, edit, [in] {
                runHandler(QStringLiteral("Paste"), [&] { pasteFrom(in, QClipboard::Clipboard); });
            });
        }
        menu->popup(ce->globalPos());
        e->accept();
        return true;
    }
    case QEvent::Drop: {
        auto* de = static_cast<QDropEvent*>(e);
        // A move inside the field carries text the field already holds.
        if (de->source() == edit || !de->mimeData()->hasText() || edit->isReadOnly())
            return false;
        edit->deselect();
        edit->setCursorPosition(edit->cursorPositionAt(de->position().toPoint()));
        typeIn(in, de->mimeData()->text());
        de->setDropAction(Qt::CopyAction);
        de->accept();
        return true;
    }
    default: return false;
    }
}

} // namespace

// ---------------------------------------------------------------- TextBox

TextBox::TextBox(QWidget* parent, const QString& name) : InputControl(parent)
{
    setObjectName(name);
    connect(this, &QLineEdit::textChanged, this, [this] { fire(this, "Change", Change); });
}

void TextBox::controlKey(QKeyEvent* e)
{
    if (isPasteKey(e)) {
        if (!isReadOnly())
            runHandler(objectName() + QStringLiteral(".Paste"), [&] {
                pasteFrom({this, &events, m_maxLength, Figure}, QClipboard::Clipboard);
            });
        return;
    }
    // The limit on typing, kept here rather than by the line edit, which
    // would also cut a text set from code.
    if (!isReadOnly() && typesCharacter(e) && e->text().at(0).isPrint() &&
        UnselectedText().size() + e->text().size() > m_maxLength) {
        if (Figure)
            tellFigureTooLong();
        return;
    }
    QLineEdit::keyPressEvent(e);
}

bool TextBox::event(QEvent* e)
{
    bool handled = false;
    if (bringsText(e))
        runHandler(objectName() + QStringLiteral(".Paste"), [&] {
            handled = takeInText({this, &events, m_maxLength, Figure}, e);
        });
    return handled || QLineEdit::event(e);
}

void TextBox::setText(const QString& t)
{
    if (t == text())
        return;
    QLineEdit::setText(t);
    rethrowPending();
}

void TextBox::setPasswordChar(bool on)
{
    setEchoMode(on ? QLineEdit::Password : QLineEdit::Normal);
    // "*" for every character, whatever the style's own mask.
    setStyleSheet(on ? QStringLiteral("lineedit-password-character: 42") : QString());
}

// ---------------------------------------------------------------- MemoBox

MemoBox::MemoBox(QWidget* parent, const QString& name) : QPlainTextEdit(parent)
{
    setObjectName(name);
    setReadOnly(true);
}

void MemoBox::setText(const QString& t)
{
    if (t != toPlainText())
        setPlainText(t);
}

void MemoBox::mouseReleaseEvent(QMouseEvent* e)
{
    QPlainTextEdit::mouseReleaseEvent(e);
    fire(this, "Click", Click);
}

// ---------------------------------------------------------------- ComboBox

ComboBox::ComboBox(QWidget* parent, const QString& name, bool editable) : InputControl(parent)
{
    setObjectName(name);
    setEditable(editable);
    setInsertPolicy(QComboBox::NoInsert);
    setMaxVisibleItems(20);
    if (editable) {
        lineEdit()->installEventFilter(this);
        setCompleter(nullptr);
        connect(this, &QComboBox::editTextChanged, this, [this](const QString& t) {
            if (m_quiet)
                return;
            // Choosing a row also rewrites the text; that is a click, not a change.
            if (!m_codeText &&
                (m_indexMoving || (!lineEdit()->isModified() && currentIndex() >= 0 && t == itemText(currentIndex()))))
                return;
            // A text that is no longer the selected row's leaves no row
            // selected, so picking that row again is a click.
            if (!m_indexMoving && currentIndex() >= 0 && t != itemText(currentIndex())) {
                const int cursor = lineEdit()->cursorPosition();
                const bool modified = lineEdit()->isModified();
                m_quiet = true;
                {
                    QSignalBlocker block(this);
                    setCurrentIndex(-1);
                    setEditText(t);
                }
                lineEdit()->setCursorPosition(cursor);
                lineEdit()->setModified(modified);
                m_quiet = false;
            }
            fire(this, "Change", Change);
        });
    }
    connect(this, &QComboBox::currentIndexChanged, this, [this] {
        if (!m_quiet)
            fire(this, "Click", Click);
    });
}

void ComboBox::setText(const QString& t)
{
    if (!isEditable()) {
        setListIndex(findText(t, Qt::MatchFixedString | Qt::MatchCaseSensitive));
        return;
    }
    if (t == currentText())
        return;
    m_codeText = true;
    setEditText(t);
    m_codeText = false;
    rethrowPending();
}

void ComboBox::setListIndex(int i)
{
    if (i < -1 || i >= count())
        i = -1;
    if (i == currentIndex())
        return;
    const QString kept = isEditable() ? currentText() : QString();
    if (i == -1 && isEditable()) {
        // Deselecting keeps what stands in the box, as a typed text would.
        m_quiet = true;
        setCurrentIndex(-1);
        setEditText(kept);
        m_quiet = false;
        fire(this, "Click", Click);
    } else {
        m_indexMoving = true;
        setCurrentIndex(i);
        m_indexMoving = false;
    }
    rethrowPending();
}

void ComboBox::AddItem(const QString& t)
{
    AddItems(QStringList{t});
}

void ComboBox::AddItems(const QStringList& rows)
{
    if (rows.isEmpty())
        return;
    m_given.reset();
    const bool wasEmpty = count() == 0;
    const QString kept = isEditable() ? currentText() : QString();
    m_quiet = true;
    QSignalBlocker block(this);
    addItems(rows);
    if (wasEmpty) {
        // Qt selects the first row it is given; a list here selects nothing
        // until told to.
        setCurrentIndex(-1);
        if (isEditable())
            setEditText(kept);
    }
    m_quiet = false;
}

void ComboBox::RemoveItem(int i)
{
    if (i < 0 || i >= count())
        return;
    const bool wasCurrent = i == currentIndex();
    const QString kept = isEditable() ? currentText() : QString();
    m_given.reset();
    m_quiet = true;
    {
        QSignalBlocker block(this);
        removeItem(i);
        if (wasCurrent)
            setCurrentIndex(-1);
        if (isEditable())
            setEditText(kept);
    }
    m_quiet = false;
}

void ComboBox::Clear()
{
    m_given.reset();
    m_quiet = true;
    {
        QSignalBlocker block(this);
        clear();
        if (isEditable())
            setEditText(QString());
    }
    m_quiet = false;
}

void ComboBox::SetItems(const QStringList& rows)
{
    const QString kept = Text();
    if (m_given && *m_given == rows && count() == rows.size()) {
        // What the refill would have done to the text: put back, it
        // changes, and its handler runs.
        if (!kept.isEmpty() && isEditable())
            fire(this, "Change", Change);
        else if (!kept.isEmpty() && currentIndex() >= 0)
            fire(this, "Click", Click);
        rethrowPending();
        return;
    }
    // A held charge that comes or goes changes the rows after the contacts
    // only: the rows before it stay in the box, and the box ends as a
    // refill leaves it (nothing chosen, the text put back, its Change run).
    qsizetype same = 0;
    if (m_given && count() == m_given->size() && isEditable())
        while (same < rows.size() && same < m_given->size() && rows.at(same) == m_given->at(same))
            ++same;
    if (same == 0) {
        Clear();
        AddItems(rows);
        setText(kept);
        m_given = rows;
        return;
    }
    m_quiet = true;
    {
        QSignalBlocker block(this);
        setCurrentIndex(-1);
        model()->removeRows(int(same), count() - int(same));
        insertItems(int(same), rows.mid(same));
        setCurrentIndex(-1);
        setEditText(kept);
    }
    m_quiet = false;
    m_given = rows;
    if (!kept.isEmpty())
        fire(this, "Change", Change);
    rethrowPending();
}

QString ComboBox::UnselectedText() const
{
    return isEditable() ? platform::UnselectedText(lineEdit()) : currentText();
}

bool ComboBox::eventFilter(QObject* o, QEvent* e)
{
    if (o != lineEdit())
        return QComboBox::eventFilter(o, e);
    const Intake intake{lineEdit(), &events, lineEdit()->maxLength(), false};
    // Keys sent to the edit field itself (the box hands the keys it gets on
    // to the field directly, past this filter). The arrows move through the
    // list, which is the box's own business.
    if (e->type() == QEvent::KeyPress) {
        auto* ke = static_cast<QKeyEvent*>(e);
        const bool listKey = ke->key() == Qt::Key_Up || ke->key() == Qt::Key_Down || ke->key() == Qt::Key_PageUp ||
                             ke->key() == Qt::Key_PageDown;
        handleInputKey(events, ke, [this, listKey, &intake](QKeyEvent* k) {
            if (isWindowKey(k))
                return;
            if (isPasteKey(k)) {
                runHandler(objectName() + QStringLiteral(".Paste"), [&] { pasteFrom(intake, QClipboard::Clipboard); });
                return;
            }
            // Delivered straight to the field, so the key does not come
            // back here on its way up.
            listKey ? QComboBox::keyPressEvent(k) : void(static_cast<QObject*>(lineEdit())->event(k));
        });
        return true;
    }
    bool handled = false;
    if (bringsText(e))
        runHandler(objectName() + QStringLiteral(".Paste"), [&] { handled = takeInText(intake, e); });
    return handled || QComboBox::eventFilter(o, e);
}

void ComboBox::controlKey(QKeyEvent* e)
{
    // Enter and Esc stop here: the window's own keys act on them.
    if (isWindowKey(e))
        return;
    // The box hands its keys to the field past the field's filter: a paste
    // is taken in here, as typing, or the field would store it raw.
    if (isEditable() && isPasteKey(e)) {
        runHandler(objectName() + QStringLiteral(".Paste"), [&] {
            pasteFrom({lineEdit(), &events, lineEdit()->maxLength(), false}, QClipboard::Clipboard);
        });
        return;
    }
    QComboBox::keyPressEvent(e);
}

// ---------------------------------------------------------------- ListBox

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
        case Qt::SizeHintRole: return m_rowSize.isValid() ? QVariant(m_rowSize) : QVariant();
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
    qsizetype marked() const { return std::count(m_checked.begin(), m_checked.end(), true); }
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
        m_widest = -1;
        m_widestLength = 0;
        endResetModel();
    }

    const std::shared_ptr<RowSource>& source() const { return m_pages.source(); }
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

    void setRowSize(const QSize& s) { m_rowSize = s; }

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
    // The longest row: in a fixed-pitch font, the widest.
    qsizetype m_widest = -1;
    qsizetype m_widestLength = 0;
    QSize m_rowSize;
    // The rows of a source, read a page at a time as the view paints them.
    mutable RowPages m_pages;
    // Set only while the rows are measured.
    QString m_measure;
};

ListBox::ListBox(QWidget* parent, const QString& name) : InputControl(parent), m_lines(new ListLines(*this))
{
    setObjectName(name);
    setModel(m_lines);
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
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

void ListBox::AddItem(const QString& text, bool checked)
{
    const qsizetype widest = m_lines->widest();
    m_quiet = true;
    m_lines->append({text}, checked && CheckBoxes);
    m_quiet = false;
    if (m_lines->widest() != widest)
        measureRows();
}

void ListBox::AddItems(const QStringList& rows)
{
    const qsizetype widest = m_lines->widest();
    m_quiet = true;
    m_lines->append(rows, false);
    m_quiet = false;
    if (m_lines->widest() != widest)
        measureRows();
}

void ListBox::AddItems(const RowMaker& next)
{
    const qsizetype widest = m_lines->widest();
    m_quiet = true;
    m_lines->append(next, false);
    m_quiet = false;
    if (m_lines->widest() != widest)
        measureRows();
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

void ListBox::setSource(std::shared_ptr<RowSource> source)
{
    m_quiet = true;
    m_lines->clear(std::move(source));
    m_quiet = false;
    measureRows();
}

const std::shared_ptr<RowSource>& ListBox::source() const
{
    return m_lines->source();
}

void ListBox::measureRows()
{
    m_lines->setRowSize(QSize());
    if (m_lines->widestLength() >= 0 && m_lines->count() > 0) {
        QStyleOptionViewItem option;
        initViewItemOption(&option);
        const QModelIndex widest = m_lines->widestIndex();
        m_lines->setRowSize(itemDelegate()->sizeHint(option, widest));
        m_lines->measured();
    }
    scheduleDelayedItemsLayout();
}

void ListBox::changeEvent(QEvent* e)
{
    InputControl::changeEvent(e);
    if (e->type() == QEvent::FontChange || e->type() == QEvent::StyleChange)
        measureRows();
}

void ListBox::controlKey(QKeyEvent* e)
{
    if (!isWindowKey(e))
        QListView::keyPressEvent(e);
}

void ListBox::controlFocusIn(QFocusEvent* e)
{
    // Qt makes the first row current when the focus comes by key; here the
    // focus selects nothing by itself.
    if (ListIndex() >= 0) {
        QListView::focusInEvent(e);
        return;
    }
    m_quiet = true;
    QListView::focusInEvent(e);
    if (ListIndex() >= 0)
        selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
    m_quiet = false;
}

void ListBox::keyboardSearch(const QString& search)
{
    if (!source()) {
        QListView::keyboardSearch(search);
        return;
    }
    // Keys typed in quick succession make one text, as in any list.
    if (!m_typedAt.isValid() || m_typedAt.elapsed() > QApplication::keyboardInputInterval())
        m_typed.clear();
    m_typed += search;
    m_typedAt.start();
    const int first = indexAt(QPoint(0, 0)).row();
    const int last = indexAt(QPoint(0, viewport()->height() - 1)).row();
    if (first < 0 || m_typed.isEmpty())
        return;
    const int end = last < 0 ? ListCount() - 1 : last;
    // A longer text may still be the current row's; a first key moves on.
    for (int i = std::max(first, ListIndex() + (m_typed.size() > 1 ? 0 : 1)); i <= end; ++i)
        if (List(i).startsWith(search, Qt::CaseInsensitive)) {
            setListIndex(i);
            return;
        }
}

void ListBox::mouseDoubleClickEvent(QMouseEvent* e)
{
    QListView::mouseDoubleClickEvent(e);
    fire(this, "DblClick", DblClick);
}

// ---------------------------------------------------------------- CheckBox

CheckBox::CheckBox(QWidget* parent, const QString& name, const QString& caption) : InputControl(caption, parent)
{
    setObjectName(name);
    connect(this, &QCheckBox::toggled, this, [this] { fire(this, "Click", Click); });
}

void CheckBox::setValue(int v)
{
    const bool on = v != 0;
    if (on == isChecked())
        return;
    setChecked(on);
    rethrowPending();
}

void CheckBox::controlKey(QKeyEvent* e)
{
    if (!isWindowKey(e))
        QCheckBox::keyPressEvent(e);
}

// ---------------------------------------------------------------- Label, Frame, Panel, Image

Label::Label(QWidget* parent, const QString& name, const QString& caption) : QLabel(caption, parent)
{
    setObjectName(name);
}

Label* PlaceLabel(QWidget* parent, const QString& name, const QString& caption, int x, int y, int width, int height)
{
    auto* l = new Label(parent, name, caption);
    l->setGeometry(x, y, width, height);
    return l;
}

void Label::setForeColor(const QColor& c)
{
    // The colour of an enabled label; a disabled one keeps the desktop's
    // grey, as any disabled control does.
    QPalette p = palette();
    p.setColor(QPalette::Active, QPalette::WindowText, c);
    p.setColor(QPalette::Inactive, QPalette::WindowText, c);
    setPalette(p);
}

QColor Label::ForeColor() const
{
    return palette().color(QPalette::Active, QPalette::WindowText);
}

void Label::mouseReleaseEvent(QMouseEvent* e)
{
    QLabel::mouseReleaseEvent(e);
    if (isEnabled())
        fire(this, "Click", Click);
}

void Label::enterEvent(QEnterEvent* e)
{
    QLabel::enterEvent(e);
    fire(this, "MouseMove", MouseMove);
}

Frame::Frame(QWidget* parent, const QString& name, const QString& caption) : QGroupBox(caption, parent)
{
    setObjectName(name);
}

Panel::Panel(QWidget* parent, const QString& name) : QFrame(parent)
{
    setObjectName(name);
    setAutoFillBackground(true);
}

void Panel::setFillColor(const QColor& c)
{
    QPalette p = palette();
    p.setColor(QPalette::Window, c);
    setPalette(p);
}

QColor Panel::FillColor() const
{
    return palette().color(QPalette::Window);
}

void Panel::mouseReleaseEvent(QMouseEvent* e)
{
    QFrame::mouseReleaseEvent(e);
    fire(this, "Click", Click);
}

void Panel::enterEvent(QEnterEvent* e)
{
    QFrame::enterEvent(e);
    fire(this, "MouseMove", MouseMove);
}

Image::Image(QWidget* parent, const QString& name) : QLabel(parent)
{
    setObjectName(name);
    setAlignment(Qt::AlignCenter);
}

bool Image::LoadPicture(const QString& path)
{
    QPixmap p;
    if (!path.isEmpty() && p.load(path)) {
        setPixmap(p);
        return true;
    }
    clear();
    return false;
}

void Image::setPicture(const QPixmap& p)
{
    setPixmap(p);
}

void Image::mouseReleaseEvent(QMouseEvent* e)
{
    QLabel::mouseReleaseEvent(e);
    if (isEnabled())
        fire(this, "Click", Click);
}

void Image::enterEvent(QEnterEvent* e)
{
    QLabel::enterEvent(e);
    if (isEnabled())
        fire(this, "MouseMove", MouseMove);
}

void Image::changeEvent(QEvent* e)
{
    QLabel::changeEvent(e);
    // The hand a hover gave it goes with the right to click.
    if (e->type() == QEvent::EnabledChange && !isEnabled())
        unsetCursor();
}

// ---------------------------------------------------------------- WanButton

WanButton::WanButton(QWidget* parent, const QString& name, const QString& caption) : InputControl(caption, parent)
{
    setObjectName(name);
    setAutoDefault(false);
    setDefault(false);
    connect(this, &QPushButton::clicked, this, [this] { fire(this, "Click", Click); });
}

void WanButton::controlKey(QKeyEvent* e)
{
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        // Enter on a focused button presses it.
        if (isEnabled())
            click();
    } else if (e->key() != Qt::Key_Escape) {
        QPushButton::keyPressEvent(e);
    }
}

// ---------------------------------------------------------------- DateTimePick

DateTimePick::DateTimePick(QWidget* parent, const QString& name) : InputControl(parent)
{
    setObjectName(name);
    setCalendarPopup(true);
    setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    setDate(QDate::currentDate());
    m_reported = date();
    connect(this, &QDateEdit::dateChanged, this, [this](const QDate& d) {
        if (d == m_reported)
            return;
        m_reported = d;
        fire(this, "Change", Change);
    });
}

void DateTimePick::setValue(const QDate& d)
{
    if (d == date())
        return;
    setDate(d);
    rethrowPending();
}

void DateTimePick::controlKey(QKeyEvent* e)
{
    if (isWindowKey(e))
        return;
    // A digit typed with the caret inside a whole section (where a click or
    // an arrow key leaves it) would make that section too long, and Qt
    // drops it. Typed there, the digit starts the section afresh, as it
    // does with the section selected; a section being typed goes on.
    const bool digit = e->text().size() == 1 && e->text().at(0).isDigit();
    if (digit && !lineEdit()->hasSelectedText()) {
        const QStringList widths = displayFormat().split(QRegularExpression(QStringLiteral("[^dMy]+")));
        const int index = currentSectionIndex();
        if (index >= 0 && index < widths.size() && sectionText(currentSection()).size() >= widths.at(index).size())
            setSelectedSection(currentSection());
    }
    QDateEdit::keyPressEvent(e);
}

// ---------------------------------------------------------------- Timer

Timer::Timer(QObject* parent, const QString& name, int intervalMs) : QObject(parent)
{
    setObjectName(name);
    m_timer.setInterval(intervalMs);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        if (Tick)
            runTimerHandler(objectName(), m_reported, Tick);
    });
}

void Timer::setEnabled(bool on)
{
    if (on && !m_timer.isActive())
        m_timer.start();
    else if (!on)
        m_timer.stop();
}

} // namespace platform
