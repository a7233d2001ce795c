// Reading accounts from rows: one column list, one reader.
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

inline Account readAccount(const Statement &row) {
    Account account;
    account.id = row.integer(0);
    account.rid = static_cast<uint32_t>(row.integer(1));
    account.name = row.text(2);
    account.kind = static_cast<AccountKind>(row.integer(3));
    account.builtin = row.integer(4) != 0;
    account.comment = row.text(5);
    account.samName = row.text(6);
    account.sid = row.text(7) + "-" + std::to_string(account.rid);
    return account;
}

inline std::vector<Account> readAccounts(Statement &query) {
    std::vector<Account> accounts;
    while (query.step()) accounts.push_back(readAccount(query));
    return accounts;
}

// Rows whose ninth column (index 8) is the resume key, read no further than the first account
// that `accept` refuses.
inline Page<Account> readPage(Statement &query, const Accept<Account> &accept) {
    Page<Account> page;
    while (query.step()) {
        Account account = readAccount(query);
        if (!accept(account)) {
            page.more = true;
            break;
        }
        page.entries.push_back({query.integer(8), std::move(account)});
    }
    return page;
}

}  // namespace samworld
