// The program's speed on a big database: each figure beside the same work
// done with the bare SQLite C API on the same data in the same run. The data
// is made afresh in a temporary program folder; nothing is kept.
#include "cashier/model/cart.h"
#include "cashier/model/journal.h"
#include "catalogue/fmaster.h"
#include "catalogue/model/catalogue.h"
#include "catalogue/model/inventory.h"
#include "core/app.h"
#include "core/mmain.h"
#include "ledger/model/reports.h"
#include "platform/controls.h"
#include "platform/db.h"
#include "program/program.h"
#include "shell/fmain.h"
#include "shell/panels.h"
#include "support/testbackend.h"

#include <QApplication>
#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <sqlite3.h>
#include <stdexcept>
#include <sys/resource.h>
#include <vector>

namespace {

constexpr int kJournalRows = 1000000;
constexpr int kMovements = 1000000;
constexpr int kStockItems = 1000;
constexpr int kItems = 10000;
constexpr int kContacts = 10000;
constexpr int kSaleLines = 20;
constexpr int kRuns = 5;
const QDate kFirstDay(2016, 1, 1);
const QDate kLastDay(2025, 12, 31);

// ---------------------------------------------------------------- bare SQLite

class Bare {
public:
    explicit Bare(const QString& file)
    {
        if (sqlite3_open(QFile::encodeName(file).constData(), &m_db) != SQLITE_OK)
            throw std::runtime_error(sqlite3_errmsg(m_db));
        sqlite3_busy_timeout(m_db, 5000);
    }
    ~Bare() { sqlite3_close(m_db); }
    Bare(const Bare&) = delete;
    Bare& operator=(const Bare&) = delete;

    void exec(const char* sql)
    {
        char* error = nullptr;
        if (sqlite3_exec(m_db, sql, nullptr, nullptr, &error) != SQLITE_OK) {
            const std::string text = error ? error : "?";
            sqlite3_free(error);
            throw std::runtime_error(text + " in " + sql);
        }
    }
    void exec(const QString& sql) { exec(sql.toUtf8().constData()); }
    sqlite3_stmt* prepare(const char* sql)
    {
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(m_db, sql, -1, &st, nullptr) != SQLITE_OK)
            throw std::runtime_error(std::string(sqlite3_errmsg(m_db)) + " in " + sql);
        return st;
    }
    // Runs the query and reads every cell of every row, as a list would.
    qint64 read(const QString& sql)
    {
        const QByteArray text = sql.toUtf8();
        sqlite3_stmt* st = prepare(text.constData());
        qint64 bytes = 0;
        while (sqlite3_step(st) == SQLITE_ROW) {
            const int n = sqlite3_column_count(st);
            for (int i = 0; i < n; ++i) {
                sqlite3_column_text(st, i);
                bytes += sqlite3_column_bytes(st, i);
            }
        }
        sqlite3_finalize(st);
        return bytes;
    }

private:
    sqlite3* m_db = nullptr;
};

void step(Bare& db, sqlite3_stmt* st)
{
    (void)db;
    if (sqlite3_step(st) != SQLITE_DONE)
        throw std::runtime_error("insert failed");
    sqlite3_reset(st);
}

void text(sqlite3_stmt* st, int column, const QByteArray& value)
{
    sqlite3_bind_text(st, column, value.constData(), int(value.size()), SQLITE_TRANSIENT);
}

// The catalogue, the contacts, a journal of a million rows over ten years and
// a million stock movements of a thousand stock items, in one transaction.
void MakeData(const QString& file)
{
    Bare db(file);
    db.exec("begin");
    std::vector<QByteArray> days;
    for (QDate d = kFirstDay; d <= kLastDay; d = d.addDays(1))
        days.push_back(d.toString(Qt::ISODate).toLatin1());

    sqlite3_stmt* stock = db.prepare("insert into stock values(?, ?, 'Gram')");
    for (int i = 0; i < kStockItems; ++i) {
        text(stock, 1, QByteArray("S") + QByteArray::number(i).rightJustified(4, '0'));
        text(stock, 2, QByteArray("Stock item ") + QByteArray::number(i));
        step(db, stock);
    }
    sqlite3_finalize(stock);

    for (const char* table : {"SaleItems", "ShopItems"}) {
        const QByteArray sql = QByteArray("insert into ") + table + " values(?, ?, ?, ?, ?, 'Pcs')";
        sqlite3_stmt* st = db.prepare(sql.constData());
        for (int i = 0; i < kItems; ++i) {
            text(st, 1, QByteArray("I") + QByteArray::number(i).rightJustified(5, '0'));
            text(st, 2, QByteArray("Category ") + QByteArray::number(i % 20));
            text(st, 3, QByteArray("Item number ") + QByteArray::number(i));
            sqlite3_bind_double(st, 4, 1000 + (i % 97) * 250);
            sqlite3_bind_double(st, 5, i % 3 == 0 ? 5 : 0);
            step(db, st);
        }
        sqlite3_finalize(st);
    }
    sqlite3_stmt* inventory = db.prepare("insert into inventory values(?)");
    for (int i = 0; i < kItems; ++i) {
        text(inventory, 1, QByteArray("I") + QByteArray::number(i).rightJustified(5, '0'));
        step(db, inventory);
    }
    sqlite3_finalize(inventory);

    // Every item of the sale takes two stock items when sold and when bought.
    int recipe = 0;
    for (const char* table : {"stocksale", "stockshop"}) {
        const QByteArray sql = QByteArray("insert into ") + table + " values(?, ?, ?, '0,5')";
        sqlite3_stmt* st = db.prepare(sql.constData());
        for (int i = 0; i < kSaleLines; ++i)
            for (int k = 0; k < 2; ++k) {
                sqlite3_bind_int(st, 1, ++recipe);
                text(st, 2, QByteArray("S") + QByteArray::number(i + k * 500).rightJustified(4, '0'));
                text(st, 3, QByteArray("I") + QByteArray::number(i).rightJustified(5, '0'));
                step(db, st);
            }
        sqlite3_finalize(st);
    }

    sqlite3_stmt* contact = db.prepare("insert into Customer values(?, ?, ?, ?, '')");
    for (int i = 0; i < kContacts; ++i) {
        text(contact, 1, QByteArray("C") + QByteArray::number(i).rightJustified(5, '0'));
        text(contact, 2, QByteArray("Customer ") + QByteArray::number(i));
        text(contact, 3, QByteArray("Jl. Mawar ") + QByteArray::number(i % 300));
        text(contact, 4, QByteArray("0812") + QByteArray::number(100000 + i));
        step(db, contact);
    }
    sqlite3_finalize(contact);
    db.exec("insert into Warehouse values('G1', 'Gudang Utama', '', '', '')");

    // Six sales for every purchase, cash in and cash out; four rows a number.
    const char* kinds[] = {"Sale", "Sale", "Sale", "Sale", "Sale", "Sale", "Shop", "Cash In", "Cash Out"};
    sqlite3_stmt* cash = db.prepare("insert into cash values(?, ?, ?, ?, '', 'Admin', 'G1', 'Umum', ?, ?, ?, 0, ?, "
                                    "?, 'Pcs', ?, ?, 0, 0, ?, ?, ?, ?)");
    for (int i = 0; i < kJournalRows; ++i) {
        const int number = i / 4 + 1;
        const char* kind = kinds[number % 9];
        const int item = (i * 7) % kItems;
        const double price = 1000 + (item % 97) * 250, quantity = 1 + i % 3, amount = price * quantity;
        const QByteArray k(kind);
        const bool sale = k == "Sale" || k == "Cash In";
        sqlite3_bind_int(cash, 1, i + 1);
        sqlite3_bind_int(cash, 2, number);
        text(cash, 3, kind);
        text(cash, 4, days[size_t(qint64(i) * qint64(days.size()) / kJournalRows)]);
        text(cash, 5, QByteArray("I") + QByteArray::number(item).rightJustified(5, '0'));
        text(cash, 6, QByteArray("Item number ") + QByteArray::number(item));
        sqlite3_bind_double(cash, 7, price);
        sqlite3_bind_double(cash, 8, price);
        sqlite3_bind_double(cash, 9, quantity);
        sqlite3_bind_double(cash, 10, k == "Sale" ? amount : 0);
        sqlite3_bind_double(cash, 11, k == "Shop" ? amount : 0);
        sqlite3_bind_double(cash, 12, k == "Cash In" ? amount : 0);
        sqlite3_bind_double(cash, 13, k == "Cash Out" ? amount : 0);
        sqlite3_bind_double(cash, 14, sale ? amount : 0);
        sqlite3_bind_double(cash, 15, sale ? 0 : amount);
        step(db, cash);
    }
    sqlite3_finalize(cash);

    const char* moves[] = {"Sale", "Sale", "Sale", "Shop", "Opname", "Sale Retur", "Shop Retur"};
    sqlite3_stmt* flow = db.prepare("insert into stockflow values(?, ?, ?, ?, ?, 'Gram', ?, ?)");
    for (int i = 0; i < kMovements; ++i) {
        const QByteArray kind(moves[i % 7]);
        const int item = (i * 13) % kStockItems;
        const bool in = kind == "Shop" || kind == "Sale Retur" || (kind == "Opname" && i % 2 == 0);
        sqlite3_bind_int(flow, 1, i + 1);
        text(flow, 2, days[size_t(qint64(i) * qint64(days.size()) / kMovements)]);
        text(flow, 3, kind);
        text(flow, 4, QByteArray("S") + QByteArray::number(item).rightJustified(4, '0'));
        text(flow, 5, QByteArray("Stock item ") + QByteArray::number(item));
        sqlite3_bind_double(flow, 6, in ? 2 + i % 5 : 0);
        sqlite3_bind_double(flow, 7, in ? 0 : 1 + i % 3);
        step(db, flow);
    }
    sqlite3_finalize(flow);
    db.exec("commit");
    // No "analyze": the program never runs it, so a shop's database has no
    // statistics, and its queries are planned as they are here.
}

// ---------------------------------------------------------------- timing

double Seconds(const std::function<void()>& work)
{
    QElapsedTimer t;
    t.start();
    work();
    return double(t.nsecsElapsed()) / 1e9;
}

// The best of several runs: what the work costs without the machine's noise.
double Best(const std::function<void()>& work, int runs = kRuns)
{
    double best = 1e9;
    for (int i = 0; i < runs; ++i)
        best = std::min(best, Seconds(work));
    return best;
}

// The program's work and its bare baseline taken in turns, so that both
// meet the same moments of a busy machine; the best run of each. The
// program goes first, so that the baseline finds its statements.
void BestOfBoth(const std::function<void()>& program, const std::function<void()>& bare, double& programBest,
                double& bareBest)
{
    programBest = bareBest = 1e9;
    for (int i = 0; i < kRuns; ++i) {
        programBest = std::min(programBest, Seconds(program));
        bareBest = std::min(bareBest, Seconds(bare));
    }
}

double CpuSeconds()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) + double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

void Wait(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

struct Figure {
    QString what;
    QString value;
    QString baseline;
    QString target;
    bool met = true;
};
QList<Figure> figures;

QString Ms(double s)
{
    return QString::number(s * 1000, 'f', 1) + QStringLiteral(" ms");
}

// A figure against its bare baseline: within the factor of it, and under
// the limit (in seconds; 0 for none).
void Compare(const QString& what, double program, double bare, double factor, double limit)
{
    QString target = QStringLiteral("<= %1x").arg(factor);
    bool met = program <= factor * bare;
    if (limit > 0) {
        target += QStringLiteral(", < %1").arg(Ms(limit));
        met = met && program < limit;
    }
    figures.append(
        {what, Ms(program) + QStringLiteral(" (%1x)").arg(program / bare, 0, 'f', 2), Ms(bare), target, met});
}

void Limit(const QString& what, double program, double bare, double limit)
{
    figures.append({what, Ms(program), Ms(bare), QStringLiteral("< ") + Ms(limit), program < limit});
}

void Print()
{
    const QString line = QStringLiteral("%1  %2  %3  %4  %5");
    auto row = [&](const QString& a, const QString& b, const QString& c, const QString& d, const QString& e) {
        std::printf("%s\n", qPrintable(line.arg(a, -44).arg(b, 22).arg(c, 14).arg(d, -22).arg(e)));
    };
    row(QStringLiteral("Figure"), QStringLiteral("Program"), QStringLiteral("Bare SQLite"), QStringLiteral("Target"),
        QString());
    row(QString(44, QLatin1Char('-')), QString(22, QLatin1Char('-')), QString(14, QLatin1Char('-')),
        QString(22, QLatin1Char('-')), QStringLiteral("----"));
    for (const Figure& f : figures)
        row(f.what, f.value, f.baseline, f.target, f.met ? QStringLiteral("ok") : QStringLiteral("MISS"));
}

// ---------------------------------------------------------------- the program

ledger::ReportContext Context(platform::DbConnection& db)
{
    return {db, QStringLiteral("Access"), [](const QString& key) { return key; }};
}

void FillCart(platform::DbConnection& db)
{
    for (int i = 0; i < kSaleLines; ++i) {
        cashier::LineEntry e;
        e.charge = QStringLiteral("Meja 1");
        e.code = QStringLiteral("I") + QString::number(i).rightJustified(5, QLatin1Char('0'));
        e.category = QStringLiteral("Category");
        e.name = QStringLiteral("Item number ") + QString::number(i);
        e.price = e.subtotal = 1000 + i * 250;
        e.quantity = 1 + i % 3;
        e.satuan = QStringLiteral("Pcs");
        e.total = e.subtotal * e.quantity;
        cashier::AddCartLine(db, QStringLiteral("Sale"), e);
    }
}

cashier::SaveHeader Header()
{
    cashier::SaveHeader h;
    h.action = QStringLiteral("Sale");
    h.charge = QStringLiteral("Meja 1");
    h.date = QDate(2026, 1, 2);
    h.warehouse = QStringLiteral("G1");
    h.cashier = QStringLiteral("Admin");
    h.discount = h.tax = QStringLiteral("0");
    h.discountN = h.taxN = QStringLiteral("0");
    return h;
}

void MeasureSave(platform::DbConnection& db, Bare& bare)
{
    double program = 1e9, baseline = 1e9;
    for (int i = 0; i < kRuns; ++i) {
        FillCart(db);
        cashier::SaveResult r;
        program = std::min(program, Seconds([&] { r = cashier::SaveTransaction(db, Header()); }));
        if (!r.saved || r.rows.statements.size() < kSaleLines * 4)
            throw std::runtime_error("the sale was not saved with its recipes");
        // The same rows again, and the same lines taken out of the cart.
        FillCart(db);
        QList<QByteArray> statements;
        for (const QString& s : r.rows.statements)
            statements << s.toUtf8();
        baseline = std::min(baseline, Seconds([&] {
                                bare.exec("begin immediate");
                                for (const QByteArray& s : statements)
                                    bare.exec(s.constData());
                                bare.exec("delete from Salecart where charge='Meja 1' and checked=1");
                                bare.exec("commit");
                            }));
    }
    Compare(QStringLiteral("Save a 20-line sale with recipes"), program, baseline, 2, 0);
}

void MeasureReports(platform::DbConnection& db, Bare& bare)
{
    const ledger::ReportContext ctx = Context(db);
    const ledger::ReportRange month{QDate(2025, 6, 1), QDate(2025, 6, 30)};
    const ledger::ReportRange year{QDate(2025, 1, 1), QDate(2025, 12, 31)};

    QString sql;
    int lines = 0;
    double program = 0, baseline = 0;
    const QString sumsSql = ledger::JournalSumsSql(ctx, month, {});
    BestOfBoth(
        [&] {
            const ledger::Report r = ledger::BuildJournal(ctx, month, {}, false);
            sql = r.sql;
            lines = int(r.lines.size());
        },
        [&] {
            bare.read(sql);
            bare.read(sumsSql);
        },
        program, baseline);
    Compare(QStringLiteral("Journal, one month (%1 lines)").arg(lines), program, baseline, 1.5, 0.3);

    const QString where = ledger::DateCondition(ctx, year);
    BestOfBoth(
        [&] {
            const ledger::Report r = ledger::BuildRecap(ctx, year);
            sql = r.sql;
            lines = int(r.lines.size());
        },
        [&] {
            bare.read(sql);
            bare.read(QStringLiteral("select sum(Sale), sum(Debit) from cash where ") + where);
        },
        program, baseline);
    Compare(QStringLiteral("Daily recapitulation, one year (%1 lines)").arg(lines), program, baseline, 1.5, 0.3);

    const QString figuresSql = ledger::StockFiguresSql(ctx, year);
    BestOfBoth(
        [&] {
            const ledger::Report r = ledger::BuildStock(ctx, year);
            sql = r.sql;
            lines = int(r.lines.size());
        },
        [&] {
            bare.read(sql);
            bare.read(figuresSql);
        },
        program, baseline);
    Compare(QStringLiteral("Stock report, %1 items, 1,000,000 movements").arg(lines - 2), program, baseline, 1.5, 1.0);
}

void MeasureLists(fMain* main, Bare& bare)
{
    InventoryPanel* panel = main->inventoryPanel();
    panel->iiTable->setListIndex(0);
    const QString where;
    // Each run fills the list anew: an unchanged list asked for again is
    // not read again, which is not what is measured here.
    double program = Best([&] {
        panel->iiItems->Clear();
        panel->FilliItems(where);
    });
    if (panel->iiItems->ListCount() < kItems)
        throw std::runtime_error("the inventory panel did not list every item");
    double baseline = Best([&] { bare.read(inventory::ListSql(panel->GetTable(), where)); });
    Limit(QStringLiteral("Inventory panel, 10,000 items"), program, baseline, 0.3);

    fMaster* list = MasterWindow();
    list->Tag = QStringLiteral("Charge");
    list->TableName = QStringLiteral("Customer");
    program = Best([&] { list->FilliItems(where); });
    if (list->iItems->ListCount() < kContacts)
        throw std::runtime_error("the list window did not list every contact");
    baseline = Best([&] { bare.read(catalogue::ContactsListSql(QStringLiteral("Customer"), where)); });
    Limit(QStringLiteral("List window, 10,000 contacts"), program, baseline, 0.3);
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication qapp(argc, argv);
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    try {
        QTemporaryDir dir;
        const QDir dist(QStringLiteral(ORV_DIST_DIR));
        for (const QString& n : dist.entryList(QDir::Files))
            if (!n.startsWith(QLatin1String("orvanta")))
                QFile::copy(dist.filePath(n), dir.filePath(n));
        const QString file = dir.filePath(QStringLiteral("Toko.cdb"));
        if (!QFile::copy(dir.filePath(QStringLiteral("Empty.tdb")), file))
            throw std::runtime_error("no empty database in the program folder");
        // ORV_BENCH_DATA names a file that keeps the made data between runs,
        // so that a change can be measured again without making it anew.
        const QString kept = qEnvironmentVariable("ORV_BENCH_DATA");
        if (!kept.isEmpty() && QFile::exists(kept)) {
            QFile::remove(file);
            if (!QFile::copy(kept, file))
                throw std::runtime_error("the kept data cannot be copied");
        } else {
            std::printf("Making %d journal rows and %d stock movements ...\n", kJournalRows, kMovements);
            std::fflush(stdout);
            const double making = Seconds([&] { MakeData(file); });
            std::printf("... made in %.1f s\n\n", making);
            if (!kept.isEmpty())
                QFile::copy(file, kept);
        }
        Bare bare(file);

        // Start-up to the login panel, against opening the database bare.
        std::unique_ptr<App> app;
        TestBackend* ui = new TestBackend;
        fMain* main = nullptr;
        const double startup = Seconds([&] {
            app = std::make_unique<App>(dir.path(), dir.filePath(QStringLiteral("settings.ini")));
            app->setBackend(std::unique_ptr<platform::Backend>(ui));
            main = mMain::Main();
            QApplication::processEvents();
        });
        if (!main->pLogin->isVisible())
            throw std::runtime_error("no login panel");
        const double bareOpen = Seconds([&] {
            Bare again(file);
            again.read(QStringLiteral("select * from config"));
        });
        Limit(QStringLiteral("Start-up to the login panel"), startup, bareOpen, 0.5);

        const double login = Seconds([&] {
            main->iDatabase->setText(QStringLiteral("Toko"));
            main->iUsername->setText(QStringLiteral("Admin"));
            main->iPassword->setText(QStringLiteral("admin"));
            main->bLogin->click();
            QApplication::processEvents();
        });
        if (!main->pCashier->isVisible())
            throw std::runtime_error("the login did not reach the cashier panel");
        const double bareLogin = Seconds([&] {
            bare.read(QStringLiteral("select * from operator where username='Admin'"));
            bare.read(QStringLiteral("select * from config"));
        });
        Limit(QStringLiteral("Login to the cashier panel"), login, bareLogin, 0.5);

        // The idle till: the process's CPU time over five seconds, with the
        // totals timer and with it stopped.
        double before = CpuSeconds();
        Wait(5000);
        const double idle = (CpuSeconds() - before) / 5;
        main->tCount->setEnabled(false);
        before = CpuSeconds();
        Wait(5000);
        const double quiet = (CpuSeconds() - before) / 5;
        main->tCount->setEnabled(true);
        figures.append({QStringLiteral("Idle till, 5 s: CPU share of one core"),
                        QString::number(idle * 100, 'f', 2) + QStringLiteral(" %"),
                        QString::number(quiet * 100, 'f', 2) + QStringLiteral(" %*"), QStringLiteral("< 2 %"),
                        idle < 0.02});

        MeasureLists(main, bare);
        MeasureReports(app->DbConn(), bare);
        MeasureSave(app->DbConn(), bare);

        std::printf("%d journal rows, %d stock movements, %d items, %d contacts; best of %d runs.\n\n", kJournalRows,
                    kMovements, kItems, kContacts, kRuns);
        Print();
        std::printf("\n* the idle till's baseline is the same wait with the totals timer stopped.\n");
        for (const RecordedMessage& m : ui->messages)
            std::printf("message shown: %s\n", qPrintable(m.prompt));
        main = nullptr;
        app.reset();
        bool met = true;
        for (const Figure& f : figures)
            met = met && f.met;
        return met ? 0 : 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench: %s\n", e.what());
        return 2;
    }
}
