// All 22 exports of the library with fuzzed text over a small world. Whatever the text, a call
// returns a status: a server argument that cannot be sent is refused before any platform call,
// nothing is written past or into a caller buffer but the text of a successful call, and every
// text written or delivered is UTF-8 that fits.
//
// Each input starts from the same world: a pristine copy is put back before every run, so a
// finding reproduces from its input alone.
#include "vantry.h"

#include "samworld/world.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <stdlib.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <deque>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace {

void require(bool condition) {
    if (!condition) __builtin_trap();
}

constexpr std::size_t kBufferSize = 256;
constexpr char kUntouched = '\xA5';
constexpr std::size_t kLogonHoursBytes = 21;

// Names the world knows, so that fuzzed calls also get past "no such account".
constexpr const char *kServers[] = {"", "\\\\ALDER", "ALDER", "\\\\OAK", "\\\\HEATH",
                                    "\\\\ELM", "\\\\NOWHERE", "\\\\alder"};
constexpr const char *kAccounts[] = {"ann", "bob", "Staff", "Readers", "Administrator",
                                     "Domain Users", "Administrators", "CORP\\ann", "EAST\\eve",
                                     "Everyone", "NT AUTHORITY\\INTERACTIVE", "Guest"};
constexpr const char *kDomains[] = {"", "CORP", "EAST", "MOOR", "corp"};
constexpr const char *kPaths[] = {"C:\\Data", "\\\\ALDER\\Exports", "\\\\ALDER\\Exports\\Sub",
                                  "\\\\ELM", "\\\\", "\\\\ALDER\\", "\\\\ALDER\\\\x",
                                  "\\\\NOWHERE\\Share\\rest"};
constexpr const char *kShares[] = {"Exports", "Data", "Sub", "homes"};

bool isUtf8(const char *text) {
    std::array<char16_t, 1024> wide{};
    return MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), static_cast<int>(wide.size())) != 0;
}

// A caller buffer of exactly 256 bytes on the heap, so that a write past it is caught.
class CallerBuffer {
public:
    CallerBuffer() : bytes_(kBufferSize, kUntouched) {}
    char *data() { return bytes_.data(); }
    bool untouched() const {
        return std::all_of(bytes_.begin(), bytes_.end(), [](char c) { return c == kUntouched; });
    }
    // A text result: terminated within the buffer, UTF-8, the rest of the buffer as it was.
    void requireText() const {
        const auto end = std::find(bytes_.begin(), bytes_.end(), '\0');
        require(end != bytes_.end());
        require(isUtf8(bytes_.data()));
        require(std::all_of(end + 1, bytes_.end(), [](char c) { return c == kUntouched; }));
    }

private:
    std::vector<char> bytes_;
};

// A window that checks every name a list export sends it.
class CheckingWindow {
public:
    explicit CheckingWindow(bool suffixed) : window_{&CheckingWindow::receive, this}, suffixed_(suffixed) {}
    HWND handle() { return &window_; }

private:
    static LRESULT receive(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        const auto *self = static_cast<CheckingWindow *>(window->context);
        require(message == LB_ADDSTRING || message == CB_ADDSTRING);
        require(wParam == 0);
        const char *name = reinterpret_cast<const char *>(lParam);
        require(isUtf8(name));
        if (self->suffixed_) {
            const std::string_view text(name);
            require(text.ends_with("\\u") || text.ends_with("\\g") || text.ends_with("\\x"));
        }
        return 0;
    }

    HWND__ window_;
    bool suffixed_;
};

class Arguments {
public:
    explicit Arguments(FuzzedDataProvider &data) : data_(data) {}

    // One of the known texts, or any bytes, up to a little more than a caller buffer holds.
    const char *text(std::span<const char *const> known) {
        std::string &text = texts_.emplace_back();
        if (data_.ConsumeBool()) {
            text = known[data_.ConsumeIntegralInRange<std::size_t>(0, known.size() - 1)];
        } else {
            text = data_.ConsumeRandomLengthString(kBufferSize + 20);
        }
        return text.c_str();
    }
    // As text, or null where the export allows it.
    char *optionalText(std::span<const char *const> known) {
        return data_.ConsumeBool() ? nullptr : const_cast<char *>(text(known));
    }
    int32_t flag() { return data_.PickValueInArray<int32_t>({0, 1, -1, 7}); }
    int32_t listKind() { return data_.PickValueInArray<int32_t>({0, -1, 1}); }
    FuzzedDataProvider &data() { return data_; }

private:
    FuzzedDataProvider &data_;
    std::deque<std::string> texts_;
};

// A server that cannot be sent whole is refused before any platform call.
void requireRefusalOf(const char *server, uint32_t status) {
    if (std::strlen(server) >= kBufferSize) {
        require(status == ERROR_INVALID_PARAMETER);
    } else if (!isUtf8(server)) {
        require(status == ERROR_NO_UNICODE_TRANSLATION);
    }
}

// The record the program sends to CreateUser and SetUserInfo, every field fuzzed.
struct SentUser {
    explicit SentUser(Arguments &in) {
        for (char *UserRecord::*field :
             {&UserRecord::name, &UserRecord::password, &UserRecord::home_dir,
              &UserRecord::comment, &UserRecord::script_path, &UserRecord::full_name,
              &UserRecord::usr_comment, &UserRecord::workstations, &UserRecord::profile,
              &UserRecord::home_dir_drive}) {
            record.*field = in.optionalText(kAccounts);
        }
        FuzzedDataProvider &data = in.data();
        record.flags = data.ConsumeIntegral<uint32_t>();
        record.acct_expires = data.ConsumeIntegral<int32_t>();
        record.password_expired = data.ConsumeIntegral<uint32_t>();
        if (data.ConsumeBool()) {
            for (uint8_t &byte : hours) byte = data.ConsumeIntegral<uint8_t>();
            record.logon_hours = hours.data();
        }
    }
    std::array<uint8_t, kLogonHoursBytes> hours{};
    UserRecord record{};
};

// A record as the program prepares one for GetUserInfo: some fields absent, the others with
// room for the library to write in.
struct ReadUser {
    explicit ReadUser(FuzzedDataProvider &data) {
        std::size_t i = 0;
        for (char *UserRecord::*field :
             {&UserRecord::name, &UserRecord::password, &UserRecord::home_dir,
              &UserRecord::comment, &UserRecord::script_path, &UserRecord::full_name,
              &UserRecord::usr_comment, &UserRecord::workstations, &UserRecord::profile,
              &UserRecord::home_dir_drive}) {
            record.*field = data.ConsumeBool() ? buffers[i].data() : nullptr;
            ++i;
        }
        hours.fill(0x5A);
        record.logon_hours = data.ConsumeBool() ? hours.data() : nullptr;
    }
    void requireRead(uint32_t status) const {
        for (std::size_t i = 0; i < buffers.size(); ++i) {
            // The password (field 1) is never read back.
            if (status != NERR_Success || i == 1) {
                require(buffers[i].untouched());
            } else if (record.*kFields[i] != nullptr) {
                buffers[i].requireText();
            }
        }
    }
    static constexpr std::array<char *UserRecord::*, 10> kFields = {
        &UserRecord::name,        &UserRecord::password,  &UserRecord::home_dir,
        &UserRecord::comment,     &UserRecord::script_path, &UserRecord::full_name,
        &UserRecord::usr_comment, &UserRecord::workstations, &UserRecord::profile,
        &UserRecord::home_dir_drive};
    std::array<CallerBuffer, 10> buffers;
    std::array<uint8_t, kLogonHoursBytes> hours{};
    UserRecord record{};
};

// Runs one export, chosen by the input, and checks what it did.
void callOneExport(Arguments &in) {
    FuzzedDataProvider &data = in.data();
    const char *server = in.text(kServers);
    uint32_t status = 0;
    switch (data.ConsumeIntegralInRange(0, 21)) {
    case 0: {
        SentUser user(in);
        status = CreateUser(server, &user.record);
        break;
    }
    case 1: status = DeleteUser(server, in.text(kAccounts)); break;
    case 2: {
        const char *name = in.text(kAccounts);
        ReadUser user(data);
        status = GetUserInfo(server, name, &user.record);
        user.requireRead(status);
        break;
    }
    case 3: {
        const char *name = in.text(kAccounts);
        SentUser user(in);
        status = SetUserInfo(server, name, &user.record);
        break;
    }
    case 4: {
        CheckingWindow window(false);
        status = GetAllUsers(server, in.listKind(), window.handle());
        break;
    }
    case 5: {
        CheckingWindow window(false);
        const int32_t global = in.flag();
        status = GetUserGroups(global, server, in.text(kAccounts), in.listKind(), window.handle());
        break;
    }
    case 6: {
        const int32_t global = in.flag();
        const char *group = in.text(kAccounts);
        status = CreateGroup(global, server, group, in.optionalText(kAccounts));
        break;
    }
    case 7: status = DeleteGroup(in.flag(), server, in.text(kAccounts)); break;
    case 8: {
        const int32_t add = in.flag();
        const char *group = in.text(kAccounts);
        status = GroupAdjustUsers(add, server, group, in.text(kAccounts));
        break;
    }
    case 9: {
        const int32_t add = in.flag();
        const char *group = in.text(kAccounts);
        status = LocalGroupAdjustMembers(add, server, group, in.text(kAccounts));
        break;
    }
    case 10: {
        const int32_t global = in.flag();
        const char *group = in.text(kAccounts);
        CallerBuffer name, comment;
        GroupRecord record{data.ConsumeBool() ? name.data() : nullptr,
                           data.ConsumeBool() ? comment.data() : nullptr};
        status = GetGroupInfo(global, server, group, &record);
        for (const auto &[field, buffer] : {std::pair{record.name, &name}, std::pair{record.comment, &comment}}) {
            if (status != NERR_Success || field == nullptr) {
                require(buffer->untouched());
            } else {
                buffer->requireText();
            }
        }
        break;
    }
    case 11: {
        const int32_t global = in.flag();
        const char *group = in.text(kAccounts);
        GroupRecord record{in.optionalText(kAccounts), in.optionalText(kAccounts)};
        status = SetGroupInfo(global, server, group, &record);
        break;
    }
    case 12: {
        CheckingWindow window(false);
        status = GetAllGroups(in.flag(), server, in.listKind(), window.handle());
        break;
    }
    case 13: {
        CheckingWindow window(false);
        const char *group = in.text(kAccounts);
        status = GetGroupUsers(server, group, in.listKind(), window.handle());
        break;
    }
    case 14: {
        CheckingWindow window(false);
        const char *group = in.text(kAccounts);
        status = GetLocalGroupMembers(server, group, in.listKind(), window.handle());
        break;
    }
    case 15: {
        CheckingWindow window(true);
        const char *group = in.text(kAccounts);
        status = GetLocalGroupMembers2(server, group, in.listKind(), window.handle());
        break;
    }
    case 16: {
        CheckingWindow window(false);
        const char *group = in.text(kAccounts);
        status = GetLocalGroupUsers(server, group, in.listKind(), window.handle());
        break;
    }
    case 17: {
        const char *domain = in.text(kDomains);
        CallerBuffer result;
        char *address = result.data();
        status = GetDomainServer(server, domain, &address);
        status == NERR_Success ? result.requireText() : require(result.untouched());
        break;
    }
    case 18: {
        const char *path = in.text(kPaths);
        status = CreateShare(server, path, in.text(kShares));
        break;
    }
    case 19: status = DeleteShare(server, in.text(kShares)); break;
    case 20: {
        CheckingWindow window(false);
        status = GetUserLogons(server, in.listKind(), window.handle());
        break;
    }
    case 21: {
        CallerBuffer result;
        char *address = result.data();
        status = GetDomainName(server, &address);
        status == NERR_Success ? result.requireText() : require(result.untouched());
        break;
    }
    }
    requireRefusalOf(server, status);
}

std::filesystem::path pristineWorld;
std::filesystem::path world;

// CORP (controller ALDER, the local machine) trusts EAST (controller ELM); OAK is a member of
// CORP and HEATH stands alone; CORP's administrator calls.
void buildWorld() {
    std::string folder = (std::filesystem::temp_directory_path() / "vantry-fuzz-XXXXXX").string();
    require(mkdtemp(folder.data()) != nullptr);
    pristineWorld = std::filesystem::path(folder) / "pristine.db";
    world = std::filesystem::path(folder) / "samworld.db";
    {
        samworld::World built = samworld::World::create(pristineWorld.string(),
                                                        samworld::PasswordCost::Quick);
        built.addDomain("CORP", "ALDER");
        built.addDomain("EAST", "ELM");
        built.addTrust("CORP", "EAST");
        built.addMachine("ALDER", "CORP", "", true);
        built.addMachine("OAK", "CORP", "", false);
        built.addMachine("HEATH", "", "MOOR", false);
        built.logon("CORP\\Administrator");
        samworld::UserRecord ann;
        ann.name = "ann";
        ann.comment = std::string(300, 'c');  // longer than a caller buffer
        built.addUser("CORP", ann);
        built.addUser("CORP", "bob");
        built.addUser("EAST", "eve");
        built.addGroup("CORP", "Staff", samworld::GroupKind::Global, "All staff");
        built.addGroup("CORP", "Readers", samworld::GroupKind::Local);
        built.addMember("CORP", "Staff", "ann");
        built.addMember("CORP", "Readers", "CORP\\ann");
        built.addMember("CORP", "Readers", "EAST\\eve");
        built.addMember("CORP", "Readers", "CORP\\Staff");
        built.addMember("CORP", "Readers", "Everyone");
        built.addShare("ALDER", "Exports", "D:\\Exports");
        built.addSession("ALDER", "ann");
        built.database().execute("PRAGMA wal_checkpoint(TRUNCATE)");
    }
    setenv("SAMWORLD", world.c_str(), 1);
}

void restoreWorld() {
    for (const char *suffix : {"-wal", "-shm"}) std::filesystem::remove(world.string() + suffix);
    std::filesystem::copy_file(pristineWorld, world, std::filesystem::copy_options::overwrite_existing);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    buildWorld();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    restoreWorld();
    FuzzedDataProvider input(data, size);
    Arguments arguments(input);
    callOneExport(arguments);
    return 0;
}
