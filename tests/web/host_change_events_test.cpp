#include "web/host_change_events.h"

#include <gtest/gtest.h>

namespace tavi::web {
namespace {

TEST(PageEventsFor, NameWhatThePageShowsOfEachChange) {
  using host::HostChangeKind;
  EXPECT_EQ(PageEventsFor({HostChangeKind::kMailboxTree, 0}),
            std::vector<PageEvent>({{"mailboxes", "{}"}}));
  // A mailbox's messages change its counts in the tree too.
  EXPECT_EQ(PageEventsFor({HostChangeKind::kMessages, 12}),
            std::vector<PageEvent>({{"mailboxes", "{}"}, {"messages", "{\"mailbox\": 12}"}}));
  EXPECT_EQ(PageEventsFor({HostChangeKind::kStatusText, 0}),
            std::vector<PageEvent>({{"host", "{}"}}));
}

}  // namespace
}  // namespace tavi::web
