#pragma once
// The plumbing the controls' own files share, included by no window: how a
// control's handler is fired, which keys type or paste, and how a text
// brought in one piece (a paste, a drop) is typed into a field.
#include "platform/controls.h"
#include "platform/runtime.h"

#include <QClipboard>

namespace platform {

// The name a control's event is run under: "iCode.Change".
QString eventName(const QObject* o, const char* event);

inline void fire(const QObject* o, const char* event, const Handler& h)
{
    fireHandler(o, event, h);
}

// A key that types a character, which the key-press handler filters. The
// editing keys (Ctrl+A, Ctrl+C, Ctrl+V, Ctrl+Z, Delete …) type none: they
// carry control characters, and no filter may throw them away.
bool typesCharacter(const QKeyEvent* e);

bool isPasteKey(const QKeyEvent* e);

// A figure field's refusal of what was typed or pasted, in its words.
void tellFigureRefused(const QString& why);
void tellFigureTooLong();

// What a field takes, and what it does with a text the operator brings in
// one piece (a paste, a drop).
struct Intake {
    QLineEdit* edit;
    InputEvents* events;
    int maxLength;
    bool figure;
    // What a figure field says of a text that is no figure for it.
    QString notAFigure = QString();
    // Whether the figure may have a fraction.
    bool decimals = false;
};

void pasteFrom(const Intake& in, QClipboard::Mode mode);

// An event by which text may arrive without a key that the field's filter
// sees: the middle mouse button, the context menu (its Paste) and a drop.
bool bringsText(const QEvent* e);

// Handles such an event; true when it was handled here.
bool takeInText(const Intake& in, QEvent* e);

} // namespace platform
