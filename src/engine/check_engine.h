#pragma once

// The feed check engine: fetches (only if it changed since the last check)
// or takes a feed document, reads its items,
// has the composer stage every new article in the mailbox "Pending", moves
// the staged messages into the feed's newsbox through the host, announces
// each one to the News Board, and keeps the feed's "LastArticle" current.
// Everything runs on the thread of the window that hosts the run.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "delivery/composer.h"
#include "engine/check_window.h"
#include "engine/document_prefetch.h"
#include "fetch/feed_reader.h"
#include "platform/automation.h"
#include "platform/net.h"
#include "platform/oledate.h"
#include "platform/winsys.h"
#include "store/feed_definitions.h"

namespace tavi {

// Where a run finds its files and the host's document area.
struct CheckPaths {
  std::string settings_file;
  std::string data_folder;
  std::string in_mailbox_file;  // the host's In mailbox, for feeds whose newsbox is gone
  std::string config_dir;       // holds the temporary article file
  platform::WindowHandle mdi_client;
};

// Results of CheckFeed beyond the article count.
inline constexpr int kCheckFailed = -1;

// A run's last result before its first check.
inline constexpr int kNotCheckedYet = -2;

// What the last CheckFeed came to, for a report that names every feed.
struct FeedCheckReport {
  int composed = 0;   // new articles written into "Pending"
  int unwritten = 0;  // new articles whose message could not be written
  int moved = 0;      // messages the host moved into the newsbox
  // Why the feed failed or not everything new arrived, for the user: the
  // missing part, the download's error, the parser's message, the host's
  // refusal. "" when every new article arrived.
  std::string failure;
  // The server answered that the document has not changed since the last
  // completed check: nothing was read, and nothing is new.
  bool not_modified = false;
  // The feed's new URL, stored because the document moved permanently; ""
  // when it did not.
  std::string moved_to;

  // Every new article is in the newsbox: the feed's "LastArticle" may move.
  bool EverythingArrived() const { return failure.empty() && unwritten == 0 && moved >= composed; }
};

// One feed's part in a run: whose, and what its check came to.
struct FeedOutcome {
  std::string alias;
  std::string name;
  std::string url;
  std::string newsbox;
  int result = kCheckFailed;  // what CheckFeed returned
  FeedCheckReport check;

  // The feed fell short: not checked, or not everything new arrived.
  bool Failed() const { return !check.failure.empty(); }
};

// The request for the feed's document, with the validators of the copy the
// last completed check read.
platform::NetRequest FeedDocumentRequest(const FeedRecord& feed, const std::string& settings_file);

// One run of checks hosted by one window: the delivery state prepared when
// the window opened, the run's total of new articles and its last result.
class CheckRun {
 public:
  // Prepares the delivery state: the staging paths of "Pending" and the
  // separator line of the current time.
  CheckRun(CheckPaths paths, CheckWindow& window);

  // Checks one feed: with `from_cache` false the feed's URL is fetched into
  // `document_path` first, otherwise the document there (a cache file) is
  // read, with what the server answered for it when a background download
  // kept that beside it (store/cache_answer.h). Returns the number of
  // articles moved into the newsbox, or kCheckFailed when the feed is
  // incomplete or the document is not a feed. The document file is deleted
  // whenever the feed was complete.
  int CheckFeed(const FeedRecord& feed, bool from_cache, const std::string& document_path);

  // Takes feed documents from `prefetch` (null: none) when it holds the
  // document of the feed being checked, instead of fetching them one by one.
  // The prefetch must outlive its use.
  void UsePrefetch(DocumentPrefetch* prefetch) { prefetch_ = prefetch; }
  const std::string& SettingsFile() const { return paths_.settings_file; }

  // Moves every message of "Pending" into the newsbox, announcing each one
  // to the News Board when `notify`; returns how many were moved (0 when the
  // host cannot be reached).
  int DeliverPending(const std::string& newsbox_path, const std::string& newsbox_name, bool notify);

  // Checks every cached feed document of the data folder's cache (and its
  // subfolders) and deletes it and its answer file; `feed_finished`, when
  // set, hears of each feed as its check ends. Each document is first
  // renamed to a name of the import's own (kTakenCacheFileSuffix added), so
  // that one a background download puts in its place meanwhile is kept for
  // the next import. A document an earlier import took and never finished
  // with (it was killed) is checked first, as the older of the two. Answer
  // files whose document is gone are deleted at the end. Always true.
  bool ImportCache(const std::function<void(const FeedOutcome&)>& feed_finished = {});

  int TotalNewArticles() const { return total_new_articles_; }
  // The result of the last check; kNotCheckedYet before the first.
  int LastResult() const { return last_result_; }
  // What the last CheckFeed came to.
  const FeedCheckReport& LastCheck() const { return last_check_; }
  // The last CheckFeed's outcome, for `feed` (the record it checked).
  FeedOutcome OutcomeOf(const FeedRecord& feed) const;
  const DeliveryContext& Context() const { return context_; }

  // Opens "Pending" in the host so that it indexes the staged messages, then
  // closes the host's topmost document window and takes the focus back.
  void ReopenStagingMailbox();

  // Ends a run: shows its total of new articles in the host's status bar
  // (or, without the host, on the info line) and brings the News Board
  // forward when articles arrived.
  void ReportTotal();

 private:
  void PrepareStaging(const FeedRecord& feed);
  // Checks the cache document `file` of ImportCache under its taken name
  // `taken`, tells `feed_finished`, and deletes it.
  void ImportTaken(const std::string& file, const std::string& taken,
                   const std::vector<std::string>& aliases,
                   const std::function<void(const FeedOutcome&)>& feed_finished);
  // Fetches the feed's document into `document_path` (with the validators
  // of the last completed check) unless `from_cache`, composes its new
  // articles and delivers them; a document the server says is unchanged is
  // neither read nor delivered. Keeps what the answer said (for a cached
  // document, the answer kept beside it) once everything arrived.
  void CheckDocument(const FeedRecord& feed, bool from_cache, const std::string& document_path,
                     const platform::OleDate& last_article_date, platform::OleDate& newest_date);
  // Fetches the feed's document into `document_path`, pumping the window
  // meanwhile and cancelling the transfer once it asks to stop.
  platform::NetResult FetchDocument(const platform::NetRequest& request,
                                    const std::string& document_path,
                                    platform::NetResponse* response);
  // After a completed check of a document whose answer is known: stores the
  // feed's new address and the document's validators for the address
  // `request` asked for, and notes a move in last_check_.
  void StoreAnswer(const FeedRecord& feed, const platform::NetRequest& request,
                   const platform::NetResponse& response);
  // Takes the prefetched document into `document_path`, pumping the window
  // while it arrives and cancelling the prefetch once it asks to stop.
  platform::NetResult TakePrefetched(const std::string& document_path,
                                     platform::NetResponse* response);
  // Loads the document and composes its new articles into "Pending",
  // counting them in last_check_; sets its failure when the document is not
  // a feed.
  void ComposeFromDocument(const FeedRecord& feed, bool from_cache,
                           const std::string& document_path, const std::string& charset,
                           const platform::OleDate& last_article_date,
                           platform::OleDate& newest_date);
  // Has the prefetch fetch the full-article pages of the feed's new articles
  // ahead, and the composer take them from it.
  void PrefetchPages(const FeedRecord& feed, XmlDocument& document, FeedFormat format,
                     const platform::OleDate& last_article_date);
  // Hands the composer the prefetched page for `link` in `file`, pumping the
  // window while it arrives; false when none was fetched for it.
  bool TakePrefetchedPage(const std::string& link, const std::string& file,
                          platform::NetResponse* response);
  // Has the host index "Pending" and moves its messages into the newsbox;
  // notes in last_check_ what did not arrive.
  void Deliver(const FeedRecord& feed);
  bool MoveMessage(platform::DispatchObject& message, const platform::DispatchPtr& newsbox,
                   const std::string& newsbox_name, bool notify);
  void Announce(platform::DispatchObject& message, const std::string& header_block,
                const std::string& body, const platform::DispatchPtr& newsbox,
                const std::string& newsbox_name);

  CheckPaths paths_;
  CheckWindow& window_;
  DeliveryContext context_;
  NewArticleNotice notice_;
  int total_new_articles_ = 0;
  int last_result_ = kNotCheckedYet;
  FeedCheckReport last_check_;
  bool host_answered_ = false;  // the last DeliverPending reached the host
  DocumentPrefetch* prefetch_ = nullptr;
};

}  // namespace tavi
