#include "delivery/composer.h"

#include <algorithm>
#include <optional>
#include <string_view>

#include "delivery/article_links.h"
#include "delivery/link_resolution.h"
#include "delivery/mailbox_file.h"
#include "delivery/message_text.h"
#include "fetch/date_text.h"
#include "fetch/downloader.h"
#include "files/file_names.h"
#include "platform/fs.h"
#include "platform/net.h"
#include "store/pacing.h"

namespace tavi {
namespace {

constexpr std::string_view kMessageIdSuffix = "@localhost.localdomain>";
constexpr std::string_view kBeginFullArticle =
    "\r\n<br><p align=\"center\">--- Begin Full Article ---</p>\r\n<br>";
constexpr std::string_view kEndFullArticle =
    "\r\n<br><p align=\"center\">---- End Full Article ----</p>\r\n<br>";
constexpr std::string_view kLoadFailedText = "-1";

// A header value held on one line: a CR or LF inside it would start a header
// line of the article's choosing, or end the header block.
std::string OneLine(std::string_view value) {
  std::string line(value);
  std::replace(line.begin(), line.end(), '\r', ' ');
  std::replace(line.begin(), line.end(), '\n', ' ');
  return line;
}

void AddHeader(std::string& block, std::string_view name, std::string_view value) {
  block.append(name).append(": ").append(OneLine(value)).append("\r\n");
}

void AddOptionalHeader(std::string& block, std::string_view name, std::string_view value) {
  if (!value.empty()) AddHeader(block, name, value);
}

bool IsEmptyArticle(const ArticleRecord& article) {
  return article.Title.empty() && article.Description.empty();
}

// An article dated more than this after its check carries a wrong date: its
// date must not move the feed's "LastArticle", or every later article of a
// feed that wants only new ones would be held back until that day.
constexpr double kLatestTrustedHoursAhead = 24;

// What the article's date decides: whether it lets the article through, and
// the date the article may raise the newest date to once it is in the
// newsbox. Only a date read from the feed, not later than a day after the
// check, may raise it: the check's own time stands in for a missing or
// unreadable date, and must not pass off later articles as old ones.
struct DateVerdict {
  bool lets_through = false;
  std::optional<platform::OleDate> newest_candidate;
};

DateVerdict JudgeDate(const FeedRecord& feed, const std::optional<platform::OleDate>& feed_date,
                      const platform::OleDate& last_article_date, const DeliveryContext& context) {
  const platform::OleDate date = feed_date.value_or(context.CheckTime);
  if (!(date > last_article_date)) return {feed.DownloadOnlyNewArticles != 1, std::nullopt};
  DateVerdict verdict{true, std::nullopt};
  const platform::OleDate latest_trusted = context.CheckTime.AddHours(kLatestTrustedHoursAhead);
  if (feed_date && !(date > latest_trusted)) verdict.newest_candidate = date;
  return verdict;
}

void RaiseNewest(const std::optional<platform::OleDate>& candidate, platform::OleDate& newest) {
  if (candidate && *candidate > newest) newest = *candidate;
}

// What the article's identity and date say of its newness.
struct Newness {
  std::string message_id;
  DateVerdict verdict;
  bool in_newsbox = false;
};

// The newness of an article as the feed gives it (before the composer fills
// in its author and date); nullopt when it is empty or has no Message-Id.
std::optional<Newness> JudgeNewness(const FeedRecord& feed, const ArticleRecord& article,
                                    const platform::OleDate& last_article_date,
                                    const DeliveryContext& context) {
  if (IsEmptyArticle(article)) return std::nullopt;
  std::string message_id = ComposeMessageId(article);
  if (message_id.empty()) return std::nullopt;
  const DateVerdict verdict =
      JudgeDate(feed, ReadDateText(article.Date), last_article_date, context);
  const bool in_newsbox = context.ExistingMessageIds.contains(message_id);
  return Newness{std::move(message_id), verdict, in_newsbox};
}

std::string BuildHeaderBlock(const FeedRecord& feed, const ArticleRecord& article,
                             const std::string& message_id, const DeliveryContext& context) {
  std::string block;
  AddHeader(block, "Subject", article.Title);
  AddHeader(block, "From", article.Author);
  AddHeader(block, "Date", article.Date);
  AddOptionalHeader(block, "Website", article.Link);
  AddHeader(block, "Message-Id", message_id);
  AddHeader(block, "Downloaded", context.DownloadedText);
  AddOptionalHeader(block, "Enclosed", article.Enclosure);
  AddOptionalHeader(block, "Category", article.Category);
  AddOptionalHeader(block, "Website-Comments", article.Comments);
  AddOptionalHeader(block, "Source", article.Source);
  AddHeader(block, "Feed", feed.Alias);
  block.append("MIME-Version: 1.0\r\n");
  block.append("Content-Type: text/html\r\n");
  block.append("Content-Transfer-Encoding: 8bit\r\n");
  return block;
}

// The page behind `written_link` (white space around it dropped), or "" when
// it cannot be fetched or read. The link is the feed's word, so only a web
// address is fetched: never a local file. A file left from an earlier fetch
// goes first: a failed download must not pass off that page as this
// article's.
std::string FetchFullArticle(std::string_view written_link, const DeliveryContext& context) {
  const std::string link(TrimmedLink(written_link));
  const std::string& article_file = context.ArticleFile;
  if (!platform::IsWebAddress(link)) return "";
  if (FileExists(article_file) && !platform::DeleteFile(article_file)) return "";
  platform::NetResponse response;
  if (!context.PrefetchedPage || !context.PrefetchedPage(link, article_file, &response))
    FetchToFile({link, "", ""}, article_file, DeleteMode::kNone, kMaxFullArticleBytes, &response);
  // The page is read in the charset its server named, else its own.
  std::string text = LoadDownloadedText(article_file, response.charset);
  if (platform::DeleteFile(article_file)) PaceWait(&Pacing::after_deleting_article_file);
  if (text == kLoadFailedText) return "";
  return text;
}

void AppendFullArticle(const FeedRecord& feed, ArticleRecord& article,
                       const DeliveryContext& context) {
  if (article.Link.empty() || feed.DownloadReferringArticles != 1) return;
  const std::string page = FetchFullArticle(article.Link, context);
  if (page.empty()) return;
  article.Description.append(kBeginFullArticle).append(page).append(kEndFullArticle);
}

std::string BuildBody(const std::string& description) {
  return QuoteSeparatorLines("\r\n<x-html>" + description + "</x-html>");
}

}  // namespace

std::string ComposeMessageId(const ArticleRecord& article) {
  const std::string& identity = article.Guid.empty() ? article.Link : article.Guid;
  if (identity.empty()) return "";
  return OneLine("<" + identity + std::string(kMessageIdSuffix));
}

bool IsNewArticle(const FeedRecord& feed, const ArticleRecord& article,
                  const platform::OleDate& last_article_date, const DeliveryContext& context) {
  const std::optional<Newness> newness = JudgeNewness(feed, article, last_article_date, context);
  return newness && !newness->in_newsbox && newness->verdict.lets_through;
}

ArticleOutcome AppendArticleMessage(const FeedRecord& feed, ArticleRecord& article,
                                    const platform::OleDate& last_article_date,
                                    platform::OleDate& newest_date,
                                    const DeliveryContext& context) {
  if (IsEmptyArticle(article)) return ArticleOutcome::kSkipped;
  const std::optional<Newness> newness = JudgeNewness(feed, article, last_article_date, context);
  if (article.Author.empty()) article.Author = feed.Alias;
  if (article.Date.empty()) article.Date = context.DownloadedText;
  if (!newness) return ArticleOutcome::kSkipped;
  // An article the newsbox holds already was delivered: its date may still
  // raise the newest date.
  if (newness->in_newsbox) {
    RaiseNewest(newness->verdict.newest_candidate, newest_date);
    return ArticleOutcome::kSkipped;
  }
  if (!newness->verdict.lets_through) return ArticleOutcome::kSkipped;

  // After the Message-Id: an article delivered before links were resolved
  // must keep the identity it had.
  ResolveArticleLinks(article, context.DocumentUrl);
  const std::string header_block = BuildHeaderBlock(feed, article, newness->message_id, context);
  AppendFullArticle(feed, article, context);
  const std::string message =
      context.SeparatorLine + header_block + BuildBody(article.Description) + "\r\n";
  if (!AppendToMailboxFile(context.StagingMailboxPath, message))
    return ArticleOutcome::kWriteFailed;
  RaiseNewest(newness->verdict.newest_candidate, newest_date);
  return ArticleOutcome::kAppended;
}

}  // namespace tavi
