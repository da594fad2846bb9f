#include "cli/feed_editing.h"

#include <charconv>

#include "delivery/host_automation.h"
#include "delivery/mailbox_file.h"
#include "fetch/feed_title.h"
#include "platform/ascii.h"

namespace tavi::cli {
namespace {

std::optional<int> ParseMinutes(const std::string& text) {
  int minutes = 0;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, minutes);
  if (text.empty() || error != std::errc() || stop != end) return std::nullopt;
  return minutes;
}

// The switch pair's value: 1 for `on`, 0 for `off`, nullopt for neither.
std::optional<int> SwitchPair(const ParsedCommand& command, std::string_view on,
                              std::string_view off) {
  if (command.Has(on)) return 1;
  if (command.Has(off)) return 0;
  return std::nullopt;
}

// The rules that can be tested before anything is downloaded or created.
std::optional<FeedRule> FindEarlyBrokenRule(const FeedRecord& feed, const std::string& newsbox,
                                            const std::vector<std::string>& other_aliases) {
  if (!HasAliasAndUrl(feed)) return FeedRule::kAliasAndUrlGiven;
  if (!IsStorableAlias(feed.Alias)) return FeedRule::kAliasStorable;
  if (!IsAllowedNewsbox(newsbox) || !IsAllowedNewsbox(SafeMailboxName(newsbox)))
    return FeedRule::kNewsboxAllowed;
  if (!IsUniqueAlias(feed.Alias, other_aliases)) return FeedRule::kAliasUnique;
  return std::nullopt;
}

std::string NoNameRefusal(const FeedRecord& feed) {
  return "The feed has no name, and its document at " + feed.URL +
         " could not be downloaded and read as a feed; give a name with --name.";
}

std::string UntitledWarning(const FeedRecord& feed) {
  return "the feed's document has no title, so the feed is saved with an empty name and is not "
         "listed until it gets one: tavi edit \"" +
         feed.Alias + "\" --name NAME";
}

// Finds the mailbox named `name` anywhere in the host's tree, or creates it
// at the top level; fills the feed's newsbox from what the host holds. False
// when the host could not give a mailbox.
bool ResolveNewsbox(const std::string& name, FeedRecord& feed, Session& session) {
  host::MailStore& store = session.Host().Store();
  std::optional<int> number = store.FindByName(name);
  std::optional<host::ItemInfo> item;
  if (number) item = store.Item(*number);
  if (!item || item->folder) {
    const std::string path = CreateTopLevelMailbox(name);
    if (path.empty()) return false;
    number = store.FindByPath(path);
    if (number) item = store.Item(*number);
    if (!item || item->folder) return false;
  }
  feed.Newsbox = item->name;
  feed.NewsboxPath = item->path;
  return true;
}

}  // namespace

std::optional<FeedChanges> ReadFeedChanges(const ParsedCommand& command, std::string& error) {
  FeedChanges changes;
  changes.alias = command.Value("--alias");
  changes.url = command.Value("--url");
  changes.name = command.Value("--name");
  changes.newsbox = command.Value("--newsbox");
  changes.download_referring = SwitchPair(command, "--full", "--no-full");
  changes.only_new = SwitchPair(command, "--only-new", "--all");
  changes.auto_check = SwitchPair(command, "--every", "--on-demand");
  if (const std::optional<std::string> every = command.Value("--every")) {
    changes.every = ParseMinutes(*every);
    if (!changes.every) {
      error = "--every needs a whole number of minutes, not \"" + *every + "\"";
      return std::nullopt;
    }
  }
  return changes;
}

void ApplyFeedChanges(const FeedChanges& changes, FeedRecord& feed) {
  if (changes.alias) feed.Alias = *changes.alias;
  if (changes.url) feed.URL = *changes.url;
  if (changes.name) feed.Name = *changes.name;
  if (changes.download_referring) feed.DownloadReferringArticles = *changes.download_referring;
  if (changes.only_new) feed.DownloadOnlyNewArticles = *changes.only_new;
  if (changes.auto_check) feed.AutoCheck = *changes.auto_check;
  if (changes.every) feed.IntervalMinutes = *changes.every;
}

FeedRecord NewFeedRecord(const std::string& alias, const std::string& url) {
  FeedRecord feed;
  feed.Alias = alias;
  feed.URL = url;
  feed.DownloadReferringArticles = 0;
  feed.DownloadOnlyNewArticles = 1;
  feed.AutoCheck = 0;
  feed.IntervalMinutes = kDefaultNewFeedInterval;
  return feed;
}

std::optional<std::string> CompleteFeed(FeedRecord& feed, const std::optional<std::string>& newsbox,
                                        const std::vector<std::string>& other_aliases,
                                        Session& session, std::string& warning) {
  warning.clear();
  const std::string wanted_newsbox = newsbox.value_or(feed.Newsbox);
  if (const auto rule = FindEarlyBrokenRule(feed, wanted_newsbox, other_aliases))
    return DescribeFeedRule(*rule);
  if (feed.Name.empty()) {
    const FeedTitleResult learned = LearnFeedTitle(feed.URL, session.Paths().FeedFile);
    if (!learned.parsed) return NoNameRefusal(feed);
    feed.Name = learned.title;
    if (feed.Name.empty()) warning = UntitledWarning(feed);
  }
  if (newsbox && !ResolveNewsbox(*newsbox, feed, session))
    return DescribeFeedRule(FeedRule::kNewsboxExists);
  ApplyIntervalRule(feed);
  if (const auto rule = FindBrokenRule(feed, other_aliases)) return DescribeFeedRule(*rule);
  return std::nullopt;
}

std::optional<std::string> FindListedAlias(const std::string& alias,
                                           const std::string& settings_file) {
  for (const std::string& listed : ReadListedAliases(settings_file)) {
    if (platform::EqualsIgnoringCase(listed, alias)) return listed;
  }
  return std::nullopt;
}

}  // namespace tavi::cli
