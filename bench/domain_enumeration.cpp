#include "domain_enumeration.h"

#include "vantry_api/NameList.h"
#include "vantry_api/modVantryDeclare.h"

#include <functional>
#include <stdexcept>

namespace {

namespace api = modVantryDeclare;

// The names, and into details (when given) what the listing said of each.
std::vector<std::string> enumerate(const std::function<uint32_t(HWND)> &call, const char *name,
                                   std::vector<ListedDetails> *details = nullptr) {
    StringNameList list;
    if (const uint32_t status = call(list.window()); status != 0) {
        throw std::runtime_error(std::string(name) + " failed with status " +
                                 std::to_string(status));
    }
    for (int64_t i = 0; details != nullptr && i < list.count(); ++i) {
        const ListedDetails *listed = list.details(i);
        details->push_back(listed != nullptr ? *listed : ListedDetails{});
    }
    return list.names();
}

}  // namespace

Enumerated enumerateDomain(const char *server) {
    Enumerated result;
    result.users = enumerate([&](HWND w) { return api::GetAllUsers(server, api::kListBox, w); },
                             "GetAllUsers", &result.userDetails);
    for (const bool isGlobal : {false, true}) {
        const int32_t global = isGlobal ? api::kTrue : api::kFalse;
        std::vector<ListedDetails> details;
        for (auto &name :
             enumerate([&](HWND w) { return api::GetAllGroups(global, server, api::kListBox, w); },
                       "GetAllGroups", &details)) {
            result.groups.emplace_back(std::move(name), isGlobal);
        }
        for (ListedDetails &group : details) {
            result.groupComments.push_back(std::move(group.comment));
        }
    }
    for (const auto &[group, isGlobal] : result.groups) {
        result.members.push_back(enumerate(
            [&](HWND w) {
                return isGlobal ? api::GetGroupUsers(server, group.c_str(), api::kListBox, w)
                                : api::GetLocalGroupUsers(server, group.c_str(), api::kListBox, w);
            },
            "members"));
    }
    return result;
}
