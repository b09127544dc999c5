#include "ledger/model/itemreport.h"

#include "data/db.h"
#include "data/sqltext.h"
#include "data/textcells.h"
#include "ledger/model/reportcommon.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>

using platform::AlignLeft;
using platform::AlignRight;
using platform::FormatAmount;
using platform::Pad;
using platform::Quote;

namespace ledger {

namespace {

// The figure that a sum over rows holds as the view shows it: whole units.
double Shown(double v)
{
    return platform::RoundAmount(v);
}

// A kind's category words, Indonesian or English.
QString KindCondition(int page)
{
    return QStringLiteral(" and (category=") + Quote(GetPage(page)) + QStringLiteral(" or category=") +
           Quote(GetPage2(page)) + QLatin1Char(')');
}

// The item reports add up the side the kind books on; its discount rows
// stand on the other side and its tax rows on the same one.
bool DebitKind(int page)
{
    return page == Sales || page == CashIn;
}

} // namespace

QString ItemReportSql(const ReportContext& ctx, const ReportRange& range, int page)
{
    return QStringLiteral("select code, description, avg(price) as avg_price, sum(quantity) as sum_quantity, unit, ") +
           (DebitKind(page) ? QStringLiteral("sum(debit)") : QStringLiteral("sum(credit)")) +
           QStringLiteral(" as total from cash where code <> 'DS' and code <> 'PN' and ") + DateCondition(ctx, range) +
           KindCondition(page) +
           // A server leaves the lines of one description in the order of its
           // plan of the moment; a report printed twice must read the same.
           QStringLiteral(" group by code, description, unit order by description asc, code asc, unit asc");
}

namespace {

// One line of an item report: an item as the grouping gives it.
struct ItemLine {
    QVariant code, description;
    double price = 0;
    QVariant quantity;
    QString unit;
    double total = 0;
};

// The kind's total, its discount rows (the other side) and its tax rows
// (the same side).
struct ItemFooter {
    double total = 0, discount = 0, tax = 0;
};

QString ItemLineText(const ItemLine& l)
{
    const double quantity = platform::DbField(l.quantity).toDouble();
    return QStringList{
        AlignLeft(l.code, Pad(8)), AlignLeft(l.description, Pad(30)), AlignRight(AmountOrDash(l.price), Pad(15)),
        AlignRight(quantity == 0 ? QStringLiteral("-") : NumberText(platform::DbField(l.quantity)) + kBlank + l.unit,
                   Pad(15)),
        AlignRight(FormatAmount(l.total), Pad(15))}
        .join(kBlank);
}

// An item of the grouping: its texts as its first row in the range has
// them, and what the aggregates add up.
struct ItemGroup {
    QByteArray code, description, unit;
    bool descriptionNull = false, unitNull = false;
    QByteArray foldedCode, foldedDescription, foldedUnit;
    double priceSum = 0;
    qint64 prices = 0;
    double quantity = 0;
    bool anyQuantity = false;
    double total = 0;
};

// A NULL sorts before any text; texts by their NOCASE bytes.
int CompareFolded(bool aNull, const QByteArray& a, bool bNull, const QByteArray& b)
{
    if (aNull || bNull)
        return int(bNull) - int(aNull);
    const int c = std::memcmp(a.constData(), b.constData(), size_t(std::min(a.size(), b.size())));
    return c != 0 ? c : int(a.size() > b.size()) - int(a.size() < b.size());
}

// The groups of a report by the hash of their folded texts, in a flat
// table half empty at most: a hundred thousand items are looked up once per
// row, and a lookup touches a slot and the group's key.
class GroupTable {
public:
    // The group of a key, or a new one numbered `count()`.
    size_t place(const std::string& key, bool* added)
    {
        const size_t hash = std::hash<std::string_view>()(key);
        size_t i = hash & (m_slots.size() - 1);
        for (; m_slots[i].second != 0; i = (i + 1) & (m_slots.size() - 1)) {
            const auto& [at, length] = m_at[m_slots[i].second - 1];
            if (m_slots[i].first == hash && std::string_view(m_keys).substr(at, length) == key) {
                *added = false;
                return m_slots[i].second - 1;
            }
        }
        *added = true;
        m_at.emplace_back(m_keys.size(), key.size());
        m_keys += key;
        if (m_at.size() * 2 > m_slots.size()) {
            std::vector<std::pair<size_t, size_t>> old(m_slots.size() * 2);
            old.swap(m_slots);
            for (const auto& [h, group] : old)
                if (group != 0)
                    put(h, group);
        } else {
            m_slots[i] = {hash, m_at.size()};
            return m_at.size() - 1;
        }
        put(hash, m_at.size());
        return m_at.size() - 1;
    }

private:
    void put(size_t hash, size_t number)
    {
        size_t i = hash & (m_slots.size() - 1);
        while (m_slots[i].second != 0)
            i = (i + 1) & (m_slots.size() - 1);
        m_slots[i] = {hash, number};
    }
    // Hash and group number + 1 (0: an empty slot).
    std::vector<std::pair<size_t, size_t>> m_slots = std::vector<std::pair<size_t, size_t>>(size_t(1) << 12);
    std::string m_keys;
    std::vector<std::pair<size_t, size_t>> m_at;
};

// On a database file the range's rows are read once and grouped here: the
// grouping in SQL sorts every row of the range by three NOCASE texts, which
// on a year of a busy shop costs more than reading the rows. What it gives
// is the statement's result to the row: NOCASE groups keeping the texts of
// their first row as the range is walked, the same sums in the same order,
// ordered by description and then as the groups come (code, description,
// unit); rows without a code take part in neither.
bool ScanItemReport(const ReportContext& ctx, const ReportRange& range, int page, std::vector<ItemLine>& lines,
                    ItemFooter& footer)
{
    const bool debit = DebitKind(page);
    std::vector<ItemGroup> groups;
    GroupTable table;
    std::string key;
    const auto put = [&key](QByteArrayView text, bool null) {
        key += null ? '\0' : '\1';
        for (char c : text)
            key += platform::NocaseFolded(c);
        key += '\0';
    };
    const bool scanned = ctx.db.ScanRows(
        QStringLiteral("cash"),
        {QStringLiteral("code"), QStringLiteral("description"), QStringLiteral("price"), QStringLiteral("quantity"),
         QStringLiteral("unit"), debit ? QStringLiteral("debit") : QStringLiteral("credit"),
         debit ? QStringLiteral("credit") : QStringLiteral("debit")},
        [&](const platform::DbScanRow& row) {
            if (row.isNull(0))
                return;
            const QByteArrayView code = row.text(0);
            if (platform::NocaseIs(code, "ds")) {
                footer.discount += row.number(6);
                return;
            }
            if (platform::NocaseIs(code, "pn")) {
                footer.tax += row.number(5);
                return;
            }
            footer.total += row.number(5);
            key.clear();
            put(code, false);
            put(row.text(1), row.isNull(1));
            put(row.text(4), row.isNull(4));
            bool added = false;
            const size_t group = table.place(key, &added);
            if (added) {
                ItemGroup g;
                g.code = code.toByteArray();
                g.description = row.text(1).toByteArray();
                g.unit = row.text(4).toByteArray();
                g.descriptionNull = row.isNull(1);
                g.unitNull = row.isNull(4);
                platform::AppendNocase(g.foldedCode, g.code);
                platform::AppendNocase(g.foldedDescription, g.description);
                platform::AppendNocase(g.foldedUnit, g.unit);
                groups.push_back(std::move(g));
            }
            ItemGroup& g = groups[group];
            if (!row.isNull(2)) {
                g.priceSum += row.number(2);
                ++g.prices;
            }
            if (!row.isNull(3)) {
                g.quantity += row.number(3);
                g.anyQuantity = true;
            }
            g.total += row.number(5);
        },
        DateCondition(ctx, range) + KindCondition(page));
    if (!scanned)
        return false;
    std::vector<const ItemGroup*> order;
    order.reserve(groups.size());
    for (const ItemGroup& g : groups)
        order.push_back(&g);
    std::sort(order.begin(), order.end(), [](const ItemGroup* a, const ItemGroup* b) {
        int c = CompareFolded(a->descriptionNull, a->foldedDescription, b->descriptionNull, b->foldedDescription);
        if (c == 0)
            c = CompareFolded(false, a->foldedCode, false, b->foldedCode);
        if (c == 0)
            c = CompareFolded(a->unitNull, a->foldedUnit, b->unitNull, b->foldedUnit);
        return c < 0;
    });
    const auto text = [](const QByteArray& bytes, bool null) {
        return null ? QVariant() : QVariant(QString::fromUtf8(bytes));
    };
    lines.reserve(order.size());
    for (const ItemGroup* g : order)
        lines.push_back({text(g->code, false), text(g->description, g->descriptionNull),
                         g->prices ? g->priceSum / double(g->prices) : 0.0,
                         g->anyQuantity ? QVariant(g->quantity) : QVariant(), QString::fromUtf8(g->unit), g->total});
    return true;
}

// On a server the engine groups the range, and sums it once more for the
// footer.
void QueryItemReport(const ReportContext& ctx, const ReportRange& range, int page, std::vector<ItemLine>& lines,
                     ItemFooter& footer)
{
    auto rs = ctx.db.OpenRecordset(ItemReportSql(ctx, range, page));
    for (; !rs->Eof(); rs->MoveNext())
        lines.push_back({rs->Fields(QStringLiteral("code")).Value(), rs->Fields(QStringLiteral("description")).Value(),
                         Field(*rs, "avg_price"), rs->Fields(QStringLiteral("sum_quantity")).Value(),
                         rs->Fields(QStringLiteral("unit")).toString(), Field(*rs, "total")});
    if (lines.empty())
        return;
    const QString side = DebitKind(page) ? QStringLiteral("debit") : QStringLiteral("credit");
    const QString other = DebitKind(page) ? QStringLiteral("credit") : QStringLiteral("debit");
    auto sums = ctx.db.OpenRecordset(QStringLiteral("select sum(case when code <> 'DS' and code <> 'PN' then ") + side +
                                     QStringLiteral(" else 0 end) as total, sum(case when code = 'DS' then ") + other +
                                     QStringLiteral(" else 0 end) as discount, sum(case when code = 'PN' then ") +
                                     side + QStringLiteral(" else 0 end) as tax from cash where ") +
                                     DateCondition(ctx, range) + KindCondition(page));
    footer = {Field(*sums, "total"), Field(*sums, "discount"), Field(*sums, "tax")};
}

} // namespace

Report BuildItemReport(const ReportContext& ctx, const ReportRange& range, int page)
{
    Report r;
    const auto& t = ctx.title;
    r.add(QStringList{
        AlignLeft(t(QStringLiteral("tCode")), Pad(8)), AlignLeft(t(QStringLiteral("tDescription")), Pad(30)),
        AlignRight(t(QStringLiteral("tPrice")), Pad(15)), AlignRight(t(QStringLiteral("tQuantity")), Pad(15)),
        AlignRight(t(QStringLiteral("tTotal")), Pad(15))}
              .join(kBlank));
    r.add(Rule());

    r.sql = ItemReportSql(ctx, range, page);
    std::vector<ItemLine> lines;
    ItemFooter sums;
    if (!ScanItemReport(ctx, range, page, lines, sums))
        QueryItemReport(ctx, range, page, lines, sums);
    for (const ItemLine& l : lines)
        r.add(ItemLineText(l));
    if (r.lines.size() <= 2)
        return r;

    const double total = Shown(sums.total);
    const double discount = Shown(sums.discount);
    const double tax = Shown(sums.tax);
    auto footer = [&](const QString& title, double figure) {
        r.add(AlignRight(title, Pad(71)) + kBlank + AlignRight(FormatAmount(figure), Pad(15)));
    };
    r.add(Rule());
    footer(t(QStringLiteral("tTotal")), total);
    if (discount > 0 || tax > 0)
        r.add(QString());
    if (discount > 0)
        footer(t(QStringLiteral("tDiscount")), discount);
    if (tax > 0)
        footer(t(QStringLiteral("tTax")), tax);
    if (discount > 0 || tax > 0) {
        r.add(QString());
        footer(t(QStringLiteral("tTotal")), total - discount + tax);
    }
    return r;
}

} // namespace ledger
