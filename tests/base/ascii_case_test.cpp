#include "base/ascii_case.h"

#include <gtest/gtest.h>

namespace trawlex {
namespace {

TEST(AsciiCaseTest, OnlyAsciiLettersFold) {
    EXPECT_TRUE(EqualsIgnoringCase("Trawlex.Connect", "TRAWLEX.connect"));
    EXPECT_TRUE(EqualsIgnoringCase("", ""));
    EXPECT_TRUE(EqualsIgnoringCase("検索Key", "検索KEY"));
    EXPECT_FALSE(EqualsIgnoringCase("Trawlex.Connect", "Trawlex.Connect2"));
    EXPECT_FALSE(EqualsIgnoringCase("Trawlex", "Trawlez"));
    // '@' and '`' sit next to the letters; the UTF-8 bytes of Ä and ä differ in more than case.
    EXPECT_FALSE(EqualsIgnoringCase("@", "`"));
    EXPECT_FALSE(EqualsIgnoringCase("[", "{"));
    EXPECT_FALSE(EqualsIgnoringCase("Ä", "ä"));
}

}  // namespace
}  // namespace trawlex
