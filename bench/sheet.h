#pragma once
// libxlsxwriter alone writing a sheet, each row as soon as it is read, the
// way the program's export asks it to (constant memory, a thin border and
// the report's font on every cell): the floor of an export.
#include <QByteArray>
#include <QDate>
#include <QString>

struct lxw_workbook;
struct lxw_worksheet;
struct lxw_format;

class BareSheet {
public:
    explicit BareSheet(const QString& path);
    ~BareSheet();
    BareSheet(const BareSheet&) = delete;
    BareSheet& operator=(const BareSheet&) = delete;

    // Rows and columns count from 0.
    void title(int row, int col, const char* text);
    void text(int row, int col, const char* text);
    void number(int row, int col, double value, bool amount);
    void date(int row, int col, const QDate& day);
    void close();

private:
    lxw_workbook* m_book = nullptr;
    lxw_worksheet* m_sheet = nullptr;
    lxw_format *m_title = nullptr, *m_plain = nullptr, *m_amount = nullptr, *m_date = nullptr;
};
