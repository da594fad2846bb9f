#include "engine/feed_acceptance.h"

#include "engine/feed_title.h"

namespace tavi {

bool LearnMissingName(FeedRecord& feed, const std::string& feed_file) {
  if (!feed.Name.empty()) return true;
  const FeedTitleResult learned = LearnFeedTitle(feed.URL, feed_file);
  if (!learned.parsed) return false;
  feed.Name = NameFromLearnedTitle(learned.title, feed.Alias);
  return true;
}

bool AcceptFeedDefinition(FeedRecord& feed, const std::string& feed_file) {
  const bool given = HasAliasAndUrl(feed) && IsStorableAlias(feed.Alias);
  const bool named = LearnMissingName(feed, feed_file);
  const bool newsbox_exists = NewsboxFileExists(feed);
  const bool newsbox_allowed = IsAllowedNewsbox(feed.Newsbox);
  return given && named && newsbox_exists && newsbox_allowed;
}

}  // namespace tavi
