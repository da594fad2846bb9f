#pragma once

// Many URL-moniker downloads at once: a pool that fetches each queued URL
// into its own file, in the order queued, with up to a given number of
// transfers running at a time and at most two to one host, so that no
// server sees more than a browser would send it. The transfers share one
// libcurl multi handle, which reuses connections and multiplexes requests
// over HTTP/2 where a server offers it. Each transfer keeps the limits and
// error texts of net.h (timeouts, byte limit, redirects to http and https
// only, error statuses as failures); a transfer waiting its turn counts no
// time against them.
//
// A thread of the pool's own drives the transfers, so they go on while the
// caller does other work. Every file arrives through a part file
// (part_file.h): it appears at its path only when the whole document
// arrived. A file the caller never takes is deleted, at the latest when the
// pool goes.
//
// Every member may be called from any thread.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "platform/net.h"

namespace tavi::platform {

class NetTransferPool {
 public:
  // Names one queued download.
  using Ticket = std::uint64_t;

  // The transfers one host gets at a time.
  static constexpr std::size_t kMaxTransfersPerHost = 2;

  // A pool running up to `max_transfers` transfers at a time (at least one),
  // under the NetTimeouts in force now. Should its thread not start, every
  // download fails with the system's text for it.
  explicit NetTransferPool(std::size_t max_transfers);
  // Cancels whatever is under way and deletes every file not taken.
  ~NetTransferPool();
  NetTransferPool(const NetTransferPool&) = delete;
  NetTransferPool& operator=(const NetTransferPool&) = delete;

  // When a queued download starts, among the others.
  enum class Turn {
    kInOrder,  // after everything queued before it
    kFirst,    // before every kInOrder download not yet started
  };

  // Queues the download `request` asks for into the file `path` (replacing
  // it), failing once the body passes `max_bytes` (kNoByteLimit: never). The
  // caller must not touch `path` until it takes the ticket.
  Ticket Queue(const NetRequest& request, const std::string& path, std::uint64_t max_bytes,
               Turn turn = Turn::kInOrder);

  // Waits up to `wait` for the download to end; true once it has. False at
  // once for a ticket the pool does not hold.
  bool WaitFor(Ticket ticket, std::chrono::milliseconds wait);

  // The outcome of an ended download, and in `*response` (when not null)
  // what its transfer learned of the answer: on success its file is at its
  // path and belongs to the caller, unless the answer was "not modified",
  // which leaves no file; on failure there is no file. The pool forgets the
  // ticket. A failure ("The operation was cancelled.") for a ticket the pool
  // does not hold or that has not ended.
  NetResult Take(Ticket ticket, NetResponse* response = nullptr);

  // Forgets the download: a running one is cut off, and no file of it stays.
  void Drop(Ticket ticket);

  // Ends every download, running or queued, with "The operation was
  // cancelled." within a poll interval; downloads queued later fail at once.
  void CancelAll();

 private:
  struct Download;
  struct SharedMulti;

  // The pool's thread and its steps, run holding `lock_`.
  void Run();
  void RemoveDropped();
  void StartQueued();
  void StartQueued(Turn turn, std::size_t& running, std::map<std::string, std::size_t>& per_host);
  bool Start(Download& download);
  void CollectEnds();
  bool EndFinished();
  void End(Download& download, NetResult result);
  void Wake();

  std::size_t max_transfers_;
  NetTimeouts timeouts_;
  mutable std::mutex lock_;
  std::condition_variable ended_;
  std::map<Ticket, std::unique_ptr<Download>> downloads_;  // in queue order
  Ticket next_ticket_ = 1;
  bool quit_ = false;
  std::atomic<bool> cancel_{false};
  std::unique_ptr<SharedMulti> shared_;
  std::thread thread_;
};

}  // namespace tavi::platform
