#pragma once
// The controls the windows are built from. They keep the event model the
// windows are written in: setting a text, an index or a check value from code
// runs the same change or click handler as the operator's edit, before the
// setter returns, and only when the value really changes; a key-down handler
// sees the key code and shift state and may swallow the key (code 0); a
// key-press handler may replace or cancel the typed character.
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QElapsedTimer>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <functional>
#include <optional>

#include "data/rowsource.h"
#include "data/textcells.h"

namespace platform {

using Handler = std::function<void()>;
using KeyDownHandler = std::function<void(int& KeyCode, int Shift)>;
using KeyPressHandler = std::function<void(int& KeyAscii)>;

// Focus and key handlers shared by every input control.
struct InputEvents {
    Handler GotFocus;
    Handler LostFocus;
    KeyDownHandler KeyDown;
    KeyPressHandler KeyPress;
};

// Runs a control's handler at the event boundary (nothing when unset).
void fireHandler(const QObject* control, const char* event, const Handler& h);

// Runs the control's key handlers for one key event, then hands the key (or
// the character the key-press handler put in its place) to pass; a key the
// handlers swallowed goes nowhere.
void handleInputKey(InputEvents& ev, QKeyEvent* e, const std::function<void(QKeyEvent*)>& pass);

// The one base of every input control: the focus handlers and the key
// handlers run here, around the widget's own handling of the event.
template <class Widget> class InputControl : public Widget {
public:
    using Widget::Widget;
    InputEvents events;

protected:
    // The widget's own handling of a key the handlers let through.
    virtual void controlKey(QKeyEvent* e) { Widget::keyPressEvent(e); }
    virtual void controlFocusIn(QFocusEvent* e) { Widget::focusInEvent(e); }

    void keyPressEvent(QKeyEvent* e) override
    {
        handleInputKey(events, e, [this](QKeyEvent* k) { controlKey(k); });
    }
    void focusInEvent(QFocusEvent* e) override
    {
        controlFocusIn(e);
        fireHandler(this, "GotFocus", events.GotFocus);
    }
    void focusOutEvent(QFocusEvent* e) override
    {
        Widget::focusOutEvent(e);
        fireHandler(this, "LostFocus", events.LostFocus);
    }
};

// Enter and Esc belong to the window's own keys, not to the control.
bool isWindowKey(const QKeyEvent* e);

// The background colour of an input field.
void setBackColor(QWidget* w, const QColor& c);
QColor backColor(const QWidget* w);

// What a figure field says when a typed or pasted figure has no room in it,
// and what a write says of a computed figure that does not fit its field.
inline const QString FigureTooLong = QStringLiteral("Angka terlalu panjang");
// What a figure field without words of its own says of a pasted text that
// its keys would turn into another number.
inline const QString NotAFigure = QStringLiteral("Angka tidak sah");

// A field's text as a typed key meets it: the selection, which the key
// replaces, left out.
QString UnselectedText(const QLineEdit* edit);

class TextBox : public InputControl<QLineEdit> {
    Q_OBJECT
public:
    explicit TextBox(QWidget* parent, const QString& name);
    QString Text() const { return text(); }
    // A text set from code is kept whole, however long: the limit is the
    // operator's, so that a figure is never cut without a word.
    void setText(const QString& t);
    QString UnselectedText() const { return platform::UnselectedText(this); }
    // Shows "*" for every character.
    void setPasswordChar(bool on);
    // How many characters the operator may type or paste.
    void setMaxLength(int n) { m_maxLength = n; }
    // Whether the text fits what the operator may type.
    bool Fits() const { return text().size() <= m_maxLength; }
    void setLocked(bool on) { setReadOnly(on); }
    QString Tag;
    // A field that holds a figure: a typed key or a paste it has no room for
    // is refused with a message instead of being cut.
    bool Figure = false;
    // A figure field that takes a fraction (a quantity, a percent): a pasted
    // "1,5" is one and a half there, and refused where a field takes whole
    // figures only.
    bool FigureDecimals = false;
    // What the field says of bad input ("Jumlah belum diisi"): a pasted
    // text that its key filter would turn into another number (an
    // exponent, a minus sign it takes none of, letters between digits) is
    // refused with it. Empty: NotAFigure.
    QString FigureMessage;
    Handler Change;

protected:
    void controlKey(QKeyEvent* e) override;
    bool event(QEvent* e) override;

private:
    int m_maxLength = 32767;
};

// A multi-line text box (help text, information text).
class MemoBox : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit MemoBox(QWidget* parent, const QString& name);
    QString Text() const { return toPlainText(); }
    void setText(const QString& t);
    Handler Click;
    Handler MouseMove;

protected:
    void mouseReleaseEvent(QMouseEvent* e) override;
};

class ComboBox : public InputControl<QComboBox> {
    Q_OBJECT
public:
    // editable: a list that also takes typed text; otherwise a drop-down list.
    ComboBox(QWidget* parent, const QString& name, bool editable);
    QString Text() const { return currentText(); }
    void setText(const QString& t);
    int ListIndex() const { return currentIndex(); }
    void setListIndex(int i);
    int ListCount() const { return count(); }
    QString List(int i) const { return itemText(i); }
    // Adds without selecting anything and without running a handler.
    void AddItem(const QString& t);
    // The same for many rows, in one insertion.
    void AddItems(const QStringList& rows);
    void RemoveItem(int i);
    // Empties the list; an editable box keeps its text.
    void Clear();
    // These rows in place of the list, the box's text put back as setText
    // puts it (its Change runs when it is not empty). The rows it was last
    // given here, unchanged since, are left as they stand, and of rows that
    // differ from them only after some, those before stay: a box of a
    // hundred thousand names is filled again after every sale.
    void SetItems(const QStringList& rows);
    QString Tag;
    Handler Change; // the text changed (typing, or set from code)
    Handler Click;  // the selected index changed

    // The text of an editable box as a typed key meets it (see UnselectedText).
    QString UnselectedText() const;

protected:
    bool eventFilter(QObject* o, QEvent* e) override;
    void controlKey(QKeyEvent* e) override;

private:
    bool m_quiet = false;
    bool m_indexMoving = false;
    bool m_codeText = false;
    // What SetItems put in; forgotten once the list changes otherwise.
    std::optional<QStringList> m_given;
};

class ListLines;

// A list of fixed-width text rows with a check box on each row. The check
// mark is a row's "selected" state; the current row is a separate thing.
// The rows are plain text with a check bit each, held by a model of the
// list's own; the view draws only the rows in sight, all of one height, so
// a list of a hundred thousand rows costs its text and little more. The view
// is a table of one column without headers: a list view lays out every row
// whenever its rows change, which for a year's journal costs more than
// the screen it shows.
class ListBox : public InputControl<QTableView> {
    Q_OBJECT
public:
    ListBox(QWidget* parent, const QString& name);
    ~ListBox() override;
    int ListIndex() const;
    void setListIndex(int i);
    int ListCount() const;
    QString List(int i) const;
    bool Selected(int i) const;
    void setSelected(int i, bool on);
    // How many rows are marked.
    int SelCount() const;
    void AddItem(const QString& text, bool checked = false);
    // Many rows at once, unmarked, with no handler per row.
    void AddItems(const QStringList& rows);
    void AddItems(const RowMaker& next);
    // A row of the source stays: the source says what the list holds.
    void RemoveItem(int i);
    void Clear();
    // The rows of a source in place of every row, unmarked and with none
    // current, read a page at a time as they come into sight; rows added
    // afterwards follow them. Count, index, marks and the last row at
    // Ctrl+End are the list's as for rows it holds. Clear lets it go.
    void setSource(std::shared_ptr<RowSource> source);
    const std::shared_ptr<RowSource>& source() const;
    // The source's rows are read again as they are next needed: what a
    // command acts on is then the row as the database holds it now.
    void forgetRows();
    // The highlighted rows (the current row, when there is one).
    QModelIndexList selectedItems() const;
    // Moving to another row leaves the list scrolled sideways as it was.
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;
    // A row's height, as an item view tells it (the table hides it).
    using InputControl::sizeHintForRow;
    QString Tag;
    // False for a list of rows to read only (a report): no check boxes.
    bool CheckBoxes = true;
    Handler Click; // the current row changed
    Handler DblClick;
    std::function<void(int row)> ItemCheck; // a row's check mark changed

protected:
    void controlKey(QKeyEvent* e) override;
    void controlFocusIn(QFocusEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void changeEvent(QEvent* e) override;
    // Letters typed in quick succession look for the next row they begin;
    // over a source of records through all its rows, a page at a time,
    // over a report's rows within those in sight.
    void keyboardSearch(const QString& search) override;
    // The keys move by rows as in any list: Home and End go to the first
    // and the last row, a page is the rows in sight but one.
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    void updateGeometries() override;
    void doItemsLayout() override;
    void scrollContentsBy(int dx, int dy) override;
    void initViewItemOption(QStyleOptionViewItem* option) const override;

private:
    friend class ListLines;
    void lineChecked(int row);
    // Every row is as wide as the widest (of a source: as wide as it says),
    // so that the horizontal scroll bar reaches the end of any row.
    void measureRows();
    // The column spans the widest row and at least the viewport, so that a
    // selected row is highlighted across the list.
    void fitColumn();
    // The height of every row, set before rows come: for rows already there
    // the view would resize each one.
    void fitRowHeight();
    // Rows appended by `append`, with no handler per row; the rows are
    // measured again only when the widest grew.
    void appendRows(const std::function<void()>& append);
    // Scrolled to the end, the last page starts at a row as in a list
    // view, where the table would push the last row to the bottom edge.
    void keepTopRowWhole();
    void showTop();

    ListLines* m_lines;
    bool m_quiet = false;
    int m_rowWidth = 0;
    // What was typed in a row, for the search over a source.
    QString m_typed;
    QElapsedTimer m_typedAt;
};

class CheckBox : public InputControl<QCheckBox> {
    Q_OBJECT
public:
    CheckBox(QWidget* parent, const QString& name, const QString& caption);
    int Value() const { return isChecked() ? 1 : 0; }
    void setValue(int v);
    QString Caption() const { return text(); }
    void setCaption(const QString& t) { setText(t); }
    Handler Click; // the value changed

protected:
    void controlKey(QKeyEvent* e) override;
};

class Label : public QLabel {
    Q_OBJECT
public:
    Label(QWidget* parent, const QString& name, const QString& caption = QString());
    QString Caption() const { return text(); }
    void setCaption(const QString& t) { setText(t); }
    void setForeColor(const QColor& c);
    QColor ForeColor() const;
    Handler Click;
    Handler MouseMove;

protected:
    void mouseReleaseEvent(QMouseEvent* e) override;
    void enterEvent(QEnterEvent* e) override;
};

// A label placed by hand in its parent, as every window places its controls:
// the caption beside a field, or a value the window shows.
Label* PlaceLabel(QWidget* parent, const QString& name, const QString& caption, int x, int y, int width, int height);

// A text box placed the same way; maxLength, when given, is how many
// characters the operator may type or paste into it.
TextBox* PlaceBox(QWidget* parent, const QString& name, int x, int y, int width, int height, int maxLength = 0);

class Frame : public QGroupBox {
    Q_OBJECT
public:
    Frame(QWidget* parent, const QString& name, const QString& caption);
    QString Caption() const { return title(); }
    void setCaption(const QString& t) { setTitle(t); }
};

// A plain container (a panel of the main window, a coloured shape).
class Panel : public QFrame {
    Q_OBJECT
public:
    Panel(QWidget* parent, const QString& name);
    void setFillColor(const QColor& c);
    QColor FillColor() const;
    Handler Click;
    Handler MouseMove;

protected:
    void mouseReleaseEvent(QMouseEvent* e) override;
    void enterEvent(QEnterEvent* e) override;
};

// A clickable picture (menu images, the logo, a flag). Disabled, it looks
// it (its picture and what lies on it greyed) and answers neither the mouse
// nor its hover.
class Image : public QLabel {
    Q_OBJECT
public:
    Image(QWidget* parent, const QString& name);
    // Loads a picture file; a missing or unreadable file shows none.
    bool LoadPicture(const QString& path);
    void setPicture(const QPixmap& p);
    Handler Click;
    Handler MouseMove;

protected:
    void mouseReleaseEvent(QMouseEvent* e) override;
    void enterEvent(QEnterEvent* e) override;
    void changeEvent(QEvent* e) override;
};

// The push button of every window.
class WanButton : public InputControl<QPushButton> {
    Q_OBJECT
public:
    WanButton(QWidget* parent, const QString& name, const QString& caption);
    QString Caption() const { return text(); }
    void setCaption(const QString& t) { setText(t); }
    QString Tag;
    Handler Click;

protected:
    void controlKey(QKeyEvent* e) override;
};

// A date typed section by section (day, month, year) or stepped with the
// arrow keys; Change runs once for each new date, however it came.
class DateTimePick : public InputControl<QDateEdit> {
    Q_OBJECT
public:
    DateTimePick(QWidget* parent, const QString& name);
    QDate Value() const { return date(); }
    void setValue(const QDate& d);
    Handler Change;

protected:
    void controlKey(QKeyEvent* e) override;

private:
    QDate m_reported;
};

class Timer : public QObject {
    Q_OBJECT
public:
    Timer(QObject* parent, const QString& name, int intervalMs);
    bool Enabled() const { return m_timer.isActive(); }
    void setEnabled(bool on);
    void setInterval(int ms) { m_timer.setInterval(ms); }
    Handler Tick;

private:
    QTimer m_timer;
    bool m_reported = false;
};

} // namespace platform
