#pragma once
// A key-up handler for a field: every key released while the field has the
// focus, whatever the key (auto-repeat aside), runs it at the event boundary.
#include <QObject>
#include <QString>
#include <functional>

class QWidget;

namespace cashier {

void OnKeyUp(QWidget* field, const QString& name, std::function<void()> handler);

} // namespace cashier
