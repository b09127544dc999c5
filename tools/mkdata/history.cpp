#include "history.h"

#include "cashier/model/arithmetic.h"
#include "cashier/model/cart.h"
#include "cashier/model/journal.h"
#include "catalogue/model/catalogue.h"
#include "data/db.h"
#include "data/sqltext.h"

#include <QFile>
#include <QList>
#include <QTextStream>
#include <exception>

namespace {

struct Line {
    const char* code;
    double quantity;
};

// One transaction as a cashier would ring it up.
struct Trade {
    QDate date;
    const char* action;
    const char* charge;
    const char* cashier;
    const char* warehouse;
    const char* note;
    const char* discount; // the percents as typed
    const char* tax;
    QList<Line> lines;
};

QList<Trade> trades()
{
    const QDate eve(2009, 12, 31), day(2010, 1, 1), next(2010, 1, 2);
    return {
        // The last day of the year: stock comes in, the owner puts cash in.
        {eve, "Cash In", "Hendra Gunawan", "Admin", "", "Modal awal tahun", "0", "0", {{"MODAL", 1}, {"SETOR", 2}}},
        {eve, "Shop", "CV Kopi Nusantara", "Admin", "Gudang Utama", "Nota 0912", "0", "0", {{"BKA", 2}, {"BKR", 3}}},
        {eve, "Shop", "KPBS Susu Lembang", "Admin", "Gudang Dapur", "", "0", "0", {{"SUSU", 20}}},
        {eve,
         "Shop",
         "Toko Sembako Makmur",
         "Admin",
         "Gudang Dapur",
         "",
         "0",
         "0",
         {{"GPA", 5}, {"BRS", 10}, {"TLR", 60}, {"MYK", 4}}},
        {eve,
         "Shop",
         "Distributor Minuman Jaya",
         "Admin",
         "Gudang Utama",
         "",
         "0",
         "0",
         {{"AIRM", 48}, {"TEHB", 24}, {"SODA", 24}}},
        // New Year's Day: tables, take-away, one party with a discount.
        {day, "Sale", "Meja 01", "Kasir", "Gudang Utama", "", "0", "10", {{"ESP", 2}, {"NGS", 2}, {"AIRM", 2}}},
        {day, "Sale", "Meja 03", "Kasir", "Gudang Utama", "", "0", "10", {{"CPC", 1}, {"LAT", 1}, {"PSGK", 1}}},
        {day, "Sale", "Bawa Pulang", "Kasir", "Gudang Utama", "Dibungkus", "0", "0", {{"NGA", 2}, {"ETM", 2}}},
        {day,
         "Sale",
         "PT Mitra Sejahtera",
         "Admin",
         "Gudang Utama",
         "Rapat akhir tahun",
         "10",
         "10",
         {{"KSGA", 6}, {"AYBM", 4}, {"SPGB", 2}, {"TEHB", 6}}},
        {day, "Sale", "Meja 05", "Kasir", "Gudang Utama", "", "0", "10", {{"AMR", 2}, {"KTGG", 1}, {"SODA", 1}}},
        {day, "Cash Out", "Dewi Lestari", "Admin", "", "Belanja kebersihan", "0", "0", {{"KBRS", 1}}},
        {day, "Cash Out", "Rudi Hartono", "Admin", "", "", "0", "0", {{"PRKR", 1}}},
        {day, "Cash In", "Hendra Gunawan", "Admin", "", "Sewa ruang acara", "0", "0", {{"SEWARG", 1}}},
        // The day after.
        {next, "Shop", "UD Sumber Segar", "Admin", "Gudang Dapur", "", "0", "0", {{"AYM", 3}, {"ALP", 2}, {"JRK", 2}}},
        {next, "Sale", "Meja 02", "Kasir", "Gudang Utama", "", "0", "10", {{"MGJ", 1}, {"EJR", 2}, {"JAL", 1}}},
        {next, "Sale", "Bawa Pulang", "Kasir", "Gudang Utama", "", "0", "0", {{"ESP", 3}, {"CRS", 2}}},
        {next, "Cash Out", "Hendra Gunawan", "Admin", "", "", "0", "0", {{"GAS", 1}}},
    };
}

// The line as the item row of the panel makes it: the discount amount and
// the net price in whole units, the total of the quantity at that price.
void ring(platform::DbConnection& db, const Trade& t, const Line& l)
{
    const QString table = catalogue::ItemsTable(QLatin1String(t.action));
    auto rs = db.OpenRecordset(catalogue::RecordSql(table, QLatin1String(l.code)));
    if (rs->Eof())
        throw platform::DbError(QStringLiteral("no item %1 in %2").arg(QLatin1String(l.code), table));
    cashier::LineEntry e;
    e.charge = QLatin1String(t.charge);
    e.code = QLatin1String(l.code);
    e.category = rs->Fields(QStringLiteral("category")).toString();
    e.name = rs->Fields(QStringLiteral("name")).toString();
    e.satuan = rs->Fields(QStringLiteral("satuan")).toString();
    e.price = platform::StoredNumber(rs->Fields(QStringLiteral("price")).Value());
    const double percent = platform::StoredNumber(rs->Fields(QStringLiteral("discount")).Value());
    e.discount = platform::RoundAmount(percent / 100 * e.price);
    e.subtotal = e.price - e.discount;
    e.quantity = l.quantity;
    e.total = platform::RoundAmount(e.quantity * e.subtotal);
    cashier::AddCartLine(db, QLatin1String(t.action), e);
}

void book(platform::DbConnection& db, const Trade& t)
{
    for (const Line& l : t.lines)
        ring(db, t, l);
    const QString cart = cashier::TickedTotal(db, QLatin1String(t.action), QLatin1String(t.charge));
    const cashier::Totals totals = cashier::ComputeTotals(
        {platform::FormatAmount(platform::StoredNumber(cart)), QLatin1String(t.discount), QLatin1String(t.tax), {}});
    cashier::SaveHeader h;
    h.action = QLatin1String(t.action);
    h.charge = QLatin1String(t.charge);
    h.date = t.date;
    h.note = QLatin1String(t.note);
    h.warehouse = QLatin1String(t.warehouse);
    h.cashier = QLatin1String(t.cashier);
    h.discount = QLatin1String(t.discount);
    h.discountN = totals.discountN;
    h.tax = QLatin1String(t.tax);
    h.taxN = totals.taxN;
    if (!cashier::SaveTransaction(db, h).saved)
        throw platform::DbError(QStringLiteral("nothing saved for %1").arg(h.charge));
}

} // namespace

int addTradingHistory(const QString& out, const QString& in)
{
    const QString work = out + QStringLiteral(".part");
    QFile::remove(out);
    QFile::remove(work);
    if (!QFile::copy(in, work)) {
        QTextStream(stderr) << "mkdata: cannot copy " << in << " to " << work << Qt::endl;
        return 1;
    }
    try {
        platform::DbConnection db;
        db.Open(work);
        for (const Trade& t : trades())
            book(db, t);
        db.Close();
    } catch (const platform::DbError& e) {
        QTextStream(stderr) << "mkdata: " << e.text() << Qt::endl;
        QFile::remove(work);
        return 1;
    } catch (const std::exception& e) {
        QTextStream(stderr) << "mkdata: " << e.what() << Qt::endl;
        QFile::remove(work);
        return 1;
    }
    if (!QFile::rename(work, out)) {
        QFile::remove(work);
        return 1;
    }
    return 0;
}
