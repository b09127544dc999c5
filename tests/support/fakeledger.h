#pragma once
// A ledger panel that does nothing, for the tests whose windows need the
// main window to hold one but never look at the ledger.
#include "shell/panels.h"

struct FakeLedger : LedgerPanel {
    void liPage_Click() override {}
    void lbPrint_Click() override {}
    void lbAdd_Click() override {}
    void RefreshIfStale() override {}
    void ClearReport() override {}
    void StartSession() override {}
    void FocusPage() override {}
};
