#include "core/model/shopsession.h"

ShopSession::ShopSession(platform::DbConnection& db, const QString& user) : m_db(db), m_user(user) {}
