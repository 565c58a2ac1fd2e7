#include "docbrowse/desktop_entry.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace veltrane {
namespace {

using ::testing::ElementsAre;
using ::testing::Optional;

TEST(DesktopEntryExec, FieldCodesGoAndPercentStays) {
  EXPECT_THAT(DesktopEntryExec("[Desktop Entry]\nExec=chromium --name=%c %U 100%%\n"),
              Optional(ElementsAre("chromium", "--name=", "100%")));
}

TEST(DesktopEntryExec, QuotedWordsKeepSpacesAndEscapes) {
  // In the file a backslash inside quotes is written four times.
  EXPECT_THAT(DesktopEntryExec("[Desktop Entry]\r\nExec = \"/opt/My \\\\\"Web\\\\\"\" %u\r\n"),
              Optional(ElementsAre("/opt/My \"Web\"")));
}

TEST(DesktopEntryExec, OnlyTheMainGroupCounts) {
  EXPECT_THAT(DesktopEntryExec("[Desktop Action new]\nExec=wrong\n[Desktop Entry]\n"
                               "TryExec=also-wrong\nExec[de]=falsch\nExec=right %u\n"),
              Optional(ElementsAre("right")));
  EXPECT_EQ(DesktopEntryExec("[Desktop Action new]\nExec=wrong\n"), std::nullopt);
}

TEST(DesktopEntryExec, UnclosedQuoteIsRefused) {
  EXPECT_EQ(DesktopEntryExec("[Desktop Entry]\nExec=\"/opt/browser %u\n"), std::nullopt);
}

}  // namespace
}  // namespace veltrane
