// The period under which the kept stock months hold a movement: the rule in
// SQL (the triggers, a server's build) and the same rule in code (a file's
// build) give the same period for any date text, and a period sorts among
// the months as its date sorts among their days, so that a range read from
// the months counts what the range's own text comparison counts.
#include "data/db.h"
#include "data/sqltext.h"
#include "data/summaries.h"
#include "support/datafixture.h"

#include <QTest>
#include <string_view>

using namespace platform;

class TestPeriods : public QObject {
    Q_OBJECT

private slots:
    void periodsSortAsTheirDates()
    {
        // Plain dates, times, unpadded days and months, days a month does
        // not have, a month or a year alone, other separators, no date.
        const QStringList texts{
            "2026-12-05",
            "2026-12-31",
            "2026-12-31 08:00:00",
            "2026-12-5",
            "2026-12-1",
            "2026-12-",
            "2026-12",
            "2026-12-00",
            "2026-11-31",
            "2026-11-30 23:59",
            "2026-02-29",
            "2024-02-29",
            "2024-02-29 10:00",
            "2026-02-28",
            "2027-01",
            "2027-01-00",
            "2026-1-5",
            "2026-13-01",
            "2026",
            "5/12/2026",
            "2026/12/05",
            "",
            "x",
            "2026-12-32",
            "2000-02-29 1",
            "1900-02-29 1",
            "2026-10-01",
            "2026-09-30 12:00",
            "0000-01-00",
            "2026-12 5",
        };
        DataFixture fx({QStringLiteral("Empty.tdb")});
        DbConnection db;
        fx.openTemplate(db);
        db.Execute(QStringLiteral("delete from stockflow"));
        for (int i = 0; i < texts.size(); ++i)
            db.Execute(
                QStringLiteral("insert into stockflow (id, moment) values (%1, %2)").arg(i).arg(Quote(texts[i])));
        db.Execute(QStringLiteral("insert into stockflow (id, moment) values (-1, null)"));
        QHash<qint64, QString> bySql;
        auto rs = db.OpenRecordset(QStringLiteral("select id, ") + StockPeriodSql(QStringLiteral("moment")) +
                                   QStringLiteral(" from stockflow"));
        for (; !rs->Eof(); rs->MoveNext())
            bySql.insert(rs->Fields(0).toLongLong(), rs->Fields(1).toString());
        QCOMPARE(bySql.value(-1), QString());
        QCOMPARE(QString::fromUtf8(StockPeriod(QByteArrayView(), true)), QString());

        QStringList months;
        for (QDate m(2023, 11, 1); m <= QDate(2028, 2, 1); m = m.addMonths(1))
            months << m.toString(QStringLiteral("yyyy-MM"));
        auto sv = [](const QByteArray& b) { return std::string_view(b.constData(), size_t(b.size())); };
        for (int i = 0; i < texts.size(); ++i) {
            const QByteArray text = texts[i].toUtf8();
            const QByteArray period = StockPeriod(text);
            QVERIFY2(bySql.value(i) == QString::fromUtf8(period),
                     qPrintable(texts[i] + QStringLiteral(": ") + bySql.value(i) + QStringLiteral(" | ") +
                                QString::fromUtf8(period)));
            for (const QString& month : months) {
                const QDate first = QDate::fromString(month + QStringLiteral("-01"), Qt::ISODate);
                const QByteArray key = month.toUtf8();
                const QByteArray firstDay = first.toString(Qt::ISODate).toUtf8();
                const QByteArray lastDay = first.addDays(first.daysInMonth() - 1).toString(Qt::ISODate).toUtf8();
                // Within the month's days exactly when kept under it; before
                // its first day exactly when kept before it.
                const bool within = sv(firstDay) <= sv(text) && sv(text) <= sv(lastDay);
                QVERIFY2(within == (period == key), qPrintable(texts[i] + QLatin1Char(' ') + month));
                QVERIFY2((sv(text) < sv(firstDay)) == (sv(period) < sv(key)),
                         qPrintable(texts[i] + QLatin1Char(' ') + month));
            }
        }
        QCOMPARE(StockPeriod("2026-12-31 08:00:00"), QByteArray("2026-12~"));
        QCOMPARE(StockPeriod("2026-12-5"), QByteArray("2026-12~"));
        QCOMPARE(StockPeriod("2027-01"), QByteArray("2026-12~"));
        QCOMPARE(StockPeriod("2026-12-05"), QByteArray("2026-12"));
    }
};

int runPeriodTests(int argc, char** argv)
{
    TestPeriods t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_periods.moc"
