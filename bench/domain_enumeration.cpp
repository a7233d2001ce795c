#include "domain_enumeration.h"

#include "vantry_api/NameList.h"
#include "vantry_api/modVantryDeclare.h"

#include <functional>
#include <stdexcept>

namespace {

namespace api = modVantryDeclare;

std::vector<std::string> enumerate(const std::function<uint32_t(HWND)> &call, const char *name) {
    StringNameList list;
    if (const uint32_t status = call(list.window()); status != 0) {
        throw std::runtime_error(std::string(name) + " failed with status " +
                                 std::to_string(status));
    }
    return list.names();
}

}  // namespace

Enumerated enumerateDomain(const char *server) {
    Enumerated result;
    result.users = enumerate([&](HWND w) { return api::GetAllUsers(server, api::kListBox, w); },
                             "GetAllUsers");
    for (const bool isGlobal : {false, true}) {
        const int32_t global = isGlobal ? api::kTrue : api::kFalse;
        for (auto &name :
             enumerate([&](HWND w) { return api::GetAllGroups(global, server, api::kListBox, w); },
                       "GetAllGroups")) {
            result.groups.emplace_back(std::move(name), isGlobal);
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
