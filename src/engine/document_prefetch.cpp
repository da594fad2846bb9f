#include "engine/document_prefetch.h"

#include <algorithm>
#include <cerrno>

#include "fetch/downloader.h"
#include "platform/fs.h"
#include "platform/net_errors.h"
#include "store/profile.h"
#include "store/settings_layout.h"

namespace tavi {

std::size_t ReadMaxDownloads(const std::string& settings_file) {
  const int stored = ReadProfileInt(settings::kGeneralSection, settings::kMaxDownloads,
                                    settings::kDefaultMaxDownloads, settings_file);
  return static_cast<std::size_t>(std::clamp(stored, 1, settings::kMaxMaxDownloads));
}

DocumentPrefetch::DocumentPrefetch(std::vector<platform::NetRequest> requests,
                                   std::string feed_file, std::size_t width)
    : requests_(std::move(requests)),
      feed_file_(std::move(feed_file)),
      width_(std::max<std::size_t>(width, 1)),
      pool_(width_) {}

void DocumentPrefetch::MoveTo(std::size_t position) {
  current_ = position;
  while (!queued_.empty() && queued_.front().position < position) {
    pool_.Drop(queued_.front().ticket);
    queued_.pop_front();
  }
  next_ = std::max(next_, position);
  while (!cancelled_ && queued_.size() < width_ && next_ < requests_.size()) {
    const std::size_t queued = next_++;
    const platform::NetRequest& request = requests_[queued];
    if (request.url.empty()) continue;
    queued_.push_back(
        {queued, request, pool_.Queue(request, FileFor(queued), kMaxFeedDocumentBytes)});
  }
}

bool DocumentPrefetch::Holds(const platform::NetRequest& request) const {
  return !cancelled_ && !queued_.empty() && queued_.front().position == current_ &&
         queued_.front().request == request;
}

bool DocumentPrefetch::WaitForCurrent(std::chrono::milliseconds wait) {
  return queued_.empty() || pool_.WaitFor(queued_.front().ticket, wait);
}

platform::NetResult DocumentPrefetch::TakeCurrent(const std::string& path,
                                                  platform::NetResponse* response) {
  if (queued_.empty() || queued_.front().position != current_)
    return platform::NetResult::Failure(platform::kCancelledText);
  const std::size_t position = queued_.front().position;
  const platform::NetTransferPool::Ticket ticket = queued_.front().ticket;
  queued_.pop_front();
  return TakeInto(ticket, FileFor(position), path, response);
}

void DocumentPrefetch::QueuePages(std::vector<std::string> links) {
  DropPages();
  page_links_.assign(links.begin(), links.end());
  QueueMorePages();
}

bool DocumentPrefetch::HoldsPage(const std::string& link) const {
  return !cancelled_ && !pages_.empty() && pages_.front().link == link;
}

bool DocumentPrefetch::WaitForPage(std::chrono::milliseconds wait) {
  return pages_.empty() || pool_.WaitFor(pages_.front().ticket, wait);
}

platform::NetResult DocumentPrefetch::TakePage(const std::string& path,
                                               platform::NetResponse* response) {
  if (pages_.empty()) return platform::NetResult::Failure(platform::kCancelledText);
  const QueuedPage page = pages_.front();
  pages_.pop_front();
  QueueMorePages();
  return TakeInto(page.ticket, page.file, path, response);
}

// The download of `ticket` out of the pool: its file moved from `file` to
// `path`, unless it failed or was not modified and so left none.
platform::NetResult DocumentPrefetch::TakeInto(platform::NetTransferPool::Ticket ticket,
                                               const std::string& file, const std::string& path,
                                               platform::NetResponse* response) {
  platform::NetResponse answer;
  const platform::NetResult result = pool_.Take(ticket, &answer);
  if (response != nullptr) *response = answer;
  if (!result.ok || answer.not_modified) return result;
  if (!platform::RenameFile(file, path)) {
    const int error = errno;
    platform::DeleteFile(file);
    return platform::NetResult::Failure(platform::FileErrorText(error));
  }
  return result;
}

// Tops the pages waiting up to the width; they go before later documents,
// which the run needs only after this feed's pages.
void DocumentPrefetch::QueueMorePages() {
  while (!cancelled_ && pages_.size() < width_ && !page_links_.empty()) {
    const std::string file = feed_file_ + ".page" + std::to_string(pages_queued_++);
    const auto ticket = pool_.Queue({page_links_.front(), "", ""}, file, kMaxFullArticleBytes,
                                    platform::NetTransferPool::Turn::kFirst);
    pages_.push_back({page_links_.front(), file, ticket});
    page_links_.pop_front();
  }
}

void DocumentPrefetch::DropPages() {
  for (const QueuedPage& page : pages_) pool_.Drop(page.ticket);
  pages_.clear();
  page_links_.clear();
}

void DocumentPrefetch::Cancel() {
  cancelled_ = true;
  pool_.CancelAll();
}

// Beside the run's feed file, numbered by run position, so that no two
// documents of a run share a file.
std::string DocumentPrefetch::FileFor(std::size_t position) const {
  return feed_file_ + "." + std::to_string(position);
}

}  // namespace tavi
