#pragma once
// The ledger panel of the main window: one report at a time as fixed-width
// rows in liLedger, chosen by kind (liPage), date range (liFrom, liTo) and,
// for the journal, a column and a prefix filter; printed and exported as it
// stands. The reports themselves are built by the widget-free builders of
// ledger/model.
#include "ledger/model/reports.h"
#include "platform/controls.h"
#include "shell/panels.h"

#include <QObject>
#include <QTimer>
#include <QVector>
#include <iterator>

class fMain;

// The journal row ID of each line of a list, read from the line itself
// (its last 20 characters) for the lines that are journal rows: the list
// holds no ID of its own, so that a year's journal costs only the lines on
// the screen. 0 for a line that is no journal row.
class LineIdList {
public:
    void set(const platform::ListBox* list, qsizetype first, qsizetype count);
    int size() const;
    qint64 value(int line, qint64 fallback = 0) const;
    int indexOf(qint64 id) const;
    bool contains(qint64 id) const { return indexOf(id) >= 0; }
    QVector<qint64> mid(int pos, int n = -1) const;

    class iterator {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = qint64;
        using difference_type = std::ptrdiff_t;
        using pointer = const qint64*;
        using reference = qint64;
        iterator(const LineIdList* ids, int at) : m_ids(ids), m_at(at) {}
        qint64 operator*() const { return m_ids->value(m_at); }
        iterator& operator++()
        {
            ++m_at;
            return *this;
        }
        iterator operator++(int)
        {
            iterator was = *this;
            ++m_at;
            return was;
        }
        bool operator==(const iterator& o) const { return m_at == o.m_at; }
        bool operator!=(const iterator& o) const { return m_at != o.m_at; }

    private:
        const LineIdList* m_ids;
        int m_at;
    };
    iterator begin() const { return iterator(this, 0); }
    iterator end() const { return iterator(this, size()); }

private:
    const platform::ListBox* m_list = nullptr;
    qsizetype m_first = 0;
    qsizetype m_count = 0;
};

class LedgerPanelView : public QObject, public LedgerPanel {
    Q_OBJECT
public:
    // Builds the panel's controls inside the main window's pLedger.
    explicit LedgerPanelView(fMain* main);

    // ---- Services of the panel (LedgerPanel)
    void liPage_Click() override;
    void lbPrint_Click() override;
    void lbAdd_Click() override;
    void RefreshIfStale() override;
    void ClearReport() override;
    void StartSession() override;
    // The stock has changed: a stock report shown is rebuilt.
    void StockChanged();
    // The settings have changed: a report whose warehouse column no longer
    // follows the setting is rebuilt.
    void SettingsChanged();
    // Shows the journal, rebuilt.
    void ShowJournal();
    void FocusPage() override;

    // ---- Handlers
    void liPage_Change();
    void liFrom_Change();
    void liTo_Change();
    // Enter in a date field shows the range at once.
    void liFrom_KeyDown(int& KeyCode, int Shift);
    void liTo_KeyDown(int& KeyCode, int Shift);
    void liCategory_Click();
    void liCategory_KeyDown(int& KeyCode, int Shift);
    void liFilter_Change();
    void liFilter_GotFocus();
    void liFilter_LostFocus();
    void lbRefresh_Click();
    void lbExcel_Click();
    // The journal row buttons and their shortcuts in the list.
    void lbEdit_Click();
    void lbDelete_Click();
    void liLedger_DblClick();
    void liLedger_KeyDown(int& KeyCode, int Shift);
    // The journal row id of the selected line; 0 for none or a line that
    // is no journal row.
    qint64 GetSelectedLiLedgerID() const;
    // Enables the journal-only controls while the journal is shown. It runs
    // on every change of the report kind instead of on a fast timer.
    void tJurnal_Timer();

    // The kind words of the selected page, Indonesian and English.
    QString GetPage() const;
    QString GetPage2() const;
    // Rewrites the journal's six amount columns from kind, debit and credit.
    void Ex();

    // The row query of the report built last; the export runs it again.
    QString ReportSql;
    // The journal row id of each line of liLedger (0 for none).
    LineIdList LineIds;

    platform::ComboBox* liPage = nullptr;
    platform::ComboBox* liCategory = nullptr;
    platform::DateTimePick* liTo = nullptr;
    platform::Label* lcReport;
    platform::Label* lcFrom;
    platform::Label* lcTo;
    platform::Label* lcFilter;
    platform::DateTimePick* liFrom;
    platform::TextBox* liFilter;
    platform::ListBox* liLedger;
    platform::WanButton* lbRefresh;
    platform::WanButton* lbAdd;
    platform::WanButton* lbEdit;
    platform::WanButton* lbDelete;
    platform::WanButton* lbPrint;
    platform::WanButton* lbExcel;

private:
    void build(QWidget* panel);
    void wire();
    ledger::ReportRange range() const;
    bool warehouseColumn() const;
    // False while no database is open (the pickers change before a login).
    bool canBuild() const;
    // Whether the operator sees the panel now.
    bool seen() const;
    void rebuild();
    void journalChanged();
    // The text of the selected line of liLedger; "" for none.
    QString selectedLine() const;

    fMain* m_main;
    // A rebuild asked for while the panel was hidden, done when it shows.
    bool m_stale = false;
    // Whether the report shown has the warehouse column (the setting when
    // it was built).
    bool m_warehouseShown = false;
    // The journal row dialog is open over the panel.
    bool m_rowDialogOpen = false;
    // Arrow steps and typed digits in the date fields come many a second:
    // the report follows once the dates have rested.
    QTimer* m_rangeRest;
};
