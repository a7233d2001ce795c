// The domain, logon and share exports against small worlds.
#include "vantry.h"

#include "caller_records.hpp"
#include "lm.h"
#include "recording_window.hpp"
#include "world_fixture.hpp"

#include <gmock/gmock.h>

#include <string>

namespace {

using ::testing::ElementsAre;
using vantry_test::CallerBuffer;
using vantry_test::RecordingWindow;

class DomainExportsTest : public vantry_test::WorldTest {
protected:
    void SetUp() override {
        WorldTest::SetUp();
        useLocalController();
        world().addMachine("OAK", kDomain, "", false);
        world().addMachine("BIRCH", "", "GARDEN", false);
    }

    CallerBuffer buffer = vantry_test::blankBuffer();
    char *result = buffer.data();
};

TEST_F(DomainExportsTest, GetDomainServerNamesTheControllerWithItsBackslashes) {
    ASSERT_EQ(GetDomainServer("", "", &result), 0u);
    EXPECT_STREQ(buffer.data(), "\\\\ALDER");
    EXPECT_EQ(buffer[8], ' ') << "the rest of the buffer stays as it was";

    buffer = vantry_test::blankBuffer();
    ASSERT_EQ(GetDomainServer("\\\\OAK", "CORP", &result), 0u);
    EXPECT_STREQ(buffer.data(), "\\\\ALDER");
}

TEST_F(DomainExportsTest, GetDomainServerWithoutAControllerLeavesTheBufferAsItWas) {
    EXPECT_EQ(GetDomainServer("", "NOWHERE", &result), static_cast<uint32_t>(NERR_DCNotFound));
    EXPECT_EQ(GetDomainServer("\\\\BIRCH", "", &result), static_cast<uint32_t>(NERR_DCNotFound));
    EXPECT_TRUE(vantry_test::isBlank(buffer));
    char *noBuffer = nullptr;
    EXPECT_EQ(GetDomainServer("", "", &noBuffer), static_cast<uint32_t>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(GetDomainServer("", "", nullptr), static_cast<uint32_t>(ERROR_INVALID_PARAMETER));
}

TEST_F(DomainExportsTest, GetDomainNameGivesTheDomainOrWorkgroup) {
    ASSERT_EQ(GetDomainName("\\\\OAK", &result), 0u);
    EXPECT_STREQ(buffer.data(), "CORP");
    ASSERT_EQ(GetDomainName("BIRCH", &result), 0u);
    EXPECT_STREQ(buffer.data(), "GARDEN");
    EXPECT_EQ(buffer[7], ' ');

    buffer = vantry_test::blankBuffer();
    EXPECT_EQ(GetDomainName("\\\\NOWHERE", &result), static_cast<uint32_t>(ERROR_BAD_NETPATH));
    EXPECT_TRUE(vantry_test::isBlank(buffer));
}

TEST_F(DomainExportsTest, GetUserLogonsListsTheUsersLoggedOnAtTheMachine) {
    world().addSession("OAK", "ann");
    world().addSession("OAK", "bob");
    world().addSession("BIRCH", "carl");
    RecordingWindow window;
    ASSERT_EQ(GetUserLogons("\\\\OAK", 0, window.handle()), 0u);
    EXPECT_THAT(window.names(), ElementsAre("ann", "bob"));
    EXPECT_EQ(window.messages()[0].number, static_cast<UINT>(CB_ADDSTRING));
}

class ShareExportsTest : public vantry_test::WorldTest {
protected:
    void SetUp() override {
        WorldTest::SetUp();
        useLocalController();
        world().addMachine("ELM", kDomain, "", false);
        world().addShare("ELM", "Exports", "D:\\Exports");
    }

    // The local path of a share of the local machine, empty when there is none.
    static std::u16string sharedPath(const char16_t *share) {
        LPBYTE buffer = nullptr;
        std::u16string path;
        if (NetShareGetInfo(nullptr, const_cast<LMSTR>(share), 2, &buffer) == NERR_Success) {
            const auto *info = reinterpret_cast<const SHARE_INFO_2 *>(buffer);
            path = info->shi2_path;
            EXPECT_EQ(std::u16string(info->shi2_remark), share);
            EXPECT_EQ(info->shi2_type, static_cast<DWORD>(STYPE_DISKTREE));
            EXPECT_EQ(info->shi2_max_uses, SHI_USES_UNLIMITED);
        }
        NetApiBufferFree(buffer);
        return path;
    }
};

TEST_F(ShareExportsTest, CreateShareResolvesNetworkPathsThroughTheirShare) {
    ASSERT_EQ(CreateShare("", "C:\\Data", "Data"), 0u);
    ASSERT_EQ(CreateShare("", "\\\\ELM\\Exports\\Sub", "Sub"), 0u);
    ASSERT_EQ(CreateShare("", "\\\\ELM\\Exports", "Whole"), 0u);
    EXPECT_EQ(sharedPath(u"Data"), u"C:\\Data");
    EXPECT_EQ(sharedPath(u"Sub"), u"D:\\Exports\\Sub");
    EXPECT_EQ(sharedPath(u"Whole"), u"D:\\Exports");
}

TEST_F(ShareExportsTest, CreateShareOfAPathThatCannotBeLookedUpCreatesNothing) {
    EXPECT_EQ(CreateShare("", "\\\\ELM\\Missing\\Sub", "Sub"),
              static_cast<uint32_t>(NERR_NetNameNotFound));
    EXPECT_EQ(CreateShare("", "\\\\NOWHERE\\Exports", "Far"),
              static_cast<uint32_t>(ERROR_BAD_NETPATH));
    EXPECT_EQ(CreateShare("", "\\\\ELM", "Bare"), static_cast<uint32_t>(NERR_NetNameNotFound));
    EXPECT_EQ(sharedPath(u"Sub"), u"");
    EXPECT_EQ(sharedPath(u"Far"), u"");
    EXPECT_EQ(sharedPath(u"Bare"), u"");
}

TEST_F(ShareExportsTest, DeleteShareRemovesIt) {
    ASSERT_EQ(CreateShare("", "C:\\Data", "Data"), 0u);
    ASSERT_EQ(DeleteShare("", "Data"), 0u);
    EXPECT_EQ(sharedPath(u"Data"), u"");
    EXPECT_EQ(DeleteShare("", "Data"), static_cast<uint32_t>(NERR_NetNameNotFound));
}

}  // namespace
