#pragma once
// A key-up handler for a field: every key released while the field has the
// focus, whatever the key (auto-repeat aside), runs it at the event boundary.
// The handler may recompute the other fields; the field being typed in is
// left as the operator has it: its text, its caret and its selection, so
// that a selection made with Shift and the arrows is still there for the
// next key to type over.
#include <QObject>
#include <QString>
#include <functional>

class QWidget;

namespace cashier {

void OnKeyUp(QWidget* field, const QString& name, std::function<void()> handler);

} // namespace cashier
