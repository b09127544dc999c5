#pragma once
// One size of the data measured in the program: a cold start, the logins,
// the clock, an idle till alone and beside another till, the lists, the
// reports on the ledger panel and the memory they hold, a cart line, a save
// and a sale at the keyboard. Each figure goes into its
// row of the table beside its floor.
#include "data.h"
#include "figures.h"

// The names of the figures, shared with the server's part and main.
namespace figure {
extern const QString ColdStart, Login, NewLogin, FirstLogin, ServerLogin, ServerLoginAgain, ClockUnchanged,
    ClockAfterChange, Idle, IdleBeside, Refused, ServerIdle, ServerInventory, ServerContacts, ServerFirstF2, Inventory,
    Contacts, JournalMonth, JournalYear, JournalWhole, ResidentYear, ResidentLogout, ResidentBack, Recap, StockMonth,
    StockYears, CartLine, Save, Sale;
}

class fMain;
class fMaster;
class InventoryPanelView;

// The lists of the whole catalogue as the operator opens them: the
// inventory panel on the joined items (F2) and the list window on the
// customers, the window shown while this lives. Each fills its list anew,
// paints it, and gives the rows listed.
class ListsShown {
public:
    explicit ListsShown(fMain* main);
    ~ListsShown();
    ListsShown(const ListsShown&) = delete;
    ListsShown& operator=(const ListsShown&) = delete;
    int inventory();
    int contacts();

private:
    InventoryPanelView* m_panel = nullptr;
    fMaster* m_list = nullptr;
};

// Sets every figure's row and target, in the order they print.
void DeclareFigures(Table& table);

// Measures the program on a copy of file; size is the index of the scale.
void MeasureTill(const Scale& scale, int size, const QString& file, const Span& span, Table& table);

// The child process that plays another till: commits a journal row once a
// second for the given seconds and prints how many it wrote and how many
// were refused.
int CommitOnceASecond(const QString& file, int seconds);
