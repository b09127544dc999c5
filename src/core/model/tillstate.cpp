#include "core/model/tillstate.h"

void TillState::setAction(const QString& action, const QString& caption)
{
    m_action = action;
    m_actionCaption = caption;
}

void TillState::setCharge(const QString& charge)
{
    m_charge = charge;
}
