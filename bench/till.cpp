#include "till.h"

#include "bare.h"
#include "cashier/cashierpanel.h"
#include "cashier/fback.h"
#include "cashier/model/cart.h"
#include "cashier/model/journal.h"
#include "catalogue/fmaster.h"
#include "catalogue/inventorypanel.h"
#include "core/mmain.h"
#include "data/db.h"
#include "lang/mlang.h"
#include "ledger/ledgerpanel.h"
#include "platform/controls.h"
#include "program.h"
#include "sheet.h"
#include "shell/fmain.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QHash>
#include <QProcess>
#include <QScrollBar>
#include <QTest>
#include <QThread>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <stdexcept>

namespace figure {
const QString ColdStart = QStringLiteral("Cold start: a new process to its login panel");
const QString Login = QStringLiteral("Login after a logout");
const QString NewLogin = QStringLiteral("Login in a new process, to the screen (wall time)");
const QString FirstLogin = QStringLiteral("First login, building the kept totals");
const QString ServerLogin = QStringLiteral("Login on a MariaDB entry, new process (wall time)");
const QString ServerLoginAgain = QStringLiteral("Login on a MariaDB entry after a logout (wall time)");
const QString ClockUnchanged = QStringLiteral("Clock's reading, nothing changed");
const QString ClockAfterChange = QStringLiteral("Clock's first reading after another till's row");
const QString Idle = QStringLiteral("Idle till, 10 s: CPU share");
const QString IdleBeside = QStringLiteral("Idle till, another till commits each second: CPU");
const QString Refused = QStringLiteral("  that other till's commits refused (of 20)");
const QString ServerIdle = QStringLiteral("Idle till on a MariaDB entry: the server's CPU");
const QString ServerInventory = QStringLiteral("F2, inventory panel on a MariaDB entry, every item");
const QString ServerContacts = QStringLiteral("List window on a MariaDB entry, every contact");
const QString ServerFirstF2 = QStringLiteral("First F2 of a session on a MariaDB entry (wall time)");
const QString Inventory = QStringLiteral("F2, inventory panel, every item (10,000 / 100,000)");
const QString Contacts = QStringLiteral("List window, every contact (10,000 / 100,000)");
const QString JournalMonth = QStringLiteral("Journal, one month, shown");
const QString JournalYear = QStringLiteral("Journal, a year, first screen shown");
const QString JournalWhole = QStringLiteral("Journal, a year, then Ctrl+End: last line shown");
const QString ResidentYear = QStringLiteral("Resident size, a year's journal shown");
const QString ResidentLogout = QStringLiteral("Resident size after a logout");
const QString ResidentBack = QStringLiteral("  above the size before the year was shown");
const QString Recap = QStringLiteral("Daily recapitulation, one year, shown");
const QString SalesYear = QStringLiteral("Sales report, one year, shown");
const QString StockMonth = QStringLiteral("Stock report, one month, shown");
const QString StockYears = QStringLiteral("Stock report, ten years, shown");
const QString CartLine = QStringLiteral("Cart line: code, Enter, quantity, Enter");
const QString CodeKey = QStringLiteral("Item code typed: its first key, every code listed");
const QString Save = QStringLiteral("Save a 20-line sale with recipes");
const QString Sale = QStringLiteral("Sale: Enter in Paid to the next key, a year shown");
const QString FirstF2 = QStringLiteral("First F2 of a session, to the screen (wall time)");
const QString PrintPort = QStringLiteral("Print a month's journal to a file port");
const QString PrintPdf = QStringLiteral("Print a month's journal to the printer (PDF here)");
const QString ExportMonth = QStringLiteral("Export a month's journal to xlsx");
const QString ExportYear = QStringLiteral("Export a year's journal to xlsx");
const QString ExportInventory = QStringLiteral("Export the inventory list, every item, to xlsx");
const QString FilterKey = QStringLiteral("Column filter, Description typed: its dearest key");
const QString FilterQueued = QStringLiteral("  typed a key each 150 ms: queued after the last key");
} // namespace figure

void DeclareFigures(Table& table)
{
    using B = Bound;
    auto declare = [&](const QString& what, Unit unit, const QList<Bound>& bounds) {
        table.row(what, unit).bounds = bounds;
    };
    // What grows with the history may cost at 10M at most this many times
    // what it costs at 1M.
    const Bound flat{B::Flat, 1.5};
    declare(figure::ColdStart, Unit::Time, {{B::Below, 0.5}, flat});
    declare(figure::Login, Unit::Time, {{B::AtMost, 0.15}, flat});
    // The morning's login: nothing the process read before is kept, the
    // Charge box's names included. The operator waits for the screen.
    declare(figure::NewLogin, Unit::Time, {{B::AtMost, 0.15}});
    // Built from every row it sums: it cannot be flat.
    declare(figure::FirstLogin, Unit::Time, {{B::AtMost, 10}});
    // Wall times: the server and a busy machine stretch them more than the
    // history does, so they are held to their target only.
    declare(figure::ServerLogin, Unit::Time, {{B::AtMost, 0.15}});
    declare(figure::ServerLoginAgain, Unit::Time, {{B::AtMost, 0.15}});
    declare(figure::ClockUnchanged, Unit::Time, {{B::Below, 0.001}});
    declare(figure::ClockAfterChange, Unit::Time, {{B::Below, 0.001}});
    declare(figure::Idle, Unit::Share, {{B::Below, 0.02}});
    declare(figure::IdleBeside, Unit::Share, {{B::Below, 0.02}});
    declare(figure::Refused, Unit::Count, {{B::AtMost, 0}});
    declare(figure::ServerIdle, Unit::Share, {{B::Below, 0.01}});
    declare(figure::ServerInventory, Unit::Time, {{B::Below, 0.3}, flat});
    declare(figure::ServerContacts, Unit::Time, {{B::Below, 0.3}});
    declare(figure::ServerFirstF2, Unit::Time, {{B::AtMost, 0.3}});
    declare(figure::Inventory, Unit::Time, {{B::Below, 0.3}, flat});
    declare(figure::Contacts, Unit::Time, {{B::Below, 0.3}});
    declare(figure::JournalMonth, Unit::Time, {{B::Below, 0.3}, flat});
    declare(figure::JournalYear, Unit::Time, {{B::Below, 0.3}, flat});
    declare(figure::JournalWhole, Unit::Time, {{B::Below, 1.0}, flat});
    declare(figure::ResidentYear, Unit::Bytes, {{B::Below, 300e6}, flat});
    declare(figure::ResidentLogout, Unit::Bytes, {{B::Below, 200e6}});
    declare(figure::ResidentBack, Unit::Bytes, {{B::AtMost, 100e6}});
    declare(figure::Recap, Unit::Time, {{B::Below, 0.3}, flat});
    declare(figure::SalesYear, Unit::Time, {{B::Below, 0.3}, flat});
    declare(figure::StockMonth, Unit::Time, {{B::Below, 0.3}});
    declare(figure::StockYears, Unit::Time, {{B::Below, 1.0}});
    declare(figure::CartLine, Unit::Time, {{B::AtMost, 0.05}, flat});
    // The list counts the codes that begin with the key (its scroll bar and
    // its last row need the count): a walk of the code index that grows
    // with the catalogue, 100,000 entries at 10M, so it is not held flat.
    declare(figure::CodeKey, Unit::Time, {{B::AtMost, 0.05}});
    declare(figure::Save, Unit::Time, {{B::FloorTimes, 2}});
    declare(figure::Sale, Unit::Time, {{B::AtMost, 0.15}, flat});
    // The operator waits for the panel: the wall time is judged.
    declare(figure::FirstF2, Unit::Time, {{B::AtMost, 0.3}});
    // A month grows with the trade (8,000 lines at 1M, 80,000 at 10M): no
    // bound on the growth.
    declare(figure::PrintPort, Unit::Time, {{B::AtMost, 1.0}});
    // Measured for its size; a printer's own speed sets what is enough.
    declare(figure::PrintPdf, Unit::Time, {});
    declare(figure::ExportMonth, Unit::Time, {{B::FloorTimes, 1.5}});
    declare(figure::ExportYear, Unit::Time, {{B::FloorTimes, 1.5}});
    declare(figure::ExportInventory, Unit::Time, {{B::FloorTimes, 1.5}});
    // A key that costs more than this is still fine when the list keeps up
    // with the typing (a pause before it is read, say): one or the other.
    declare(figure::FilterKey, Unit::Time, {{B::AtMost, 0.1}});
    declare(figure::FilterQueued, Unit::Time, {{B::AtMost, 0.1}});
    table.row(figure::FilterKey).either = figure::FilterQueued;
    table.row(figure::FilterQueued).either = figure::FilterKey;
}

namespace {

// Print-outs and exports take seconds at 10M: fewer runs of them.
constexpr int kSlowRuns = 3;
// How long an operator's rest after a key lasts, longer than any pause the
// program may take before it acts on typing.
constexpr int kRest = 800;
// A quick typist's pace, in ms a key.
constexpr int kPace = 150;

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

// What a list of the journal shows at first (or after Ctrl+End): one screen
// of the range's rows in their order, and the range's sums for the totals
// row.
int JournalScreenFloor(Bare& db, const QDate& from, const QDate& to, int screen, bool last)
{
    Statement st(db, last ? "select ID, no, Moment, Cashier, Charge, Category, Code, Description, SubTotal, "
                            "Quantity, Unit, Debit, Credit from cash where Moment between ?1 and ?2 order by ID "
                            "desc limit ?3"
                          : "select ID, no, Moment, Cashier, Charge, Category, Code, Description, SubTotal, "
                            "Quantity, Unit, Debit, Credit from cash where Moment between ?1 and ?2 order by ID "
                            "limit ?3");
    Days(st, from, to);
    st.integer(3, screen);
    int rows = 0;
    for (; sqlite3_step(st) == SQLITE_ROW; ++rows)
        ReadCells(st);
    Statement sums(db, "select sum(Debit), sum(Credit) from cash where Moment between ?1 and ?2");
    Days(sums, from, to);
    if (sqlite3_step(sums) == SQLITE_ROW)
        g_sink = sqlite3_column_double(sums, 0) - sqlite3_column_double(sums, 1);
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

// The sales report's figures: the range's sale rows read once, each with
// what its line and the footer add up.
int SalesFloor(Bare& db, const QDate& from, const QDate& to)
{
    Statement st(db, "select Code, Description, Unit, Price, Quantity, Debit, Credit from cash where Moment "
                     "between ?1 and ?2 and (Category = 'Jual' or Category = 'Sale')");
    Days(st, from, to);
    int rows = 0;
    double total = 0;
    while (sqlite3_step(st) == SQLITE_ROW) {
        total += sqlite3_column_double(st, 5);
        ReadCells(st);
        ++rows;
    }
    g_sink = total;
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

// A print-out to a port as cheap as it gets: the rows read, and the lines
// the program printed written to the port's file opened once.
void PortFloor(Bare& db, const QDate& from, const QDate& to, const QList<QByteArray>& lines, const QString& port)
{
    JournalFloor(db, from, to);
    QFile f(port);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw std::runtime_error("the floor's port file cannot be written");
    for (const QByteArray& line : lines) {
        f.write(line);
        f.write("\r\n", 2);
    }
}

QByteArray Column(sqlite3_stmt* st, int i)
{
    return QByteArray(reinterpret_cast<const char*>(sqlite3_column_text(st, i)), sqlite3_column_bytes(st, i));
}

// The journal's export: the range's rows read bare and written as the
// export writes them, a row number, the day as a date, the texts, the
// amounts with their format and the quantity with its unit.
int JournalSheetFloor(Bare& db, const QDate& from, const QDate& to, const QString& path)
{
    Statement st(db, "select Moment, Cashier, Charge, Category, Code, Description, Price, Quantity, Unit, Debit, "
                     "Credit from cash where Moment between ?1 and ?2 order by ID");
    Days(st, from, to);
    BareSheet sheet(path);
    const char* titles[] = {"No",          "Date",  "Cashier",  "Charge", "Action", "Code",
                            "Description", "Price", "Quantity", "Debit",  "Credit"};
    for (int c = 0; c < int(std::size(titles)); ++c)
        sheet.title(0, c, titles[c]);
    int row = 0;
    while (sqlite3_step(st) == SQLITE_ROW) {
        ++row;
        sheet.number(row, 0, row, false);
        sheet.date(row, 1, QDate::fromString(QString::fromLatin1(Column(st, 0)), Qt::ISODate));
        for (int c = 1; c <= 5; ++c)
            sheet.text(row, c + 1, Column(st, c).constData());
        sheet.number(row, 7, sqlite3_column_double(st, 6), true);
        sheet.text(row, 8, (QByteArray::number(sqlite3_column_double(st, 7)) + ' ' + Column(st, 8)).constData());
        sheet.number(row, 9, sqlite3_column_double(st, 9), true);
        sheet.number(row, 10, sqlite3_column_double(st, 10), true);
    }
    sheet.close();
    return row;
}

// The inventory list's export: the joined items read bare, four texts and
// each side's price, discount and net.
int InventorySheetFloor(Bare& db, const QString& path)
{
    Statement st(db, "select inventory.code, s.category, s.name, s.satuan, s.price, s.discount, l.price, "
                     "l.discount from inventory join ShopItems s on s.code = inventory.code join SaleItems l on "
                     "l.code = inventory.code");
    BareSheet sheet(path);
    for (int c = 0; c < 10; ++c)
        sheet.title(0, c, "Title");
    int row = 0;
    while (sqlite3_step(st) == SQLITE_ROW) {
        ++row;
        for (int c = 0; c < 4; ++c)
            sheet.text(row, c, Column(st, c).constData());
        for (int side = 0; side < 2; ++side) {
            const double price = sqlite3_column_double(st, 4 + 2 * side);
            const double discount = sqlite3_column_double(st, 5 + 2 * side);
            sheet.number(row, 4 + 3 * side, price, true);
            sheet.number(row, 5 + 3 * side, discount, false);
            sheet.number(row, 6 + 3 * side, price - discount / 100.0 * price, true);
        }
    }
    sheet.close();
    return row;
}

// The items whose description begins with the text, as the inventory list
// joins them.
int DescriptionCount(Bare& db, const QString& text)
{
    Statement st(db, "select count(*) from inventory join ShopItems s on s.code = inventory.code join SaleItems l "
                     "on l.code = inventory.code where s.name like ?1");
    st.text(1, text.toUtf8() + '%');
    return sqlite3_step(st) == SQLITE_ROW ? sqlite3_column_int(st, 0) : -1;
}

// The pages of a PDF file Qt wrote.
int PdfPages(const QString& file)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray pdf = f.readAll();
    return int(pdf.count("/Type /Page") - pdf.count("/Type /Pages"));
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

} // namespace

// ---------------------------------------------------------------- the lists

ListsShown::ListsShown(fMain* main)
{
    main->bInventory_Click();
    m_panel = dynamic_cast<InventoryPanelView*>(main->inventoryPanel());
    m_panel->iiTable->setListIndex(0);
    m_list = MasterWindow();
    m_list->Tag = QStringLiteral("Charge");
    m_list->TableName = QStringLiteral("Customer");
    m_list->show();
}

ListsShown::~ListsShown()
{
    m_list->hide();
}

int ListsShown::inventory()
{
    // Filled anew: an unchanged list asked for again is not read again,
    // which is not what is measured here.
    m_panel->iiItems->Clear();
    m_panel->FilliItems(QString());
    PaintNow(m_panel->iiItems);
    return m_panel->iiItems->ListCount();
}

int ListsShown::contacts()
{
    m_list->FilliItems(QString());
    PaintNow(m_list->iItems);
    return m_list->iItems->ListCount();
}

namespace {

// ---------------------------------------------------------------- the till

class TillBench {
public:
    TillBench(const Scale& scale, int size, const QString& file, const Span& span, Table& table)
        : m_scale(scale), m_size(size), m_span(span), m_table(table)
    {
        m_program.addCopy(QStringLiteral("Toko"), file);
        m_file = m_program.path(QStringLiteral("Toko.cdb"));
        // The copy is a shop's database from before the kept totals: its
        // first login builds them, and that is measured.
        TakeSummariesOff(m_file);
        m_bare = std::make_unique<Bare>(m_file);
        const QDate today = QDate::currentDate();
        m_lastMonthFrom = QDate(today.year(), today.month(), 1).addMonths(-1);
        m_lastMonthTo = m_lastMonthFrom.addMonths(1).addDays(-1);
        m_yearFrom = today.addDays(-364);
    }

    void run()
    {
        // ORV_BENCH_ONLY=reports,sale measures some groups only, while
        // working on one figure; the start and the logins are always
        // measured.
        const QStringList only = qEnvironmentVariable("ORV_BENCH_ONLY").split(QLatin1Char(','), Qt::SkipEmptyParts);
        const auto wanted = [&](const char* group) { return only.isEmpty() || only.contains(QLatin1String(group)); };
        progress("a cold start and the logins");
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
        if (wanted("firstf2")) {
            progress("the first F2 of a session");
            measureFirstF2();
        }
        if (wanted("print")) {
            progress("the print-outs");
            measurePrint();
        }
        if (wanted("export")) {
            progress("the exports");
            measureExports();
        }
        if (wanted("filter")) {
            progress("the column filter");
            measureFilter();
        }
        if (wanted("sale")) {
            progress("a sale");
            measureCartLine();
            measureCodeKeys();
            measureSave();
            measureSale();
        }
        for (const RecordedMessage& m : m_program.ui->messages)
            m_table.notes << QStringLiteral("%1: the program said \"%2\"").arg(QLatin1String(m_scale.name), m.prompt);
        m_program.stop();
    }

private:
    // The CPU figure is judged; the wall time goes beside it.
    void put(const QString& what, const Cost& program, const Cost& floor = {kNone, kNone}, const QString& note = {})
    {
        Row& r = m_table.row(what);
        QString beside = QStringLiteral("(wall %1)").arg(Shown(program.wall, Unit::Time));
        if (!note.isEmpty())
            beside = note + QLatin1Char(' ') + beside;
        r.at[m_size] = {program.cpu, beside};
        r.floor[m_size] = {floor.cpu, QString()};
    }
    // A figure the operator waits for on the screen: the wall time is
    // judged, the CPU goes beside it.
    void putWall(const QString& what, const Cost& program, const QString& note = {})
    {
        Row& r = m_table.row(what);
        QString beside = QStringLiteral("(CPU %1)").arg(Shown(program.cpu, Unit::Time));
        if (!note.isEmpty())
            beside = note + QLatin1Char(' ') + beside;
        r.at[m_size] = {program.wall, beside};
    }
    void putBytes(const QString& what, double bytes, const QString& note = {})
    {
        Row& r = m_table.row(what, Unit::Bytes);
        r.at[m_size] = {bytes, note};
    }
    void progress(const char* what) const
    {
        std::printf("  %s: %s\n", m_scale.name, what);
        std::fflush(stdout);
    }
    void info(const QString& text) { m_table.notes << QLatin1String(m_scale.name) + QStringLiteral(": ") + text; }
    QString ratio(const Cost& program, const Cost& floor) const
    {
        return QStringLiteral("%1x").arg(program.cpu / floor.cpu, 0, 'f', 2);
    }
    LedgerPanelView* ledger() const { return dynamic_cast<LedgerPanelView*>(m_program.main->ledgerPanel()); }
    CashierPanelView* cashierPanel() const { return dynamic_cast<CashierPanelView*>(m_program.main->cashierPanel()); }
    InventoryPanelView* inventoryPanel() const
    {
        return dynamic_cast<InventoryPanelView*>(m_program.main->inventoryPanel());
    }

    // Through the login panel, up to the cashier panel painted.
    void login()
    {
        m_program.login(QStringLiteral("Toko"));
        PaintNow(m_program.main);
    }

    // A new process of the program on this program folder, up to its login
    // panel painted.
    Cost coldStart()
    {
        QProcess child;
        child.setProgram(QCoreApplication::applicationFilePath());
        child.setArguments({QStringLiteral("--cold-start"), QFileInfo(m_file).absolutePath()});
        child.setProcessChannelMode(QProcess::SeparateChannels);
        timespec started{};
        clock_gettime(CLOCK_MONOTONIC, &started);
        child.start();
        if (!child.waitForFinished(60000))
            throw std::runtime_error("the cold start did not come to its login panel");
        const QList<QByteArray> words = child.readAllStandardOutput().trimmed().split(' ');
        if (words.size() != 3 || words[0] != "ready")
            throw std::runtime_error("the cold start said: " + child.readAllStandardError().toStdString());
        const double shown = double(words[2].toLongLong() - (qint64(started.tv_sec) * 1000000000LL + started.tv_nsec));
        return {words[1].toDouble(), shown / 1e9};
    }

    void startAndLogin()
    {
        std::vector<Cost> starts;
        for (int i = 0; i < kRuns; ++i)
            starts.push_back(coldStart());
        const Cost bareOpen = MedianOf([&] {
            Bare again(m_file);
            again.read(QStringLiteral("select * from config"));
        });
        put(figure::ColdStart, Median(starts), bareOpen);

        m_program.start();
        // The first login meets a database without the kept totals, as a
        // shop moving to this version has it, and builds them.
        put(figure::FirstLogin, Take([&] { login(); }));

        std::vector<Cost> logins;
        for (int i = 0; i < kRuns; ++i) {
            m_program.logout();
            logins.push_back(Take([&] { login(); }));
        }
        const Cost bareLogin = MedianOf([&] {
            m_bare->read(QStringLiteral("select * from operator where username='Admin'"));
            m_bare->read(QStringLiteral("select * from config"));
            ClockFloor(*m_bare);
        });
        put(figure::Login, Median(logins), bareLogin);

        std::vector<Cost> newLogins;
        std::vector<double> namesRead;
        NamesShown names;
        for (int i = 0; i < kRuns; ++i) {
            newLogins.push_back(LoginInAProcess(QFileInfo(m_file).absolutePath(), QStringLiteral("Toko"), &names));
            namesRead.push_back(names.wall);
        }
        // A Charge box with fewer names than customers would leave the
        // operator a list without them.
        if (names.count < m_scale.contacts)
            throw std::runtime_error("the login's Charge box did not offer every customer");
        putWall(figure::NewLogin, Median(newLogins), NamesNote(Median(namesRead)));
    }

    void measureClock()
    {
        fMain* main = m_program.main;
        m_program.setTimers(false);
        const Cost unchanged = MedianOf([&] { main->tClock_Timer(); }, 2 * kRuns + 1);
        std::vector<Cost> afterChange, floors;
        for (int i = 0; i < kRuns; ++i) {
            m_bare->exec(AnotherTillsRow());
            afterChange.push_back(Take([&] { main->tClock_Timer(); }));
            floors.push_back(Take([&] { ClockFloor(*m_bare); }));
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
        // A login leaves one piece of work behind it: the keys of the first
        // F2's list, read in a thread a moment later. The till at rest is
        // judged after that; its cost goes beside.
        const double settling = CpuShare(1000);
        const double idle = CpuShare(10000);
        m_program.setTimers(false);
        const double quiet = CpuShare(10000);
        m_program.setTimers(true);
        Row& r = m_table.row(figure::Idle, Unit::Share);
        r.at[m_size] = {idle, QStringLiteral("(the second before: %1 of CPU)").arg(Shown(settling, Unit::Time))};
        r.floor[m_size] = {quiet, QString()};
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
        m_table.row(figure::IdleBeside, Unit::Share).at[m_size] = {share, QString()};
        m_table.row(figure::Refused, Unit::Count).at[m_size] = {words[3].toDouble(), QString()};
    }

    void measureLists()
    {
        Cost program{}, floor{};
        int rows = 0;
        ListsShown lists(m_program.main);
        int listed = 0;
        MedianOfBoth([&] { listed = lists.inventory(); }, [&] { rows = InventoryFloor(*m_bare); }, program, floor);
        if (listed < m_scale.items || rows < m_scale.items)
            throw std::runtime_error("the inventory panel did not list every item");
        put(figure::Inventory, program, floor);

        MedianOfBoth([&] { listed = lists.contacts(); }, [&] { rows = ContactsFloor(*m_bare); }, program, floor);
        if (listed < m_scale.contacts || rows < m_scale.contacts)
            throw std::runtime_error("the list window did not list every contact");
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
        PaintNow(l->liLedger);
    }

    // The report built again and its list painted.
    void rebuild()
    {
        LedgerPanelView* l = ledger();
        l->liPage_Click();
        PaintNow(l->liLedger);
    }

    void report(const QString& what, int page, const QDate& from, const QDate& to,
                const std::function<int()>& floorLines)
    {
        showLedger(page, from, to);
        Cost program{}, floor{};
        int lines = 0;
        MedianOfBoth([&] { rebuild(); }, [&] { lines = floorLines(); }, program, floor);
        put(what, program, floor, ratio(program, floor));
        info(QStringLiteral("%1: %2 lines shown, %3 by the floor")
                 .arg(what.trimmed())
                 .arg(ledger()->liLedger->ListCount())
                 .arg(lines));
    }

    // Rows of the list on one screen.
    int screenRows() const
    {
        platform::ListBox* list = ledger()->liLedger;
        return list->viewport()->height() / qMax(1, list->sizeHintForRow(0)) + 1;
    }

    // Whether Ctrl+End in the list makes its last line the current one.
    QString ctrlEnd()
    {
        platform::ListBox* list = ledger()->liLedger;
        list->setFocus();
        list->setListIndex(0);
        QTest::keyClick(list, Qt::Key_End, Qt::ControlModifier);
        Settle();
        return list->ListIndex() == list->ListCount() - 1
                   ? QStringLiteral("Ctrl+End selects the last line")
                   : QStringLiteral("Ctrl+End left the current line at %1").arg(list->ListIndex());
    }

    // A year's journal: its first screen, then Ctrl+End to its last line;
    // the memory the process holds while it shows, and after a logout.
    void measureYear()
    {
        Bare& db = *m_bare;
        const QDate today = QDate::currentDate();
        showLedger(ledger::Journal, today, today);
        const double before = ResidentBytes();
        showLedger(ledger::Journal, m_yearFrom, today);
        platform::ListBox* list = ledger()->liLedger;
        const int screen = screenRows();
        std::vector<Cost> first, whole, floorFirst, floorWhole;
        bool reachedEnd = true;
        for (int i = 0; i < kRuns; ++i) {
            // The operator's keys go to the list.
            list->setFocus();
            Settle();
            const Cost shown = Take([&] { rebuild(); });
            // From the first line: on a list without a current line Ctrl+End
            // only makes the first line current.
            list->setListIndex(0);
            Settle();
            const Cost end = Take([&] {
                QTest::keyClick(list, Qt::Key_End, Qt::ControlModifier);
                PaintNow(list);
            });
            const QModelIndex last = list->model()->index(list->ListCount() - 1, 0);
            reachedEnd = reachedEnd && list->visualRect(last).intersects(list->viewport()->rect());
            first.push_back(shown);
            whole.push_back({shown.cpu + end.cpu, shown.wall + end.wall});
            const Cost top = Take([&] { JournalScreenFloor(db, m_yearFrom, today, screen, false); });
            const Cost bottom = Take([&] { JournalScreenFloor(db, m_yearFrom, today, screen, true); });
            floorFirst.push_back(top);
            floorWhole.push_back({top.cpu + bottom.cpu, top.wall + bottom.wall});
        }
        put(figure::JournalYear, Median(first), Median(floorFirst));
        put(figure::JournalWhole, Median(whole), Median(floorWhole));
        info(QStringLiteral("journal from %1 to %2: %3 lines shown, %4 rows on a screen%5; %6")
                 .arg(m_yearFrom.toString(Qt::ISODate), today.toString(Qt::ISODate))
                 .arg(list->ListCount())
                 .arg(screen)
                 .arg(reachedEnd ? QString() : QStringLiteral("; Ctrl+End did not show the last line"))
                 .arg(ctrlEnd()));

        const double shown = ResidentBytes();
        putBytes(figure::ResidentYear, shown,
                 QStringLiteral("(peak %1, before %2)")
                     .arg(Shown(PeakResidentBytes(), Unit::Bytes), Shown(before, Unit::Bytes)));
        m_program.logout();
        Settle();
        const double after = ResidentBytes();
        putBytes(figure::ResidentLogout, after);
        putBytes(figure::ResidentBack, after - before);
        login();
        m_program.main->bLedger_Click();
    }

    void measureReports()
    {
        fMain* main = m_program.main;
        main->bLedger_Click();
        Bare& db = *m_bare;
        const QDate today = QDate::currentDate();
        report(figure::JournalMonth, ledger::Journal, m_lastMonthFrom, m_lastMonthTo,
               [&] { return JournalFloor(db, m_lastMonthFrom, m_lastMonthTo); });
        measureYear();
        report(figure::Recap, ledger::Recap, m_yearFrom, today, [&] { return RecapFloor(db, m_yearFrom, today); });
        report(figure::SalesYear, ledger::Sales, m_yearFrom, today, [&] { return SalesFloor(db, m_yearFrom, today); });
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

    // The cashier panel on a sale to "Meja 1" with an empty cart.
    CashierPanelView* emptySale()
    {
        m_program.main->bCashier_Click();
        CashierPanelView* p = cashierPanel();
        p->ciAction->setListIndex(0);
        p->ciCharge->setText(QStringLiteral("Meja 1"));
        m_bare->exec("delete from Salecart where charge='Meja 1'");
        m_program.main->FillCiCart();
        Settle();
        return p;
    }

    // A line as the operator adds it: the code put in at once (as a scanner
    // or a paste gives it), Enter, the quantity typed, Enter; up to the cart
    // painted.
    void measureCartLine()
    {
        CashierPanelView* p = emptySale();
        std::vector<Cost> lines;
        for (int i = 0; i < kRuns; ++i) {
            const int before = p->ciCart->ListCount();
            lines.push_back(Take([&] {
                p->ciCode->setText(QString::fromLatin1(ItemCode(100 + i)));
                QTest::keyClick(p->ciCode, Qt::Key_Return);
                p->ciQuantity->selectAll();
                QTest::keyClick(p->ciQuantity, Qt::Key_Backspace);
                QTest::keyClicks(p->ciQuantity, QStringLiteral("2"));
                QTest::keyClick(p->ciQuantity, Qt::Key_Return);
                PaintNow(p->ciCart);
            }));
            if (p->ciCart->ListCount() <= before)
                throw std::runtime_error("the cart line was not added");
        }
        put(figure::CartLine, Median(lines));
        emptySale();
    }

    // An item code typed key by key, each key up to the suggestions painted:
    // every code of the bench's data begins with the first key, so that key
    // lists the whole catalogue.
    void measureCodeKeys()
    {
        CashierPanelView* p = emptySale();
        std::vector<Cost> first, whole;
        for (int i = 0; i < kRuns; ++i) {
            p->ciCode->setText(QString());
            p->ciCode->setFocus();
            Settle();
            const QByteArray code = ItemCode(300 + i);
            Cost all{0, 0};
            for (qsizetype k = 0; k < code.size(); ++k) {
                const Cost key = Take([&] {
                    QTest::keyClick(p->ciCode, code.at(k));
                    PaintNow(p->ciItems);
                });
                if (k == 0)
                    first.push_back(key);
                all.cpu += key.cpu;
                all.wall += key.wall;
            }
            whole.push_back(all);
            if (p->ciCode->Text() != QString::fromLatin1(code))
                throw std::runtime_error("the code was not typed");
        }
        put(figure::CodeKey, Median(first));
        info(QStringLiteral("the whole code typed key by key (%1 keys): %2 of CPU")
                 .arg(ItemCode(0).size())
                 .arg(Shown(Median(whole).cpu, Unit::Time)));
        emptySale();
    }

    // The rows a save wrote: the journal's and the stock movements' after
    // the given ids.
    void keepSavedRows(qint64 lastId, qint64 lastStockId)
    {
        m_savedCash = m_bare->rows(QStringLiteral("select * from cash where ID > %1 order by ID").arg(lastId));
        m_savedStock =
            m_bare->rows(QStringLiteral("select * from stockflow where id > %1 order by id").arg(lastStockId));
    }

    // The floor of a save: the same rows written with the bare API, the
    // statements prepared once and bound per row, in one transaction, with
    // the new ids read as a save must and the cart's lines taken out.
    Cost bareSave()
    {
        Bare& db = *m_bare;
        auto insert = [](int columns, const char* table) {
            QByteArray sql = QByteArray("insert into ") + table + " values(";
            for (int i = 0; i < columns; ++i)
                sql += i ? ",?" : "?";
            return sql + ')';
        };
        const QByteArray cashSql = insert(int(m_savedCash.value(0).size()), "cash");
        const QByteArray stockSql = insert(int(m_savedStock.value(0).size()), "stockflow");
        return Take([&] {
            db.exec("begin immediate");
            qint64 id = db.value(QStringLiteral("select max(ID) from cash")).toLongLong();
            const qint64 no = db.value(QStringLiteral("select max(no) from cash")).toLongLong() + 1;
            qint64 stockId = db.value(QStringLiteral("select max(id) from stockflow")).toLongLong();
            {
                Statement st(db, cashSql.constData());
                for (const QVariantList& row : m_savedCash) {
                    for (int c = 0; c < int(row.size()); ++c)
                        st.cell(c + 1, row[c]);
                    st.integer(1, ++id);
                    st.integer(2, no);
                    st.insert();
                }
            }
            if (!m_savedStock.isEmpty()) {
                Statement st(db, stockSql.constData());
                for (const QVariantList& row : m_savedStock) {
                    for (int c = 0; c < int(row.size()); ++c)
                        st.cell(c + 1, row[c]);
                    st.integer(1, ++stockId);
                    st.insert();
                }
            }
            db.exec("delete from Salecart where checked=1 and charge='Meja 1'");
            db.exec("delete from pending where `action`='Sale' and charge='Meja 1'");
            db.exec("commit");
        });
    }

    void measureSave()
    {
        platform::DbConnection& db = m_program.app->DbConn();
        std::vector<Cost> program, floor;
        for (int i = 0; i < kRuns; ++i) {
            FillCart(db);
            const qint64 lastId = m_bare->value(QStringLiteral("select max(ID) from cash")).toLongLong();
            const qint64 lastStockId = m_bare->value(QStringLiteral("select max(id) from stockflow")).toLongLong();
            cashier::SaveResult r;
            program.push_back(Take([&] { r = cashier::SaveTransaction(db, Header()); }));
            if (!r.saved || r.rows.statements.size() < kSaleLines * 4)
                throw std::runtime_error("the sale was not saved with its recipes");
            keepSavedRows(lastId, lastStockId);
            // The same rows again, and the same lines taken out of the cart.
            FillCart(db);
            floor.push_back(bareSave());
        }
        put(figure::Save, Median(program), Median(floor), ratio(Median(program), Median(floor)));
        info(QStringLiteral("a save writes %1 journal rows and %2 stock movements")
                 .arg(m_savedCash.size())
                 .arg(m_savedStock.size()));
    }

    // The first F2 of a session, as a shop meets it every morning. What one
    // process has read once (the list's count, its categories) it keeps: a
    // later session's first F2 in the same process goes beside it.
    void measureFirstF2()
    {
        // Judged a second after the login, as an operator presses it; the
        // key pressed the moment the login has painted goes beside it.
        std::vector<Cost> shown, atOnce;
        for (int i = 0; i < kRuns; ++i) {
            shown.push_back(FirstF2InAProcess(QFileInfo(m_file).absolutePath(), QStringLiteral("Toko"), 1000));
            atOnce.push_back(FirstF2InAProcess(QFileInfo(m_file).absolutePath()));
        }
        m_program.logout();
        login();
        fMain* main = m_program.main;
        const Cost later = Take([&] {
            QWidget* focus = QApplication::focusWidget();
            QTest::keyClick(focus ? focus : main, Qt::Key_F2);
            PaintNow(main);
        });
        if (main->ShownPanel() != main->pInventory || inventoryPanel()->iiItems->ListCount() < m_scale.items)
            throw std::runtime_error("F2 did not show the inventory panel with every item");
        putWall(figure::FirstF2, Median(shown),
                QStringLiteral("(pressed at once: %1; in the bench's own process, after a logout: %2)")
                    .arg(Shown(Median(atOnce).wall, Unit::Time), Shown(later.wall, Unit::Time)));
    }

    // What the program told the operator since the given count of messages:
    // a print-out or an export that failed is no figure.
    void checkSilent(qsizetype before, const char* what)
    {
        const QList<RecordedMessage>& told = m_program.ui->messages;
        if (told.size() > before)
            throw std::runtime_error(std::string(what) + ": the program said " + told.last().prompt.toStdString());
    }

    // A month's journal printed with the print button, to a port that is a
    // file (the "Port" setting), then to the printer, which on a machine
    // without one is a PDF file.
    void measurePrint()
    {
        m_program.main->bLedger_Click();
        showLedger(ledger::Journal, m_lastMonthFrom, m_lastMonthTo);
        LedgerPanelView* l = ledger();
        Bare& db = *m_bare;
        const int rows = JournalFloor(db, m_lastMonthFrom, m_lastMonthTo);
        const QString setting = mMain::GetConfig(QStringLiteral("Port"));
        const QString port = m_program.path(QStringLiteral("port.txt"));
        const QString floorPort = m_program.path(QStringLiteral("floor-port.txt"));
        mMain::SetConfig(QStringLiteral("Port"), port);
        std::vector<Cost> program, floor;
        QList<QByteArray> lines;
        for (int i = 0; i < kSlowRuns; ++i) {
            QFile::remove(port);
            const qsizetype told = m_program.ui->messages.size();
            program.push_back(Take([&] {
                l->lbPrint->click();
                Settle();
            }));
            checkSilent(told, "the print to a port");
            QFile printed(port);
            if (!printed.open(QIODevice::ReadOnly))
                throw std::runtime_error("the print to a port wrote no file");
            lines = printed.readAll().split('\n');
            if (lines.size() < rows)
                throw std::runtime_error("the print to a port is not whole");
            for (QByteArray& line : lines)
                line.chop(line.endsWith('\r') ? 1 : 0);
            floor.push_back(Take([&] { PortFloor(db, m_lastMonthFrom, m_lastMonthTo, lines, floorPort); }));
        }
        put(figure::PrintPort, Median(program), Median(floor),
            QStringLiteral("%1 lines, %2").arg(lines.size()).arg(ratio(Median(program), Median(floor))));
        QFile::remove(port);
        QFile::remove(floorPort);

        mMain::SetConfig(QStringLiteral("Port"), QStringLiteral("Default"));
        BenchBackend* ui = m_program.ui;
        ui->paint = true;
        std::vector<Cost> painted;
        int pages = 0;
        for (int i = 0; i < kSlowRuns; ++i) {
            ui->pdfs.clear();
            const qsizetype told = ui->messages.size();
            painted.push_back(Take([&] {
                l->lbPrint->click();
                Settle();
            }));
            // Where the machine has no printer, the program says once a
            // login where the print-out went instead.
            if (!ui->pdfs.isEmpty())
                while (ui->messages.size() > told && ui->messages.last().prompt.contains(ui->pdfs.first()))
                    ui->messages.removeLast();
            checkSilent(told, "the print to the printer");
            if (ui->pdfs.isEmpty())
                continue;
            pages = PdfPages(ui->pdfs.first());
            QFile::remove(ui->pdfs.first());
        }
        ui->paint = false;
        mMain::SetConfig(QStringLiteral("Port"), setting);
        put(figure::PrintPdf, Median(painted), {kNone, kNone},
            ui->pdfs.isEmpty() ? QStringLiteral("on the machine's printer") : QStringLiteral("%1 pages").arg(pages));
    }

    // An export's file, as the program handed it to the desktop to open:
    // its size is kept and the file removed.
    QString exportedFile(qsizetype before, qint64& bytes)
    {
        const QStringList& opened = m_program.ui->opened;
        if (opened.size() <= before)
            throw std::runtime_error("the export gave no file");
        const QString file = opened.last();
        bytes = QFileInfo(file).size();
        QFile::remove(file);
        if (bytes <= 0)
            throw std::runtime_error("the export's file is empty");
        return file;
    }

    // An export by its button, beside libxlsxwriter writing the same rows
    // read bare.
    void exportBy(const QString& what, platform::WanButton* button,
                  const std::function<int(const QString&)>& floorSheet)
    {
        const QString floorFile = m_program.path(QStringLiteral("floor.xlsx"));
        std::vector<Cost> program, floor;
        qint64 bytes = 0;
        int rows = 0;
        for (int i = 0; i < kSlowRuns; ++i) {
            const qsizetype before = m_program.ui->opened.size();
            const qsizetype told = m_program.ui->messages.size();
            program.push_back(Take([&] {
                button->click();
                Settle();
            }));
            checkSilent(told, "the export");
            exportedFile(before, bytes);
            floor.push_back(Take([&] { rows = floorSheet(floorFile); }));
            QFile::remove(floorFile);
        }
        put(what, Median(program), Median(floor),
            QStringLiteral("%1, %2 rows, %3")
                .arg(ratio(Median(program), Median(floor)))
                .arg(rows)
                .arg(Shown(double(bytes), Unit::Bytes)));
    }

    void measureExports()
    {
        fMain* main = m_program.main;
        Bare& db = *m_bare;
        main->bLedger_Click();
        showLedger(ledger::Journal, m_lastMonthFrom, m_lastMonthTo);
        exportBy(figure::ExportMonth, ledger()->lbExcel,
                 [&](const QString& file) { return JournalSheetFloor(db, m_lastMonthFrom, m_lastMonthTo, file); });
        const QDate today = QDate::currentDate();
        showLedger(ledger::Journal, m_yearFrom, today);
        exportBy(figure::ExportYear, ledger()->lbExcel,
                 [&](const QString& file) { return JournalSheetFloor(db, m_yearFrom, today, file); });

        ListsShown lists(main);
        if (lists.inventory() < m_scale.items)
            throw std::runtime_error("the inventory panel did not list every item");
        exportBy(figure::ExportInventory, inventoryPanel()->bExcel,
                 [&](const QString& file) { return InventorySheetFloor(db, file); });
    }

    // A column filter on Description typed into the inventory panel over
    // every item, key by key: first with a rest after each key, each key to
    // its rows shown and what the program does while the operator rests;
    // then at a quick typist's pace, from the last key to the list showing
    // the rows of the whole text. The list is taken as showing a text's rows
    // when it holds as many as the text finds, so a pause before the list is
    // read (or none) is measured alike.
    void measureFilter()
    {
        fMain* main = m_program.main;
        ListsShown lists(main);
        const int heads = lists.inventory() - m_scale.items;
        InventoryPanelView* p = inventoryPanel();
        platform::ListBox* list = p->iiItems;
        const QString description = mLang::LangGrid(QStringLiteral("tDescription"));
        int column = -1;
        for (int i = 0; i < p->iiCategory->ListCount(); ++i)
            if (p->iiCategory->List(i) == description)
                column = i;
        if (column < 0)
            throw std::runtime_error("the inventory panel has no Description column to filter");
        p->iiCategory->setListIndex(column);
        // At 10M: every item for each key up to the blank, then 11,111,
        // then 1,111.
        const QString text = QStringLiteral("Item number 42");
        std::vector<int> found;
        for (qsizetype k = 1; k <= text.size(); ++k)
            found.push_back(heads + DescriptionCount(*m_bare, text.left(k)));
        const int last = int(text.size()) - 1;
        auto shows = [&](int k) { return list->ListCount() == found[size_t(k)]; };
        // Until the list shows the rows of the text up to key k, at most
        // half a minute.
        auto waitFor = [&](int k) {
            QElapsedTimer t;
            t.start();
            PaintNow(list);
            while (!shows(k) && t.elapsed() < 30000) {
                Wait(5);
                PaintNow(list);
            }
            if (!shows(k))
                throw std::runtime_error("the column filter did not come to the rows of its text");
        };
        auto clear = [&] {
            p->iiFilter->setText(QString());
            Wait(kRest);
            PaintNow(list);
            p->iiFilter->setFocus();
            Settle();
        };

        std::vector<double> dearest, middle, lastShown;
        for (int run = 0; run < kSlowRuns; ++run) {
            clear();
            std::vector<double> keys;
            double shown = kNone;
            for (int k = 0; k <= last; ++k) {
                QElapsedTimer t;
                const Cost key = Take([&] {
                    t.start();
                    QTest::keyClick(p->iiFilter, text.at(k).toLatin1());
                    waitFor(k);
                    shown = double(t.nsecsElapsed()) / 1e9;
                    Wait(kRest);
                    PaintNow(list);
                });
                keys.push_back(key.cpu);
            }
            if (p->iiFilter->Text() != text)
                throw std::runtime_error("the filter's text was not typed");
            dearest.push_back(*std::max_element(keys.begin(), keys.end()));
            middle.push_back(Median(keys));
            lastShown.push_back(shown);
        }
        Row& key = m_table.row(figure::FilterKey);
        key.at[m_size] = {Median(dearest),
                          QStringLiteral("(median key %1; the last key to its rows %2 wall)")
                              .arg(Shown(Median(middle), Unit::Time), Shown(Median(lastShown), Unit::Time))};

        std::vector<double> after, late, cpu;
        for (int run = 0; run < kSlowRuns; ++run) {
            clear();
            QElapsedTimer t;
            const double cpuBefore = CpuSeconds();
            t.start();
            qint64 due = 0;
            for (int k = 0; k <= last; ++k) {
                due = qint64(k) * kPace;
                if (t.elapsed() < due)
                    Wait(int(due - t.elapsed()));
                if (k == last)
                    late.push_back(double(t.elapsed() - due) / 1e3);
                QTest::keyClick(p->iiFilter, text.at(k).toLatin1());
            }
            waitFor(last);
            after.push_back(double(t.nsecsElapsed()) / 1e9 - double(due) / 1e3);
            cpu.push_back(CpuSeconds() - cpuBefore);
            // What still comes for an earlier text would replace the list.
            Wait(kRest);
            PaintNow(list);
            if (!shows(last) || p->iiFilter->Text() != text)
                throw std::runtime_error("the column filter's list did not stay on the whole text's rows");
        }
        // The wait beyond what the last key costs alone.
        const double queued = std::max(0.0, Median(after) - Median(lastShown));
        m_table.row(figure::FilterQueued).at[m_size] = {
            queued, QStringLiteral("(last key to its rows %1, its key came %2 late; CPU %3)")
                        .arg(Shown(Median(after), Unit::Time), Shown(Median(late), Unit::Time),
                             Shown(Median(cpu), Unit::Time))};
        info(QStringLiteral("the column filter typed \"%1\": %2 rows at its end").arg(text).arg(found.back() - heads));
        p->iiFilter->setText(QString());
        Wait(kRest);
        Settle();
    }

    // Enter in the paid field with twenty lines in the cart and the ledger
    // left on a year's journal: the save, the change window (closed at
    // once), and what the till does before it takes the next key, up to
    // the cart painted.
    void measureSale()
    {
        fMain* main = m_program.main;
        main->bLedger_Click();
        showLedger(ledger::Journal, m_yearFrom, QDate::currentDate());
        CashierPanelView* p = emptySale();
        platform::DbConnection& db = m_program.app->DbConn();
        std::vector<Cost> whole, floor;
        std::vector<double> toWindow;
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
            Settle();
            const qint64 rows = m_bare->value(QStringLiteral("select max(ID) from cash")).toLongLong();
            shown = kNone;
            whole.push_back(Take([&] {
                t.start();
                QTest::keyClick(p->ciPay, Qt::Key_Return);
                PaintNow(p->ciCart);
            }));
            toWindow.push_back(shown);
            if (m_bare->value(QStringLiteral("select max(ID) from cash")).toLongLong() < rows + kSaleLines ||
                std::isnan(shown))
                throw std::runtime_error("the sale at the keyboard was not saved, or no change window came");
            FillCart(db);
            floor.push_back(bareSave());
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
    QDate m_lastMonthFrom, m_lastMonthTo, m_yearFrom;
    QList<QVariantList> m_savedCash, m_savedStock;
};

} // namespace

void MeasureTill(const Scale& scale, int size, const QString& file, const Span& span, Table& table)
{
    TillBench till(scale, size, file, span, table);
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
