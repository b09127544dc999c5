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

// The number a figure means: an amount as the display locale writes it, or
// a quantity with a decimal comma.
std::optional<double> figureOf(const QString& text)
{
    bool ok = false;
    const double amount = ParseAmount(text, &ok);
    if (ok)
        return amount;
    const double quantity = ParseQuantity(text, &ok);
    if (ok)
        return quantity;
    return std::nullopt;
}

// A text from its first digit to its last: what a filter that drops
// letters, blanks or a currency sign around a figure leaves of its meaning.
QString digitSpan(const QString& text)
{
    qsizetype first = -1, last = -1;
    for (qsizetype i = 0; i < text.size(); ++i)
        if (text.at(i).isDigit()) {
            if (first < 0)
                first = i;
            last = i;
        }
    return first < 0 ? QString() : text.mid(first, last - first + 1);
}

// A minus sign before the first digit.
bool negative(const QString& text)
{
    for (const QChar c : text) {
        if (c.isDigit())
            return false;
        if (c == QLatin1Char('-') || c == QChar(0x2212))
            return true;
    }
    return false;
}

// Whether what a figure field's key filter let through of a pasted text is
// still the number the text means. Letters, blanks or a sign around the
// figure dropped ("Rp 5000", "7a"), a decimal separator turned into the
// field's own or a group separator dropped change nothing; a dropped minus
// sign, exponent or second separator, or letters between digits, make
// another number ("2e3" would become 23, "-2" 2, "1x5" 15).
bool sameFigure(const QString& pasted, const QString& typed)
{
    if (negative(pasted) != negative(typed))
        return false;
    QString meant = digitSpan(pasted), kept = digitSpan(typed);
    if (meant == kept)
        return true;
    const std::optional<double> a = figureOf(meant), b = figureOf(kept);
    if (a && b && *a == *b)
        return true;
    meant.replace(QLatin1Char(','), QLatin1Char('.'));
    kept.replace(QLatin1Char(','), QLatin1Char('.'));
    return meant == kept;
}

// Puts pasted text into the field as if it were typed: each character
// through the key-press filter and within the room the field has, so that a
// paste stores nothing a keyboard could not. Line breaks become spaces (see
// oneLine); other control characters are dropped. A figure that does not fit,
// or that the filter would turn into another number, is refused whole, with
// a message, and the field keeps what it had; other text is cut at the limit
// as typing would stop there.
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
    QString printable, typed;
    for (const QChar c : text) {
        if (!c.isPrint())
            continue;
        printable += c;
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
        typed += QChar(ascii);
        edit->insert(QString(QChar(ascii)));
        rethrowPending();
        if (!guard)
            return;
    }
    if (!in.figure)
        return;
    QString refusal;
    if (overflow || edit->text().size() > in.maxLength)
        refusal = OwnText("cFigureTooLong", FigureTooLong);
    else if (!sameFigure(printable, typed))
        refusal = in.notAFigure.isEmpty() ? OwnText("cNotAFigure", NotAFigure) : in.notAFigure;
    if (refusal.isEmpty())
        return;
    edit->setText(before);
    rethrowPending();
    if (!guard)
        return;
    if (selStart >= 0 && selLength > 0)
        edit->setSelection(selStart, selLength);
    else
        edit->setCursorPosition(cursor);
    tellFigureRefused(refusal);
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
