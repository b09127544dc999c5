#pragma once
// The users window: operators with their password and eight rights.
#include "manage/model/operators.h"
#include "platform/controls.h"
#include "platform/form.h"

class fUser : public platform::Form {
    Q_OBJECT
public:
    fUser();

    void FilliUsername();
    void iUsername_Click();
    void iUsername_Change();
    void iUsername_LostFocus();
    void bSave_Click();
    void bDelete_Click();
    void bClose_Click();
    // Enter on the last right, at the end of the Enter walk, saves.
    void iSetting_KeyDown(int& KeyCode, int Shift);
    void Form_Activate() override;
    void Form_KeyDown(int& KeyCode, int Shift) override;
    void CloseAction() override { bClose_Click(); }

    platform::Label* Label22;
    platform::Label* Label1;
    platform::ComboBox* iUsername;
    platform::TextBox* iPassword;
    platform::Frame* Frame1;
    platform::CheckBox *iCashier, *iMaster, *iInventory, *iLedger, *iStock, *iUser, *iDB, *iSetting;
    platform::WanButton *bClose, *bSave, *bDelete;

private:
    // The operator as the fields were loaded (nothing for a name not
    // stored then) and the password as the box showed it: a save writes
    // only what differs.
    std::optional<manage::OperatorValues> m_loaded;
    QString m_loadedPassword;
};
