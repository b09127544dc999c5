#include "savechild.h"

#include "cashier/model/arithmetic.h"
#include "cashier/model/cart.h"
#include "cashier/model/journal.h"
#include "data/db.h"

#include <QDate>
#include <QRandomGenerator>
#include <cstdio>

qint64 SaveOneSale(platform::DbConnection& db, const QString& charge)
{
    using namespace cashier;
    auto add = [&](const char* code, const char* name, double price, double quantity, const char* unit) {
        LineEntry e;
        e.charge = charge;
        e.code = QLatin1String(code);
        e.name = QLatin1String(name);
        e.price = e.subtotal = price;
        e.quantity = quantity;
        e.satuan = QLatin1String(unit);
        e.total = price * quantity;
        AddCartLine(db, QStringLiteral("Sale"), e);
    };
    add("ESP", "Espresso", 18000, 2, "Gelas");
    add("SUSU", "Susu Segar", 22000, 1, "Liter");
    SaveHeader h;
    h.action = QStringLiteral("Sale");
    h.charge = charge;
    h.date = QDate(2031, 1, 1);
    h.note = charge;
    h.warehouse = QStringLiteral("Gudang Utama");
    h.cashier = QStringLiteral("Admin");
    const Totals t = ComputeTotals({QStringLiteral("58,000"), QStringLiteral("5"), QStringLiteral("10"), {}});
    h.discount = QStringLiteral("5");
    h.discountN = t.discountN;
    h.tax = QStringLiteral("10");
    h.taxN = t.taxN;
    return SaveTransaction(db, h).no;
}

int runSaveChild(const QStringList& args)
{
    if (args.size() < 3)
        return 2;
    platform::DbConnection db;
    try {
        // A connection text names a server database, anything else a file.
        if (args[2].contains(QLatin1String("DRIVER="), Qt::CaseInsensitive))
            db.OpenOdbc(args[2]);
        else
            db.Open(args[2]);
        if (args[1] == QLatin1String("--save-loop")) {
            // Until killed: every sale under a charge nobody else uses. The
            // parent starts its clock once the first sale is in, so a slow
            // start-up never leaves a run without a sale to cut into.
            for (bool first = true;; first = false) {
                SaveOneSale(db, QStringLiteral("K%1").arg(QRandomGenerator::global()->generate64()));
                if (first) {
                    std::fputs("saving\n", stdout);
                    std::fflush(stdout);
                }
            }
        }
        if (args[1] == QLatin1String("--save-n") && args.size() >= 5) {
            const int n = args[4].toInt();
            for (int i = 0; i < n; ++i)
                SaveOneSale(db, QStringLiteral("%1-%2").arg(args[3]).arg(i));
            return 0;
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 2;
}
