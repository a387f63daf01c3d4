// Which hosts get which quirks, and how the host is asked.
#include "effect/HostQuirks.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "support/RecordingHost.h"
#include "support/SilentEffect.h"

namespace {

struct IdentityCase {
  const char* name;
  const char* vendor;
  const char* product;
  bool sendsEditBracket;
};

void PrintTo(const IdentityCase& identity, std::ostream* out) { *out << identity.name; }

class HostIdentityQuirksTest : public ::testing::TestWithParam<IdentityCase> {};

TEST_P(HostIdentityQuirksTest, OnlyArdourLosesTheEditBracket) {
  EXPECT_EQ(HostQuirks::fromIdentity(GetParam().vendor, GetParam().product).sendsEditBracket(),
            GetParam().sendsEditBracket);
}

INSTANTIATE_TEST_SUITE_P(Identities, HostIdentityQuirksTest,
                         ::testing::Values(IdentityCase{"Ardour", "Linux Audio Systems", "Ardour", false},
                                           IdentityCase{"ArdourProduct", "", "Ardour", false},
                                           IdentityCase{"ArdourVersionedProduct", "", "Ardour 8", false},
                                           IdentityCase{"ArdourVendor", "Linux Audio Systems", "", false},
                                           IdentityCase{"LowerCaseProduct", "", "ardour", true},
                                           IdentityCase{"OtherHost", "Brelvanix", "torvix-host", true},
                                           IdentityCase{"NoAnswer", "", "", true}),
                         [](const ::testing::TestParamInfo<IdentityCase>& info) {
                           return std::string(info.param.name);
                         });

// A host that writes more than the interface's 64 characters and returns 0:
// the text still counts (the AddressSanitizer build sees any overrun).
TEST(HostQuirksTest, TakesTheTextWhateverTheHostReturnsAndHowLongItIs) {
  RecordingHost host;
  host.answerText(audioMasterGetProductString, "Ardour" + std::string(200, '+'));
  host.answerWith(audioMasterGetProductString, 0);
  SilentEffect effect(RecordingHost::callback);
  EXPECT_FALSE(HostQuirks::askHostOf(effect).sendsEditBracket());
  EXPECT_EQ(host.requests(audioMasterGetVendorString).size(), 1u);
  EXPECT_EQ(host.requests(audioMasterGetProductString).size(), 1u);
}

}  // namespace
