#include "ledger/ledgerpanel.h"

#include "core/app.h"
#include "core/mmain.h"
#include "data/failure.h"
#include "data/owntext.h"
#include "data/spreadsheet.h"
#include "lang/mlang.h"
#include "ledger/fledger.h"
#include "ledger/model/amounts.h"
#include "ledger/model/reportexport.h"
#include "ledger/model/reportprint.h"
#include "platform/keys.h"
#include "platform/progress.h"
#include "platform/runtime.h"
#include "shell/fmain.h"

#include <QScopedValueRollback>

using namespace platform;

namespace {

ledger::ReportContext Context()
{
    App& a = app();
    return {a.DbConn(), a.DbKind, [](const QString& key) { return mLang::LangGrid(key); }};
}

} // namespace

LedgerPanelView::LedgerPanelView(fMain* main) : QObject(main), m_main(main), m_rangeRest(new QTimer(this))
{
    setObjectName(QStringLiteral("Ledger"));
    m_rangeRest->setSingleShot(true);
    m_rangeRest->setInterval(300);
    build(main->pLedger);
    wire();
    tJurnal_Timer();
    app().OnSession(this, [this](ShopSession& s) {
        connect(&s, &ShopSession::journalChanged, this, &LedgerPanelView::journalChanged);
        connect(&s, &ShopSession::stockChanged, this, &LedgerPanelView::StockChanged);
        connect(&s, &ShopSession::settingsChanged, this, &LedgerPanelView::SettingsChanged);
    });
}

void LedgerPanelView::build(QWidget* p)
{
    const int h = 26;
    auto button = [p](const char* name, const char* caption, int x, int y) {
        auto* b = new WanButton(p, QString::fromLatin1(name), QString::fromLatin1(caption));
        b->setGeometry(x, y, 110, 30);
        return b;
    };

    lcReport = PlaceLabel(p, QStringLiteral("lcReport"), QStringLiteral("Laporan:"), 10, 10, 70, h);
    liPage = new ComboBox(p, QStringLiteral("liPage"), false);
    liPage->setGeometry(85, 10, 150, h);
    for (const char* entry : {"Umum", "Penjualan", "Pembelian", "Kas Masuk", "Kas Keluar", "Rekapitulasi", "Stok"})
        liPage->AddItem(QString::fromLatin1(entry));
    lcFrom = PlaceLabel(p, QStringLiteral("lcFrom"), QStringLiteral("Dari:"), 250, 10, 55, h);
    liFrom = new DateTimePick(p, QStringLiteral("liFrom"));
    liFrom->setGeometry(310, 10, 120, h);
    lcTo = PlaceLabel(p, QStringLiteral("lcTo"), QStringLiteral("Sampai:"), 440, 10, 60, h);
    liTo = new DateTimePick(p, QStringLiteral("liTo"));
    liTo->setGeometry(505, 10, 120, h);

    lcFilter = PlaceLabel(p, QStringLiteral("lcFilter"), QStringLiteral("Filter:"), 10, 44, 70, h);
    liCategory = new ComboBox(p, QStringLiteral("liCategory"), false);
    liCategory->setGeometry(85, 44, 150, h);
    for (const char* entry : {"Kasir", "Charge", "Aksi", "Kode", "Deskripsi"})
        liCategory->AddItem(QString::fromLatin1(entry));
    liFilter = new TextBox(p, QStringLiteral("liFilter"));
    liFilter->setGeometry(250, 44, 375, h);

    lbRefresh = button("lbRefresh", "&Refresh", 640, 8);
    lbPrint = button("lbPrint", "&Cetak", 755, 8);
    lbExcel = button("lbExcel", "&Excel", 870, 8);
    lbAdd = button("lbAdd", "&Tambah", 640, 42);
    lbEdit = button("lbEdit", "&Ubah", 755, 42);
    lbDelete = button("lbDelete", "&Hapus", 870, 42);

    liLedger = new ListBox(p, QStringLiteral("liLedger"));
    liLedger->CheckBoxes = false;
    liLedger->setGeometry(10, 80, p->width() - 20, p->height() - 90);
    liLedger->setFont(fixedFont(QStringLiteral("OCR A Std"), 9));
    liLedger->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
}

void LedgerPanelView::wire()
{
    liPage->Click = [this] { liPage_Click(); };
    liPage->Change = [this] { liPage_Change(); };
    liFrom->Change = [this] { liFrom_Change(); };
    liTo->Change = [this] { liTo_Change(); };
    liFrom->events.KeyDown = [this](int& k, int s) { liFrom_KeyDown(k, s); };
    liTo->events.KeyDown = [this](int& k, int s) { liTo_KeyDown(k, s); };
    connect(m_rangeRest, &QTimer::timeout, this, [this] { liPage_Click(); });
    liCategory->Click = [this] { liCategory_Click(); };
    liCategory->events.KeyDown = [this](int& k, int s) { liCategory_KeyDown(k, s); };
    liFilter->Change = [this] { liFilter_Change(); };
    liFilter->events.GotFocus = [this] { liFilter_GotFocus(); };
    liFilter->events.LostFocus = [this] { liFilter_LostFocus(); };
    lbRefresh->Click = [this] { lbRefresh_Click(); };
    lbAdd->Click = [this] { lbAdd_Click(); };
    lbEdit->Click = [this] { lbEdit_Click(); };
    lbDelete->Click = [this] { lbDelete_Click(); };
    liLedger->DblClick = [this] { liLedger_DblClick(); };
    liLedger->events.KeyDown = [this](int& k, int s) { liLedger_KeyDown(k, s); };
    lbPrint->Click = [this] { lbPrint_Click(); };
    lbExcel->Click = [this] { lbExcel_Click(); };
}

ledger::ReportRange LedgerPanelView::range() const
{
    return {liFrom->Value(), liTo->Value()};
}

bool LedgerPanelView::warehouseColumn() const
{
    return mMain::ConfigNumber(QStringLiteral("Warehouse")) == 1;
}

bool LedgerPanelView::canBuild() const
{
    App& a = app();
    return a.hasDbConn() && a.DbConn().isOpen() && !a.DbKind.isEmpty();
}

// ---------------------------------------------------------------- rebuild

bool LedgerPanelView::seen() const
{
    return m_main->ShownPanel() == m_main->pLedger;
}

void LedgerPanelView::liPage_Click()
{
    m_rangeRest->stop();
    tJurnal_Timer();
    if (!canBuild())
        return;
    // A save or a stock change on another panel costs nothing here until
    // the operator looks: what shows then is the report of that moment.
    if (!seen()) {
        m_stale = true;
        return;
    }
    rebuild();
}

void LedgerPanelView::liPage_Change()
{
    // The list takes no typing, so a change of the kind comes as a click;
    // either way the report is rebuilt.
    liPage_Click();
}

void LedgerPanelView::RefreshIfStale()
{
    if (m_stale || m_rangeRest->isActive())
        liPage_Click();
}

void LedgerPanelView::rebuild()
{
    m_stale = false;
    m_rangeRest->stop();
    if (!canBuild())
        return;
    const int page = liPage->ListIndex();
    // Any other index leaves the view and the row query as they are.
    if (page < 0 || page > ledger::Stock)
        return;
    // No column chosen yet filters on the first.
    const int column = qMax(0, liCategory->ListIndex());
    m_warehouseShown = warehouseColumn();
    const std::optional<ledger::ReportRows> report =
        ledger::OpenReport(Context(), page, range(), {column, liFilter->Text()}, m_warehouseShown);
    ReportSql = report->sql;
    liLedger->setSource(report->rows);
    LineIds.set(liLedger, report->idFirst, report->idCount);
}

void LedgerPanelView::ClearReport()
{
    // The rows read the database of the session: they go with it, and the
    // memory they held with them.
    m_rangeRest->stop();
    liLedger->Clear();
    LineIds.set(liLedger, 0, 0);
    ReportSql.clear();
    m_stale = true;
}

void LedgerPanelView::StartSession()
{
    liTo->setValue(QDate::currentDate().addDays(1));
    liCategory->setListIndex(0);
    liPage->setListIndex(0);
}

void LedgerPanelView::StockChanged()
{
    // Selecting another page and the stock page again rebuilds the report
    // through the page's own handlers.
    if (liPage->ListIndex() == ledger::Stock) {
        liPage->setListIndex(ledger::Recap);
        liPage->setListIndex(ledger::Stock);
    }
}

void LedgerPanelView::SettingsChanged()
{
    // The warehouse setting decides whether the reports have a warehouse
    // column; the other settings are not shown here.
    if (warehouseColumn() != m_warehouseShown)
        liPage_Click();
}

void LedgerPanelView::journalChanged()
{
    // A row written in the journal row dialog is shown in the journal,
    // whatever report the dialog was opened over.
    if (m_rowDialogOpen)
        ShowJournal();
    else
        liPage_Click();
}

void LedgerPanelView::ShowJournal()
{
    // Selecting the journal rebuilds it; when it is shown already, the
    // rebuild runs directly.
    if (liPage->ListIndex() != ledger::Journal)
        liPage->setListIndex(ledger::Journal);
    else
        liPage_Click();
}

void LedgerPanelView::FocusPage()
{
    liPage->setFocus();
}

void LedgerPanelView::liFrom_Change()
{
    m_rangeRest->start();
}

void LedgerPanelView::liTo_Change()
{
    m_rangeRest->start();
}

void LedgerPanelView::liFrom_KeyDown(int& KeyCode, int)
{
    if (KeyCode == vbKeyReturn && m_rangeRest->isActive())
        liPage_Click();
}

void LedgerPanelView::liTo_KeyDown(int& KeyCode, int)
{
    if (KeyCode == vbKeyReturn && m_rangeRest->isActive())
        liPage_Click();
}

void LedgerPanelView::liCategory_Click()
{
    liPage_Click();
}

void LedgerPanelView::liCategory_KeyDown(int& KeyCode, int Shift)
{
    (void)Shift;
    if (KeyCode == vbKeyReturn)
        liFilter->setFocus();
}

void LedgerPanelView::liFilter_Change()
{
    // The filter belongs to the journal: typing shows it.
    ShowJournal();
}

void LedgerPanelView::liFilter_GotFocus()
{
    mMain::FocusOn(liFilter);
}

void LedgerPanelView::liFilter_LostFocus()
{
    mMain::FocusOff(liFilter);
}

void LedgerPanelView::lbRefresh_Click()
{
    liPage_Click();
}

void LedgerPanelView::tJurnal_Timer()
{
    const bool journal = liPage->ListIndex() == ledger::Journal;
    for (QWidget* w : {static_cast<QWidget*>(liCategory), static_cast<QWidget*>(liFilter), static_cast<QWidget*>(lbAdd),
                       static_cast<QWidget*>(lbEdit), static_cast<QWidget*>(lbDelete)})
        w->setEnabled(journal);
}

QString LedgerPanelView::GetPage() const
{
    return ledger::GetPage(liPage->ListIndex());
}

QString LedgerPanelView::GetPage2() const
{
    return ledger::GetPage2(liPage->ListIndex());
}

// ---------------------------------------------------------------- journal rows

void LineIdList::set(const platform::ListBox* list, qsizetype first, qsizetype count)
{
    m_list = list;
    m_first = first;
    m_count = count;
}

int LineIdList::size() const
{
    return m_list ? m_list->ListCount() : 0;
}

qint64 LineIdList::value(int line, qint64 fallback) const
{
    if (!m_list || line < 0 || line >= size())
        return fallback;
    if (line < m_first || line >= m_first + m_count)
        return 0;
    return ledger::LineId(m_list->List(line));
}

int LineIdList::indexOf(qint64 id) const
{
    for (qsizetype i = m_first; i < m_first + m_count && i < size(); ++i)
        if (value(int(i)) == id)
            return int(i);
    return id == 0 && size() > 0 ? 0 : -1;
}

QVector<qint64> LineIdList::mid(int pos, int n) const
{
    QVector<qint64> ids;
    const int end = n < 0 ? size() : std::min(size(), pos + n);
    for (int i = std::max(0, pos); i < end; ++i)
        ids << value(i);
    return ids;
}

qint64 LedgerPanelView::GetSelectedLiLedgerID() const
{
    return LineIds.value(liLedger->ListIndex(), 0);
}

void LedgerPanelView::lbAdd_Click()
{
    // F11 stands for the button: nothing while it is grey.
    if (!lbAdd->isEnabled())
        return;
    fLedger* f = LedgerWindow();
    if (!f)
        return;
    f->setCaption(QStringLiteral("Tambah"));
    const QScopedValueRollback rowDialog(m_rowDialogOpen, true);
    f->ShowModal();
}

void LedgerPanelView::lbEdit_Click()
{
    if (!lbEdit->isEnabled())
        return;
    const qint64 id = GetSelectedLiLedgerID();
    fLedger* f = LedgerWindow();
    if (id == 0 || !f)
        return;
    DbConnection& db = app().DbConn();
    // A row deleted at another till, or whose ID went to a row written
    // there since, is told and left as it is; so is one the dialog cannot
    // represent. The view then shows the journal as it is now.
    const std::optional<ledger::StoredJournalRow> row =
        ledger::JournalRowShown(db, id, selectedLine(), m_warehouseShown) ? ledger::ReadJournalRow(db, id)
                                                                          : std::nullopt;
    const QString refusal = row ? ledger::RewriteRefusal(*row) : ledger::GoneMessage(id);
    if (!refusal.isEmpty()) {
        mMain::MsgWarn(refusal, mMain::MsgTitleWarn);
        liPage_Click();
        return;
    }
    f->setCaption(QStringLiteral("Ubah"));
    f->LoadRow(*row);
    {
        const QScopedValueRollback rowDialog(m_rowDialogOpen, true);
        f->ShowModal();
    }
    if (f->RewriteRefused)
        liPage_Click();
}

void LedgerPanelView::lbDelete_Click()
{
    if (GetSelectedLiLedgerID() == 0)
        return;
    if (mMain::MsgConfirm(QStringLiteral("Hapus Item terpilih?"), mMain::MsgTitleConfirm) != 1)
        return;
    const qint64 id = GetSelectedLiLedgerID();
    if (id == 0)
        return;
    // Only the row the line shows goes: checked in the delete's own
    // transaction, as another till may have replaced it meanwhile.
    if (!ledger::DeleteJournalRow(app().DbConn(), id, selectedLine(), m_warehouseShown)) {
        mMain::MsgWarn(ledger::GoneMessage(id), mMain::MsgTitleWarn);
        liPage_Click();
        return;
    }
    Announce(&ShopSession::journalChanged);
}

QString LedgerPanelView::selectedLine() const
{
    const int i = liLedger->ListIndex();
    return i >= 0 && i < liLedger->ListCount() ? liLedger->List(i) : QString();
}

void LedgerPanelView::liLedger_DblClick()
{
    lbEdit_Click();
}

void LedgerPanelView::liLedger_KeyDown(int& KeyCode, int)
{
    if (KeyCode == vbKeyDelete) {
        if (lbDelete->isEnabled())
            lbDelete_Click();
    } else if (KeyCode == vbKeyReturn) {
        if (lbEdit->isEnabled())
            lbEdit_Click();
    }
}

// ---------------------------------------------------------------- print, export

void LedgerPanelView::lbPrint_Click()
{
    // One print-out at a time: while one runs, its box holds off the keys,
    // and nothing started meanwhile may print into it.
    if (Work::current())
        return;
    const QString page = liPage->Text();
    LinePrinter& printer = app().Printer;
    if (ledger::PrintsLandscape(page))
        printer.setOrientation(2);
    const QString name = ledger::ReportJobName(page, liFrom->Value(), liTo->Value());
    printer.setDocName(name);
    // A port that fails a line takes no more of the report (each line would
    // wait out its timeout again); the operator hears once that the
    // print-out is not whole. One that the operator stopped needs no word.
    std::exception_ptr failure;
    {
        // The box stands while the report is read, before its lines are
        // counted.
        mMain::PrintJob job(m_main, mLang::PrintTexts(name), 0);
        try {
            // Printed from another panel: the report as it stands now.
            if (m_stale || m_rangeRest->isActive())
                rebuild();
            // The lines go to the printer as they are read, a page at a time.
            const std::shared_ptr<RowSource> view =
                liLedger->source() ? liLedger->source() : std::make_shared<LinesSource>(QStringList());
            // The title, range, blank line and rule before the view, a rule after.
            job.setLines(view->count() + 5);
            ledger::ForEachPrintLine(page, liFrom->Value(), liTo->Value(), *view, [&job](const QString& line) {
                job.check();
                mMain::PrintLine(line);
            });
            mMain::EndPrint();
        } catch (const Cancelled&) {
        } catch (...) {
            failure = std::current_exception();
        }
    }
    printer.setOrientation(1);
    if (failure) {
        LogFailure(QStringLiteral("lbPrint.Click"), failure);
        mMain::MsgWarn(platform::OwnText("cReportNotPrinted", QStringLiteral("Laporan tidak tercetak seluruhnya:\n")) +
                           FailureText(failure),
                       mMain::MsgTitleWarn);
    }
}

void LedgerPanelView::lbExcel_Click()
{
    if (Work::current())
        return;
    if (m_stale || m_rangeRest->isActive())
        rebuild();
    // Nothing has been built yet (no login): there is nothing to export.
    if (ReportSql.isEmpty() || !canBuild())
        return;
    const int page = liPage->ListIndex();
    if (ledger::ReportColumnCount(page, warehouseColumn()) == 0)
        return;
    const QString name = QStringLiteral("Laporan ") + liPage->Text();
    try {
        // A range the sheet cannot hold is refused before any of it is
        // read: the journal's rows are counted from the days' totals, the
        // other reports are held whole (their lines bound their records).
        CheckSheetRecords(page == ledger::Journal ? LineIds.size()
                          : liLedger->source()    ? liLedger->source()->count()
                                                  : 0);
        Work work(m_main, mLang::ExportTexts(name));
        // The rows go into the file as they are read.
        OpenWorkbook(
            [&](const QString& path) {
                ledger::ExportReport(Context(), page, ReportSql, range(), warehouseColumn(), path);
            },
            name);
    } catch (const Failure& e) {
        LogFailure(QStringLiteral("lbExcel.Click"), std::current_exception());
        mMain::MsgWarn(platform::OwnText("cReportNotExported", QStringLiteral("Laporan tidak dapat diekspor:\n")) +
                           e.text(),
                       mMain::MsgTitleWarn);
    }
}

void LedgerPanelView::Ex()
{
    ledger::Ex(app().DbConn());
}
