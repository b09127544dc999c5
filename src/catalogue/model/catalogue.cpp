#include "catalogue/model/catalogue.h"

#include "data/owntext.h"
#include "data/sqltext.h"
#include "data/textcells.h"

#include <array>
#include <cmath>
#include <vector>

using platform::AlignLeft;
using platform::AlignRight;
using platform::Num;
using platform::Pad;
using platform::Quote;

namespace catalogue {

namespace {

QString bt(const QString& table)
{
    return QLatin1Char('`') + table + QLatin1Char('`');
}

// A LIKE literal: the operator's %, _ and the escape character stand for
// themselves. An apostrophe is dropped, as Quote drops it from every value
// written: "o'kay" must find the "Okay" that was stored.
QString likeLiteral(const QString& before, const QString& text, const QString& after)
{
    QString esc;
    esc.reserve(text.size() + 4);
    for (const QChar c : text) {
        if (c == QLatin1Char('\''))
            continue;
        if (c == QLatin1Char('!') || c == QLatin1Char('%') || c == QLatin1Char('_'))
            esc += QLatin1Char('!');
        esc += c;
    }
    return QStringLiteral("'%1%2%3' escape '!'").arg(before, esc, after);
}

const QString kNet = QString::fromLatin1(kNetPrice);

// Column widths of the two list layouts; amounts and the unit align right.
constexpr int kItemWidths[] = {8, 15, 30, 15, 10, 15, 15};
constexpr bool kItemRight[] = {false, false, false, true, true, true, true};
constexpr int kContactWidths[] = {8, 20, 30, 20, 20};

QString cell(const QVariant& v, int width, bool right)
{
    return right ? AlignRight(v, Pad(width)) : AlignLeft(v, Pad(width));
}

} // namespace

// ---------------------------------------------------------------- tables

QString ItemsTable(const QString& word)
{
    if (word == QLatin1String("Sale") || word == QLatin1String("Sale Retur"))
        return QStringLiteral("SaleItems");
    if (word == QLatin1String("Shop") || word == QLatin1String("Shop Retur"))
        return QStringLiteral("ShopItems");
    if (word == QLatin1String("Cash In") || word == QLatin1String("Cash Out"))
        return word + QStringLiteral("Items");
    return QString();
}

QString ContactTable(const QString& word)
{
    if (word == QLatin1String("Sale") || word == QLatin1String("Sale Retur"))
        return QStringLiteral("Customer");
    if (word == QLatin1String("Shop") || word == QLatin1String("Shop Retur"))
        return QStringLiteral("Supplier");
    if (word == QLatin1String("Cash In") || word == QLatin1String("Cash Out"))
        return QStringLiteral("Person");
    return QString();
}

bool IsContactTable(const QString& table)
{
    for (const char* t : {"Customer", "Supplier", "Person", "Warehouse"})
        if (table.compare(QLatin1String(t), Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

QString ListCaption(const QString& table)
{
    static const QList<QPair<QString, QString>> captions = {
        {QStringLiteral("SaleItems"), QStringLiteral("Data Penjualan")},
        {QStringLiteral("ShopItems"), QStringLiteral("Data Pembelian")},
        {QStringLiteral("Cash InItems"), QStringLiteral("Data Kas Masuk")},
        {QStringLiteral("Cash OutItems"), QStringLiteral("Data Kas Keluar")},
        {QStringLiteral("Customer"), QStringLiteral("Data Pelanggan")},
        {QStringLiteral("Supplier"), QStringLiteral("Data Supplier")},
        {QStringLiteral("Person"), QStringLiteral("Data Karyawan")},
        {QStringLiteral("Warehouse"), QStringLiteral("Data Gudang")},
    };
    for (const auto& c : captions)
        if (c.first == table)
            return c.second;
    return QString();
}

std::optional<QString> NominalDiscountText(const QString& answer, double price)
{
    if (answer.isEmpty() || price == 0)
        return QString();
    const std::optional<platform::Figure> amount =
        platform::ReadFigure(answer, {true, false}, platform::FigureSource::Written);
    if (!amount)
        return std::nullopt;
    const double percent = amount->value * 100.0 / price;
    // Six significant digits (33.3333, 6.66667, 0.000666667), rounded by the
    // one rule and written as the display writes a number: never with an
    // exponent or grouping, which the leading number read back would cut.
    double shown = percent;
    if (std::isfinite(percent) && percent != 0)
        shown = platform::RoundAmount(percent, 5 - static_cast<int>(std::floor(std::log10(std::fabs(percent)))));
    return platform::Num(platform::Val(platform::FormatNumber(shown)));
}

// ---------------------------------------------------------------- codes

bool IsReservedCode(const QString& code)
{
    const QString c = code.toUpper();
    return c == QLatin1String("DS") || c == QLatin1String("PN");
}

QString ReservedCodeMessage()
{
    return QStringLiteral("Kode 'DS' ataupun 'PN' tidak dapat digunakan\r\nKarena digunakan untuk Diskon dan PPN");
}

QString DuplicateMessage(const QString& code)
{
    return QStringLiteral("Item dengan Kode %1 sudah ada, coba Kode lain").arg(Quote(code));
}

bool CodeExists(platform::DbConnection& db, const QString& table, const QString& code)
{
    // Any count above 0: a table that already holds two copies of a code
    // (written by an edit) must not take a third.
    const QVariant n =
        db.GetValue(QStringLiteral("select count(code) from %1 where code=%2").arg(bt(table), Quote(code)));
    return n.toLongLong() >= 1;
}

QString GoneMessage(const QString& code)
{
    return platform::OwnText("cCodeGone", QStringLiteral("Data dengan Kode %1 sudah tidak ada")).arg(Quote(code));
}

QString NetPriceOf(const QString& table)
{
    return QStringLiteral("%1.price - round(%1.price * %1.discount / 100.0, 4)").arg(table);
}

QString GoneMarkedMessage(int gone)
{
    return platform::OwnText("cMarkedGone", QStringLiteral("%1 data yang ditandai sudah tidak ada")).arg(gone);
}

QString UnknownItemMessage(const QString& code)
{
    return QStringLiteral("Item dengan Kode %1 tidak ditemukan, coba Kode lain").arg(Quote(code));
}

bool RowShown(platform::DbConnection& db, const QString& select, const QString& codeColumn, const QString& row,
              const MakeRow& make)
{
    const QString code = RowCode(row);
    if (code.isEmpty())
        return false;
    for (auto rs = db.OpenCursor(select + QStringLiteral(" where ") + codeColumn + QLatin1Char('=') + Quote(code));
         !rs->Eof(); rs->MoveNext())
        if (make(*rs) == row)
            return true;
    return false;
}

bool TableRowShown(platform::DbConnection& db, const QString& table, const QString& row)
{
    if (IsContactTable(table))
        return RowShown(db, ContactsListSql(table, QString()), QStringLiteral("code"), row, ContactRow);
    return RowShown(db, ItemsListSql(table, QString()), QStringLiteral("code"), row, ItemRow);
}

int DeleteRows(platform::DbConnection& db, const QStringList& rows, const std::function<bool(const QString&)>& shown,
               const std::function<void(const QString& code)>& remove)
{
    int gone = 0;
    platform::DbTransaction tx(db);
    for (const QString& row : rows) {
        if (!shown(row)) {
            ++gone;
            continue;
        }
        remove(RowCode(row));
    }
    tx.commit();
    return gone;
}

bool CodeTaken(platform::DbConnection& db, const QString& table, const QString& oldCode, const QString& newCode)
{
    return newCode.compare(oldCode, Qt::CaseInsensitive) != 0 && CodeExists(db, table, newCode);
}

// ---------------------------------------------------------------- statements

QString InsertItemSql(const QString& table, const Item& item)
{
    return QStringLiteral("insert into %1 values(%2, %3, %4, %5, %6, %7)")
        .arg(bt(table), Quote(item.code), Quote(item.category), Quote(item.name), Num(item.price), Num(item.discount),
             Quote(item.unit));
}

QString InsertContactSql(const QString& table, const Contact& c)
{
    return QStringLiteral("insert into %1 values(%2, %3, %4, %5, %6)")
        .arg(bt(table), Quote(c.code), Quote(c.name), Quote(c.address), Quote(c.phone), Quote(c.fax));
}

namespace {

void changed(QStringList& set, const char* column, const QString& loaded, const QString& edited)
{
    if (edited != loaded)
        set << QLatin1String(column) + QLatin1Char('=') + Quote(edited);
}

void changed(QStringList& set, const char* column, double loaded, double edited)
{
    if (edited != loaded)
        set << QLatin1String(column) + QLatin1Char('=') + Num(edited);
}

} // namespace

QStringList ItemChanges(const Item& loaded, const Item& edited)
{
    QStringList set;
    changed(set, "code", loaded.code, edited.code);
    changed(set, "category", loaded.category, edited.category);
    changed(set, "`name`", loaded.name, edited.name);
    changed(set, "price", loaded.price, edited.price);
    changed(set, "discount", loaded.discount, edited.discount);
    changed(set, "satuan", loaded.unit, edited.unit);
    return set;
}

QStringList ContactChanges(const Contact& loaded, const Contact& edited)
{
    QStringList set;
    changed(set, "code", loaded.code, edited.code);
    changed(set, "`name`", loaded.name, edited.name);
    changed(set, "address", loaded.address, edited.address);
    changed(set, "phone", loaded.phone, edited.phone);
    changed(set, "fax", loaded.fax, edited.fax);
    return set;
}

QString UpdateSql(const QString& table, const QStringList& changes, const QString& code)
{
    return QStringLiteral("update %1 set %2 where code=%3")
        .arg(bt(table), changes.join(QStringLiteral(", ")), Quote(code));
}

namespace {

Outcome add(platform::DbConnection& db, const QString& table, const QString& code, const QString& insert)
{
    platform::DbTransaction tx(db);
    if (CodeExists(db, table, code))
        return Outcome::Taken;
    db.Execute(insert);
    tx.commit();
    return Outcome::Saved;
}

Outcome edit(platform::DbConnection& db, const QString& table, const QString& oldCode, const QString& newCode,
             const QStringList& changes)
{
    platform::DbTransaction tx(db);
    if (!CodeExists(db, table, oldCode))
        return Outcome::Gone;
    if (CodeTaken(db, table, oldCode, newCode))
        return Outcome::Taken;
    if (!changes.isEmpty())
        db.Execute(UpdateSql(table, changes, oldCode));
    tx.commit();
    return Outcome::Saved;
}

} // namespace

Outcome AddItem(platform::DbConnection& db, const QString& table, const Item& item)
{
    return add(db, table, item.code, InsertItemSql(table, item));
}

Outcome AddContact(platform::DbConnection& db, const QString& table, const Contact& contact)
{
    return add(db, table, contact.code, InsertContactSql(table, contact));
}

Outcome EditItem(platform::DbConnection& db, const QString& table, const Item& loaded, const Item& edited)
{
    return edit(db, table, loaded.code, edited.code, ItemChanges(loaded, edited));
}

Outcome EditContact(platform::DbConnection& db, const QString& table, const Contact& loaded, const Contact& edited)
{
    return edit(db, table, loaded.code, edited.code, ContactChanges(loaded, edited));
}

QString DeleteSql(const QString& table, const QString& code)
{
    return QStringLiteral("delete from %1 where code=%2").arg(bt(table), Quote(code));
}

QString RecordSql(const QString& table, const QString& code)
{
    return QStringLiteral("select * from %1 where code=%2").arg(bt(table), Quote(code));
}

QString NameByCodeSql(const QString& table, const QString& code)
{
    return QStringLiteral("select `name` from %1 where code=%2").arg(bt(table), Quote(code));
}

QString CodeByCodeSql(const QString& table, const QString& code)
{
    return QStringLiteral("select `code` from %1 where code=%2").arg(bt(table), Quote(code));
}

QString DistinctCategoriesSql(const QString& table)
{
    return QStringLiteral("select distinct category from %1").arg(bt(table));
}

QString DistinctUnitsSql(const QString& table)
{
    return QStringLiteral("select distinct satuan from %1").arg(bt(table));
}

static QString withWhere(QString sql, const QString& where)
{
    if (!where.isEmpty())
        sql += QLatin1Char(' ') + where;
    return sql;
}

QString ItemsListSql(const QString& table, const QString& where)
{
    return withWhere(QStringLiteral("select code, category, `name`, price, discount, %1 as total, satuan from %2")
                         .arg(kNet, bt(table)),
                     where);
}

QString ContactsListSql(const QString& table, const QString& where)
{
    return withWhere(QStringLiteral("select code, `name`, address, phone, fax from %1").arg(bt(table)), where);
}

QString ItemsExportSql(const QString& table, const QString& where)
{
    // The discount stays a number: the workbook shows it as a percent.
    return withWhere(QStringLiteral("select code, category, `name` as description, price, discount, %1 as total, "
                                    "satuan as unit from %2")
                         .arg(kNet, bt(table)),
                     where);
}

QString ContactsExportSql(const QString& table, const QString& where)
{
    return withWhere(QStringLiteral("select code, `name` as description, address, phone, fax from %1").arg(bt(table)),
                     where);
}

QString ItemSuggestionsSelect(const QString& table)
{
    return QStringLiteral("select code, category, `name`, price, discount, %1 as total from %2").arg(kNet, bt(table));
}

QString ItemSuggestionsCondition(const QString& typed)
{
    return QStringLiteral("where `code` like ") + LikePrefix(typed);
}

QString ItemSuggestionsSql(const QString& table, const QString& typed)
{
    return ItemSuggestionsSelect(table) + QLatin1Char(' ') + ItemSuggestionsCondition(typed) +
           QStringLiteral(" order by code");
}

// ---------------------------------------------------------------- conditions

QString LikePrefix(const QString& text)
{
    return likeLiteral(QString(), text, QStringLiteral("%"));
}

QString LikeContains(const QString& text)
{
    return likeLiteral(QStringLiteral("%"), text, QStringLiteral("%"));
}

QString CategoryCondition(const QString& category)
{
    return QStringLiteral("where category=") + Quote(category);
}

QString FieldCondition(const QString& field, const QString& text)
{
    return QStringLiteral("where %1 like %2").arg(field, LikePrefix(text));
}

QString ItemSearchCondition(const QString& keyword)
{
    const QString p = LikeContains(keyword);
    return QStringLiteral("where code like %1 or category like %1 or `name` like %1").arg(p);
}

QString ContactSearchCondition(const QString& keyword)
{
    const QString p = LikeContains(keyword);
    return QStringLiteral(
               "where code like %1 or `name` like %1 or `address` like %1 or `phone` like %1 or `fax` like %1")
        .arg(p);
}

QString ItemFilterField(int index)
{
    switch (index) {
    case 0: return QStringLiteral("Code");
    case 1: return QStringLiteral("Category");
    case 2: return QStringLiteral("Name");
    case 3: return QStringLiteral("Price");
    case 4: return QStringLiteral("Discount");
    case 5: return kNet;
    case 6: return QStringLiteral("Satuan");
    default: return QString();
    }
}

QString ContactFilterField(int index)
{
    switch (index) {
    case 0: return QStringLiteral("Code");
    case 1: return QStringLiteral("Name");
    case 2: return QStringLiteral("Address");
    case 3: return QStringLiteral("Phone");
    case 4: return QStringLiteral("Fax");
    default: return QString();
    }
}

// ---------------------------------------------------------------- rows

QStringList ItemTitleKeys()
{
    return {QStringLiteral("tCode"),  QStringLiteral("tCategory"), QStringLiteral("tDescription"),
            QStringLiteral("tPrice"), QStringLiteral("tDiscount"), QStringLiteral("tTotal"),
            QStringLiteral("tUnit")};
}

QStringList ContactTitleKeys()
{
    return {QStringLiteral("tCode"), QStringLiteral("tName"), QStringLiteral("tAddress"), QStringLiteral("tPhone"),
            QStringLiteral("tFax")};
}

QString ItemTitleRow(const QStringList& titles)
{
    QStringList cells;
    for (int i = 0; i < 7; ++i)
        cells << cell(titles.value(i), kItemWidths[i], kItemRight[i]);
    return cells.join(QLatin1Char(' '));
}

QString ContactTitleRow(const QStringList& titles)
{
    QStringList cells;
    for (int i = 0; i < 5; ++i)
        cells << cell(titles.value(i), kContactWidths[i], false);
    return cells.join(QLatin1Char(' '));
}

namespace {

// A list row is built in one text: a list holds tens of thousands of them,
// and a text per cell joined afterwards costs more than reading the rows.
void appendCell(QString& line, int column, const QString& text, int width, bool right)
{
    if (column > 0)
        line += QLatin1Char(' ');
    right ? platform::AppendRight(line, text, width) : platform::AppendLeft(line, text, width);
}

const char* const kItemColumns[] = {"Code", "Category", "Name", "Price", "Discount", "Total", "satuan"};
const char* const kContactColumns[] = {"Code", "Name", "Address", "Phone", "Fax"};

template <size_t N> std::array<int, N> columnsOf(const platform::DbRecordset& rs, const char* const (&names)[N])
{
    std::array<int, N> at{};
    for (size_t i = 0; i < N; ++i)
        at[i] = rs.FieldIndex(QLatin1String(names[i]));
    return at;
}

void itemRow(QString& line, const platform::DbRecordset& rs, const std::array<int, 7>& at)
{
    const QString texts[] = {
        rs.Fields(at[0]).toString(),
        rs.Fields(at[1]).toString(),
        rs.Fields(at[2]).toString(),
        platform::FormatAmount(rs.Fields(at[3]).toDouble()),
        rs.Fields(at[4]).toString() + QLatin1Char('%'),
        platform::FormatAmount(rs.Fields(at[5]).toDouble()),
        rs.Fields(at[6]).toString(),
    };
    for (int i = 0; i < 7; ++i)
        appendCell(line, i, texts[i], kItemWidths[i], kItemRight[i]);
}

void contactRow(QString& line, const platform::DbRecordset& rs, const std::array<int, 5>& at)
{
    for (int i = 0; i < 5; ++i)
        appendCell(line, i, rs.Fields(at[i]).toString(), kContactWidths[i], false);
}

} // namespace

namespace {

template <size_t N>
platform::RowMaker rowMaker(platform::DbRecordset& rs, const char* const (&names)[N],
                            void (*row)(QString&, const platform::DbRecordset&, const std::array<int, N>&))
{
    return [&rs, row, at = columnsOf(rs, names)](QString& line) {
        if (rs.Eof())
            return false;
        line.resize(0);
        row(line, rs, at);
        rs.MoveNext();
        return true;
    };
}

} // namespace

QString ItemRow(const platform::DbRecordset& rs)
{
    QString line;
    itemRow(line, rs, columnsOf(rs, kItemColumns));
    return line;
}

QString ContactRow(const platform::DbRecordset& rs)
{
    QString line;
    contactRow(line, rs, columnsOf(rs, kContactColumns));
    return line;
}

platform::RowMaker ItemRowMaker(platform::DbRecordset& rs)
{
    return rowMaker(rs, kItemColumns, itemRow);
}

platform::RowMaker ContactRowMaker(platform::DbRecordset& rs)
{
    return rowMaker(rs, kContactColumns, contactRow);
}

QString RowCode(const QString& row)
{
    return row.left(8).trimmed();
}

// ---------------------------------------------------------------- outputs

QString Rule()
{
    return QString(212, QLatin1Char('-'));
}

QStringList PrintHead(const QString& caption, const PrintFilters& f)
{
    const QString label = Pad(100), value = Pad(15);
    QStringList lines;
    lines << caption.toUpper();
    if (!f.category.isEmpty() && f.category != f.allCategory)
        lines << AlignRight(QStringLiteral("Kategori:"), label) + QLatin1Char(' ') + AlignLeft(f.category, value);
    if (!f.search.isEmpty())
        lines << AlignRight(QStringLiteral("Keyword Pencarian:"), label) + QLatin1Char(' ') +
                     AlignLeft(f.search, value);
    if (!f.fieldCaption.isEmpty() && !f.filter.isEmpty())
        lines << AlignRight(QStringLiteral("Filter By %1:").arg(f.fieldCaption), label) + QLatin1Char(' ') +
                     AlignLeft(f.filter, value);
    lines << QString() << Rule();
    return lines;
}

void ExportList(platform::DbConnection& db, const QString& sql, bool items, const QStringList& titles,
                const QString& path)
{
    if (items)
        ExportQuery(db, sql, titles.mid(0, 7), {4, 6}, {5}, path);
    else
        ExportQuery(db, sql, titles.mid(0, 5), {}, {}, path);
}

void ExportQuery(platform::DbConnection& db, const QString& sql, const QStringList& titles,
                 const QList<int>& amountColumns, const QList<int>& percentColumns, const QString& path)
{
    platform::SheetWriter sheet(path);
    const int columns = static_cast<int>(titles.size());
    std::vector<int> longest(size_t(columns) + 1, 0);
    platform::Cell cell;
    cell.fontName = QStringLiteral("Tahoma");
    cell.fontSize = 9;
    cell.border = true;
    const auto put = [&](int row, int col) {
        longest[size_t(col)] = std::max(longest[size_t(col)], platform::ShownLength(cell));
        sheet.write(row, col, cell);
    };
    cell.bold = true;
    for (int c = 1; c <= columns; ++c) {
        cell.value = titles.value(c - 1);
        put(1, c);
    }
    cell.bold = false;
    auto rs = db.OpenCursor(sql);
    for (int r = 2; !rs->Eof(); rs->MoveNext(), ++r) {
        for (int c = 1; c <= columns; ++c) {
            const platform::DbField f = rs->Fields(c - 1);
            cell.value = f.Value();
            cell.numberFormat.clear();
            if (amountColumns.contains(c)) {
                cell.numberFormat = QStringLiteral("#,##0");
            } else if (percentColumns.contains(c)) {
                // "#0 %" shows a fraction: 15 percent is written as 0.15.
                cell.value = f.isNull() ? QVariant() : QVariant(f.toDouble() / 100.0);
                cell.numberFormat = QStringLiteral("#0 %");
            }
            put(r, c);
        }
    }
    for (int c = 1; c <= columns; ++c)
        sheet.setColumn(c, platform::FittedWidth(longest[size_t(c)]), nullptr);
    sheet.close();
}

} // namespace catalogue
