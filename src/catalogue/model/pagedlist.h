#pragma once
// A list of a whole table (or of one category of it, or of the rows a word
// finds) read a page at a time as it comes into sight. The keys of its rows
// are read once when it is made, in the order of the list query read
// straight through; a row's place is its key's place from then on, and each
// page reads the rows of its keys. So another workstation's insert, edit or
// delete never moves a row under a tick or the selection: a row deleted
// meanwhile shows empty, one added is not listed until the list is filled
// again.
#include "data/db.h"
#include "data/rowsource.h"

#include <QString>
#include <QStringList>
#include <atomic>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

namespace catalogue {

class PagedList : public platform::RowSource {
public:
    // A row's text from the list query's record.
    using MakeRow = std::function<QString(const platform::DbRecordset&)>;
    // select: the list query without its condition ("select … from …");
    // where: "" or "where …"; keys: the row keys that order it (rowKey, or
    // the tables' row ids of a join, outer first); tables: those it reads,
    // whose stamps keep its keys from one filling to the next.
    // order: the columns the list is sorted by before its keys, or "" for
    // the order a scan gives (that of the outer key).
    PagedList(platform::DbConnection& db, const QString& select, const QString& where, const QStringList& keys,
              MakeRow make, const QStringList& tables = {}, const QString& order = {}, qsizetype width = -1);
    qsizetype count() const override;
    void read(qsizetype first, qsizetype n, QStringList& out) override;
    // As told when made; by default not told (the rule above a catalogue
    // list is wider than any of its rows).
    qsizetype width() const override { return m_width; }
    bool searchable() const override { return true; }

    // The keys of the rows, a row after another, each as many numbers as
    // the list has keys.
    using Keys = std::vector<qint64>;

private:
    platform::DbConnection& m_db;
    QString m_columns; // "select …" up to its from
    QString m_from;    // " from …"
    QString m_where;   // the condition without its "where"
    QStringList m_keys;
    MakeRow m_make;
    qsizetype m_width = -1;
    std::shared_ptr<const Keys> m_rows;
};

// The keys of a list as a PagedList of the same arguments reads them, read
// ahead on a connection of its own to the same database, in a thread of its
// own, into the keys the lists keep: a PagedList made later finds
// them there while the list's tables are unchanged (the same stamps tell).
// Nothing waits for it: a list filled before it is done reads its keys
// itself, as it would without it. Its end waits for its thread.
class KeysAhead {
public:
    KeysAhead(platform::DbConnection& db, const QString& select, const QString& where, const QStringList& keys,
              const QStringList& tables, const QString& order = {});
    ~KeysAhead();
    KeysAhead(const KeysAhead&) = delete;
    KeysAhead& operator=(const KeysAhead&) = delete;
    bool done() const { return m_done; }

private:
    std::atomic<bool> m_done{false};
    std::thread m_thread;
};

// Whether a list can be read by pages: a database file, or a server whose
// tables took the column that numbers their rows (see rowKey).
bool CanPage(platform::DbConnection& db);

} // namespace catalogue
