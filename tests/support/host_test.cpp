#include "support/host_test.h"

#include "platform/winsys.h"

namespace tavi::testing {

void HostTest::SetUp() {
  platform::ClearShownMessageBoxes();
  host_ = host::Host::Start(data_.path());
  ASSERT_NE(host_, nullptr);
}

void HostTest::TearDown() {
  host_.reset();
  platform::SetMessageBoxHandler({});
  platform::ClearShownMessageBoxes();
}

}  // namespace tavi::testing
