#pragma once
// The item dialogs' nominal discount: an amount asked for and written into
// the discount field as the percent of the price it takes off.

namespace platform {
class TextBox;
}

namespace catalogue {

// Asks for the amount; a price field left empty keeps the discount, an
// answer that is no figure is told and changes nothing.
void AskNominalDiscount(const platform::TextBox& price, platform::TextBox& discount);

} // namespace catalogue
