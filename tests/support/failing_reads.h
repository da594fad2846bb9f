#pragma once

// Read failures on demand: a test cannot otherwise make a file unreadable
// when it runs as root, who may read every file.

#include <string>

namespace tavi::testing {

// While it lives, every read of `path` fails with `error` (an errno value
// such as EIO); other paths read as usual.
class FailingReads {
 public:
  FailingReads(std::string path, int error);
  ~FailingReads();
  FailingReads(const FailingReads&) = delete;
  FailingReads& operator=(const FailingReads&) = delete;
};

}  // namespace tavi::testing
