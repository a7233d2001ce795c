// GetTrustedDomains against small worlds, and the library's dynamic interface.
#include "orlop.h"

#include "dynamic_symbols.hpp"
#include "recording_window.hpp"
#include "world_fixture.hpp"

#include <gmock/gmock.h>

#include <set>
#include <string>

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using vantry_test::RecordingWindow;

TEST(OrlopLibrary, ExportsGetTrustedDomainsAndNothingElse) {
    EXPECT_EQ(vantry_test::definedDynamicSymbols(ORLOP_LIBRARY),
              std::set<std::string>{"GetTrustedDomains"});
}

// CORP trusts EAST and WEST. OAK, the machine that empty server text names, is a member of
// CORP; ALDER is CORP's controller; BIRCH stands alone in the workgroup GARDEN.
class TrustedDomainsTest : public vantry_test::WorldTest {
protected:
    void SetUp() override {
        WorldTest::SetUp();
        world().addDomain("CORP", "ALDER");
        world().addDomain("EAST", "ELM");
        world().addDomain("WEST", "ASH");
        world().addTrust("CORP", "EAST");
        world().addTrust("CORP", "WEST");
        world().addMachine("OAK", "CORP", "", true);
        world().addMachine("BIRCH", "", "GARDEN", false);
        world().logon("CORP\\Administrator");
    }

    RecordingWindow window;
};

TEST_F(TrustedDomainsTest, AMemberOffersItsDomainTheTrustedDomainsAndItself) {
    ASSERT_EQ(GetTrustedDomains("", 0, window.handle()), 0u);
    EXPECT_THAT(window.names(), ElementsAre("CORP", "EAST", "WEST", "OAK"));
    for (const auto &message : window.messages()) {
        EXPECT_EQ(message.number, static_cast<UINT>(CB_ADDSTRING));
        EXPECT_EQ(message.wParam, 0u);
    }
}

TEST_F(TrustedDomainsTest, AControllerOffersNoMachineOfItsOwn) {
    ASSERT_EQ(GetTrustedDomains("\\\\alder", -1, window.handle()), 0u);
    EXPECT_THAT(window.names(), ElementsAre("CORP", "EAST", "WEST"));
    EXPECT_EQ(window.messages()[0].number, static_cast<UINT>(LB_ADDSTRING));
}

TEST_F(TrustedDomainsTest, AStandAloneMachineOffersOnlyItselfNotItsWorkgroup) {
    ASSERT_EQ(GetTrustedDomains("BIRCH", 0, window.handle()), 0u);
    EXPECT_THAT(window.names(), ElementsAre("BIRCH"));
}

TEST_F(TrustedDomainsTest, AnUnknownServerOffersNothing) {
    EXPECT_EQ(GetTrustedDomains("\\\\NOWHERE", 0, window.handle()),
              static_cast<uint32_t>(ERROR_BAD_NETPATH));
    EXPECT_EQ(GetTrustedDomains("OAK\xFF", 0, window.handle()),
              static_cast<uint32_t>(ERROR_NO_UNICODE_TRANSLATION));
    EXPECT_THAT(window.messages(), IsEmpty());
}

}  // namespace
