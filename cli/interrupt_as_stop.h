#pragma once

// Ctrl+C during a run of checks: the transfer in progress ends at once (it
// fails as cancelled), no new one starts, and the run stops after the feed at
// hand, as the main window's Stop button stops it. A second Ctrl+C ends the
// program as usual; what it leaves behind is removed at the next start.

namespace tavi::cli {

class InterruptAsStop {
 public:
  // Installs the handler for SIGINT.
  InterruptAsStop();
  // Puts the former handler back and lets transfers run again.
  ~InterruptAsStop();
  InterruptAsStop(const InterruptAsStop&) = delete;
  InterruptAsStop& operator=(const InterruptAsStop&) = delete;

  // Whether Ctrl+C was pressed since the object was made.
  bool Requested() const;
};

}  // namespace tavi::cli
