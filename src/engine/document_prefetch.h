#pragma once

// The feed documents of a Download run, fetched ahead: while one feed is
// checked, the documents of the feeds after it are already downloading, in
// run order, through a pool of concurrent transfers
// (platform/net_transfer_pool.h). Each goes into a file of its own beside the
// run's feed file; the check takes it from there when its feed's turn comes.
// At most the pool's width of documents are held ahead, running or waiting,
// so a long run costs no more disk or memory than that. Every document not
// taken is deleted when the prefetch goes.
//
// The full-article pages of the current feed's new articles are fetched
// ahead the same way, before any document of a later feed, at most the
// pool's width of them at a time.

#include <chrono>
#include <cstddef>
#include <deque>
#include <string>
#include <vector>

#include "platform/net.h"
#include "platform/net_transfer_pool.h"

namespace tavi {

// The width of a Download run: "MaxDownloads" of the settings file's
// "General" section, held to 1 through settings::kMaxMaxDownloads; its
// default when absent.
std::size_t ReadMaxDownloads(const std::string& settings_file);

class DocumentPrefetch {
 public:
  // Fetches the documents of `requests` (the run's feeds in run order; one
  // with an empty URL is passed over) into files named after `feed_file`, up
  // to `width` (at least 1) of them ahead.
  DocumentPrefetch(std::vector<platform::NetRequest> requests, std::string feed_file,
                   std::size_t width);
  // Cancels what is under way and deletes every document not taken.
  ~DocumentPrefetch() = default;
  DocumentPrefetch(const DocumentPrefetch&) = delete;
  DocumentPrefetch& operator=(const DocumentPrefetch&) = delete;

  // The run has come to the feed at `position`: documents of earlier feeds
  // that were never taken go, and documents are queued up to the width
  // ahead of it.
  void MoveTo(std::size_t position);

  // True when the document of the current feed is being fetched as
  // `request` asks (its URL and validators), so that the check takes it
  // rather than fetching it itself. False after Cancel.
  bool Holds(const platform::NetRequest& request) const;

  // Waits up to `wait` for the current feed's document; true once it has
  // arrived or failed.
  bool WaitForCurrent(std::chrono::milliseconds wait);

  // The current feed's document, once it ended, and what `response` learned
  // of the answer: on success it is moved to `path` (replacing a file there),
  // unless the server said it was not modified; on failure there is no file
  // at `path` and the result says why.
  platform::NetResult TakeCurrent(const std::string& path, platform::NetResponse* response);

  // Fetches the pages behind `links` (the current feed's new articles, in
  // the order the composer takes them) ahead, replacing the pages of an
  // earlier feed, which go unless taken.
  void QueuePages(std::vector<std::string> links);

  // True when the next page waiting is the one behind `link`. False after
  // Cancel.
  bool HoldsPage(const std::string& link) const;

  // Waits up to `wait` for the next page; true once it arrived or failed.
  bool WaitForPage(std::chrono::milliseconds wait);

  // The next page, once it ended, as TakeCurrent takes a document.
  platform::NetResult TakePage(const std::string& path, platform::NetResponse* response);

  // Ends every download under way ("The operation was cancelled."); from
  // then on the prefetch holds nothing.
  void Cancel();

 private:
  struct Queued {
    std::size_t position;
    platform::NetRequest request;
    platform::NetTransferPool::Ticket ticket;
  };

  struct QueuedPage {
    std::string link;
    std::string file;
    platform::NetTransferPool::Ticket ticket;
  };

  std::string FileFor(std::size_t position) const;
  platform::NetResult TakeInto(platform::NetTransferPool::Ticket ticket, const std::string& file,
                               const std::string& path, platform::NetResponse* response);
  void QueueMorePages();
  void DropPages();

  std::vector<platform::NetRequest> requests_;
  std::string feed_file_;
  std::size_t width_;
  std::size_t next_ = 0;     // the next position to queue
  std::size_t current_ = 0;  // the position the run has come to
  bool cancelled_ = false;
  std::deque<Queued> queued_;           // in run order, none taken yet
  std::deque<std::string> page_links_;  // pages not queued yet
  std::deque<QueuedPage> pages_;        // pages queued, none taken yet
  std::size_t pages_queued_ = 0;        // numbers their files
  platform::NetTransferPool pool_;
};

}  // namespace tavi
