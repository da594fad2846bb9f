#pragma once

// The fixture of tests that run the plug-in's operations against the
// stand-in host: a host on a fresh data folder, started on the test's thread
// (the host's user-interface thread), with no message boxes left over from
// an earlier test.

#include <gtest/gtest.h>

#include <memory>

#include "host/host.h"
#include "support/temp_dir.h"

namespace tavi::testing {

class HostTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  host::MailStore& Store() { return host_->Store(); }

  TempDir data_;
  std::unique_ptr<host::Host> host_;
};

}  // namespace tavi::testing
