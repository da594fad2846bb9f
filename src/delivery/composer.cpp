#include "delivery/composer.h"

#include <algorithm>
#include <string_view>

#include "delivery/mailbox_file.h"
#include "delivery/message_text.h"
#include "fetch/date_text.h"
#include "fetch/downloader.h"
#include "fetch/file_names.h"
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
// The host takes a line of this form for the start of the next message.
constexpr std::string_view kSeparatorStart = "From ???@???";
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

bool IsKnownMessageId(const std::vector<std::string>& known, const std::string& message_id) {
  return std::find(known.begin(), known.end(), message_id) != known.end();
}

// The date test: raises `newest_date` for a date after the last article and
// tells whether the date lets the article through. A date that cannot be
// read is replaced by the check's time and does not hold the article back.
bool PassesDateTest(const FeedRecord& feed, ArticleRecord& article,
                    const platform::OleDate& last_article_date, platform::OleDate& newest_date,
                    const DeliveryContext& context) {
  const platform::OleDate date = platform::ParseLocaleDateText(NormalizeDateText(article.Date));
  if (!date.IsValid()) {
    article.Date = context.DownloadedText;
    return true;
  }
  if (date > last_article_date) {
    if (date > newest_date) newest_date = date;
    return true;
  }
  return feed.DownloadOnlyNewArticles != 1;
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

// The page behind `link`, or "" when it cannot be fetched or read. The link
// is the feed's word, so only a web address is fetched: never a local file.
// A file left from an earlier fetch goes first: a failed download must not
// pass off that page as this article's.
std::string FetchFullArticle(const std::string& link, const std::string& article_file) {
  if (!platform::IsWebAddress(link)) return "";
  if (FileExists(article_file) && !platform::DeleteFile(article_file)) return "";
  FetchToFile(link, article_file, DeleteMode::kNone, kMaxFullArticleBytes);
  std::string text = LoadDownloadedText(article_file);
  if (platform::DeleteFile(article_file)) PaceWait(&Pacing::after_deleting_article_file);
  if (text == kLoadFailedText) return "";
  return text;
}

void AppendFullArticle(const FeedRecord& feed, ArticleRecord& article,
                       const DeliveryContext& context) {
  if (article.Link.empty() || feed.DownloadReferringArticles != 1) return;
  const std::string page = FetchFullArticle(article.Link, context.ArticleFile);
  if (page.empty()) return;
  article.Description.append(kBeginFullArticle).append(page).append(kEndFullArticle);
}

bool StartsSeparatorLine(const std::string& text, std::size_t position) {
  const bool at_line_start = position == 0 || text[position - 1] == '\n';
  return at_line_start && text.compare(position, kSeparatorStart.size(), kSeparatorStart) == 0;
}

// Puts ">" before every line of `text` that begins like a separator line, so
// that the host never cuts the message there.
std::string QuoteSeparatorLines(const std::string& text) {
  std::string quoted;
  quoted.reserve(text.size());
  for (std::size_t position = 0; position < text.size(); ++position) {
    if (StartsSeparatorLine(text, position)) quoted.push_back('>');
    quoted.push_back(text[position]);
  }
  return quoted;
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

bool AppendArticleMessage(const FeedRecord& feed, ArticleRecord& article,
                          const platform::OleDate& last_article_date,
                          platform::OleDate& newest_date, const DeliveryContext& context) {
  if (IsEmptyArticle(article)) return false;
  if (article.Author.empty()) article.Author = feed.Alias;
  if (article.Date.empty()) article.Date = context.DownloadedText;
  const std::string message_id = ComposeMessageId(article);
  if (message_id.empty()) return false;
  const bool is_duplicate = IsKnownMessageId(context.ExistingMessageIds, message_id);
  // The date test runs for a duplicate too, so that it still raises the
  // newest date.
  const bool passes_date_test =
      PassesDateTest(feed, article, last_article_date, newest_date, context);
  if (is_duplicate || !passes_date_test) return false;

  const std::string header_block = BuildHeaderBlock(feed, article, message_id, context);
  AppendFullArticle(feed, article, context);
  const std::string message =
      context.SeparatorLine + header_block + BuildBody(article.Description) + "\r\n";
  return AppendToMailboxFile(context.StagingMailboxPath, message);
}

}  // namespace tavi
