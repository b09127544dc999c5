#pragma once
// The settings window: receipt header and messages, printer port and the
// warehouse switch of the open database.
#include "manage/model/settings.h"
#include "platform/controls.h"
#include "platform/form.h"

class fSetting : public platform::Form {
    Q_OBJECT
public:
    fSetting();

    platform::Frame* Frame1;
    platform::Label *cCompany, *cAddress, *cPhone;
    platform::TextBox *iCompany, *iAddress, *iPhone;
    platform::Frame* cNote;
    platform::TextBox *iMessage1, *iMessage2, *iMessage3;
    platform::Frame* cPrinter;
    platform::Label* cPort;
    platform::ComboBox* iPort;
    platform::CheckBox* iWarehouse;
    platform::WanButton *bSave, *bClose;

    void Form_Activate() override;
    void Form_KeyDown(int& KeyCode, int Shift) override;
    void bSave_Click();
    void bClose_Click();
    // Enter on the port, last of the Enter walk, saves.
    void iPort_KeyDown(int& KeyCode, int Shift);
    void CloseAction() override { bClose_Click(); }

private:
    // The fields from what is stored.
    void showStored();
    // The settings as the fields were loaded: a save writes what differs.
    manage::ShopSettings m_loaded;
};
