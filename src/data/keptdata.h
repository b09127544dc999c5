#pragma once
// What the database keeps for the program beside the shop's own tables, all
// made or checked in one place: the running totals (summaries.h: cash,
// stock months, journal days), a number that each write to the tables whose
// names the windows keep draws anew (so that another workstation's sale does
// not make a till read its name lists again), and on a server the numbers by which
// the lists read their rows a page at a time. The business tables these
// cover are named here, not in the connection.
#include "data/summaries.h"

#include <exception>

namespace platform {

class DbConnection;

// Everything above for the open database, at a login or after a restore
// (restored: the database was put back from a copy, whose drawn number
// may meet one read before, and is told apart from then on). The totals'
// build reports its progress; a build that failed is given in failure and
// tried again at the next call. Each part that the database cannot take
// (read only, no right to create triggers or alter tables) is left out,
// and its readers do without it.
void EnsureKeptData(DbConnection& db, bool restored, const SummaryProgress& progress = {},
                    std::exception_ptr* failure = nullptr);

// Gives the database a number that triggers draw anew at each write to the
// tables whose names the windows keep (contacts, items, the inventory), so
// that a commit elsewhere moves those tables' stamps only when it wrote one
// of them, on a file and on a server alike; false where it cannot, and the
// stamps then follow every commit.
bool EnsureNameStamp(DbConnection& db, bool renew = false);

// Gives those tables, on a server, a column that numbers their rows in the
// order the server keeps them, once: invisible, so that `select *` and an
// insert without a column list (of this program and of any other client)
// see each table as before, and filled by the server for every new row. A
// server that refuses it is left as it is; false then. True on a file.
bool EnsureRowKeys(DbConnection& db);

} // namespace platform
