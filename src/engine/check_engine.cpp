#include "engine/check_engine.h"

#include <atomic>
#include <chrono>
#include <future>
#include <optional>
#include <system_error>

#include "delivery/article_links.h"
#include "delivery/host_automation.h"
#include "delivery/host_members.h"
#include "delivery/mailbox_file.h"
#include "delivery/staging_lease.h"
#include "fetch/date_text.h"
#include "fetch/downloader.h"
#include "fetch/feed_reader.h"
#include "files/file_names.h"
#include "platform/fs.h"
#include "platform/oledate.h"
#include "store/cache_answer.h"
#include "store/feed_validators.h"
#include "store/pacing.h"
#include "store/profile.h"

namespace tavi {
namespace {

namespace members = host_members;
using platform::DispatchPtr;
using platform::OleDate;

constexpr const char* kInMailboxName = "In";
constexpr const char* kArticleFileName = "article.html";
// Who holds the staging mailbox while a feed is checked, as a refusal names it.
constexpr const char* kCheckRunUser = "a check run";
constexpr platform::CalendarTime kNoLastArticle{1970, 1, 1, 10, 20, 30};
// How often the window is pumped while a feed document downloads.
constexpr std::chrono::milliseconds kFetchPumpPeriod{20};

// The stored "LastArticle", or the day before any feed when it cannot be read.
OleDate ReadLastArticleDate(const std::string& alias, const std::string& settings_file) {
  const OleDate stored = platform::ParseLocaleDateText(ReadLastArticle(alias, settings_file));
  return stored.IsValid() ? stored : OleDate::FromCalendar(kNoLastArticle);
}

std::string DownloadedTextOf(const OleDate& check_time) {
  return ConvertW3cDateText(platform::FormatLocaleDateText(check_time));
}

// The header block of a whole message text: everything through its first
// empty line.
std::string HeaderBlockOf(const std::string& message_text) {
  const auto end = message_text.find("\r\n\r\n");
  return end == std::string::npos ? message_text : message_text.substr(0, end + 4);
}

// Closes the host's window on "Pending", or else an untitled one.
void CloseStagingWindow(platform::WindowHandle mdi_client) {
  if (!CloseHostMailboxWindow(mdi_client, kStagingMailboxName))
    CloseHostMailboxWindow(mdi_client, "");
}

// The feed as the check uses it: its newsbox falls back to In when the
// newsbox file is gone. Returns the part the feed lacks, "" when complete.
std::string PrepareFeedForCheck(FeedRecord& feed, const std::string& in_mailbox_file) {
  if (feed.Alias.empty()) return "alias";
  if (feed.Name.empty()) return "name";
  if (feed.URL.empty()) return "URL";
  if (!FileExists(feed.NewsboxPath)) {
    feed.NewsboxPath = in_mailbox_file;
    feed.Newsbox = kInMailboxName;
  }
  return feed.Newsbox.empty() ? "newsbox" : "";
}

// Why not every new article reached the newsbox; "" when every one did.
std::string ShortfallOf(const FeedCheckReport& report, bool host_answered) {
  if (report.unwritten > 0)
    return std::to_string(report.unwritten) +
           " new articles could not be written into the staging mailbox";
  if (report.moved >= report.composed) return "";
  if (!host_answered) return "the host's automation server did not answer";
  return "the host refused the move of " + std::to_string(report.composed - report.moved) + " of " +
         std::to_string(report.composed) + " new articles";
}

// The answer a background download kept beside the cached document: the
// request it made and what the server said. False when none describes this
// document.
bool ReadKeptAnswer(const std::string& document_path, platform::NetRequest& request,
                    platform::NetResponse& response) {
  std::optional<CacheAnswer> kept = ReadCacheAnswer(document_path);
  if (!kept) return false;
  request = {kept->requested_url, "", ""};
  response = std::move(kept->response);
  return true;
}

}  // namespace

platform::NetRequest FeedDocumentRequest(const FeedRecord& feed, const std::string& settings_file) {
  const FeedValidators stored = ReadFeedValidators(feed.Alias, settings_file);
  return {feed.URL, stored.ETag, stored.LastModified};
}

CheckRun::CheckRun(CheckPaths paths, CheckWindow& window)
    : paths_(std::move(paths)), window_(window) {
  context_.StagingMailboxPath = MailboxFilePath(paths_.data_folder, kStagingMailboxName, false);
  context_.StagingIndexPath = MailboxFilePath(paths_.data_folder, kStagingMailboxName, true);
  context_.SeparatorLine =
      FormatSeparatorLine(platform::FormatLocaleDateText(platform::CurrentLocalDate())) + "\r\n";
  context_.ArticleFile = platform::JoinPath(paths_.config_dir, kArticleFileName);
}

int CheckRun::CheckFeed(const FeedRecord& record, bool from_cache,
                        const std::string& document_path) {
  context_.CheckTime = platform::CurrentLocalDate();
  context_.DownloadedText = DownloadedTextOf(context_.CheckTime);
  last_check_ = {};
  FeedRecord feed = record;
  if (const std::string missing = PrepareFeedForCheck(feed, paths_.in_mailbox_file);
      !missing.empty()) {
    last_check_.failure = "the feed has no " + missing;
    return kCheckFailed;
  }
  const std::optional<StagingLease> staging = StagingLease::Take(kCheckRunUser);
  if (!staging) {
    last_check_.failure = StagingBusyText(StagingLease::Holder());
    last_result_ = kCheckFailed;
    return kCheckFailed;
  }
  const OleDate last_article_date = ReadLastArticleDate(feed.Alias, paths_.settings_file);
  OleDate newest_date = last_article_date;

  PrepareStaging(feed);
  CheckDocument(feed, from_cache, document_path, last_article_date, newest_date);
  platform::DeleteFile(document_path);
  window_.SetProgress(0);
  window_.SetInfoLine("");
  // An article not in the newsbox must be composed again by the next check,
  // so the date moves on only once everything composed arrived.
  if (newest_date > last_article_date && last_check_.EverythingArrived())
    WriteProfileString(feed.Alias, settings::kLastArticle,
                       platform::FormatDate(newest_date, kCanonicalDateLayout),
                       paths_.settings_file);
  PaceWait(&Pacing::at_end_of_check);
  window_.PumpMessages();
  return last_result_;
}

void CheckRun::CheckDocument(const FeedRecord& feed, bool from_cache,
                             const std::string& document_path, const OleDate& last_article_date,
                             OleDate& newest_date) {
  platform::NetRequest request = FeedDocumentRequest(feed, paths_.settings_file);
  platform::NetResponse response;
  // Whether the server's answer for this document is known.
  bool answered = true;
  if (!from_cache) {
    const platform::NetResult fetched = FetchDocument(request, document_path, &response);
    if (!fetched.ok) last_check_.failure = fetched.error;
    last_check_.not_modified = fetched.ok && response.not_modified;
  } else {
    answered = ReadKeptAnswer(document_path, request, response);
  }
  // Relative links lead where the document was finally found, after its
  // redirects. A cached document's address is known only from the answer
  // kept beside it: where it was fetched from may not be the feed's URL.
  context_.DocumentUrl =
      !answered ? "" : (response.final_url.empty() ? request.url : response.final_url);
  if (last_check_.failure.empty() && !last_check_.not_modified)
    ComposeFromDocument(feed, from_cache, document_path, response.charset, last_article_date,
                        newest_date);
  if (!last_check_.failure.empty()) {
    last_result_ = kCheckFailed;
  } else if (last_check_.not_modified) {
    last_result_ = 0;
  } else {
    Deliver(feed);
  }
  if (answered && last_check_.EverythingArrived()) StoreAnswer(feed, request, response);
}

// The transfer runs on a thread of its own while this one keeps the window
// answering, so that a stop ends a transfer that would otherwise run until
// its time limits.
platform::NetResult CheckRun::FetchDocument(const platform::NetRequest& request,
                                            const std::string& document_path,
                                            platform::NetResponse* response) {
  if (prefetch_ != nullptr && prefetch_->Holds(request))
    return TakePrefetched(document_path, response);
  const auto fetch = [&] {
    return FetchToFile(request, document_path, DeleteMode::kDeleteAndWait, kMaxFeedDocumentBytes,
                       response);
  };
  std::atomic<bool> cancel{false};
  std::future<platform::NetResult> fetched;
  try {
    fetched = std::async(std::launch::async, [&] {
      const platform::NetCancelScope scope(cancel);
      return fetch();
    });
  } catch (const std::system_error&) {
    return fetch();
  }
  while (fetched.wait_for(kFetchPumpPeriod) != std::future_status::ready) {
    window_.PumpMessages();
    if (window_.StopRequested()) cancel = true;
  }
  return fetched.get();
}

// Like "LastArticle", what the answer said is kept only once everything new
// in it arrived: otherwise the next check must get the document whole again.
void CheckRun::StoreAnswer(const FeedRecord& feed, const platform::NetRequest& request,
                           const platform::NetResponse& response) {
  const bool moved = !response.moved_to.empty() && response.moved_to != request.url;
  // An unchanged document keeps the validators it was asked for with.
  if (response.not_modified && !moved) return;
  CheckedAddress checked;
  // A cached document may have been asked for at an address the feed has
  // since left: what was learned of it belongs to that address.
  checked.requested_url = request.url;
  if (moved) checked.moved_to = response.moved_to;
  checked.validators = response.not_modified
                           ? FeedValidators{request.if_none_match, request.if_modified_since}
                           : FeedValidators{response.etag, response.last_modified};
  if (StoreCheckedAddress(feed.Alias, checked, paths_.settings_file) && moved)
    last_check_.moved_to = response.moved_to;
}

platform::NetResult CheckRun::TakePrefetched(const std::string& document_path,
                                             platform::NetResponse* response) {
  while (!prefetch_->WaitForCurrent(kFetchPumpPeriod)) {
    window_.PumpMessages();
    if (window_.StopRequested()) prefetch_->Cancel();
  }
  return prefetch_->TakeCurrent(document_path, response);
}

void CheckRun::Deliver(const FeedRecord& feed) {
  ReopenStagingMailbox();
  CloseStagingWindow(paths_.mdi_client);
  last_result_ = DeliverPending(feed.NewsboxPath, feed.Newsbox, feed.NotifyNewsBoard == 1);
  window_.SetProgress(100);
  last_check_.moved = last_result_;
  last_check_.failure = ShortfallOf(last_check_, host_answered_);
}

void CheckRun::PrepareStaging(const FeedRecord& feed) {
  const StagingPaths staging = PrepareStagingMailbox(paths_.data_folder, paths_.mdi_client);
  context_.StagingMailboxPath = staging.mailbox_file;
  context_.StagingIndexPath = staging.index_file;
  context_.ExistingMessageIds.clear();
  if (CollectMessageIds(feed.NewsboxPath, feed.Newsbox, context_.ExistingMessageIds))
    PaceWait(&Pacing::after_collecting_ids);
}

void CheckRun::ComposeFromDocument(const FeedRecord& feed, bool from_cache,
                                   const std::string& document_path, const std::string& charset,
                                   const OleDate& last_article_date, OleDate& newest_date) {
  // The document lives only here: a large one is gone before the host reads
  // the staged messages.
  XmlDocument document;
  if (!document.LoadFile(document_path, charset)) {
    last_check_.failure = "not a feed document (" + document.ParseMessage() + ")";
    return;
  }
  window_.SetGeneralLine(from_cache ? feed.Name + " >> Checking the cache for new articles..."
                                    : "Checking " + feed.Name + " for new articles...");
  const auto compose = [&](ArticleRecord& article) {
    switch (AppendArticleMessage(feed, article, last_article_date, newest_date, context_)) {
      case ArticleOutcome::kAppended:
        ++last_check_.composed;
        window_.SetInfoLine(article.Title + " by " + article.Author);
        return;
      case ArticleOutcome::kWriteFailed:
        ++last_check_.unwritten;
        return;
      case ArticleOutcome::kSkipped:
        return;
    }
  };
  const auto keep_responsive = [&] {
    PaceWait(&Pacing::per_element);
    window_.PumpMessages();
  };
  const FeedFormat format = DetectFeedFormat(document);
  if (prefetch_ != nullptr && feed.DownloadReferringArticles == 1)
    PrefetchPages(feed, document, format, last_article_date);
  WalkFeed(document, format, compose, keep_responsive);
  // Pages the composer did not take have no one else to take them.
  if (context_.PrefetchedPage) prefetch_->QueuePages({});
  context_.PrefetchedPage = nullptr;
}

void CheckRun::PrefetchPages(const FeedRecord& feed, XmlDocument& document, FeedFormat format,
                             const OleDate& last_article_date) {
  std::vector<std::string> links;
  const auto note_page = [&](const ArticleRecord& article) {
    // The composer fetches from the link as it resolves it.
    std::string link = ResolvedArticleLink(article, context_.DocumentUrl);
    if (platform::IsWebAddress(link) && IsNewArticle(feed, article, last_article_date, context_))
      links.push_back(std::move(link));
  };
  WalkFeed(document, format, note_page, {});
  prefetch_->QueuePages(std::move(links));
  context_.PrefetchedPage = [this](const std::string& link, const std::string& file,
                                   platform::NetResponse* response) {
    return TakePrefetchedPage(link, file, response);
  };
}

bool CheckRun::TakePrefetchedPage(const std::string& link, const std::string& file,
                                  platform::NetResponse* response) {
  if (!prefetch_->HoldsPage(link)) return false;
  while (!prefetch_->WaitForPage(kFetchPumpPeriod)) {
    window_.PumpMessages();
    if (window_.StopRequested()) prefetch_->Cancel();
  }
  prefetch_->TakePage(file, response);
  return true;
}

void CheckRun::ReopenStagingMailbox() {
  if (!OpenHostMailbox(kStagingMailboxName)) return;
  const platform::WindowHandle top = platform::GetTopWindow(paths_.mdi_client);
  if (!top || !platform::SendNotifyMessage(top, platform::WM_CLOSE, 0, 0)) return;
  window_.PumpMessages();
  window_.TakeFocus();
}

int CheckRun::DeliverPending(const std::string& newsbox_path, const std::string& newsbox_name,
                             bool notify) {
  const HostConnection host;
  host_answered_ = host.IsConnected();
  if (!host_answered_) return 0;
  host.SetStatusText("Downloading new articles...");
  const DispatchPtr pending = host.ItemByName(kStagingMailboxName);
  const DispatchPtr newsbox = MailboxByPathOrName(host, newsbox_path, newsbox_name);
  int moved = 0;
  if (pending && newsbox) {
    const DispatchPtr messages = pending->Get(members::item::kMessages).AsObject();
    const std::int32_t count = CollectionCount(messages);
    for (std::int32_t position = count; position >= 1; --position) {
      window_.SetProgress((count - position) * 100 / count);
      const DispatchPtr message = CollectionEntry(messages, position);
      if (message && MoveMessage(*message, newsbox, newsbox_name, notify)) ++moved;
    }
    if (moved > 0) newsbox->Call(members::item::kOpen);
  }
  window_.SetProgress(98);
  window_.SetGeneralLine("Checking the feed for new articles... Done.");
  window_.SetInfoLine("Done. Performing maintenance jobs.");
  host.SetStatusText("So far, you've got " + std::to_string(total_new_articles_) +
                     " new articles.");
  if (moved > 0) window_.AnnounceDeliveryEnd();
  return moved;
}

bool CheckRun::MoveMessage(platform::DispatchObject& message, const DispatchPtr& newsbox,
                           const std::string& newsbox_name, bool notify) {
  const std::string header_block = HeaderBlockOf(message.Get(members::message::kText).AsText());
  const std::string body = message.Get(members::message::kBody).AsText();
  window_.PumpMessages();
  if (notify) Announce(message, header_block, body, newsbox, newsbox_name);
  const std::string summary = message.Get(members::message::kSummary).AsText();
  message.Put(members::message::kState, members::message::kStateBeforeMove);
  // Only a move the host accepted counts: the feed's date moves on by it.
  if (!message.Invoke(members::message::kMoveTo, platform::InvokeKind::kCall, {newsbox}).ok)
    return false;
  ++total_new_articles_;
  window_.SetInfoLine("Downloading articles... " + summary);
  return true;
}

void CheckRun::Announce(platform::DispatchObject& message, const std::string& header_block,
                        const std::string& body, const DispatchPtr& newsbox,
                        const std::string& newsbox_name) {
  if (!window_.HasNewsBoard()) return;
  notice_.HeaderText = header_block;
  notice_.MessageText = body;
  notice_.MessageValue = message.Get(members::message::kValue).AsInteger();
  notice_.Newsbox = newsbox_name;
  notice_.MailboxText = newsbox->Get(members::item::kPath).AsText();
  notice_.MailboxValue = newsbox->Get(members::item::kNumber).AsInteger();
  window_.AnnounceNewArticle(notice_);
}

FeedOutcome CheckRun::OutcomeOf(const FeedRecord& feed) const {
  return {feed.Alias, feed.Name, feed.URL, feed.Newsbox, last_result_, last_check_};
}

bool CheckRun::ImportCache(const std::function<void(const FeedOutcome&)>& feed_finished) {
  window_.SetGeneralLine("Loading from cache... Please wait.");
  const std::vector<std::string> aliases = ReadListedAliases(paths_.settings_file);
  const std::string folder = CacheFolder(paths_.data_folder);
  // What a killed import left under the taken name would otherwise never be
  // read again, and its articles may have left the feed since.
  for (const std::string& taken : ListTakenCacheFiles(folder)) {
    const std::string_view suffix = kTakenCacheFileSuffix;
    ImportTaken(taken.substr(0, taken.size() - suffix.size()), taken, aliases, feed_finished);
  }
  for (const std::string& file : ListCacheFiles(folder)) {
    // The import reads a copy of its own: a newer document that a background
    // download puts in place meanwhile stays for the next import. Its answer
    // goes with it; one that belongs to the newer document is not read for
    // this one (store/cache_answer.h).
    const std::string taken = file + kTakenCacheFileSuffix;
    if (!platform::RenameFile(file, taken)) continue;
    platform::RenameFile(CacheAnswerPath(file), CacheAnswerPath(taken));
    ImportTaken(file, taken, aliases, feed_finished);
  }
  RemoveCacheAnswersWithoutDocument(folder);
  ReopenStagingMailbox();
  ReportTotal();
  return true;
}

void CheckRun::ImportTaken(const std::string& file, const std::string& taken,
                           const std::vector<std::string>& aliases,
                           const std::function<void(const FeedOutcome&)>& feed_finished) {
  const FeedRecord feed = ReadFeedDefinition(AliasOfCacheFile(file, aliases), paths_.settings_file);
  last_result_ = CheckFeed(feed, true, taken);
  if (feed_finished) feed_finished(OutcomeOf(feed));
  // A document whose feed is gone has no one to read it: left in place it
  // would bring the import back at every opening.
  platform::DeleteFile(taken);
  platform::DeleteFile(CacheAnswerPath(taken));
}

void CheckRun::ReportTotal() {
  const std::string total = std::to_string(total_new_articles_);
  if (ShowNewArticlesStatus(total))
    window_.SetGeneralLine("Ready. For Help, press F1.");
  else
    window_.SetInfoLine(total);
  if (total_new_articles_ > 0) window_.BringNewsBoardForward();
}

}  // namespace tavi
