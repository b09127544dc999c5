#include "platform/controls.h"

#include "platform/inputevents.h"

#include <QKeyEvent>
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
