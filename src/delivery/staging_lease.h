#pragma once

// One user of the staging mailbox at a time. Whoever prepares "Pending"
// empties it, and a check run, the cache import and an article transfer all
// pump window messages while they work, so without a lease a transfer
// pressed during a run would empty "Pending" under the run's staged
// articles. Each user holds a lease from preparing "Pending" until its
// messages have moved on; a second one is refused and says who holds it.

#include <optional>
#include <string>

namespace tavi {

class StagingLease {
 public:
  // Takes the staging mailbox for `user` (as the refusal names it: "a check
  // run", "an article transfer"); nullopt while another lease holds it.
  static std::optional<StagingLease> Take(std::string user);
  // Who holds the staging mailbox now; "" when nobody does.
  static std::string Holder();

  StagingLease(StagingLease&& other) noexcept;
  StagingLease& operator=(StagingLease&&) = delete;
  StagingLease(const StagingLease&) = delete;
  StagingLease& operator=(const StagingLease&) = delete;
  ~StagingLease();

 private:
  StagingLease() = default;
  bool held_ = false;
};

// The refusal for a user who could not take the lease because `holder`
// holds it: "The staging mailbox \"Pending\" is in use by a check run. Try
// again when it has finished."
std::string StagingBusyText(const std::string& holder);

}  // namespace tavi
