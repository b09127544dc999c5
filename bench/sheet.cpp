#include "sheet.h"

#include <QFile>
#include <stdexcept>
#include <xlsxwriter.h>

namespace {

lxw_format* CellFormat(lxw_workbook* book)
{
    lxw_format* f = workbook_add_format(book);
    format_set_font_name(f, "Tahoma");
    format_set_font_size(f, 9);
    format_set_border(f, LXW_BORDER_THIN);
    return f;
}

} // namespace

BareSheet::BareSheet(const QString& path)
{
    lxw_workbook_options options = {};
    options.constant_memory = LXW_TRUE;
    m_book = workbook_new_opt(QFile::encodeName(path).constData(), &options);
    if (!m_book)
        throw std::runtime_error("the floor's workbook cannot be made");
    m_sheet = workbook_add_worksheet(m_book, nullptr);
    m_title = CellFormat(m_book);
    format_set_bold(m_title);
    m_plain = CellFormat(m_book);
    m_amount = CellFormat(m_book);
    format_set_num_format(m_amount, "#,##0");
    m_date = CellFormat(m_book);
    format_set_num_format_index(m_date, 14);
}

BareSheet::~BareSheet()
{
    if (m_book)
        workbook_close(m_book);
}

void BareSheet::title(int row, int col, const char* text)
{
    worksheet_write_string(m_sheet, lxw_row_t(row), lxw_col_t(col), text, m_title);
}

void BareSheet::text(int row, int col, const char* text)
{
    worksheet_write_string(m_sheet, lxw_row_t(row), lxw_col_t(col), text, m_plain);
}

void BareSheet::number(int row, int col, double value, bool amount)
{
    worksheet_write_number(m_sheet, lxw_row_t(row), lxw_col_t(col), value, amount ? m_amount : m_plain);
}

void BareSheet::date(int row, int col, const QDate& day)
{
    lxw_datetime dt = {day.year(), day.month(), day.day(), 0, 0, 0};
    worksheet_write_datetime(m_sheet, lxw_row_t(row), lxw_col_t(col), &dt, m_date);
}

void BareSheet::close()
{
    lxw_workbook* book = m_book;
    m_book = nullptr;
    if (workbook_close(book) != LXW_NO_ERROR)
        throw std::runtime_error("the floor's workbook cannot be written");
}
