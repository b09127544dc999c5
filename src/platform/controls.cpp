#include "platform/controls.h"

#include "platform/keys.h"
#include "platform/runtime.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QSignalBlocker>

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
    if (ev.KeyPress && e->text().size() == 1) {
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

// ---------------------------------------------------------------- TextBox

TextBox::TextBox(QWidget* parent, const QString& name) : InputControl(parent)
{
    setObjectName(name);
    connect(this, &QLineEdit::textChanged, this, [this] { fire(this, "Change", Change); });
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
    const bool wasEmpty = count() == 0;
    const QString kept = isEditable() ? currentText() : QString();
    m_quiet = true;
    QSignalBlocker block(this);
    addItem(t);
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
    m_quiet = true;
    {
        QSignalBlocker block(this);
        clear();
        if (isEditable())
            setEditText(QString());
    }
    m_quiet = false;
}

bool ComboBox::eventFilter(QObject* o, QEvent* e)
{
    // Keys sent to the edit field itself (the box hands the keys it gets on
    // to the field directly, past this filter). The arrows move through the
    // list, which is the box's own business.
    if (o == lineEdit() && e->type() == QEvent::KeyPress) {
        auto* ke = static_cast<QKeyEvent*>(e);
        const bool listKey = ke->key() == Qt::Key_Up || ke->key() == Qt::Key_Down || ke->key() == Qt::Key_PageUp ||
                             ke->key() == Qt::Key_PageDown;
        handleInputKey(events, ke, [this, listKey](QKeyEvent* k) {
            if (isWindowKey(k))
                return;
            // Delivered straight to the field, so the key does not come
            // back here on its way up.
            listKey ? QComboBox::keyPressEvent(k) : void(static_cast<QObject*>(lineEdit())->event(k));
        });
        return true;
    }
    return QComboBox::eventFilter(o, e);
}

void ComboBox::controlKey(QKeyEvent* e)
{
    // Enter and Esc stop here: the window's own keys act on them.
    if (!isWindowKey(e))
        QComboBox::keyPressEvent(e);
}

// ---------------------------------------------------------------- ListBox

ListBox::ListBox(QWidget* parent, const QString& name) : InputControl(parent)
{
    setObjectName(name);
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    connect(this, &QListWidget::currentRowChanged, this, [this] {
        if (!m_quiet)
            fire(this, "Click", Click);
    });
    connect(this, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
        if (m_quiet || !ItemCheck)
            return;
        const int r = row(item);
        runHandler(eventName(this, "ItemCheck"), [&] { ItemCheck(r); });
    });
}

void ListBox::setListIndex(int i)
{
    if (i < -1 || i >= count())
        i = -1;
    if (i == currentRow())
        return;
    setCurrentRow(i);
    rethrowPending();
}

QString ListBox::List(int i) const
{
    const QListWidgetItem* it = item(i);
    return it ? it->text() : QString();
}

bool ListBox::Selected(int i) const
{
    const QListWidgetItem* it = item(i);
    return it && it->checkState() == Qt::Checked;
}

void ListBox::setSelected(int i, bool on)
{
    QListWidgetItem* it = item(i);
    if (!it || (it->checkState() == Qt::Checked) == on)
        return;
    it->setCheckState(on ? Qt::Checked : Qt::Unchecked);
    rethrowPending();
}

void ListBox::AddItem(const QString& text, bool checked)
{
    m_quiet = true;
    auto* it = new QListWidgetItem(text);
    if (CheckBoxes) {
        it->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        it->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
    } else {
        it->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    }
    addItem(it);
    m_quiet = false;
}

int ListBox::SelCount() const
{
    int n = 0;
    for (int i = 0; i < count(); ++i)
        n += Selected(i) ? 1 : 0;
    return n;
}

void ListBox::AddItems(const QStringList& rows)
{
    // One insertion for all the rows: row by row, the view lays itself out
    // again for each of thousands. The marks are set with the model quiet
    // (no row is shown yet that could be stale), then the view is redrawn.
    setUpdatesEnabled(false);
    m_quiet = true;
    const int first = count();
    insertItems(first, rows);
    {
        QSignalBlocker block(model());
        const Qt::ItemFlags flags = CheckBoxes ? Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable
                                               : Qt::ItemIsEnabled | Qt::ItemIsSelectable;
        for (int i = first; i < count(); ++i) {
            QListWidgetItem* it = item(i);
            it->setFlags(flags);
            if (CheckBoxes)
                it->setCheckState(Qt::Unchecked);
        }
    }
    m_quiet = false;
    setUpdatesEnabled(true);
    viewport()->update();
}

void ListBox::RemoveItem(int i)
{
    if (i < 0 || i >= count())
        return;
    // As in a combo box: the selected row gone, no row is selected (Qt
    // would move on to the next row), and no handler runs.
    const bool wasCurrent = i == currentRow();
    m_quiet = true;
    {
        QSignalBlocker block(this);
        delete takeItem(i);
        if (wasCurrent)
            selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::Clear);
    }
    m_quiet = false;
}

void ListBox::Clear()
{
    m_quiet = true;
    {
        QSignalBlocker block(this);
        clear();
    }
    m_quiet = false;
}

void ListBox::controlKey(QKeyEvent* e)
{
    if (!isWindowKey(e))
        QListWidget::keyPressEvent(e);
}

void ListBox::controlFocusIn(QFocusEvent* e)
{
    // Qt makes the first row current when the focus comes by key; here the
    // focus selects nothing by itself.
    if (currentRow() >= 0) {
        QListWidget::focusInEvent(e);
        return;
    }
    m_quiet = true;
    {
        QSignalBlocker block(this);
        QListWidget::focusInEvent(e);
        if (currentRow() >= 0)
            selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
    }
    m_quiet = false;
}

void ListBox::mouseDoubleClickEvent(QMouseEvent* e)
{
    QListWidget::mouseDoubleClickEvent(e);
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

void Label::setForeColor(const QColor& c)
{
    QPalette p = palette();
    p.setColor(QPalette::WindowText, c);
    setPalette(p);
}

QColor Label::ForeColor() const
{
    return palette().color(QPalette::WindowText);
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
    fire(this, "MouseMove", MouseMove);
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
    connect(this, &QDateEdit::dateChanged, this, [this] { fire(this, "Change", Change); });
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
    if (!isWindowKey(e))
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
