#include "catalogue/discount.h"

#include "catalogue/model/catalogue.h"
#include "core/app.h"
#include "core/mmain.h"
#include "data/owntext.h"
#include "platform/backend.h"
#include "platform/controls.h"

#include <optional>

namespace catalogue {

void AskNominalDiscount(const platform::TextBox& price, platform::TextBox& discount)
{
    const QString answer =
        app().backend().inputBox(QStringLiteral("Masukan nilai discount nominal:"), app().AppTitle, QString());
    if (price.Text().isEmpty())
        return;
    const std::optional<QString> percent = NominalDiscountText(answer, mMain::ParseAmount(price.Text()));
    if (!percent)
        mMain::MsgWarn(platform::OwnText("cNotAFigure", platform::NotAFigure), mMain::MsgTitleWarn);
    else if (!percent->isEmpty())
        discount.setText(*percent);
}

} // namespace catalogue
