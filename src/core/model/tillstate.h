#pragma once
// What the cashier has chosen at the till: the action, and the charge the
// cart is kept under. The cashier panel keeps it as its choices change;
// other windows read it here, and ask here for another choice, which the
// panel makes as if the operator had.
#include <QObject>
#include <QString>

class TillState : public QObject {
    Q_OBJECT
public:
    // The action word ("Sale", "Shop", "Cash In" …; "" for none) and the
    // words its list shows for it ("Beli").
    const QString& action() const { return m_action; }
    const QString& actionCaption() const { return m_actionCaption; }
    // "" for the walk-in cart.
    const QString& charge() const { return m_charge; }

    // The cashier panel's part.
    void setAction(const QString& action, const QString& caption);
    void setCharge(const QString& charge);

    // Another window's wish: the panel connects its own procedures to the
    // signals, and the new choice is in place once the call returns.
    void chooseAction(const QString& action) { emit actionChosen(action); }
    void chooseCharge(const QString& charge) { emit chargeChosen(charge); }

signals:
    void actionChosen(const QString& action);
    void chargeChosen(const QString& charge);

private:
    QString m_action;
    QString m_actionCaption;
    QString m_charge;
};
