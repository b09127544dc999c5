#pragma once
// One login at the shop: the connection it works on, the operator, and the
// news of what its writes changed. Windows live as long as the program and
// connect the procedure that rebuilds what they show to the news they
// depend on; a writer announces what it wrote once it is committed, and
// never needs to know which windows show it.
#include "core/model/tillstate.h"

#include <QObject>
#include <QString>

namespace platform {
class DbConnection;
}

class ShopSession : public QObject {
    Q_OBJECT
public:
    ShopSession(platform::DbConnection& db, const QString& user);

    platform::DbConnection& db() const { return m_db; }
    const QString& user() const { return m_user; }
    // The cashier's choices in this login.
    TillState& till() { return m_till; }

signals:
    // The cash journal (a sale, a purchase, a row by hand, a delete).
    void journalChanged();
    // A held cart: its lines, their ticks, the charge it is held under.
    void cartChanged();
    // The items and contact tables, and so the names the lists offer.
    void catalogueChanged();
    // Stock items, their movements and their recipes.
    void stockChanged();
    // The business settings.
    void settingsChanged();

private:
    platform::DbConnection& m_db;
    QString m_user;
    TillState m_till;
};
