#include "delivery/staging_lease.h"

#include <mutex>

#include "delivery/mailbox_file.h"

namespace tavi {
namespace {

struct LeaseState {
  std::mutex lock;
  std::string holder;  // "" while free
};

LeaseState& TheLease() {
  static LeaseState state;
  return state;
}

}  // namespace

std::optional<StagingLease> StagingLease::Take(std::string user) {
  LeaseState& state = TheLease();
  const std::lock_guard<std::mutex> guard(state.lock);
  if (!state.holder.empty()) return std::nullopt;
  state.holder = user.empty() ? "another task" : std::move(user);
  StagingLease lease;
  lease.held_ = true;
  return lease;
}

std::string StagingLease::Holder() {
  LeaseState& state = TheLease();
  const std::lock_guard<std::mutex> guard(state.lock);
  return state.holder;
}

StagingLease::StagingLease(StagingLease&& other) noexcept : held_(other.held_) {
  other.held_ = false;
}

StagingLease::~StagingLease() {
  if (!held_) return;
  LeaseState& state = TheLease();
  const std::lock_guard<std::mutex> guard(state.lock);
  state.holder.clear();
}

std::string StagingBusyText(const std::string& holder) {
  return std::string("The staging mailbox \"") + kStagingMailboxName + "\" is in use by " + holder +
         ". Try again when it has finished.";
}

}  // namespace tavi
