#include "till.h"

#include "bare.h"
#include "cashier/cashierpanel.h"
#include "cashier/fback.h"
#include "cashier/model/cart.h"
#include "cashier/model/journal.h"
#include "catalogue/fmaster.h"
#include "core/mmain.h"
#include "ledger/ledgerpanel.h"
#include "platform/controls.h"
#include "platform/db.h"
#include "program.h"
#include "shell/fmain.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QHash>
#include <QProcess>
#include <QTest>
#include <QThread>
#include <cstdio>
#include <stdexcept>

namespace figure {
const QString Startup = QStringLiteral("Start-up to the login panel");
const QString Login = QStringLiteral("Login to the cashier panel");
const QString ClockUnchanged = QStringLiteral("Clock's reading, nothing changed");
const QString ClockAfterChange = QStringLiteral("Clock's first reading after another till's row");
const QString Idle = QStringLiteral("Idle till, 10 s: CPU share");
const QString IdleBeside = QStringLiteral("Idle till, another till commits each second: CPU");
const QString Refused = QStringLiteral("  that other till's commits refused (of 20)");
const QString ServerIdle = QStringLiteral("Idle till on a MariaDB entry: the server's CPU");
const QString Inventory = QStringLiteral("Inventory panel, every item (10,000 / 100,000)");
const QString Contacts = QStringLiteral("List window, every contact (10,000 / 100,000)");
const QString JournalMonth = QStringLiteral("Journal, one month, shown");
const QString JournalLines = QStringLiteral("Journal, 100,000 lines shown (1M: a year)");
const QString JournalMemory = QStringLiteral("  memory held by those lines");
const QString Recap = QStringLiteral("Daily recapitulation, one year, shown");
const QString StockMonth = QStringLiteral("Stock report, one month, shown");
const QString StockYears = QStringLiteral("Stock report, ten years, shown");
const QString Save = QStringLiteral("Save a 20-line sale with recipes");
const QString Sale = QStringLiteral("Sale: Enter in Paid to the till's next key");
} // namespace figure

void DeclareFigures(Table& table)
{
    using B = Bound;
    auto declare = [&](const QString& what, Unit unit, const QList<Bound>& bounds) {
        table.row(what, unit).bounds = bounds;
    };
    declare(figure::Startup, Unit::Time, {{B::Below, 0.5}});
    declare(figure::Login, Unit::Time, {{B::Below, 0.5}});
    declare(figure::ClockUnchanged, Unit::Time, {{B::Below, 0.001}});
    declare(figure::ClockAfterChange, Unit::Time, {{B::Below, 0.001}});
    declare(figure::Idle, Unit::Share, {{B::Below, 0.02}});
    declare(figure::IdleBeside, Unit::Share, {{B::Below, 0.02}});
    declare(figure::Refused, Unit::Count, {{B::AtMost, 0}});
    declare(figure::ServerIdle, Unit::Share, {{B::Below, 0.01}});
    declare(figure::Inventory, Unit::Time, {{B::Below, 0.3}});
    declare(figure::Contacts, Unit::Time, {{B::Below, 0.3}});
    declare(figure::JournalMonth, Unit::Time, {{B::Below, 0.3, 1u}});
    declare(figure::JournalLines, Unit::Time, {{B::Below, 1.0}});
    declare(figure::JournalMemory, Unit::Bytes, {{B::Below, 50e6}});
    declare(figure::Recap, Unit::Time, {{B::Below, 0.3, 1u}});
    declare(figure::StockMonth, Unit::Time, {{B::Below, 0.3}});
    declare(figure::StockYears, Unit::Time, {{B::Below, 1.0}});
    declare(figure::Save, Unit::Time, {{B::FloorTimes, 2}});
    declare(figure::Sale, Unit::Time, {{B::Below, 0.05}});
}

namespace {

// A journal row as another till writes it: a cash-in of 1,000 today.
QString AnotherTillsRow()
{
    const QString today = QDate::currentDate().toString(Qt::ISODate);
    return QStringLiteral("insert into cash values((select max(ID) + 1 from cash), (select max(no) + 1 from cash), "
                          "'Cash In', '%1', 'bench', 'Admin', 'G1', 'Umum', 'KAS', 'Kas masuk', 1000, 0, 1000, 1, '', "
                          "0, 0, 0, 0, 1000, 0, 1000, 0)")
        .arg(today);
}

QByteArray Day(const QDate& d)
{
    return d.toString(Qt::ISODate).toLatin1();
}

// ---------------------------------------------------------------- floors
// Each floor gives the lines of a figure by the fastest bare query we know,
// every cell read as a list would read it.

// Where the floors leave their sums, so that no sum is left out unread.
volatile double g_sink = 0;

void ReadCells(sqlite3_stmt* st)
{
    const int n = sqlite3_column_count(st);
    for (int i = 0; i < n; ++i)
        sqlite3_column_text(st, i);
}

// A statement over a range of days, the first and last bound as ?1 and ?2.
void Days(Statement& st, const QDate& from, const QDate& to)
{
    st.text(1, Day(from));
    st.text(2, Day(to));
}

int JournalFloor(Bare& db, const QDate& from, const QDate& to)
{
    Statement st(db, "select ID, no, Moment, Cashier, Charge, Category, Code, Description, SubTotal, Quantity, "
                     "Unit, Debit, Credit from cash where Moment between ?1 and ?2 order by ID");
    Days(st, from, to);
    int rows = 0;
    double debit = 0, credit = 0;
    while (sqlite3_step(st) == SQLITE_ROW) {
        debit += sqlite3_column_double(st, 11);
        credit += sqlite3_column_double(st, 12);
        ReadCells(st);
        ++rows;
    }
    g_sink = debit - credit;
    return rows;
}

int RecapFloor(Bare& db, const QDate& from, const QDate& to)
{
    Statement st(db, "select Moment, sum(Sale), sum(Shop), sum(Cash_In), sum(Cash_Out), sum(Debit), sum(Credit) "
                     "from cash where Moment between ?1 and ?2 group by Moment");
    Days(st, from, to);
    int rows = 0;
    double total[6] = {};
    while (sqlite3_step(st) == SQLITE_ROW) {
        for (int i = 0; i < 6; ++i)
            total[i] += sqlite3_column_double(st, i + 1);
        ReadCells(st);
        ++rows;
    }
    g_sink = total[0] + total[5];
    return rows;
}

// The stock report's lines: the range's movements summed per stock item,
// and its balance before the range. Where the data keeps month sums of the
// movements (stockmonth), whole months are read from them and only the
// days of part months from the movements; without them the balance before
// the range sums the whole history.
int StockFloor(Bare& db, const QDate& from, const QDate& to)
{
    struct Figures {
        double before = 0, in = 0, out = 0;
        bool moved = false;
    };
    QHash<QByteArray, Figures> items;
    auto key = [](sqlite3_stmt* st) { return QByteArray(reinterpret_cast<const char*>(sqlite3_column_text(st, 0))); };
    // Movements of days, summed by the row.
    auto rows = [&](const QDate& first, const QDate& last, bool inRange) {
        Statement st(db, "select code, description, unit, category, `in`, `out` from stockflow where moment "
                         "between ?1 and ?2");
        Days(st, first, last);
        while (sqlite3_step(st) == SQLITE_ROW) {
            ReadCells(st);
            Figures& f = items[key(st)];
            const double in = sqlite3_column_double(st, 4), out = sqlite3_column_double(st, 5);
            if (inRange) {
                f.in += in;
                f.out += out;
                f.moved = true;
            } else {
                f.before += in - out;
            }
        }
    };
    if (!db.hasTable("stockmonth")) {
        Statement st(db, "select code, sum(`in` - `out`) from stockflow where moment < ?1 group by code");
        st.text(1, Day(from));
        while (sqlite3_step(st) == SQLITE_ROW)
            items[key(st)].before += sqlite3_column_double(st, 1);
        rows(from, to, true);
    } else {
        const QDate fromMonth(from.year(), from.month(), 1);
        const QDate wholeFrom = from == fromMonth ? from : fromMonth.addMonths(1);
        const QDate toMonth(to.year(), to.month(), 1);
        const QDate wholeTo = to.day() == to.daysInMonth() ? toMonth : toMonth.addMonths(-1);
        auto period = [](const QDate& d) { return d.toString(QStringLiteral("yyyy-MM")).toLatin1(); };
        // A few months are found fastest by the month index, many by
        // reading the whole table in its order.
        const QDate firstMonth = QDate::fromString(
            db.value(QStringLiteral("select min(period) from stockmonth where period > ''")).toString(),
            QStringLiteral("yyyy-MM"));
        auto few = [](const QDate& a, const QDate& b) { return !a.isValid() || a.addMonths(12) >= b; };
        {
            Statement st(db, few(firstMonth, fromMonth)
                                 ? "select code, sum(balance) from stockmonth where period > '' and period < ?1 "
                                   "group by code"
                                 : "select code, sum(balance) from stockmonth not indexed where period > '' and "
                                   "period < ?1 group by code");
            st.text(1, period(fromMonth));
            while (sqlite3_step(st) == SQLITE_ROW)
                items[key(st)].before += sqlite3_column_double(st, 1);
        }
        if (from > fromMonth)
            rows(fromMonth, from.addDays(-1), false);
        if (wholeFrom <= wholeTo) {
            Statement st(db, few(wholeFrom, wholeTo)
                                 ? "select code, sum(`in`), sum(`out`) from stockmonth where period between ?1 and "
                                   "?2 and movements > 0 group by code"
                                 : "select code, sum(`in`), sum(`out`) from stockmonth not indexed where period "
                                   "between ?1 and ?2 and movements > 0 group by code");
            st.text(1, period(wholeFrom));
            st.text(2, period(wholeTo));
            while (sqlite3_step(st) == SQLITE_ROW) {
                Figures& f = items[key(st)];
                f.in += sqlite3_column_double(st, 1);
                f.out += sqlite3_column_double(st, 2);
                f.moved = true;
            }
            if (from < wholeFrom)
                rows(from, wholeFrom.addDays(-1), true);
            if (wholeTo.addMonths(1) <= to)
                rows(wholeTo.addMonths(1), to, true);
        } else {
            rows(from, to, true);
        }
    }
    int lines = 0;
    double end = 0;
    for (auto it = items.cbegin(); it != items.cend(); ++it)
        if (it->moved) {
            end += it->before + it->in - it->out;
            ++lines;
        }
    g_sink = end;
    return lines;
}

int InventoryFloor(Bare& db)
{
    Statement st(db, "select inventory.code, s.category, s.name, s.satuan, s.price, s.discount, l.price, "
                     "l.discount from inventory join ShopItems s on s.code = inventory.code join SaleItems l on "
                     "l.code = inventory.code");
    int rows = 0;
    for (; sqlite3_step(st) == SQLITE_ROW; ++rows)
        ReadCells(st);
    return rows;
}

int ContactsFloor(Bare& db)
{
    Statement st(db, "select code, name, address, phone, fax from Customer");
    int rows = 0;
    for (; sqlite3_step(st) == SQLITE_ROW; ++rows)
        ReadCells(st);
    return rows;
}

// The cash balance: from the totals the database keeps when it keeps them,
// from the whole journal otherwise.
double ClockFloor(Bare& db)
{
    if (db.hasTable("cashtotal"))
        return db.value(QStringLiteral("select debit - credit from cashtotal")).toDouble();
    Statement st(db, "select sum(Debit), sum(Credit) from cash");
    return sqlite3_step(st) == SQLITE_ROW ? sqlite3_column_double(st, 0) - sqlite3_column_double(st, 1) : 0;
}

// ---------------------------------------------------------------- the till

class Till {
public:
    Till(const Scale& scale, int size, const QString& file, const Span& span, Table& table)
        : m_scale(scale), m_size(size), m_span(span), m_table(table)
    {
        m_program.addCopy(QStringLiteral("Toko"), file);
        m_file = m_program.path(QStringLiteral("Toko.cdb"));
        m_bare = std::make_unique<Bare>(m_file);
        const QDate today = QDate::currentDate();
        m_lastMonthFrom = QDate(today.year(), today.month(), 1).addMonths(-1);
        m_lastMonthTo = m_lastMonthFrom.addMonths(1).addDays(-1);
        const int days = int((100000LL * span.days() + scale.journal - 1) / scale.journal);
        m_linesFrom = today.addDays(1 - days);
    }

    void run()
    {
        // ORV_BENCH_ONLY=reports,sale measures some groups only, while
        // working on one figure; the login is always measured.
        const QStringList only = qEnvironmentVariable("ORV_BENCH_ONLY").split(QLatin1Char(','), Qt::SkipEmptyParts);
        const auto wanted = [&](const char* group) { return only.isEmpty() || only.contains(QLatin1String(group)); };
        progress("start-up and login");
        startAndLogin();
        if (wanted("clock")) {
            progress("the clock");
            measureClock();
        }
        if (wanted("idle")) {
            progress("an idle till");
            measureIdle();
            measureIdleBesideAnotherTill();
        }
        m_program.setTimers(false);
        if (wanted("lists")) {
            progress("the lists");
            measureLists();
        }
        if (wanted("reports")) {
            progress("the reports");
            measureReports();
        }
        if (wanted("sale")) {
            progress("a sale");
            measureSave();
            measureSale();
        }
        for (const RecordedMessage& m : m_program.ui->messages)
            m_table.notes << QStringLiteral("%1: the program said \"%2\"").arg(QLatin1String(m_scale.name), m.prompt);
        m_program.stop();
    }

private:
    void put(const QString& what, double value, double floor = kNone, const QString& note = QString())
    {
        Row& r = m_table.row(what);
        r.at[m_size] = {value, note};
        r.floor[m_size] = {floor, QString()};
    }
    void progress(const char* what) const
    {
        std::printf("  %s: %s\n", m_scale.name, what);
        std::fflush(stdout);
    }
    void info(const QString& text) { m_table.notes << QLatin1String(m_scale.name) + QStringLiteral(": ") + text; }
    QString ratio(double program, double floor) const { return QStringLiteral("%1x").arg(program / floor, 0, 'f', 2); }
    LedgerPanelView* ledger() const { return dynamic_cast<LedgerPanelView*>(m_program.main->ledgerPanel()); }
    CashierPanelView* cashierPanel() const { return dynamic_cast<CashierPanelView*>(m_program.main->cashierPanel()); }

    void login() { m_program.login(QStringLiteral("Toko")); }

    void startAndLogin()
    {
        std::vector<double> startups;
        for (int i = 0; i < kRuns; ++i)
            startups.push_back(Seconds([&] { m_program.start(); }));
        const double bareOpen = MedianOf([&] {
            Bare again(m_file);
            again.read(QStringLiteral("select * from config"));
        });
        put(figure::Startup, Median(startups), bareOpen);

        // The first login meets a database as the bench made it, and builds
        // whatever the program keeps besides; the later ones are a shop's.
        info(QStringLiteral("first login on the copy %1").arg(Shown(Seconds([&] { login(); }), Unit::Time)));

        std::vector<double> logins;
        for (int i = 0; i < kRuns; ++i) {
            m_program.logout();
            logins.push_back(Seconds([&] { login(); }));
        }
        const double bareLogin = MedianOf([&] {
            m_bare->read(QStringLiteral("select * from operator where username='Admin'"));
            m_bare->read(QStringLiteral("select * from config"));
            ClockFloor(*m_bare);
        });
        put(figure::Login, Median(logins), bareLogin);
    }

    void measureClock()
    {
        fMain* main = m_program.main;
        m_program.setTimers(false);
        const double unchanged = MedianOf([&] { main->tClock_Timer(); }, 2 * kRuns + 1);
        std::vector<double> afterChange, floors;
        for (int i = 0; i < kRuns; ++i) {
            m_bare->exec(AnotherTillsRow());
            afterChange.push_back(Seconds([&] { main->tClock_Timer(); }));
            floors.push_back(Seconds([&] { ClockFloor(*m_bare); }));
        }
        put(figure::ClockUnchanged, unchanged);
        put(figure::ClockAfterChange, Median(afterChange), Median(floors));
        // What the clock shows is the journal's balance to the rupiah.
        const QVariant debit = m_bare->value(QStringLiteral("select sum(Debit) from cash"));
        const QVariant credit = m_bare->value(QStringLiteral("select sum(Credit) from cash"));
        const QString expected =
            QStringLiteral("Cash: ") + mMain::FormatAmount(mMain::StoredNumber(debit) - mMain::StoredNumber(credit));
        if (main->iCash->Caption() != expected)
            info(QStringLiteral("the clock shows \"%1\", the journal's sums give \"%2\"")
                     .arg(main->iCash->Caption(), expected));
        m_program.setTimers(true);
    }

    // The process's CPU over a wait, as a share of one core.
    static double CpuShare(int ms)
    {
        const double before = CpuSeconds();
        QElapsedTimer t;
        t.start();
        Wait(ms);
        return (CpuSeconds() - before) / (double(t.nsecsElapsed()) / 1e9);
    }

    void measureIdle()
    {
        const double idle = CpuShare(10000);
        m_program.setTimers(false);
        const double quiet = CpuShare(10000);
        m_program.setTimers(true);
        put(figure::Idle, idle, quiet);
    }

    void measureIdleBesideAnotherTill()
    {
        QProcess other;
        other.setProgram(QCoreApplication::applicationFilePath());
        other.setArguments({QStringLiteral("--commit-once-a-second"), m_file, QStringLiteral("20")});
        other.setProcessChannelMode(QProcess::SeparateChannels);
        const double before = CpuSeconds();
        QElapsedTimer t;
        t.start();
        other.start();
        if (!other.waitForStarted(10000))
            throw std::runtime_error("the other till did not start");
        while (other.state() != QProcess::NotRunning && t.elapsed() < 60000)
            Wait(100);
        const double share = (CpuSeconds() - before) / (double(t.nsecsElapsed()) / 1e9);
        const QString out = QString::fromLatin1(other.readAllStandardOutput()).trimmed();
        const QStringList words = out.split(QLatin1Char(' '));
        if (words.size() != 4 || words[0] != QLatin1String("commits"))
            throw std::runtime_error(
                ("the other till said: " + out + " " + QString::fromLocal8Bit(other.readAllStandardError()))
                    .toStdString());
        put(figure::IdleBeside, share);
        Row& r = m_table.row(figure::Refused, Unit::Count);
        r.at[m_size] = {words[3].toDouble(), QString()};
    }

    // A fill of a list as the operator sees it: the work, then the window
    // laid out and painted.
    static void OnScreen(const std::function<void()>& fill)
    {
        fill();
        QApplication::processEvents();
    }

    void measureLists()
    {
        fMain* main = m_program.main;
        main->bInventory_Click();
        InventoryPanel* panel = main->inventoryPanel();
        panel->iiTable->setListIndex(0);
        double program = 0, floor = 0;
        int rows = 0;
        // Each run fills the list anew: an unchanged list asked for again is
        // not read again, which is not what is measured here.
        MedianOfBoth(
            [&] {
                OnScreen([&] {
                    panel->iiItems->Clear();
                    panel->FilliItems(QString());
                });
            },
            [&] { rows = InventoryFloor(*m_bare); }, program, floor);
        if (panel->iiItems->ListCount() < m_scale.items || rows < m_scale.items)
            throw std::runtime_error("the inventory panel did not list every item");
        put(figure::Inventory, program, floor);

        fMaster* list = MasterWindow();
        list->Tag = QStringLiteral("Charge");
        list->TableName = QStringLiteral("Customer");
        list->show();
        MedianOfBoth([&] { OnScreen([&] { list->FilliItems(QString()); }); }, [&] { rows = ContactsFloor(*m_bare); },
                     program, floor);
        if (list->iItems->ListCount() < m_scale.contacts || rows < m_scale.contacts)
            throw std::runtime_error("the list window did not list every contact");
        list->hide();
        put(figure::Contacts, program, floor);
    }

    // Sets the ledger's page and range; whatever the program rebuilds on the
    // way (at once or after the fields' rest) is over before the figure is
    // taken.
    void showLedger(int page, const QDate& from, const QDate& to)
    {
        LedgerPanelView* l = ledger();
        // No page while the dates move: each step would build a report.
        l->liPage->setListIndex(-1);
        if (from > l->liTo->Value()) {
            l->liTo->setValue(to);
            l->liFrom->setValue(from);
        } else {
            l->liFrom->setValue(from);
            l->liTo->setValue(to);
        }
        l->liPage->setListIndex(page);
        Wait(500);
    }

    double rebuild()
    {
        LedgerPanelView* l = ledger();
        return Seconds([&] { OnScreen([&] { l->liPage_Click(); }); });
    }

    void report(const QString& what, int page, const QDate& from, const QDate& to,
                const std::function<int()>& floorLines)
    {
        showLedger(page, from, to);
        double program = 0, floor = 0;
        int lines = 0;
        MedianOfBoth([&] { rebuild(); }, [&] { lines = floorLines(); }, program, floor);
        put(what, program, floor, ratio(program, floor));
        info(QStringLiteral("%1: %2 lines shown, %3 by the floor")
                 .arg(what.trimmed())
                 .arg(ledger()->liLedger->ListCount())
                 .arg(lines));
    }

    void measureReports()
    {
        fMain* main = m_program.main;
        main->bLedger_Click();
        Bare& db = *m_bare;
        const QDate today = QDate::currentDate();
        report(figure::JournalMonth, ledger::Journal, m_lastMonthFrom, m_lastMonthTo,
               [&] { return JournalFloor(db, m_lastMonthFrom, m_lastMonthTo); });

        // Memory before: the ledger on the login's range (today).
        showLedger(ledger::Journal, today, today.addDays(1));
        const double before = ResidentBytes();
        showLedger(ledger::Journal, m_linesFrom, today);
        const double after = ResidentBytes();
        qint64 text = 0;
        for (int i = 0; i < ledger()->liLedger->ListCount(); ++i)
            text += ledger()->liLedger->List(i).toUtf8().size();
        Row& memory = m_table.row(figure::JournalMemory, Unit::Bytes);
        memory.at[m_size] = {after - before, QString()};
        memory.floor[m_size] = {double(text), QString()};
        double program = 0, floor = 0;
        int lines = 0;
        MedianOfBoth([&] { rebuild(); }, [&] { lines = JournalFloor(db, m_linesFrom, today); }, program, floor);
        put(figure::JournalLines, program, floor, ratio(program, floor));
        info(QStringLiteral("journal from %1: %2 lines shown; the floor of their memory is their text in UTF-8")
                 .arg(m_linesFrom.toString(Qt::ISODate))
                 .arg(ledger()->liLedger->ListCount()));

        report(figure::Recap, ledger::Recap, today.addDays(-364), today,
               [&] { return RecapFloor(db, today.addDays(-364), today); });
        report(figure::StockMonth, ledger::Stock, m_lastMonthFrom, m_lastMonthTo,
               [&] { return StockFloor(db, m_lastMonthFrom, m_lastMonthTo); });
        report(figure::StockYears, ledger::Stock, m_span.first, today,
               [&] { return StockFloor(db, m_span.first, today); });
        info(db.hasTable("stockmonth")
                 ? QStringLiteral("the stock report's floor reads whole months from the month sums the data keeps")
                 : QStringLiteral("the stock report's floor sums the history before the range: the data keeps no "
                                  "summary of it"));
    }

    static void FillCart(platform::DbConnection& db)
    {
        for (int i = 0; i < kSaleLines; ++i) {
            cashier::LineEntry e;
            e.charge = QStringLiteral("Meja 1");
            e.code = QString::fromLatin1(ItemCode(i));
            e.category = QStringLiteral("Category");
            e.name = QStringLiteral("Item number ") + QString::number(i);
            e.price = e.subtotal = 1000 + i * 250;
            e.quantity = 1 + i % 3;
            e.satuan = QStringLiteral("Pcs");
            e.total = e.subtotal * e.quantity;
            cashier::AddCartLine(db, QStringLiteral("Sale"), e);
        }
    }

    static cashier::SaveHeader Header()
    {
        cashier::SaveHeader h;
        h.action = QStringLiteral("Sale");
        h.charge = QStringLiteral("Meja 1");
        h.date = QDate::currentDate();
        h.warehouse = QStringLiteral("G1");
        h.cashier = QStringLiteral("Admin");
        h.discount = h.tax = QStringLiteral("0");
        h.discountN = h.taxN = QStringLiteral("0");
        return h;
    }

    // The statements of a save, run bare: the floor of a sale.
    double bareSave(const QList<QByteArray>& statements)
    {
        return Seconds([&] {
            m_bare->exec("begin immediate");
            for (const QByteArray& s : statements)
                m_bare->exec(s.constData());
            m_bare->exec("delete from Salecart where charge='Meja 1' and checked=1");
            m_bare->exec("commit");
        });
    }

    void measureSave()
    {
        platform::DbConnection& db = m_program.app->DbConn();
        std::vector<double> program, floor;
        for (int i = 0; i < kRuns; ++i) {
            FillCart(db);
            cashier::SaveResult r;
            program.push_back(Seconds([&] { r = cashier::SaveTransaction(db, Header()); }));
            if (!r.saved || r.rows.statements.size() < kSaleLines * 4)
                throw std::runtime_error("the sale was not saved with its recipes");
            // The same rows again, and the same lines taken out of the cart.
            FillCart(db);
            m_saveStatements.clear();
            for (const QString& s : r.rows.statements)
                m_saveStatements << s.toUtf8();
            floor.push_back(bareSave(m_saveStatements));
        }
        put(figure::Save, Median(program), Median(floor), ratio(Median(program), Median(floor)));
    }

    // Enter in the paid field with twenty lines in the cart and the ledger
    // left on the stock report: the save, the change window (closed at
    // once), and what the till does before it takes the next key.
    void measureSale()
    {
        fMain* main = m_program.main;
        showLedger(ledger::Stock, QDate::currentDate(), QDate::currentDate().addDays(1));
        main->bCashier_Click();
        CashierPanelView* p = cashierPanel();
        platform::DbConnection& db = m_program.app->DbConn();
        p->ciAction->setListIndex(0);
        p->ciCharge->setText(QStringLiteral("Meja 1"));
        std::vector<double> whole, toWindow, floor;
        QElapsedTimer t;
        double shown = 0;
        m_program.ui->scripts[QStringLiteral("fBack")] = [&](platform::Form*) {
            shown = double(t.nsecsElapsed()) / 1e9;
            QTest::keyClick(BackWindow(), Qt::Key_Return);
        };
        for (int i = 0; i < kRuns; ++i) {
            FillCart(db);
            main->FillCiCart();
            p->tCount_Timer();
            p->ciPay->setText(QStringLiteral("100000000"));
            p->tCount_Timer();
            const qint64 rows = m_bare->value(QStringLiteral("select max(ID) from cash")).toLongLong();
            shown = kNone;
            t.start();
            QTest::keyClick(p->ciPay, Qt::Key_Return);
            whole.push_back(double(t.nsecsElapsed()) / 1e9);
            toWindow.push_back(shown);
            if (m_bare->value(QStringLiteral("select max(ID) from cash")).toLongLong() < rows + kSaleLines ||
                std::isnan(shown))
                throw std::runtime_error("the sale at the keyboard was not saved, or no change window came");
            FillCart(db);
            floor.push_back(bareSave(m_saveStatements));
        }
        m_program.ui->scripts.remove(QStringLiteral("fBack"));
        put(figure::Sale, Median(whole), Median(floor),
            QStringLiteral("(%1 to the window)").arg(Shown(Median(toWindow), Unit::Time)));
    }

    const Scale& m_scale;
    int m_size;
    Span m_span;
    Table& m_table;
    Program m_program;
    QString m_file;
    std::unique_ptr<Bare> m_bare;
    QDate m_lastMonthFrom, m_lastMonthTo, m_linesFrom;
    QList<QByteArray> m_saveStatements;
};

} // namespace

void MeasureTill(const Scale& scale, int size, const QString& file, const Span& span, Table& table)
{
    Till till(scale, size, file, span, table);
    till.run();
}

int CommitOnceASecond(const QString& file, int seconds)
{
    platform::DbConnection db;
    int commits = 0, refused = 0;
    try {
        db.Open(file);
    } catch (const platform::DbError& e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.text()));
        return 2;
    }
    QElapsedTimer t;
    t.start();
    for (int i = 0; i < seconds; ++i) {
        const qint64 wait = qint64(i) * 1000 - t.elapsed();
        if (wait > 0)
            QThread::msleep(quint64(wait));
        try {
            platform::DbTransaction tx(db);
            db.Execute(AnotherTillsRow());
            tx.commit();
            ++commits;
        } catch (const platform::DbError&) {
            ++refused;
        }
    }
    std::printf("commits %d refused %d\n", commits, refused);
    return 0;
}
