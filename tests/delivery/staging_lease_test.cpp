#include "delivery/staging_lease.h"

#include <gtest/gtest.h>

#include <optional>
#include <utility>

namespace tavi {
namespace {

TEST(StagingLeaseTest, OneHolderAtATimeAndTheRefusalNamesIt) {
  EXPECT_EQ(StagingLease::Holder(), "");
  {
    std::optional<StagingLease> run = StagingLease::Take("a check run");
    ASSERT_TRUE(run);
    EXPECT_FALSE(StagingLease::Take("an article transfer"));
    EXPECT_EQ(StagingBusyText(StagingLease::Holder()),
              "The staging mailbox \"Pending\" is in use by a check run. Try again when it has "
              "finished.");
    // Moving the lease keeps it held until its last owner goes.
    std::optional<StagingLease> moved(std::move(*run));
    run.reset();
    EXPECT_EQ(StagingLease::Holder(), "a check run");
  }
  EXPECT_EQ(StagingLease::Holder(), "");
  EXPECT_TRUE(StagingLease::Take("an article transfer"));
}

}  // namespace
}  // namespace tavi
