#pragma once

// The composer: turns one article of a feed into one mail message and
// appends it to the staging mailbox "Pending", from which the check engine
// moves it into the feed's newsbox. It also decides whether the article is
// new: one whose Message-Id the newsbox already holds, or (for a feed that
// wants only new articles) one not dated after the feed's last article,
// produces no message. It never talks to the host.
//
// A message is the separator line, a header block of "Name: value" lines,
// an empty line and the HTML body "<x-html>...</x-html>". Header values are
// kept on one line (each CR or LF becomes a blank), so no article can add
// header lines or end the header block early; a body line beginning with
// "From ???@???" gets a ">" in front, so no article can pass for two
// messages.

#include <functional>
#include <string>
#include <unordered_set>

#include "fetch/article_record.h"
#include "platform/net.h"
#include "platform/oledate.h"
#include "store/feed_definitions.h"

namespace tavi {

// The state of one check that the composer works with. The check engine owns
// it and fills it; the composer only reads it.
struct DeliveryContext {
  std::string StagingMailboxPath;  // the mailbox file of "Pending"
  std::string StagingIndexPath;    // its table of contents
  // The mailbox separator line and CR LF, computed when the hosting window
  // opened: every message written while it exists carries the same line.
  std::string SeparatorLine;
  // The local date and time at which the current check started, as text.
  std::string DownloadedText;
  // The local date and time at which the current check started.
  platform::OleDate CheckTime;
  // The Message-Ids of the messages already in the target newsbox, in a
  // hash set: a check of a large feed against a large newsbox stays linear.
  std::unordered_set<std::string> ExistingMessageIds;
  // The temporary file a full article is fetched into: "article.html" in
  // the plug-in's configuration folder, the full-article translator's file
  // too.
  std::string ArticleFile;
  // The address the feed document came from, which its relative links are
  // relative to; "" when it is not known (a document from the cache).
  std::string DocumentUrl;
  // Where a check that fetched the full-article pages ahead hands them over:
  // given an article's link and ArticleFile, it puts the page fetched for
  // that link into the file, tells what the answer said (its charset) and
  // returns true (no file: the page could not be fetched); false when it
  // holds no page for the link, and the composer fetches the page itself.
  // Empty: the composer fetches every page.
  std::function<bool(const std::string& link, const std::string& file,
                     platform::NetResponse* response)>
      PrefetchedPage;
};

// The Message-Id of the article as its message carries it: "<" + Guid +
// "@localhost.localdomain>", or with the Link when the Guid is empty, each CR
// or LF turned into a blank. "" when the article has neither a Guid nor a
// Link (it cannot be told apart from others, so it is never delivered).
std::string ComposeMessageId(const ArticleRecord& article);

// True when AppendArticleMessage would append a message for `article` as it
// stands: the same rules, with nothing written and nothing fetched. A check
// uses it to fetch the full-article pages of new articles ahead.
bool IsNewArticle(const FeedRecord& feed, const ArticleRecord& article,
                  const platform::OleDate& last_article_date, const DeliveryContext& context);

// What became of one article.
enum class ArticleOutcome {
  kAppended,     // its message was appended to the staging mailbox
  kSkipped,      // not new, already in the newsbox, empty, or without identity
  kWriteFailed,  // new, but its message could not be written (nothing was)
};

// Appends the message for `article` to context.StagingMailboxPath when the
// article is new. kSkipped when the article has no Title and no Description,
// has no Message-Id, is already in the newsbox (context.ExistingMessageIds),
// or is not dated after `last_article_date` while feed.DownloadOnlyNewArticles
// is 1; kWriteFailed when the staging file is missing or cannot be written
// (nothing is written then).
//
// The record is changed in place: an empty Author becomes feed.Alias, an
// empty Date becomes context.DownloadedText (an unreadable one keeps its text
// and counts as context.CheckTime); once the Message-Id is taken from the
// link as written, relative links are resolved against context.DocumentUrl
// and the xml:base values (ResolveArticleLinks); and with
// feed.DownloadReferringArticles 1 the web page behind the Link, when it can
// be fetched into context.ArticleFile, is appended to the Description
// between Begin and End markers.
//
// `newest_date` only ever holds dates of articles in the newsbox: it rises to
// the article's date when its message was appended or the newsbox holds it
// already, the date was read from the feed, is later than both
// `last_article_date` and `newest_date`, and is not more than a day after
// context.CheckTime.
ArticleOutcome AppendArticleMessage(const FeedRecord& feed, ArticleRecord& article,
                                    const platform::OleDate& last_article_date,
                                    platform::OleDate& newest_date, const DeliveryContext& context);

}  // namespace tavi
