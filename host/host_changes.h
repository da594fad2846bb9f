#pragma once

// What changed in the host, told as it happens to a front end that shows
// the host (tavi-host's page): it learns which part to show again instead of
// looking at everything from time to time. Told on the host's user-interface
// thread, inside the operation that made the change: a listener only notes
// the change and returns; it must not call back into the host.

#include <functional>

namespace tavi::host {

enum class HostChangeKind {
  kMailboxTree,  // a mailbox or folder appeared in the tree
  kMessages,     // a mailbox's messages, or their states, changed
  kStatusText,   // the status-bar text changed
  kAutomation,   // the automation server was switched on or off
};

struct HostChange {
  HostChangeKind kind = HostChangeKind::kMailboxTree;
  // kMessages: the mailbox's number; 0 otherwise.
  int mailbox = 0;
  bool operator==(const HostChange&) const = default;
};

using HostChangeListener = std::function<void(const HostChange&)>;

}  // namespace tavi::host
