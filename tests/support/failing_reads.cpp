#include "support/failing_reads.h"

#include <utility>

#include "platform/fs.h"

namespace tavi::testing {

FailingReads::FailingReads(std::string path, int error) {
  platform::SetReadFault([path = std::move(path), error](const std::string& read) {
    return read == path ? error : 0;
  });
}

FailingReads::~FailingReads() { platform::SetReadFault({}); }

}  // namespace tavi::testing
