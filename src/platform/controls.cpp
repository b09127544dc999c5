#include "platform/controls.h"

#include "platform/inputevents.h"

#include <QKeyEvent>
#include <QListView>
#include <QRegularExpression>
#include <QSignalBlocker>

namespace platform {

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
                pasteFrom({this, &events, m_maxLength, Figure, FigureMessage, FigureDecimals}, QClipboard::Clipboard);
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
            handled = takeInText({this, &events, m_maxLength, Figure, FigureMessage, FigureDecimals}, e);
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

class ComboRows : public QAbstractListModel {
public:
    using QAbstractListModel::QAbstractListModel;
    const QStringList& rows() const { return m_rows; }
    int rowCount(const QModelIndex& parent = QModelIndex()) const override
    {
        return parent.isValid() ? 0 : int(m_rows.size());
    }
    QVariant data(const QModelIndex& index, int role) const override
    {
        if (!index.isValid() || index.row() >= m_rows.size() || (role != Qt::DisplayRole && role != Qt::EditRole))
            return QVariant();
        return m_rows.at(index.row());
    }
    // Qt's own ways into the list (addItem, insertItem, setItemText) come
    // here: a row is its text and nothing else.
    bool setData(const QModelIndex& index, const QVariant& value, int role) override
    {
        if (!index.isValid() || index.row() >= m_rows.size() || (role != Qt::DisplayRole && role != Qt::EditRole))
            return false;
        m_rows[index.row()] = value.toString();
        emit dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole});
        return true;
    }
    bool insertRows(int row, int count, const QModelIndex& parent) override
    {
        if (parent.isValid() || row < 0 || row > m_rows.size() || count < 1)
            return false;
        insert(row, QStringList(count, QString()));
        return true;
    }
    bool removeRows(int row, int count, const QModelIndex& parent) override
    {
        if (parent.isValid() || row < 0 || count < 1 || row + count > m_rows.size())
            return false;
        beginRemoveRows(QModelIndex(), row, row + count - 1);
        m_rows.remove(row, count);
        endRemoveRows();
        return true;
    }
    void insert(int row, const QStringList& rows)
    {
        if (rows.isEmpty())
            return;
        beginInsertRows(QModelIndex(), row, row + int(rows.size()) - 1);
        if (m_rows.isEmpty())
            m_rows = rows; // shared, not copied
        else if (row == m_rows.size())
            m_rows.append(rows);
        else
            m_rows = m_rows.first(row) + rows + m_rows.sliced(row);
        endInsertRows();
    }
    void clear()
    {
        if (m_rows.isEmpty())
            return;
        beginResetModel();
        m_rows.clear();
        endResetModel();
    }

private:
    QStringList m_rows;
};

ComboBox::ComboBox(QWidget* parent, const QString& name, bool editable) : InputControl(parent)
{
    setObjectName(name);
    m_rows = new ComboRows(this);
    setModel(m_rows);
    setEditable(editable);
    setInsertPolicy(QComboBox::NoInsert);
    setMaxVisibleItems(20);
    // A box's size is its window's to set: its hint is never measured over
    // every row.
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
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
    // Qt's own ways of changing the rows forget what SetItems gave.
    for (auto signal : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved})
        connect(m_rows, signal, this, [this] { m_given = false; });
    connect(m_rows, &QAbstractItemModel::dataChanged, this, [this] { m_given = false; });
    connect(m_rows, &QAbstractItemModel::modelReset, this, [this] { m_given = false; });
}

void ComboBox::SetItemsSoon(std::function<QStringList()> read)
{
    if (!Text().isEmpty() || currentIndex() >= 0) {
        m_toRead = nullptr;
        return SetItems(read());
    }
    m_toRead = std::move(read);
}

void ComboBox::takeRows() const
{
    if (!m_toRead)
        return;
    // A read that fails is tried again at the next use.
    const QStringList rows = m_toRead();
    m_toRead = nullptr;
    // Whatever was typed meanwhile stays, and nothing is chosen: the rows
    // come without a handler.
    auto* self = const_cast<ComboBox*>(this);
    self->quietly([&] {
        m_rows->clear();
        m_rows->insert(0, rows);
        self->setCurrentIndex(-1);
    });
    self->m_given = true;
}

int ComboBox::count() const
{
    takeRows();
    return QComboBox::count();
}

QString ComboBox::itemText(int i) const
{
    takeRows();
    return QComboBox::itemText(i);
}

int ComboBox::findText(const QString& text, Qt::MatchFlags flags) const
{
    takeRows();
    return QComboBox::findText(text, flags);
}

void ComboBox::wheelEvent(QWheelEvent* e)
{
    takeRows();
    QComboBox::wheelEvent(e);
}

void ComboBox::showPopup()
{
    takeRows();
    // Rows of one height: the list lays out the rows in sight, not all.
    if (auto* list = qobject_cast<QListView*>(view()))
        list->setUniformItemSizes(true);
    QComboBox::showPopup();
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

void ComboBox::quietly(const std::function<void()>& change)
{
    const QString kept = isEditable() ? currentText() : QString();
    m_quiet = true;
    {
        QSignalBlocker block(this);
        change();
        if (isEditable() && currentText() != kept)
            setEditText(kept);
    }
    m_quiet = false;
}

void ComboBox::AddItem(const QString& t)
{
    AddItems(QStringList{t});
}

void ComboBox::AddItems(const QStringList& rows)
{
    if (rows.isEmpty())
        return;
    quietly([&] {
        const bool none = currentIndex() < 0;
        m_rows->insert(count(), rows);
        // Qt chooses the first row it is given; a list here chooses
        // nothing until told to.
        if (none)
            setCurrentIndex(-1);
    });
    m_given = false;
}

void ComboBox::RemoveItem(int i)
{
    if (i < 0 || i >= count())
        return;
    quietly([&] {
        const bool wasCurrent = i == currentIndex();
        m_rows->removeRows(i, 1, QModelIndex());
        if (wasCurrent)
            setCurrentIndex(-1);
    });
}

void ComboBox::Clear()
{
    m_toRead = nullptr;
    m_quiet = true;
    {
        QSignalBlocker block(this);
        m_rows->clear();
        if (isEditable())
            setEditText(QString());
    }
    m_quiet = false;
    m_given = false;
}

void ComboBox::SetItems(const QStringList& rows)
{
    m_toRead = nullptr;
    const QString kept = Text();
    if (m_given && m_rows->rows() == rows) {
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
    const QStringList& given = m_rows->rows();
    qsizetype same = 0;
    if (m_given && isEditable())
        while (same < rows.size() && same < given.size() && rows.at(same) == given.at(same))
            ++same;
    if (same == 0) {
        Clear();
        AddItems(rows);
        setText(kept);
        m_given = true;
        return;
    }
    quietly([&] {
        setCurrentIndex(-1);
        if (same < count())
            m_rows->removeRows(int(same), count() - int(same), QModelIndex());
        m_rows->insert(int(same), rows.mid(same));
    });
    m_given = true;
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
        if (listKey)
            takeRows();
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
    takeRows();
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

TextBox* PlaceBox(QWidget* parent, const QString& name, int x, int y, int width, int height, int maxLength)
{
    auto* t = new TextBox(parent, name);
    t->setGeometry(x, y, width, height);
    if (maxLength > 0)
        t->setMaxLength(maxLength);
    return t;
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
