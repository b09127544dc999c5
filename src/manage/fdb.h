#pragma once
// The database window: backup, restore and drop of the database the operator
// logged in to.
#include "platform/controls.h"
#include "platform/form.h"

class fDB : public platform::Form {
    Q_OBJECT
public:
    fDB();

    platform::TextBox* iFilename;
    platform::Frame* Frame1;
    platform::WanButton *bRestore, *bBackup, *bDrop;
    platform::WanButton* bClose;

    void bBackup_Click();
    void bRestore_Click();
    void bDrop_Click();
    void bClose_Click();
    void Form_Activate() override;
    void Form_KeyDown(int& KeyCode, int Shift) override;
    void CloseAction() override { bClose_Click(); }
};
