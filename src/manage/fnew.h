#pragma once
// The new-database dialog: a local database copied from the template, a
// pointer file to a database on a shared path, or an ODBC marker, each an
// entry of the login panel's database list.
#include "platform/controls.h"
#include "platform/form.h"

class fNew : public platform::Form {
    Q_OBJECT
public:
    fNew();

    platform::Label *cDBName, *cDBPath;
    platform::TextBox* iDB;
    platform::TextBox* iPath;
    platform::CheckBox* iConnect;
    platform::CheckBox* iODBC;
    platform::WanButton *bConnect, *bOK, *bClose;

    void bOK_Click();
    void bClose_Click();
    void bConnect_Click();
    void iConnect_Click();
    void iDB_Change();
    // Enter in the name makes the database.
    void iDB_KeyDown(int& KeyCode, int Shift);
    void Form_KeyDown(int& KeyCode, int Shift) override;
    void CloseAction() override { bClose_Click(); }

private:
    // Each creates its entry file completely or not at all; false after the
    // operator has been told why.
    bool writeEntry(const QString& file, const QByteArray& content);
    bool copyTemplate(const QString& file);
    void cannotCreate(const QString& file, const QString& systemText, int err);
    void refuse(const QString& message);
};
