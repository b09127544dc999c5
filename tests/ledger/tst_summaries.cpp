// The running totals the database keeps (the cash balance, the monthly
// stock figures) against the rows they stand for: after every kind of write,
// by the program, by another workstation and by hand, the clock shows what
// the two whole-journal sums give, and the stock report and the quantities
// on hand read from the months are the ones read from every movement.
#include "cashier/model/journal.h"
#include "core/app.h"
#include "core/mmain.h"
#include "data/daytotals.h"
#include "data/db.h"
#include "data/sqltext.h"
#include "data/summaries.h"
#include "ledger/model/amounts.h"
#include "ledger/model/journalentry.h"
#include "ledger/model/journalreport.h"
#include "ledger/model/recapreport.h"
#include "ledger/model/stockreport.h"
#include "shell/fmain.h"
#include "stock/model/stockmodel.h"
#include "support/fixture.h"
#include "support/testserver.h"

#include <QRandomGenerator>
#include <QSet>
#include <QTest>
#include <algorithm>
#include <string_view>

using platform::DbConnection;

namespace {

// The reference the kept totals must always equal: the journal's rows
// summed.
platform::CashTotals sumCashRows(platform::DbConnection& db)
{
    auto rs = db.OpenRecordset(QStringLiteral("select sum(Debit), sum(Credit), count(Debit), count(Credit) from cash"));
    platform::CashTotals t;
    if (!rs->Eof()) {
        t.debit = platform::StoredNumber(rs->Fields(0).Value());
        t.credit = platform::StoredNumber(rs->Fields(1).Value());
        t.debitRows = qint64(platform::StoredNumber(rs->Fields(2).Value()));
        t.creditRows = qint64(platform::StoredNumber(rs->Fields(3).Value()));
    }
    return t;
}

} // namespace

class TestSummaries : public QObject {
    Q_OBJECT

    std::unique_ptr<Fixture> fx;

    DbConnection& db() { return app().DbConn(); }
    ledger::ReportContext ctx()
    {
        return {db(), Fixture::dbKind(), [](const QString& key) { return key; }};
    }
    static QDate d(const char* iso) { return QDate::fromString(QString::fromLatin1(iso), Qt::ISODate); }

    // The kept totals, the sums of the rows and the clock agree.
    void sameCash(const char* after)
    {
        QVERIFY2(db().keepsSummaries(), after);
        const std::optional<platform::CashTotals> kept = platform::PeekCashTotals(db());
        QVERIFY2(kept, after);
        const platform::CashTotals rows = sumCashRows(db());
        QVERIFY2(kept->debitRows == rows.debitRows && kept->creditRows == rows.creditRows, after);
        QVERIFY2(qAbs(kept->debit - rows.debit) < 0.005 && qAbs(kept->credit - rows.credit) < 0.005, after);
        const std::optional<double> balance = rows.balance();
        fx->main->tClock_Timer();
        QCOMPARE(fx->main->iCash->Caption(),
                 QStringLiteral("Cash: ") + (balance ? mMain::FormatAmount(*balance) : QStringLiteral("0")));
    }

    // The stock report over each range and every quantity on hand, from the
    // months and from the movements themselves.
    void sameStock(const QList<ledger::ReportRange>& ranges, const char* after)
    {
        QVERIFY2(db().keepsSummaries(), after);
        for (const ledger::ReportRange& r : ranges) {
            const QStringList months = ledger::BuildStock(ctx(), r).lines;
            db().setKeepsSummaries(false);
            const QStringList rows = ledger::BuildStock(ctx(), r).lines;
            db().setKeepsSummaries(true);
            QString differ;
            for (int i = 0; i < qMax(months.size(), rows.size()) && differ.isEmpty(); ++i)
                if (months.value(i) != rows.value(i))
                    differ = months.value(i).simplified() + QStringLiteral(" | ") + rows.value(i).simplified();
            QVERIFY2(differ.isEmpty(), qPrintable(QStringLiteral("%1, %2 to %3: %4")
                                                      .arg(QString::fromLatin1(after), r.from.toString(Qt::ISODate),
                                                           r.to.toString(Qt::ISODate), differ)));
        }
        auto codes = db().OpenRecordset(
            QStringLiteral("select distinct code, description from stockflow where code is not null"));
        for (; !codes->Eof(); codes->MoveNext()) {
            const QString code = codes->Fields(0).toString(), description = codes->Fields(1).toString();
            const double a = stock::OnHand(db(), code), b = stock::OnHand(db(), code, description);
            db().setKeepsSummaries(false);
            const double c = stock::OnHand(db(), code), e = stock::OnHand(db(), code, description);
            db().setKeepsSummaries(true);
            QVERIFY2(qAbs(a - c) < 1e-6 && qAbs(b - e) < 1e-6, qPrintable(code + QLatin1String(": ") + after));
        }
    }

    // The stock report's rows worked out over every movement one by one, as
    // the report's own sums count them: dates compared as texts, an empty in
    // or out as nothing, each code named by its latest movement in the range.
    QStringList stockByHand(const ledger::ReportRange& r)
    {
        struct Movement {
            qint64 id;
            bool dated;
            QByteArray moment;
            QString category, code, description, unit;
            double in, out;
        };
        QVector<Movement> all;
        auto rs = db().OpenRecordset(
            QStringLiteral("select id, moment, category, code, description, unit, `in`, `out` from stockflow"));
        for (; !rs->Eof(); rs->MoveNext())
            all.append({rs->Fields(0).toLongLong(), !rs->Fields(1).isNull(), rs->Fields(1).toString().toUtf8(),
                        rs->Fields(2).toString().toCaseFolded(), rs->Fields(3).toString(), rs->Fields(4).toString(),
                        rs->Fields(5).toString(), rs->Fields(6).toDouble(), rs->Fields(7).toDouble()});
        auto sv = [](const QByteArray& b) { return std::string_view(b.constData(), size_t(b.size())); };
        const QByteArray from = r.from.toString(Qt::ISODate).toUtf8(), to = r.to.toString(Qt::ISODate).toUtf8();
        auto inRange = [&](const Movement& m) { return m.dated && sv(from) <= sv(m.moment) && sv(m.moment) <= sv(to); };
        QMap<QString, const Movement*> latest;
        for (const Movement& m : all)
            if (inRange(m)) {
                const Movement*& l = latest[m.code.toCaseFolded()];
                if (!l || m.id > l->id)
                    l = &m;
            }
        QStringList lines;
        for (const Movement* item : std::as_const(latest)) {
            ledger::StockFigures f;
            for (const Movement& m : all) {
                if (m.code.toCaseFolded() != item->code.toCaseFolded() ||
                    m.description.toCaseFolded() != item->description.toCaseFolded())
                    continue;
                if (m.dated && sv(m.moment) < sv(from))
                    f.begin += m.in - m.out;
                if (!inRange(m))
                    continue;
                const QString& c = m.category;
                if (c == QLatin1String("shop") || c == QLatin1String("beli"))
                    f.shop += m.in;
                if (c == QLatin1String("sale") || c == QLatin1String("jual"))
                    f.sale += m.out;
                if (c == QLatin1String("shop retur") || c == QLatin1String("retur beli"))
                    f.shopRetur += m.out;
                if (c == QLatin1String("sale retur") || c == QLatin1String("retur jual"))
                    f.saleRetur += m.in;
                if (c == QLatin1String("opname")) {
                    f.manualPlus += m.in;
                    f.manualMin += m.out;
                }
            }
            auto q = [](double v) { return platform::RoundAmount(v, 6); };
            f = {q(f.begin),
                 platform::RoundAmount(f.shop, 4),
                 platform::RoundAmount(f.sale, 4),
                 q(f.shopRetur),
                 q(f.saleRetur),
                 q(f.manualPlus),
                 q(f.manualMin)};
            QStringList cells{platform::AlignLeft(item->code, platform::Pad(8)),
                              platform::AlignLeft(item->description, platform::Pad(30))};
            for (double v : {f.begin, f.shop, f.sale, f.manualPlus, f.manualMin, f.end()})
                cells << platform::AlignRight(ledger::StockCell(v, item->unit), platform::Pad(18));
            lines << cells.join(QLatin1Char(' '));
        }
        return lines;
    }

    // The report's rows, from the months and from the movements, against
    // the rows worked out by hand.
    void stockAsCounted(const QList<ledger::ReportRange>& ranges, const char* after)
    {
        for (const bool months : {true, false}) {
            db().setKeepsSummaries(months);
            for (const ledger::ReportRange& r : ranges) {
                const QStringList shown = ledger::BuildStock(ctx(), r).lines.mid(2);
                const QStringList expected = stockByHand(r);
                QVERIFY2(shown == expected,
                         qPrintable(QStringLiteral("%1 (%2), %3 to %4:\n%5\nexpected\n%6")
                                        .arg(QString::fromLatin1(after),
                                             months ? QStringLiteral("months") : QStringLiteral("rows"),
                                             r.from.toString(Qt::ISODate), r.to.toString(Qt::ISODate),
                                             shown.join(QLatin1Char('\n')), expected.join(QLatin1Char('\n')))));
            }
        }
        db().setKeepsSummaries(true);
    }

    // The kept months as a sorted list of texts, figures rounded.
    QStringList keptMonths()
    {
        QStringList out;
        auto rs = db().OpenRecordset(QStringLiteral(
            "select code, description, period, movements, lastid, `in`, `out`, balance, shop, sale, shop_retur, "
            "sale_retur, manual_plus, manual_min from stockmonth where movements <> 0"));
        for (; !rs->Eof(); rs->MoveNext()) {
            QStringList cells{rs->Fields(0).toString().toCaseFolded(), rs->Fields(1).toString().toCaseFolded(),
                              rs->Fields(2).toString(), rs->Fields(3).toString(), rs->Fields(4).toString()};
            for (int i = 5; i < 14; ++i)
                cells << platform::Num(platform::RoundAmount(rs->Fields(i).toDouble(), 6));
            out << cells.join(QLatin1Char('|'));
        }
        std::sort(out.begin(), out.end());
        return out;
    }

    QList<ledger::ReportRange> ranges()
    {
        QList<ledger::ReportRange> out{
            {d("2000-01-01"), d("2030-12-31")}, // everything
            {d("2024-02-01"), d("2024-02-29")}, // one whole month
            {d("2024-02-01"), d("2024-02-28")}, // all of it but its last day
            {d("2024-01-15"), d("2024-03-10")}, // two part months and a whole one
            {d("2024-01-01"), d("2024-12-31")}, // a year
            {d("2025-12-31"), d("2026-01-01")}, // across a year's end
            {d("2024-06-15"), d("2024-06-15")}, // one day
            {d("2024-06-15"), d("2024-06-14")}, // the wrong way round
            {d("2010-01-01"), d("2010-01-31")}, // before every movement
            {d("2029-01-01"), d("2029-12-31")}, // after every movement
        };
        QRandomGenerator rnd(7);
        for (int i = 0; i < 12; ++i) {
            const QDate from = d("2023-10-01").addDays(rnd.bounded(900));
            out.append({from, from.addDays(rnd.bounded(400))});
        }
        return out;
    }

    // Movements of every kind word (both languages, any case), fractions,
    // one code under two descriptions and in two spellings, and movements
    // without a date or a code.
    void makeMovements(int count)
    {
        static const char* const kinds[] = {"Shop",       "Beli",       "sale",       "Jual",   "Shop Retur",
                                            "Retur Beli", "Sale Retur", "RETUR JUAL", "Opname", "Koreksi"};
        static const char* const codes[] = {"KOPI", "kopi", "GULA", "SUSU", "TEH", "AIR", "ROTI", "MIE"};
        QRandomGenerator rnd(11);
        const qint64 first = platform::NewId(db(), QStringLiteral("stockflow"), QStringLiteral("id"));
        platform::DbTransaction tx(db());
        for (int i = 0; i < count; ++i) {
            const QString code = QString::fromLatin1(codes[rnd.bounded(8)]);
            const QString description = code.toUpper() + (rnd.bounded(5) == 0 ? QStringLiteral(" Lama") : QString());
            const QString moment =
                rnd.bounded(60) == 0
                    ? QStringLiteral("null")
                    : platform::Quote(d("2023-11-15").addDays(rnd.bounded(820)).toString(QStringLiteral("yyyy-MM-dd")));
            const double in = rnd.bounded(3) == 0 ? 0 : rnd.bounded(400) / 20.0 + (rnd.bounded(7) == 0 ? 1.0 / 3 : 0);
            const double out = rnd.bounded(3) == 0 ? 0 : rnd.bounded(300) / 40.0;
            db().Execute(QStringLiteral("insert into stockflow values(%1, %2, %3, %4, %5, 'Kg', %6, %7)")
                             .arg(first + i)
                             .arg(moment, platform::Quote(QString::fromLatin1(kinds[rnd.bounded(10)])),
                                  rnd.bounded(80) == 0 ? QStringLiteral("null") : platform::Quote(code),
                                  platform::Quote(description), platform::Num(in), platform::Num(out)));
        }
        tx.commit();
    }

    // Journal rows over many days, ids in the order of the days, some days
    // longer than a page of a list.
    void makeJournal(int count)
    {
        static const char* const kinds[] = {"Sale", "Shop", "Cash In", "Cash Out", "Jual", "Sale Retur"};
        QRandomGenerator rnd(5);
        const qint64 first = platform::NewId(db(), QStringLiteral("cash"), QStringLiteral("ID"));
        platform::DbTransaction tx(db());
        QDate day = d("2024-01-01");
        for (int i = 0; i < count; ++i) {
            if (rnd.bounded(i > count / 2 && i < count / 2 + 700 ? 1000 : 40) == 0)
                day = day.addDays(1 + rnd.bounded(3));
            const double amount = rnd.bounded(100000) / 4.0;
            const bool debit = rnd.bounded(2) == 0;
            db().Execute(QStringLiteral("insert into cash values(%1, %2, %3, %4, '', %5, '', %6, %7, 'Barang', 0, 0, "
                                        "%8, 1, 'Pcs', %8, 0, 0, 0, 0, 0, %9, %10)")
                             .arg(first + i)
                             .arg(i)
                             .arg(platform::Quote(QString::fromLatin1(kinds[rnd.bounded(6)])),
                                  platform::Quote(day.toString(QStringLiteral("yyyy-MM-dd"))),
                                  platform::Quote(rnd.bounded(2) ? QStringLiteral("Ani") : QStringLiteral("Budi")),
                                  platform::Quote(QStringLiteral("Meja %1").arg(rnd.bounded(9))),
                                  platform::Quote(QStringLiteral("K%1").arg(rnd.bounded(30))), platform::Num(amount),
                                  platform::Num(debit ? amount : 0), platform::Num(debit ? 0 : amount)));
        }
        tx.commit();
    }

    // Every line of an opened journal, read in runs of `step` lines.
    static QStringList readAll(const ledger::ReportRows& r, qsizetype step)
    {
        QStringList lines;
        for (qsizetype at = 0; at < r.rows->count(); at += step)
            r.rows->read(at, qMin(step, r.rows->count() - at), lines);
        return lines;
    }

    // The journal over each range and filter read a page at a time from
    // the day totals is the journal read from its rows: the same lines,
    // ids and totals, whatever run of lines a page reads; and its rows are
    // the rows of the report's own query, in its order.
    void sameJournal(const QList<ledger::ReportRange>& ranges, const char* after)
    {
        QVERIFY2(db().keepsSummaries(), after);
        for (const ledger::ReportRange& r : ranges) {
            const QString where =
                QStringLiteral("%1, %2 to %3")
                    .arg(QString::fromLatin1(after), r.from.toString(Qt::ISODate), r.to.toString(Qt::ISODate));
            // The recapitulation from the day totals is the one from the rows.
            const QStringList recap = ledger::BuildRecap(ctx(), r).lines;
            db().setKeepsSummaries(false);
            QVERIFY2(ledger::BuildRecap(ctx(), r).lines == recap, qPrintable(where));
            db().setKeepsSummaries(true);
            for (const ledger::JournalFilter& f :
                 {ledger::JournalFilter{}, ledger::JournalFilter{1, QString()}, ledger::JournalFilter{0, "an"}}) {
                const ledger::ReportRows days = ledger::OpenJournal(ctx(), r, f, false);
                db().setKeepsSummaries(false);
                const ledger::Report rows = ledger::BuildJournal(ctx(), r, f, false);
                db().setKeepsSummaries(true);
                QStringList ids;
                for (auto rs = db().OpenRecordset(QStringLiteral("select ID from cash where ") +
                                                  days.sql.section(QStringLiteral(" where "), 1));
                     !rs->Eof(); rs->MoveNext())
                    ids << rs->Fields(0).toString();
                for (qsizetype step : {qsizetype(1000000), qsizetype(7), qsizetype(256)}) {
                    const QStringList lines = readAll(days, step);
                    QVERIFY2(lines == rows.lines, qPrintable(where));
                }
                QStringList shown;
                for (int i = 2; i < 2 + int(days.idCount); ++i)
                    shown << QString::number(rows.ids[i]);
                QVERIFY2(shown == ids, qPrintable(where));
                QCOMPARE(ledger::HoldReport(days).ids, rows.ids);
            }
        }
    }

private slots:
    void init()
    {
        fx = std::make_unique<Fixture>();
        fx->login(fx->sampleEntry(), QStringLiteral("Admin"), QStringLiteral("admin"));
        QVERIFY(db().keepsSummaries());
    }
    void cleanup() { fx.reset(); }

    void totalsFollowEveryWrite()
    {
        sameCash("the login");
        sameStock({{d("2010-01-01"), d("2010-01-01")}, {d("2009-12-01"), d("2010-02-28")}}, "the login");

        // A sale as the cashier saves it.
        mMain::ExecSQL(QStringLiteral("insert into Salecart values(1, 'Meja 9', 'ESP', 'Kopi', 'Espresso', 18000, 0, "
                                      "18000, 3, 'Gelas', 54000, 1)"));
        cashier::SaveHeader h;
        h.action = QStringLiteral("Sale");
        h.charge = QStringLiteral("Meja 9");
        h.date = QDate::currentDate();
        h.cashier = QStringLiteral("Admin");
        h.dbKind = Fixture::dbKind();
        h.discount = QStringLiteral("10");
        h.discountN = QStringLiteral("5,400");
        h.tax = QStringLiteral("10");
        h.taxN = QStringLiteral("4,860");
        QVERIFY(cashier::SaveTransaction(db(), h).saved);
        sameCash("a sale");

        // Journal rows written, rewritten and deleted by hand.
        ledger::JournalEntry e{QStringLiteral("Cash Out"),
                               QDate::currentDate(),
                               QString(),
                               QStringLiteral("Admin"),
                               QString(),
                               QStringLiteral("PLN"),
                               QStringLiteral("LSTR"),
                               QStringLiteral("Listrik"),
                               QStringLiteral("250,000"),
                               QStringLiteral("1"),
                               QString(),
                               QStringLiteral("250,000")};
        const qint64 id = ledger::AddJournalEntry(db(), Fixture::dbKind(), e);
        sameCash("a journal row added");
        e.action = QStringLiteral("Cash In");
        e.total = QStringLiteral("125,500");
        e.price = QStringLiteral("125,500");
        QVERIFY(ledger::RewriteJournalEntry(db(), Fixture::dbKind(), *ledger::ReadJournalRow(db(), id), e));
        sameCash("a journal row rewritten");
        ledger::Ex(db());
        sameCash("every row's amounts rewritten");
        mMain::ExecSQL(QStringLiteral("delete from `cash` where ID=") + QString::number(id));
        sameCash("a journal row deleted");

        // Another workstation, as the engine's own shell would write.
        {
            Workstation other(db().path());
            QVERIFY(other.exec(QStringLiteral("insert into cash (ID, Debit, Credit) values (90001, 1234.5, null)")));
            QVERIFY(other.exec(QStringLiteral("insert into cash (ID, Debit, Credit) values (90002, null, 99.25)")));
            QVERIFY(other.exec(QStringLiteral("update cash set Debit = Debit * 2 where ID = 90001")));
            QVERIFY(other.exec(QStringLiteral("update cash set Credit = null where ID < 5")));
            QVERIFY(other.exec(QStringLiteral("delete from cash where ID = 90002")));
            QVERIFY(other.exec(QStringLiteral("insert into stockflow values (90001, '2010-01-01', 'Opname', 'KOPI', "
                                              "'KOPI', 'Kg', 2.5, 0)")));
        }
        sameCash("another workstation's writes");
        sameStock({{d("2010-01-01"), d("2010-01-01")}, {d("2009-12-01"), d("2010-02-28")}}, "another workstation");

        // A journal emptied: no figure on either side shows 0.
        mMain::ExecSQL(QStringLiteral("delete from cash"));
        sameCash("the journal emptied");
        mMain::ExecSQL(QStringLiteral("insert into cash (ID, Debit, Credit) values (1, 700, null)"));
        sameCash("one side only");
        QCOMPARE(fx->main->iCash->Caption(), QStringLiteral("Cash: 0"));
    }

    // Thousands of movements over two years and more, then edited and
    // deleted by hand: the report from the months is the report from the rows.
    void stockReportFromMonths()
    {
        mMain::ExecSQL(QStringLiteral("delete from stockflow"));
        makeMovements(1500);
        sameStock(ranges(), "made movements");
        {
            Workstation other(db().path());
            QVERIFY(other.exec(QStringLiteral("update stockflow set `in` = `in` + 1.25 where id % 7 = 0")));
            QVERIFY(other.exec(QStringLiteral("update stockflow set category = 'Jual' where id % 11 = 0")));
            QVERIFY(other.exec(QStringLiteral("update stockflow set code = 'GULA' where id % 13 = 0")));
            QVERIFY(other.exec(QStringLiteral("update stockflow set moment = '2024-02-29' where id % 17 = 0")));
            QVERIFY(other.exec(QStringLiteral("delete from stockflow where id % 5 = 0")));
            QVERIFY(other.exec(QStringLiteral("update stockflow set `out` = null where id % 19 = 0")));
        }
        sameStock(ranges(), "movements edited and deleted by hand");
    }

    // Movements written by other programs: an empty in or out, dates that
    // are not plain. The report counts what its own sums count, one range's
    // end is the next range's beginning, no item that moved is left out,
    // and months built from the rows are the months the triggers kept.
    void stockReportOfRowsWrittenElsewhere()
    {
        mMain::ExecSQL(QStringLiteral("delete from stockflow"));
        const char* const rows[] = {
            "(1, '2026-09-20', 'Shop', 'BKA', 'Biji Kopi Arabika Gayo', 'Kg', 10, 0)",
            "(2, '2026-10-05', 'Sale', 'BKA', 'Biji Kopi Arabika Gayo', 'Kg', NULL, 3)",
            "(3, '2026-10-20', 'Opname', 'BKA', 'Biji Kopi Arabika Gayo', 'Kg', 2, NULL)",
            "(4, '2026-11-18', 'Sale', 'BKA', 'Biji Kopi Arabika Gayo', 'Kg', 0, 1.5)",
            "(5, '2026-11-25', 'Shop', 'GULA', 'Gula Pasir', 'Kg', 20, 0)",
            "(6, '2026-12-5', 'Sale', 'GULA', 'Gula Pasir', 'Kg', 0, 2)",
            "(7, '2026-12-10', 'Beli', 'SUSU', 'Susu Segar', 'Liter', 12, 0)",
            "(8, '2026-12-31 08:00:00', 'Jual', 'SUSU', 'Susu Segar', 'Liter', 0, 1)",
            "(9, '2026-11-31', 'Opname', 'TEH', 'Teh Hitam', 'Kg', 1, 0)",
            "(10, '2026-12', 'Shop', 'TEH', 'Teh Hitam', 'Kg', 4, 0)",
            "(11, '2026-12-01', 'Retur Jual', 'TEH', 'Teh Hitam', 'Kg', 1, 0)",
            "(12, '2027-01-02', 'Sale', 'TEH', 'Teh Hitam', 'Kg', 0, 1)",
            "(13, '2027-01', 'Shop Retur', 'TEH', 'Teh Hitam', 'Kg', NULL, 0.5)",
            "(14, '2026-12-00', 'Shop', 'MIE', 'Mie Telur', 'Bks', 5, NULL)",
            "(15, NULL, 'Shop', 'MIE', 'Mie Telur', 'Bks', 7, 0)",
            "(16, '', 'Shop', 'MIE', 'Mie Telur', 'Bks', 3, 0)",
            "(17, '2026-12-15', 'Sale', 'MIE', 'Mie Telur', 'Bks', 0, 1)",
            "(18, '2026-02-29', 'Shop', 'ROTI', 'Roti Tawar', 'Bks', 6, 0)",
            "(19, '2026-03-01', 'Sale', 'ROTI', 'Roti Tawar', 'Bks', NULL, NULL)",
            "(20, '5/12/2026', 'Shop', 'ROTI', 'Roti Tawar', 'Bks', 9, 0)",
            "(21, '2026-12-20', 'Sale', 'BKA', 'Biji Kopi Arabika Gayo', 'Kg', 0, 0.25)",
        };
        for (const char* row : rows)
            mMain::ExecSQL(QStringLiteral("insert into stockflow values") + QString::fromLatin1(row));
        const QList<ledger::ReportRange> consecutive{
            {d("2026-10-01"), d("2026-11-17")}, {d("2026-11-18"), d("2026-11-30")}, {d("2026-12-01"), d("2026-12-31")},
            {d("2027-01-01"), d("2027-01-31")}, {d("2027-02-01"), d("2027-12-31")},
        };
        QList<ledger::ReportRange> all = consecutive;
        all << ledger::ReportRange{d("2026-01-01"), d("2026-12-31")} // a year
            << ledger::ReportRange{d("2026-11-15"), d("2027-01-10")} // part, whole, part
            << ledger::ReportRange{d("2026-11-15"), d("2026-12-10")} // two part months
            << ledger::ReportRange{d("2026-02-01"), d("2026-02-28")} // a whole February
            << ledger::ReportRange{d("2026-12-31"), d("2027-01-01")};
        stockAsCounted(all, "rows written elsewhere");

        // Each item's end of one range is its beginning of the next.
        auto cells = [this](const ledger::ReportRange& r, const QString& code) {
            for (const QString& line : ledger::BuildStock(ctx(), r).lines)
                if (line.startsWith(code + QLatin1Char(' ')))
                    return line.mid(40).simplified().split(QLatin1Char(' '));
            return QStringList();
        };
        const QStringList a = cells(consecutive[0], QStringLiteral("BKA")),
                          b = cells(consecutive[1], QStringLiteral("BKA"));
        QVERIFY(!a.isEmpty() && !b.isEmpty());
        QCOMPARE(a.value(10), b.value(0));
        QCOMPARE(b.value(0), mMain::FormatNumber(9));
        // An item whose latest movement is not a plain date is listed with
        // its plain ones.
        QVERIFY(!cells({d("2026-01-01"), d("2026-12-31")}, QStringLiteral("SUSU")).isEmpty());
        QVERIFY(!cells({d("2026-01-01"), d("2026-12-31")}, QStringLiteral("GULA")).isEmpty());

        // Rewritten and deleted by hand, then the months built again from
        // the rows: the same months as the triggers kept.
        mMain::ExecSQL(QStringLiteral("update stockflow set moment = '2026-12-31 23:00' where id = 7"));
        mMain::ExecSQL(QStringLiteral("update stockflow set `in` = null where id = 5"));
        mMain::ExecSQL(QStringLiteral("delete from stockflow where id in (8, 14)"));
        stockAsCounted(all, "rows rewritten elsewhere");
        const QStringList kept = keptMonths();
        mMain::ExecSQL(QStringLiteral("drop table stockmonth"));
        QVERIFY(!platform::SummariesIntact(db()));
        QVERIFY(platform::EnsureSummaries(db()));
        QCOMPARE(keptMonths(), kept);
        stockAsCounted(all, "months built again");
    }

    // A journal of thousands of rows over months: paged through the day
    // totals it is the journal read from the rows, also after rows written,
    // rewritten and deleted by hand, a row moved to another day (its id no
    // longer in the order of the days) and a row without a code (which the
    // column filter passes over).
    void journalPagedByDays()
    {
        makeJournal(1600);
        QList<ledger::ReportRange> journalRanges = ranges();
        journalRanges << ledger::ReportRange{d("2024-01-01"), d("2024-03-31")};
        sameJournal(journalRanges, "made rows");
        // The edits below reach every day; the named ranges and the
        // quarter cover them without the random ones again.
        journalRanges = journalRanges.mid(0, 10) << journalRanges.last();
        // Opened from the day totals alone: one read, whatever the rows; a
        // page of it reads its day's IDs and its rows.
        const auto statements = [this](const std::function<void()>& what) {
            const quint64 before = db().statementCount();
            what();
            return db().statementCount() - before;
        };
        const ledger::ReportRange quarter{d("2024-01-01"), d("2024-03-31")};
        std::optional<ledger::ReportRows> opened;
        QCOMPARE(statements([&] { opened = ledger::OpenJournal(ctx(), quarter, {}, false); }), 1u);
        QStringList page;
        const quint64 read = statements([&] { opened->rows->read(opened->rows->count() - 40, 40, page); });
        QVERIFY(read >= 2 && read <= 4);
        {
            Workstation other(db().path());
            QVERIFY(other.exec(QStringLiteral("update cash set Debit = Debit + 1.5 where ID % 7 = 0")));
            QVERIFY(other.exec(QStringLiteral("delete from cash where ID % 5 = 0")));
            QVERIFY(other.exec(QStringLiteral("update cash set Charge = 'Meja 1' where ID % 11 = 0")));
        }
        sameJournal(journalRanges, "rows edited and deleted by hand");
        {
            Workstation other(db().path());
            QVERIFY(other.exec(QStringLiteral("update cash set Moment = '2024-01-02' where ID = (select max(ID) from "
                                              "cash where Moment < '2024-06-01')")));
        }
        sameJournal(journalRanges, "a row moved to an earlier day");
        QVERIFY(statements([&] { opened = ledger::OpenJournal(ctx(), quarter, {}, false); }) > 1u);
        {
            Workstation other(db().path());
            QVERIFY(other.exec(QStringLiteral("update cash set Code = null where ID % 97 = 0")));
        }
        sameJournal(journalRanges, "rows without a code");
    }

    // A list is the range as of its opening: rows added, rewritten and
    // deleted by another workstation between its pages never shift, repeat
    // or drop another row, and its count and totals stay; a page read
    // afterwards shows a rewritten row as it is now and a deleted one empty.
    void journalPagesWhileOthersWrite()
    {
        makeJournal(2000);
        const ledger::ReportRange year{d("2024-01-01"), d("2024-12-31")};
        for (const ledger::JournalFilter& f : {ledger::JournalFilter{}, ledger::JournalFilter{0, "Budi"}}) {
            const ledger::ReportRows r = ledger::OpenJournal(ctx(), year, f, false);
            const ledger::Report before = ledger::HoldReport(r);
            const qsizetype half = r.idFirst + r.idCount / 2;
            QStringList lines;
            r.rows->read(0, half, lines);
            const qint64 deleted = before.ids[int(half + 3)];
            const qint64 rewritten = before.ids[int(half + 5)];
            {
                Workstation other(db().path());
                QVERIFY(other.exec(QStringLiteral("delete from cash where ID = %1").arg(deleted)));
                QVERIFY(
                    other.exec(QStringLiteral("update cash set Description = 'Diubah' where ID = %1").arg(rewritten)));
                QVERIFY(other.exec(QStringLiteral("delete from cash where ID = %1").arg(before.ids[2])));
                QVERIFY(
                    other.exec(QStringLiteral("insert into cash select ID + 100000, no, Category, Moment, "
                                              "Keterangan, Cashier, Warehouse, Charge, Code, Description, Price, "
                                              "Discount, SubTotal, Quantity, Unit, Sale, Shop, Shop_Retur, "
                                              "Sale_Retur, Cash_In, Cash_Out, Debit, Credit from cash where ID = %1")
                                   .arg(before.ids[int(half + 8)])));
            }
            r.rows->read(half, r.rows->count() - half, lines);
            QCOMPARE(lines.size(), before.lines.size());
            QSet<qint64> seen;
            for (qsizetype i = 0; i < lines.size(); ++i) {
                const qint64 id = ledger::LineId(lines[i]);
                if (i < r.idFirst || i >= r.idFirst + r.idCount) {
                    QCOMPARE(lines[i], before.lines[i]);
                } else if (i >= half) {
                    QVERIFY(id == 0 || id == before.ids[int(i)]);
                    QVERIFY(!seen.contains(id) || id == 0);
                    seen.insert(id);
                }
            }
            QCOMPARE(lines[half + 3], QString());
            QVERIFY(lines[half + 5].contains(QStringLiteral("Diubah")));
            QCOMPARE(lines[2], before.lines[2]);
        }
    }

    // A database from before the totals gets them at the login, built from
    // its rows; one whose totals were damaged gets them again.
    void olderDatabaseGetsItsTotals()
    {
        fx->main->iLanguage->setText(QStringLiteral("English")); // its captions are checked
        for (const char* t :
             {"cashtotal_insert", "cashtotal_update", "cashtotal_delete", "stockmonth_insert_v2",
              "stockmonth_update_v2", "stockmonth_delete_v2", "cashday_insert", "cashday_update", "cashday_delete"})
            mMain::ExecSQL(QStringLiteral("drop trigger ") + QString::fromLatin1(t));
        mMain::ExecSQL(QStringLiteral("drop table cashtotal"));
        mMain::ExecSQL(QStringLiteral("drop table stockmonth"));
        mMain::ExecSQL(QStringLiteral("drop table cashday"));
        mMain::ExecSQL(QStringLiteral("insert into cash (ID, Debit, Credit) values (90001, 5000, 0)"));
        // Rows without a day and with an empty one are one day of the
        // day totals.
        mMain::ExecSQL(QStringLiteral("insert into cash (ID, Moment, Debit, Credit) values (90002, '', 700, 0)"));
        db().setKeepsSummaries(false);
        const QString entry = app().DbEntry;
        fx->ui->answers = {platform::MsgOK};
        QTest::keyClick(fx->main, Qt::Key_F9);
        QVERIFY(fx->main->pLogin->isVisible());
        fx->login(entry, QStringLiteral("Admin"), QStringLiteral("admin"));
        QVERIFY(db().hasTable(QStringLiteral("cashtotal")));
        sameCash("the login of an older database");
        sameStock({{d("2010-01-01"), d("2010-01-01")}, {d("2009-12-01"), d("2010-02-28")}}, "an older database");
        QVERIFY(platform::CashDaysComplete(db()));
        sameJournal({{d("2009-01-01"), d("2030-12-31")}}, "an older database");
        QCOMPARE(platform::StoredNumber(db().GetValue(QStringLiteral("select entries from cashday where moment = ''"))),
                 platform::StoredNumber(
                     db().GetValue(QStringLiteral("select count(*) from cash where Moment is null or Moment = ''"))));

        // Totals damaged by hand: the next login builds them again, telling
        // what it does and how far it has come.
        mMain::ExecSQL(QStringLiteral("insert into cashtotal values (1, 1, 1, 1)"));
        QVERIFY(!platform::SummariesIntact(db()));
        QStringList told;
        double done = 0;
        bool forward = true;
        QVERIFY(platform::EnsureSummaries(db(), [&](const QString& what, double share) {
            if (told.isEmpty() || told.last() != what)
                told << what;
            if (share < 0)
                return;
            forward = forward && share >= done;
            done = share;
        }));
        QVERIFY(forward);
        QCOMPARE(done, 1.0);
        QCOMPARE(told, QStringList{QStringLiteral("Computing the cash balance from the journal")});
        sameCash("totals built again");
    }

    // Months kept by an earlier rule (its triggers still in place, a balance
    // that left an empty in or out out): the login builds them again under
    // the rule of now, and the earlier triggers no longer count anything.
    void monthsOfAnEarlierRuleAreBuiltAgain()
    {
        for (const char* t : {"stockmonth_insert_v2", "stockmonth_update_v2", "stockmonth_delete_v2"})
            mMain::ExecSQL(QStringLiteral("drop trigger ") + QString::fromLatin1(t));
        mMain::ExecSQL(QStringLiteral("create trigger stockmonth_insert after insert on stockflow for each row "
                                      "begin update stockmonth set balance = balance + 1000; end"));
        mMain::ExecSQL(QStringLiteral("update stockmonth set balance = balance - 7"));
        db().setKeepsSummaries(false);
        const QString entry = app().DbEntry;
        fx->ui->answers = {platform::MsgOK};
        QTest::keyClick(fx->main, Qt::Key_F9);
        fx->login(entry, QStringLiteral("Admin"), QStringLiteral("admin"));
        QVERIFY(db().keepsSummaries());
        mMain::ExecSQL(QStringLiteral("insert into stockflow values (90001, '2010-01-01', 'Opname', 'KOPI', "
                                      "'KOPI', 'Kg', null, 2)"));
        stockAsCounted({{d("2010-01-01"), d("2010-01-31")}, {d("2010-02-01"), d("2010-12-31")}},
                       "an earlier rule's months");
    }
};

int runSummaryTests(int argc, char** argv)
{
    TestSummaries t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_summaries.moc"
