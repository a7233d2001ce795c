// Credentials given the Windows way: kept per server, replaced, lent, cancelled, and every
// malformed request refused without keeping anything.
#include "mpr/connections.h"
#include "winnetwk.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

struct Lent {
    std::string user;
    std::string password;
    bool operator==(const Lent &) const = default;
};

// What the store lends for a server, copied here for the test only.
std::optional<Lent> lent(std::string_view server) {
    Lent copy;
    const bool kept = mpr::useConnection(server, [&](std::string_view user, std::string_view password) {
        copy = {std::string(user), std::string(password)};
    });
    return kept ? std::optional(copy) : std::nullopt;
}

DWORD connect(const char16_t *remote, const char16_t *user, const char16_t *password,
              const char16_t *local = nullptr) {
    NETRESOURCEW resource{};
    resource.dwType = RESOURCETYPE_ANY;
    resource.lpRemoteName = const_cast<LPWSTR>(remote);
    resource.lpLocalName = const_cast<LPWSTR>(local);
    return WNetAddConnection2W(&resource, password, user, CONNECT_TEMPORARY);
}

TEST(Connections, KeptPerServerLentForAnyFormOfItsNameReplacedAndCancelled) {
    ASSERT_EQ(connect(u"\\\\dc1.tarn.test\\IPC$", u"TARN\\Administrator", u"Pässwort-1"), DWORD{NO_ERROR});
    ASSERT_EQ(connect(u"\\\\BIRCH\\ipc$", u"ann@orchard.test", u""), DWORD{NO_ERROR});
    const Lent administrator{"TARN\\Administrator", "Pässwort-1"};
    EXPECT_EQ(lent("dc1.tarn.test"), administrator);
    EXPECT_EQ(lent("\\\\DC1.Tarn.Test"), administrator);
    EXPECT_EQ(lent("birch"), (Lent{"ann@orchard.test", ""}));
    EXPECT_EQ(lent("dc1"), std::nullopt) << "another name of the server is another server here";

    const uint64_t before = mpr::connectionsChanged();
    ASSERT_EQ(connect(u"\\\\DC1.TARN.TEST\\IPC$", u"TARN\\ann", u"second try"), DWORD{NO_ERROR});
    EXPECT_EQ(lent("dc1.tarn.test"), (Lent{"TARN\\ann", "second try"}));
    const uint64_t replaced = mpr::connectionsChanged();
    EXPECT_NE(replaced, before) << "a backend that bound before must bind again";

    EXPECT_EQ(WNetCancelConnection2W(u"\\\\dc1.tarn.test\\IPC$", 0, TRUE), DWORD{NO_ERROR});
    EXPECT_NE(mpr::connectionsChanged(), replaced);
    EXPECT_EQ(lent("dc1.tarn.test"), std::nullopt);
    EXPECT_EQ(WNetCancelConnection2W(u"\\\\dc1.tarn.test\\IPC$", 0, TRUE), DWORD{ERROR_NOT_CONNECTED});
    EXPECT_EQ(lent("birch"), (Lent{"ann@orchard.test", ""})) << "other servers keep theirs";
    EXPECT_EQ(WNetCancelConnection2W(u"\\\\birch\\IPC$", 0, FALSE), DWORD{NO_ERROR});
}

TEST(Connections, MalformedRequestsAreRefusedAndKeepNothing) {
    const char16_t unpaired[] = {u'p', 0xD800, u'w', 0};
    const struct {
        const char16_t *remote;
        const char16_t *user;
        const char16_t *password;
        const char16_t *local;
        DWORD status;
    } cases[] = {
        {nullptr, u"ann", u"pw", nullptr, ERROR_BAD_NET_NAME},
        {u"ELM\\IPC$", u"ann", u"pw", nullptr, ERROR_BAD_NET_NAME},
        {u"\\\\ELM", u"ann", u"pw", nullptr, ERROR_BAD_NET_NAME},
        {u"\\\\ELM\\", u"ann", u"pw", nullptr, ERROR_BAD_NET_NAME},
        {u"\\\\\\IPC$", u"ann", u"pw", nullptr, ERROR_BAD_NET_NAME},
        {u"\\\\ELM\\Data", u"ann", u"pw", nullptr, ERROR_BAD_NET_NAME},
        {u"\\\\ELM\\IPC$\\more", u"ann", u"pw", nullptr, ERROR_BAD_NET_NAME},
        {u"\\\\ELM\\IPC$", nullptr, u"pw", nullptr, ERROR_INVALID_PARAMETER},
        {u"\\\\ELM\\IPC$", u"", u"pw", nullptr, ERROR_INVALID_PARAMETER},
        {u"\\\\ELM\\IPC$", u"ann", nullptr, nullptr, ERROR_INVALID_PARAMETER},
        {u"\\\\ELM\\IPC$", u"ann", unpaired, nullptr, ERROR_INVALID_PARAMETER},
        {u"\\\\ELM\\IPC$", u"ann", u"pw", u"Z:", ERROR_BAD_DEVICE},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(connect(c.remote, c.user, c.password, c.local), c.status);
        EXPECT_EQ(lent("ELM"), std::nullopt);
    }
    EXPECT_EQ(WNetAddConnection2W(nullptr, u"pw", u"ann", 0), DWORD{ERROR_INVALID_PARAMETER});
    EXPECT_EQ(WNetCancelConnection2W(nullptr, 0, FALSE), DWORD{ERROR_INVALID_PARAMETER});
    EXPECT_EQ(WNetCancelConnection2W(u"ELM", 0, FALSE), DWORD{ERROR_NOT_CONNECTED});
}

}  // namespace
