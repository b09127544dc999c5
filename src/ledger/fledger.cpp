#include "ledger/fledger.h"

#include "cashier/model/actions.h"
#include "cashier/model/arithmetic.h"
#include "cashier/model/cartops.h"
#include "catalogue/model/catalogue.h"
#include "catalogue/picker.h"
#include "core/app.h"
#include "core/fieldkeys.h"
#include "core/mmain.h"
#include "platform/keys.h"
#include "shell/fmain.h"

#include <QHideEvent>

using namespace platform;
using namespace mMain;

namespace {
const QString kUnknown = QStringLiteral("Unknown");
} // namespace

fLedger* LedgerWindow()
{
    return app().form<fLedger>();
}

fLedger::fLedger() : Form(QStringLiteral("fLedger"), QStringLiteral("Tambah"))
{
    build();
    wire();
}

void fLedger::build()
{
    setFixedSize(540, 430);
    const int x = 16, fx = 130, h = 24;
    auto y = [](int row) { return 16 + row * 32; };
    auto text = [this, fx, h, &y](const char* name, int row, int width) {
        return PlaceBox(this, QString::fromLatin1(name), fx, y(row), width, h);
    };
    auto browse = [this, h, &y](const char* name, int row, int at) {
        auto* b = new WanButton(this, QString::fromLatin1(name), QStringLiteral("&Browse"));
        b->setGeometry(at, y(row) - 2, 90, h + 4);
        return b;
    };

    cAction = PlaceLabel(this, QStringLiteral("cAction"), QStringLiteral("Aksi:"), x, y(0), fx - x - 6, h);
    iAction = new ComboBox(this, QStringLiteral("iAction"), false);
    iAction->setGeometry(fx, y(0), 170, h);
    for (const char* entry : {"Jual", "Beli", "Kas Masuk", "Kas Keluar"})
        iAction->AddItem(QString::fromLatin1(entry));
    iAction->setListIndex(-1);
    cDate = PlaceLabel(this, QStringLiteral("cDate"), QStringLiteral("Tanggal:"), x, y(1), fx - x - 6, h);
    iMoment = new DateTimePick(this, QStringLiteral("iMoment"));
    iMoment->setGeometry(fx, y(1), 140, h);

    cWarehouse = PlaceLabel(this, QStringLiteral("cWarehouse"), QStringLiteral("Gudang:"), x, y(2), fx - x - 6, h);
    iWarehouse = new ComboBox(this, QStringLiteral("iWarehouse"), true);
    iWarehouse->setGeometry(fx, y(2), 260, h);
    bWarehouse = browse("bWarehouse", 2, fx + 268);
    cCharge = PlaceLabel(this, QStringLiteral("cCharge"), QStringLiteral("Charge:"), x, y(3), fx - x - 6, h);
    iCharge = new ComboBox(this, QStringLiteral("iCharge"), true);
    iCharge->setGeometry(fx, y(3), 260, h);
    bCharge = browse("bCharge", 3, fx + 268);

    cCode = PlaceLabel(this, QStringLiteral("cCode"), QStringLiteral("Kode:"), x, y(4), fx - x - 6, h);
    iCode = text("iCode", 4, 130);
    bBrowse = browse("bBrowse", 4, fx + 138);
    cDescription =
        PlaceLabel(this, QStringLiteral("cDescription"), QStringLiteral("Deskripsi:"), x, y(5), fx - x - 6, h);
    iName = text("iName", 5, 360);
    cSubtotal = PlaceLabel(this, QStringLiteral("cSubtotal"), QStringLiteral("Sub Total:"), x, y(6), fx - x - 6, h);
    iPrice = text("iPrice", 6, 150);
    iPrice->setAlignment(Qt::AlignRight);
    iUnit = PlaceLabel(this, QStringLiteral("iUnit"), QString(), fx + 158, y(6), 120, h);
    cQuantity = PlaceLabel(this, QStringLiteral("cQuantity"), QStringLiteral("Jumlah:"), x, y(7), fx - x - 6, h);
    iQuantity = text("iQuantity", 7, 100);
    iQuantity->setAlignment(Qt::AlignRight);
    cTotal = PlaceLabel(this, QStringLiteral("cTotal"), QStringLiteral("Total:"), x, y(8), fx - x - 6, h);
    iTotal = text("iTotal", 8, 150);
    iTotal->setAlignment(Qt::AlignRight);
    Label1 = PlaceLabel(this, QStringLiteral("Label1"), QStringLiteral("Keterangan:"), x, y(9), fx - x - 6, h);
    iDescription = text("iDescription", 9, 360);

    // The offered codes lie over the fields below the code.
    iItems = new ListBox(this, QStringLiteral("iItems"));
    iItems->CheckBoxes = false;
    iItems->setGeometry(fx, y(5), 360, 140);
    iItems->setFont(fixedFont(QStringLiteral("OCR A Std"), 8));
    iItems->hide();

    bSave = new WanButton(this, QStringLiteral("bSave"), QStringLiteral("&Simpan"));
    bSave->setGeometry(width() - 216, height() - 48, 96, 32);
    bClose = new WanButton(this, QStringLiteral("bClose"), QStringLiteral("&Tutup"));
    bClose->setGeometry(width() - 112, height() - 48, 96, 32);

    // Enter moves along this order; the browse buttons come last.
    QWidget* order[] = {iAction,   iMoment, iWarehouse,   iCharge, iCode,  iItems,     iName,   iPrice,
                        iQuantity, iTotal,  iDescription, bSave,   bClose, bWarehouse, bCharge, bBrowse};
    for (size_t i = 0; i + 1 < std::size(order); ++i)
        setTabOrder(order[i], order[i + 1]);
    iQuantity->setText(QStringLiteral("1"));
}

void fLedger::wire()
{
    iAction->Click = [this] { iAction_Click(); };
    iAction->events.KeyDown = [this](int& k, int s) { iAction_KeyDown(k, s); };
    iWarehouse->events.KeyDown = [this](int& k, int s) { iWarehouse_KeyDown(k, s); };
    iWarehouse->events.KeyPress = [this](int& a) { iWarehouse_KeyPress(a); };
    iCharge->events.KeyDown = [this](int& k, int s) { iCharge_KeyDown(k, s); };
    iCharge->events.KeyPress = [this](int& a) { iCharge_KeyPress(a); };
    iCode->Change = [this] { iCode_Change(); };
    iCode->events.KeyDown = [this](int& k, int s) { iCode_KeyDown(k, s); };
    iCode->events.KeyPress = [this](int& a) { iCode_KeyPress(a); };
    iItems->events.KeyDown = [this](int& k, int s) { iItems_KeyDown(k, s); };
    iItems->DblClick = [this] { iItemsSelected(); };
    iPrice->Change = [this] { iPrice_Change(); };
    iQuantity->Change = [this] { iQuantity_Change(); };
    iTotal->Change = [this] { iTotal_Change(); };
    iTotal->events.KeyDown = [this](int& k, int s) { iTotal_KeyDown(k, s); };
    iDescription->events.KeyDown = [this](int& k, int s) { iDescription_KeyDown(k, s); };
    iDescription->events.KeyPress = [this](int& a) { iDescription_KeyPress(a); };

    for (TextBox* t : {iCode, iName, iPrice, iQuantity, iTotal, iDescription})
        FocusColours(t);
    for (TextBox* t : {iName, iPrice, iQuantity})
        EnterSendsTab(this, t);
    for (TextBox* t : {iPrice, iTotal})
        DigitKeys(t);
    // A quantity may be a fraction ("1,5" kg), as the journal keeps it.
    QuantityKeys(iQuantity);

    bWarehouse->Click = [this] { bWarehouse_Click(); };
    bCharge->Click = [this] { bCharge_Click(); };
    bBrowse->Click = [this] { bBrowse_Click(); };
    bSave->Click = [this] { bSave_Click(); };
    bClose->Click = [this] { bClose_Click(); };

    // The picker follows this dialog's kind; a charge or warehouse written
    // by it runs no handler here.
    auto kind = [this] { return GetAction(); };
    m_codeTarget = picker::Register(QStringLiteral("fLedger.iCode"), iCode, picker::Value::Code, true, kind);
    m_chargeTarget = picker::Register(QStringLiteral("fLedger.iCharge"), iCharge, picker::Value::Name, false, kind);
    m_warehouseTarget =
        picker::Register(QStringLiteral("fLedger.iWarehouse"), iWarehouse, picker::Value::Name, false, kind);
}

// ---------------------------------------------------------------- kind, lists

QString fLedger::GetAction() const
{
    const int i = iAction->ListIndex();
    return i == -1 ? kUnknown : cashier::ActionWord(i);
}

void fLedger::FilliWarehouse()
{
    const QString keep = iWarehouse->Text();
    QStringList names;
    for (auto rs = OpenRecordset(QStringLiteral("select `name` from Warehouse")); !rs->Eof(); rs->MoveNext())
        names << rs->Fields(QStringLiteral("name")).toString();
    iWarehouse->Clear();
    for (const QString& n : names)
        iWarehouse->AddItem(n);
    iWarehouse->setText(keep);
}

void fLedger::FilliCharge()
{
    const QString action = GetAction();
    const QString table = catalogue::ContactTable(action);
    cCharge->setCaption(table == QLatin1String("Customer")    ? QStringLiteral("Pelanggan:")
                        : table == QLatin1String("Supplier")  ? QStringLiteral("Supplier:")
                        : action == QLatin1String("Cash In")  ? QStringLiteral("Penyetor:")
                        : action == QLatin1String("Cash Out") ? QStringLiteral("Penerima:")
                                                              : QStringLiteral("Charge:"));
    const QString keep = iCharge->Text();
    iCharge->Clear();
    if (!table.isEmpty()) {
        QStringList names;
        for (auto rs = OpenRecordset(QStringLiteral("select `name` from `") + table + QLatin1Char('`')); !rs->Eof();
             rs->MoveNext())
            names << rs->Fields(QStringLiteral("name")).toString();
        for (const QString& n : names)
            iCharge->AddItem(n);
    }
    iCharge->setText(keep);
}

void fLedger::iAction_Click()
{
    FilliCharge();
}

// ---------------------------------------------------------------- activation

void fLedger::Form_Activate()
{
    FilliWarehouse();
    FilliCharge();
    const bool warehouse = ConfigNumber(QStringLiteral("Warehouse")) == 1;
    for (QWidget* w :
         {static_cast<QWidget*>(cWarehouse), static_cast<QWidget*>(iWarehouse), static_cast<QWidget*>(bWarehouse)})
        w->setVisible(warehouse);
    if (m_showing)
        return;
    m_showing = true;
    iItems->hide();
    iAction->setFocus();
}

void fLedger::hideEvent(QHideEvent* e)
{
    m_showing = false;
    Form::hideEvent(e);
}

void fLedger::Form_KeyDown(int& KeyCode, int)
{
    if (KeyCode == vbKeyEscape) {
        KeyCode = 0;
        bClose_Click();
    }
}

// ---------------------------------------------------------------- item lookup

void fLedger::clearItem()
{
    iName->setText(QString());
    iUnit->setCaption(QString());
    iPrice->setText(QStringLiteral("0"));
    iQuantity->setText(QStringLiteral("1"));
    iTotal->setText(QStringLiteral("0"));
}

void fLedger::iCode_Change()
{
    const QString code = iCode->Text();
    const QString action = GetAction();
    if (code.trimmed().isEmpty() || action == kUnknown) {
        iItems->hide();
        clearItem();
        return;
    }
    const std::optional<cashier::ItemRecord> item = cashier::FindItem(app().DbConn(), action, code);
    if (!item) {
        clearItem();
    } else {
        iName->setText(item->name);
        iPrice->setText(FormatNumber(catalogue::NetPrice(item->price, item->discount)));
        iUnit->setCaption(item->satuan);
    }
    iQuantity_Change();
    FilliItems();
    const int n = iItems->ListCount();
    iItems->setVisible(n >= 2 || (n == 1 && catalogue::RowCode(iItems->List(0)) != code));
    if (iItems->isVisible())
        iItems->raise();
}

void fLedger::FilliItems()
{
    const QString code = iCode->Text();
    if (code.isEmpty() || GetAction() == kUnknown)
        return;
    const QStringList rows = cashier::ItemSuggestionRows(app().DbConn(), GetAction(), code);
    iItems->Clear();
    iItems->AddItems(rows);
}

void fLedger::iItemsSelected()
{
    const int i = iItems->ListIndex();
    if (i < 0)
        return;
    iCode->setText(catalogue::RowCode(iItems->List(i)));
    iItems->hide();
    iCode->setFocus();
}

// ---------------------------------------------------------------- arithmetic

void fLedger::iPrice_Change()
{
    FormatNumberBox(iPrice);
}

void fLedger::iQuantity_Change()
{
    if (iPrice->Text().isEmpty())
        iPrice->setText(QStringLiteral("0"));
    iTotal->setText(cashier::LineTotalText(iQuantity->Text(), iPrice->Text()));
}

void fLedger::iTotal_Change()
{
    FormatNumberBox(iTotal);
}

// ---------------------------------------------------------------- pickers

void fLedger::bBrowse_Click()
{
    if (GetAction() != kUnknown)
        picker::Open(QStringLiteral("Items"), m_codeTarget);
}

void fLedger::bCharge_Click()
{
    if (GetAction() != kUnknown)
        picker::Open(QStringLiteral("Charge"), m_chargeTarget);
}

void fLedger::bWarehouse_Click()
{
    if (GetAction() != kUnknown)
        picker::Open(QStringLiteral("Warehouse"), m_warehouseTarget);
}

// ---------------------------------------------------------------- keys

void fLedger::iAction_KeyDown(int& KeyCode, int)
{
    if (KeyCode != vbKeyReturn)
        return;
    // Enter skips the date.
    if (iWarehouse->isVisible())
        iWarehouse->setFocus();
    else
        iCharge->setFocus();
}

void fLedger::iWarehouse_KeyDown(int& KeyCode, int)
{
    if (KeyCode == vbKeyReturn)
        SendTab();
    else if (KeyCode == vbKeyF12)
        bWarehouse_Click();
}

void fLedger::iWarehouse_KeyPress(int& KeyAscii)
{
    KeyAscii = ProperKey(KeyAscii, iWarehouse->UnselectedText());
}

void fLedger::iCharge_KeyDown(int& KeyCode, int)
{
    if (KeyCode == vbKeyReturn)
        SendTab();
    else if (KeyCode == vbKeyF12)
        bCharge_Click();
}

void fLedger::iCharge_KeyPress(int& KeyAscii)
{
    KeyAscii = ProperKey(KeyAscii, iCharge->UnselectedText());
}

void fLedger::iCode_KeyDown(int& KeyCode, int)
{
    if (KeyCode == vbKeyReturn) {
        iItems->hide();
        iName->setFocus();
    } else if (KeyCode == vbKeyDown) {
        if (iItems->isVisible()) {
            iItems->setFocus();
            if (iItems->ListIndex() < 0)
                iItems->setListIndex(0);
        }
    } else if (KeyCode == vbKeyF12) {
        bBrowse_Click();
    }
}

void fLedger::iCode_KeyPress(int& KeyAscii)
{
    KeyAscii = UpperKey(KeyAscii);
}

void fLedger::iItems_KeyDown(int& KeyCode, int)
{
    if (KeyCode == vbKeyReturn)
        iItemsSelected();
}

void fLedger::iTotal_KeyDown(int& KeyCode, int)
{
    if (KeyCode == vbKeyReturn)
        bSave_Click();
}

void fLedger::iDescription_KeyDown(int& KeyCode, int)
{
    if (KeyCode == vbKeyReturn)
        bSave_Click();
}

void fLedger::iDescription_KeyPress(int& KeyAscii)
{
    KeyAscii = ProperKey(KeyAscii, iDescription->UnselectedText());
}

// ---------------------------------------------------------------- load, save, close

void fLedger::LoadRow(const ledger::StoredJournalRow& row)
{
    Loaded = row;
    RewriteRefused = false;
    // A kind the list does not hold leaves it as the last close left it.
    const int index = ledger::ActionIndex(row.category);
    if (index >= 0 && index < iAction->ListCount())
        iAction->setListIndex(index);
    if (row.moment.isValid())
        iMoment->setValue(row.moment);
    iWarehouse->setText(row.warehouse);
    iCharge->setText(row.charge);
    iCode->setText(row.code);
    iName->setText(row.description);
    iPrice->setText(FormatNumber(row.subtotal));
    iQuantity->setText(cashier::QuantityFieldText(row.quantity));
    iDescription->setText(row.note);
    // The amount the row books, whatever price and quantity give: a save
    // that changes nothing writes it again.
    iTotal->setText(FormatNumber(row.amount));
}

ledger::JournalEntry fLedger::entry() const
{
    ledger::JournalEntry e;
    e.action = GetAction();
    e.moment = iMoment->Value();
    e.note = iDescription->Text();
    e.cashier = app().CurrentUser;
    e.warehouse = iWarehouse->Text();
    e.charge = iCharge->Text();
    e.code = iCode->Text();
    e.name = iName->Text();
    e.price = iPrice->Text();
    e.quantity = iQuantity->Text();
    e.unit = iUnit->Caption();
    e.total = iTotal->Text();
    return e;
}

void fLedger::bSave_Click()
{
    const ledger::JournalEntry e = entry();
    const ledger::EntryProblem problem = ledger::CheckEntry(e);
    if (problem != ledger::EntryProblem::None) {
        MsgWarn(ledger::ProblemMessage(problem), MsgTitleWarn);
        switch (problem) {
        case ledger::EntryProblem::NoAction: iAction->setFocus(); break;
        case ledger::EntryProblem::NoQuantity:
        case ledger::EntryProblem::Negative: iQuantity->setFocus(); break;
        default: iCode->setFocus(); break;
        }
        return;
    }

    const QString mode = Caption();
    App& a = app();
    if (mode == QLatin1String("Add") || mode == QLatin1String("Tambah")) {
        ledger::AddJournalEntry(a.DbConn(), a.DbKind, e);
        iWarehouse->setText(QString());
        iCharge->setText(QString());
        iCode->setText(QString());
        iDescription->setText(QString());
        iAction->setFocus();
        Announce(&ShopSession::journalChanged);
    } else if (mode == QLatin1String("Edit") || mode == QLatin1String("Ubah")) {
        const bool written = ledger::RewriteJournalEntry(a.DbConn(), a.DbKind, Loaded, e);
        RewriteRefused = !written;
        bClose_Click();
        if (written)
            Announce(&ShopSession::journalChanged);
        else
            MsgWarn(ledger::GoneMessage(Loaded.id), MsgTitleWarn);
    }
}

void fLedger::bClose_Click()
{
    iAction->setListIndex(-1);
    iCharge->setText(QString());
    iCode->setText(QString());
    iQuantity->setText(QStringLiteral("1"));
    Hide();
}
