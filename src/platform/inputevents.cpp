#include "platform/inputevents.h"

#include "data/owntext.h"
#include "data/sqltext.h"
#include "platform/backend.h"
#include "platform/keys.h"
#include "platform/runtime.h"

#include <QAction>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QPointer>
#include <algorithm>
#include <optional>

namespace platform {

QString eventName(const QObject* o, const char* event)
{
    return o->objectName() + QLatin1Char('.') + QLatin1String(event);
}

namespace {

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

void fireHandler(const QObject* control, const char* event, const Handler& h)
{
    if (h)
        runHandler(eventName(control, event), h);
}

bool isWindowKey(const QKeyEvent* e)
{
    return e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter || e->key() == Qt::Key_Escape;
}

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

bool isPasteKey(const QKeyEvent* e)
{
    return e->matches(QKeySequence::Paste) ||
           (e->key() == Qt::Key_Insert && (e->modifiers() & ~Qt::KeypadModifier) == Qt::ShiftModifier);
}

void tellFigureRefused(const QString& why)
{
    if (Runtime* rt = Runtime::current())
        rt->backend().messageBox(MsgKind::Warning, why, MsgTitleWarn);
}

void tellFigureTooLong()
{
    tellFigureRefused(OwnText("cFigureTooLong", FigureTooLong));
}

namespace {

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

bool isMinusSign(QChar c)
{
    return c == QLatin1Char('-') || c == QChar(0x2212);
}

// The part of a pasted text that is its figure: from its first digit to its
// last, with a separator just before the first digit (".5") and a minus sign
// anywhere before it. Letters, blanks or a currency sign around the figure
// ("Rp 5000", "15 %") are what the key filter would drop; what stands
// between the digits belongs to the figure and is judged with it.
QString figureSpan(const QString& text)
{
    qsizetype first = -1, last = -1;
    for (qsizetype i = 0; i < text.size(); ++i)
        if (text.at(i).isDigit()) {
            if (first < 0)
                first = i;
            last = i;
        }
    if (first < 0)
        return QString();
    const bool minus = std::any_of(text.cbegin(), text.cbegin() + first, isMinusSign);
    if (first > 0 && (text.at(first - 1) == QLatin1Char(',') || text.at(first - 1) == QLatin1Char('.')))
        --first;
    const QString span = text.mid(first, last - first + 1);
    return minus ? QLatin1Char('-') + span : span;
}

bool hasControlCharacter(const QString& text)
{
    return std::any_of(text.cbegin(), text.cend(), [](QChar c) { return !c.isPrint(); });
}

// The field as it was before a refused paste.
struct Before {
    QString text;
    int selStart, selLength, cursor;
};

Before before(const QLineEdit* edit)
{
    return {edit->text(), edit->selectionStart(), int(edit->selectedText().size()), edit->cursorPosition()};
}

void refuse(QLineEdit* edit, const Before& was, const QString& why)
{
    QPointer<QLineEdit> guard(edit);
    edit->setText(was.text);
    rethrowPending();
    if (!guard)
        return;
    if (was.selStart >= 0 && was.selLength > 0)
        edit->setSelection(was.selStart, was.selLength);
    else
        edit->setCursorPosition(was.cursor);
    tellFigureRefused(why);
}

// Types one character through the key-press filter, within the room the
// field has; false when the field went away. *overflow is set when it had
// no room, *typed gains what the filter let through.
bool typeOne(const Intake& in, QChar c, QString* typed, bool* overflow)
{
    QLineEdit* edit = in.edit;
    QPointer<QLineEdit> guard(edit);
    int ascii = c.unicode();
    if (in.events->KeyPress) {
        runHandler(QStringLiteral("KeyPress"), [&] { in.events->KeyPress(ascii); });
        if (!guard)
            return false;
    }
    if (ascii <= 0 || !QChar(ascii).isPrint())
        return true;
    if (UnselectedText(edit).size() + 1 > in.maxLength) {
        *overflow = true;
        return true;
    }
    *typed += QChar(ascii);
    edit->insert(QString(QChar(ascii)));
    rethrowPending();
    return bool(guard);
}

// A figure pasted is read as it was written, by the field's rule, and typed
// without its grouping, so that the field's own keys and its "#,##0" form
// meet the digits they would meet from the keyboard. It is refused whole,
// with a message, when it is no figure for the field ("1,5" where whole
// figures go, "12\n34", "1e308"), when it does not fit, or when the field's
// keys would keep another figure of it (a minus sign they drop).
void typeFigureIn(const Intake& in, const QString& pasted)
{
    QLineEdit* edit = in.edit;
    if (edit->isReadOnly())
        return;
    const QString meant = figureSpan(pasted);
    if (meant.isEmpty())
        return; // no digit: nothing the keys would keep
    const QString notAFigure = in.notAFigure.isEmpty() ? OwnText("cNotAFigure", NotAFigure) : in.notAFigure;
    const FigureRule rule{in.decimals, true};
    const Before was = before(edit);
    const std::optional<Figure> figure =
        hasControlCharacter(meant) ? std::nullopt : ReadFigure(meant, rule, FigureSource::Written);
    if (!figure) {
        tellFigureRefused(notAFigure);
        return;
    }
    QPointer<QLineEdit> guard(edit);
    QString typed;
    bool overflow = false;
    for (const QChar c : figure->plain) {
        if (!typeOne(in, c, &typed, &overflow))
            return;
        if (overflow)
            break;
    }
    QString refusal;
    if (overflow || edit->text().size() > in.maxLength)
        refusal = OwnText("cFigureTooLong", FigureTooLong);
    else if (const std::optional<Figure> kept = ReadFigure(typed, rule, FigureSource::Field);
             !kept || kept->value != figure->value)
        refusal = notAFigure;
    if (!refusal.isEmpty() && guard)
        refuse(edit, was, refusal);
}

// Puts pasted text into the field as if it were typed: each character
// through the key-press filter and within the room the field has, so that a
// paste stores nothing a keyboard could not. Line breaks become spaces (see
// oneLine); other control characters are dropped; text past the limit is
// cut, as typing would stop there. A figure field takes a figure instead
// (typeFigureIn).
void typeIn(const Intake& in, const QString& pasted)
{
    if (in.figure)
        return typeFigureIn(in, pasted);
    QLineEdit* edit = in.edit;
    const QString text = oneLine(pasted);
    if (edit->isReadOnly() || text.isEmpty())
        return;
    QString typed;
    bool overflow = false;
    for (const QChar c : text) {
        if (!c.isPrint())
            continue;
        if (!typeOne(in, c, &typed, &overflow))
            return;
        if (overflow)
            break;
    }
}
} // namespace

void pasteFrom(const Intake& in, QClipboard::Mode mode)
{
    if (const QClipboard* cb = QGuiApplication::clipboard())
        typeIn(in, cb->text(mode));
}
bool bringsText(const QEvent* e)
{
    return e->type() == QEvent::ContextMenu || e->type() == QEvent::Drop ||
           (e->type() == QEvent::MouseButtonRelease &&
            static_cast<const QMouseEvent*>(e)->button() == Qt::MiddleButton);
}
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

} // namespace platform
