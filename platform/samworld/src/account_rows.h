// Reading rows: accounts (one column list, one reader) and pages of a listing.
#pragma once

#include "samworld/database.h"
#include "samworld/records.h"

#include <string>
#include <string_view>
#include <vector>

namespace samworld {

// Columns 0-7 of every account query (accounts as a, their SAM as s).
inline constexpr std::string_view accountColumns =
    "a.id, a.rid, a.name, a.kind, a.builtin, a.comment, s.name, s.sid ";
inline const std::string accountSelect =
    "SELECT " + std::string(accountColumns) + "FROM accounts a JOIN sams s ON s.id = a.sam_id ";

// Columns 0-5 of the account, of the SAM given.
inline Account readAccount(const Statement &row, std::string samName, std::string_view samSid) {
    Account account;
    account.id = row.integer(0);
    account.rid = static_cast<uint32_t>(row.integer(1));
    account.name = row.text(2);
    account.kind = static_cast<AccountKind>(row.integer(3));
    account.builtin = row.integer(4) != 0;
    account.comment = row.text(5);
    account.samName = std::move(samName);
    account.sid.reserve(samSid.size() + 11);
    account.sid.append(samSid).append("-").append(std::to_string(account.rid));
    return account;
}

inline Account readAccount(const Statement &row) { return readAccount(row, row.text(6), row.text(7)); }

inline std::vector<Account> readAccounts(Statement &query) {
    std::vector<Account> accounts;
    while (query.step()) accounts.push_back(readAccount(query));
    return accounts;
}

// Rows whose column keyColumn is the resume key, each made an entry by read(row), read no
// further than the first entry that `accept` refuses.
template <class T, class Read>
Page<T> readPage(Statement &query, int keyColumn, const Accept<T> &accept, const Read &read) {
    Page<T> page;
    while (query.step()) {
        T entry = read(query);
        if (!accept(entry)) {
            page.more = true;
            break;
        }
        page.entries.push_back({query.integer(keyColumn), std::move(entry)});
    }
    return page;
}

}  // namespace samworld
