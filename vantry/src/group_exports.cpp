// The exports that create, read, change and delete groups and single memberships.
#include "vantry.h"

#include "netclient/platform_buffer.hpp"
#include "netclient/text.hpp"

using namespace netclient;

namespace {

uint32_t readGroupRecord(const char16_t *name, const char16_t *comment, GroupRecord &record) {
    CallerTexts texts;
    if (const uint32_t status = texts.stage(record.name, name)) return status;
    if (const uint32_t status = texts.stage(record.comment, comment)) return status;
    texts.write();
    return NERR_Success;
}

// The group's own comment when the caller sends back what it was shown of it, else the
// caller's.
LPWSTR commentToSend(const char *sent, LPWSTR current, WideText &converted) {
    return isShownFormOf(sent, current) ? current : converted.get();
}

}  // namespace

extern "C" {

uint32_t CreateGroup(int32_t global, const char *server, const char *group, const char *comment) {
    WideText wideServer, wideGroup, wideComment;
    if (const uint32_t status = toWide({{server, wideServer},
                                        {group, wideGroup},
                                        {comment != nullptr ? comment : "", wideComment}})) {
        return status;
    }
    if (global != 0) {
        GROUP_INFO_1 info{wideGroup.get(), wideComment.get()};
        return NetGroupAdd(wideServer.get(), 1, reinterpret_cast<LPBYTE>(&info), nullptr);
    }
    LOCALGROUP_INFO_1 info{wideGroup.get(), wideComment.get()};
    return NetLocalGroupAdd(wideServer.get(), 1, reinterpret_cast<LPBYTE>(&info), nullptr);
}

uint32_t DeleteGroup(int32_t global, const char *server, const char *group) {
    WideText wideServer, wideGroup;
    if (const uint32_t status = toWide({{server, wideServer}, {group, wideGroup}})) return status;
    return global != 0 ? NetGroupDel(wideServer.get(), wideGroup.get())
                       : NetLocalGroupDel(wideServer.get(), wideGroup.get());
}

uint32_t GroupAdjustUsers(int32_t add, const char *server, const char *group, const char *user) {
    WideText wideServer, wideGroup, wideUser;
    if (const uint32_t status =
            toWide({{server, wideServer}, {group, wideGroup}, {user, wideUser}})) {
        return status;
    }
    return add != 0 ? NetGroupAddUser(wideServer.get(), wideGroup.get(), wideUser.get())
                    : NetGroupDelUser(wideServer.get(), wideGroup.get(), wideUser.get());
}

uint32_t LocalGroupAdjustMembers(int32_t add, const char *server, const char *group,
                                 const char *member) {
    WideText wideServer, wideGroup, wideMember;
    if (const uint32_t status =
            toWide({{server, wideServer}, {group, wideGroup}, {member, wideMember}})) {
        return status;
    }
    LOCALGROUP_MEMBERS_INFO_3 entry{wideMember.get()};
    const auto buffer = reinterpret_cast<LPBYTE>(&entry);
    return add != 0 ? NetLocalGroupAddMembers(wideServer.get(), wideGroup.get(), 3, buffer, 1)
                    : NetLocalGroupDelMembers(wideServer.get(), wideGroup.get(), 3, buffer, 1);
}

uint32_t GetGroupInfo(int32_t global, const char *server, const char *group, GroupRecord *record) {
    if (record == nullptr) return ERROR_INVALID_PARAMETER;
    WideText wideServer, wideGroup;
    if (const uint32_t status = toWide({{server, wideServer}, {group, wideGroup}})) return status;
    PlatformBuffer<> buffer;
    if (global != 0) {
        const NET_API_STATUS status =
            NetGroupGetInfo(wideServer.get(), wideGroup.get(), 1, buffer.receive());
        if (status != NERR_Success) return status;
        const auto *info = buffer.as<GROUP_INFO_1>();
        return readGroupRecord(info->grpi1_name, info->grpi1_comment, *record);
    }
    const NET_API_STATUS status =
        NetLocalGroupGetInfo(wideServer.get(), wideGroup.get(), 1, buffer.receive());
    if (status != NERR_Success) return status;
    const auto *info = buffer.as<LOCALGROUP_INFO_1>();
    return readGroupRecord(info->lgrpi1_name, info->lgrpi1_comment, *record);
}

// The group keeps its name: only the comment of the record is sent, and it must be present. A
// comment that is just the shown form of the group's longer one leaves that one as it is.
uint32_t SetGroupInfo(int32_t global, const char *server, const char *group,
                      const GroupRecord *record) {
    if (record == nullptr) return ERROR_INVALID_PARAMETER;
    WideText wideServer, wideGroup, wideComment;
    if (const uint32_t status = toWide(
            {{server, wideServer}, {group, wideGroup}, {record->comment, wideComment}})) {
        return status;
    }
    PlatformBuffer<> current;
    if (global != 0) {
        if (const NET_API_STATUS status =
                NetGroupGetInfo(wideServer.get(), wideGroup.get(), 1, current.receive())) {
            return status;
        }
        LPWSTR kept = current.as<GROUP_INFO_1>()->grpi1_comment;
        GROUP_INFO_1 info{wideGroup.get(), commentToSend(record->comment, kept, wideComment)};
        return NetGroupSetInfo(wideServer.get(), wideGroup.get(), 1,
                               reinterpret_cast<LPBYTE>(&info), nullptr);
    }
    if (const NET_API_STATUS status =
            NetLocalGroupGetInfo(wideServer.get(), wideGroup.get(), 1, current.receive())) {
        return status;
    }
    LPWSTR kept = current.as<LOCALGROUP_INFO_1>()->lgrpi1_comment;
    LOCALGROUP_INFO_1 info{wideGroup.get(), commentToSend(record->comment, kept, wideComment)};
    return NetLocalGroupSetInfo(wideServer.get(), wideGroup.get(), 1,
                                reinterpret_cast<LPBYTE>(&info), nullptr);
}

}  // extern "C"
