// The exports that list users, groups and memberships.
#include "vantry.h"

#include "netclient/text.hpp"
#include "enumeration.hpp"

#include <string_view>

using namespace netclient;
using namespace vantry;

// The details are converted with the names, before anything is sent: a batch that cannot be
// converted delivers nothing, details or names.
uint32_t vantry::deliverNames(const ListTarget &target, std::span<const DetailedName> entries) {
    struct NarrowDetails {
        std::string fullName, comment;
    };
    std::vector<NarrowDetails> details(entries.size());
    std::vector<std::u16string> names;
    names.reserve(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        for (const auto &[wide, text] : {std::pair{&entries[i].fullName, &details[i].fullName},
                                         std::pair{&entries[i].comment, &details[i].comment}}) {
            if (const uint32_t status = toNarrow(wide->c_str(), *text); status != NERR_Success) {
                return status;
            }
        }
        names.push_back(entries[i].name);
    }
    static const UINT detailsMessage = RegisterWindowMessageA(VANTRY_LIST_DETAILS_MESSAGE);
    return target.deliver(names, [&](HWND window, std::size_t i) {
        const ListDetails sent{details[i].fullName.c_str(), details[i].comment.c_str(),
                               entries[i].flags};
        SendMessageA(window, detailsMessage, 0, reinterpret_cast<LPARAM>(&sent));
    });
}

namespace {

// The kind of a local group's member, as the last two characters of its listed text.
std::u16string_view memberKindSuffix(SID_NAME_USE kind) {
    switch (kind) {
        case SidTypeUser: return u"\\u";
        case SidTypeGroup: return u"\\g";
        default: return u"\\x";
    }
}

std::optional<std::u16string> memberWithKind(const LOCALGROUP_MEMBERS_INFO_2 &member) {
    std::optional<std::u16string> name = listedName(member.lgrmi2_domainandname);
    if (name) name->append(memberKindSuffix(member.lgrmi2_sidusage));
    return name;
}

std::optional<std::u16string> memberIfUser(const LOCALGROUP_MEMBERS_INFO_2 &member) {
    if (member.lgrmi2_sidusage != SidTypeUser) return std::nullopt;
    return listedName(member.lgrmi2_domainandname);
}

std::u16string textOrEmpty(const char16_t *text) { return text != nullptr ? text : u""; }

// A user of a level-20 listing, with its full name, comment and flags.
std::optional<DetailedName> userWithDetails(const USER_INFO_20 &user) {
    if (user.usri20_name == nullptr) return std::nullopt;
    return DetailedName{user.usri20_name, textOrEmpty(user.usri20_full_name),
                        textOrEmpty(user.usri20_comment), user.usri20_flags};
}

// A group of a level-1 listing, with its comment.
template <typename Entry>
auto groupWithComment(LPWSTR Entry::*name, LPWSTR Entry::*comment) {
    return [name, comment](const Entry &group) -> std::optional<DetailedName> {
        if (group.*name == nullptr) return std::nullopt;
        return DetailedName{group.*name, u"", textOrEmpty(group.*comment), 0};
    };
}

// Every member of a local group, asked for at `level`, whose entries are Entry.
template <typename Entry, typename NameOf>
uint32_t deliverLocalGroupMembers(const char *server, const char *group, DWORD level,
                                  NameOf nameOf, int32_t listKind, HWND window) {
    WideText wideServer, wideGroup;
    if (const uint32_t status = toWide({{server, wideServer}, {group, wideGroup}})) return status;
    DWORD_PTR resume = 0;
    return deliverResumed<Entry>(
        [&](LPBYTE *buffer, DWORD *entriesRead) {
            DWORD total = 0;
            return NetLocalGroupGetMembers(wideServer.get(), wideGroup.get(), level, buffer,
                                           kLocalMemberBatchBytes, entriesRead, &total, &resume);
        },
        nameOf, ListTarget(listKind, window));
}

}  // namespace

extern "C" {

uint32_t GetAllUsers(const char *server, int32_t listKind, HWND window) {
    WideText wideServer;
    if (const uint32_t status = toWide({{server, wideServer}})) return status;
    DWORD resume = 0;
    return deliverResumed<USER_INFO_20>(
        [&](LPBYTE *buffer, DWORD *entriesRead) {
            DWORD total = 0;
            return NetUserEnum(wideServer.get(), 20, FILTER_NORMAL_ACCOUNT, buffer,
                               kAccountBatchBytes, entriesRead, &total, &resume);
        },
        userWithDetails, ListTarget(listKind, window));
}

uint32_t GetAllGroups(int32_t global, const char *server, int32_t listKind, HWND window) {
    WideText wideServer;
    if (const uint32_t status = toWide({{server, wideServer}})) return status;
    const ListTarget target(listKind, window);
    DWORD_PTR resume = 0;
    if (global != 0) {
        return deliverResumed<GROUP_INFO_1>(
            [&](LPBYTE *buffer, DWORD *entriesRead) {
                DWORD total = 0;
                return NetGroupEnum(wideServer.get(), 1, buffer, kAccountBatchBytes, entriesRead,
                                    &total, &resume);
            },
            groupWithComment(&GROUP_INFO_1::grpi1_name, &GROUP_INFO_1::grpi1_comment), target);
    }
    return deliverResumed<LOCALGROUP_INFO_1>(
        [&](LPBYTE *buffer, DWORD *entriesRead) {
            DWORD total = 0;
            return NetLocalGroupEnum(wideServer.get(), 1, buffer, kAccountBatchBytes, entriesRead,
                                     &total, &resume);
        },
        groupWithComment(&LOCALGROUP_INFO_1::lgrpi1_name, &LOCALGROUP_INFO_1::lgrpi1_comment),
        target);
}

uint32_t GetGroupUsers(const char *server, const char *group, int32_t listKind, HWND window) {
    WideText wideServer, wideGroup;
    if (const uint32_t status = toWide({{server, wideServer}, {group, wideGroup}})) return status;
    DWORD_PTR resume = 0;
    return deliverResumed<GROUP_USERS_INFO_0>(
        [&](LPBYTE *buffer, DWORD *entriesRead) {
            DWORD total = 0;
            return NetGroupGetUsers(wideServer.get(), wideGroup.get(), 0, buffer,
                                    kAccountBatchBytes, entriesRead, &total, &resume);
        },
        nameField(&GROUP_USERS_INFO_0::grui0_name), ListTarget(listKind, window));
}

uint32_t GetUserGroups(int32_t global, const char *server, const char *user, int32_t listKind,
                       HWND window) {
    WideText wideServer, wideUser;
    if (const uint32_t status = toWide({{server, wideServer}, {user, wideUser}})) return status;
    const ListTarget target(listKind, window);
    if (global != 0) {
        return deliverAnswer<GROUP_USERS_INFO_0>(
            [&](LPBYTE *buffer, DWORD *entriesRead) {
                DWORD total = 0;
                return NetUserGetGroups(wideServer.get(), wideUser.get(), 0, buffer,
                                        kAccountBatchBytes, entriesRead, &total);
            },
            nameField(&GROUP_USERS_INFO_0::grui0_name), target);
    }
    return deliverAnswer<LOCALGROUP_USERS_INFO_0>(
        [&](LPBYTE *buffer, DWORD *entriesRead) {
            DWORD total = 0;
            return NetUserGetLocalGroups(wideServer.get(), wideUser.get(), 0, LG_INCLUDE_INDIRECT,
                                         buffer, kAccountBatchBytes, entriesRead, &total);
        },
        nameField(&LOCALGROUP_USERS_INFO_0::lgrui0_name), target);
}

uint32_t GetLocalGroupMembers(const char *server, const char *group, int32_t listKind,
                              HWND window) {
    return deliverLocalGroupMembers<LOCALGROUP_MEMBERS_INFO_1>(
        server, group, 1, nameField(&LOCALGROUP_MEMBERS_INFO_1::lgrmi1_name), listKind, window);
}

uint32_t GetLocalGroupMembers2(const char *server, const char *group, int32_t listKind,
                               HWND window) {
    return deliverLocalGroupMembers<LOCALGROUP_MEMBERS_INFO_2>(server, group, 2, memberWithKind,
                                                               listKind, window);
}

uint32_t GetLocalGroupUsers(const char *server, const char *group, int32_t listKind,
                            HWND window) {
    return deliverLocalGroupMembers<LOCALGROUP_MEMBERS_INFO_2>(server, group, 2, memberIfUser,
                                                               listKind, window);
}

}  // extern "C"
