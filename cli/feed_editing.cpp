#include "cli/feed_editing.h"

#include "cli/command_syntax.h"
#include "cli/mailbox_commands.h"
#include "delivery/host_automation.h"
#include "delivery/mailbox_file.h"
#include "engine/feed_title.h"
#include "platform/ascii.h"

namespace tavi::cli {
namespace {

// The switch pair's value: 1 for `on`, 0 for `off`, nullopt for neither.
std::optional<int> SwitchPair(const ParsedCommand& command, std::string_view on,
                              std::string_view off) {
  if (command.Has(on)) return 1;
  if (command.Has(off)) return 0;
  return std::nullopt;
}

// The last name of a mailbox path: "News" of "Work/News".
std::string LeafName(const std::string& mailbox) { return mailbox.substr(mailbox.rfind('/') + 1); }

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

// The refusal for a broken rule; a clash names the feed it is with.
std::string Refusal(FeedRule rule, const FeedRecord& feed,
                    const std::vector<std::string>& other_aliases) {
  if (rule == FeedRule::kCacheFileUnique)
    return "The alias " + Quoted(feed.Alias) + " gives the same file name for background " +
           "downloads as the feed " + Quoted(FindCacheFileTwin(feed.Alias, other_aliases).value()) +
           "; choose an alias that differs in its letters or digits.";
  return DescribeFeedRule(rule);
}

// The rules that can be tested before anything is downloaded or created.
std::optional<FeedRule> FindEarlyBrokenRule(const FeedRecord& feed, const std::string& newsbox,
                                            const std::vector<std::string>& other_aliases) {
  if (!HasAliasAndUrl(feed)) return FeedRule::kAliasAndUrlGiven;
  if (!IsStorableAlias(feed.Alias)) return FeedRule::kAliasStorable;
  const std::string leaf = LeafName(newsbox);
  if (!IsAllowedNewsbox(leaf) || !IsAllowedNewsbox(SafeMailboxName(leaf)))
    return FeedRule::kNewsboxAllowed;
  if (!IsUniqueAlias(feed.Alias, other_aliases)) return FeedRule::kAliasUnique;
  if (FindCacheFileTwin(feed.Alias, other_aliases)) return FeedRule::kCacheFileUnique;
  return std::nullopt;
}

std::string NoNameRefusal(const FeedRecord& feed, const std::string& reason) {
  return "The feed has no name, and its document at " + feed.URL +
         " could not be downloaded and read as a feed (" + reason + "); give a name with --name.";
}

// A mailbox file path, or why there is none.
struct CreatedMailbox {
  std::string path;
  std::string refusal;
};

// Creates the mailbox `name` names: "Folder/Mailbox" inside that folder,
// which must exist, a plain name at the top level.
CreatedMailbox CreateNewsbox(const std::string& name, Session& session) {
  const std::size_t slash = name.rfind('/');
  std::string path;
  if (slash == std::string::npos) {
    path = CreateTopLevelMailbox(name);
  } else {
    host::MailStore& store = session.Host().Store();
    const std::string folder_path = name.substr(0, slash);
    const std::optional<int> folder = FindItemByTreePath(store, folder_path);
    const std::optional<host::ItemInfo> item = folder ? store.Item(*folder) : std::nullopt;
    if (!item || !item->folder)
      return {"", "There is no folder " + Quoted(folder_path) + " for the newsbox."};
    path = CreateMailboxInFolder(name.substr(slash + 1), item->path);
  }
  if (path.empty()) return {"", "The host could not create the mailbox " + Quoted(name) + "."};
  return {path, ""};
}

// Finds the mailbox `name` names (see FindMailbox) or creates it (see
// CreateNewsbox), and fills the feed's newsbox from what the host holds.
// The refusal, or nullopt.
std::optional<std::string> ResolveNewsbox(const std::string& name, FeedRecord& feed,
                                          Session& session) {
  host::MailStore& store = session.Host().Store();
  std::optional<int> number = FindMailbox(store, name);
  if (!number) {
    const CreatedMailbox created = CreateNewsbox(name, session);
    if (created.path.empty()) return created.refusal;
    number = store.FindByPath(created.path);
  }
  const std::optional<host::ItemInfo> item = number ? store.Item(*number) : std::nullopt;
  if (!item || item->folder) return DescribeFeedRule(FeedRule::kNewsboxExists);
  feed.Newsbox = item->name;
  feed.NewsboxPath = item->path;
  return std::nullopt;
}

}  // namespace

FeedChanges ReadFeedChanges(const ParsedCommand& command) {
  FeedChanges changes;
  changes.alias = command.Value("--alias");
  changes.url = command.Value("--url");
  changes.name = command.Value("--name");
  changes.newsbox = command.Value("--newsbox");
  changes.download_referring = SwitchPair(command, "--full", "--no-full");
  changes.only_new = SwitchPair(command, "--only-new", "--all");
  changes.auto_check = SwitchPair(command, "--every", "--on-demand");
  // The parser let only a whole number of minutes through.
  if (const std::optional<std::string> every = command.Value("--every"))
    changes.every = ReadWholeNumber(*every);
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

std::optional<std::string> CompleteFeed(FeedRecord& feed, const std::optional<std::string>& newsbox,
                                        const std::vector<std::string>& other_aliases,
                                        Session& session, std::string& note) {
  note.clear();
  const std::string wanted_newsbox = newsbox.value_or(feed.Newsbox);
  if (const auto rule = FindEarlyBrokenRule(feed, wanted_newsbox, other_aliases))
    return Refusal(*rule, feed, other_aliases);
  if (feed.Name.empty()) {
    const FeedTitleResult learned = LearnFeedTitle(feed.URL, session.Paths().FeedFile);
    if (!learned.parsed) return NoNameRefusal(feed, learned.failure);
    feed.Name = NameFromLearnedTitle(learned.title, feed.Alias);
    if (feed.Name == feed.Alias) note = "the feed's document has no title: named after its alias";
  }
  if (newsbox)
    if (auto refusal = ResolveNewsbox(*newsbox, feed, session)) return refusal;
  ApplyIntervalRule(feed);
  if (const auto rule = FindBrokenRule(feed, other_aliases))
    return Refusal(*rule, feed, other_aliases);
  return std::nullopt;
}

std::string StoreRefusal(const StoreResult& result, const FeedRecord& feed,
                         const std::string& settings_file) {
  switch (result.clash) {
    case StoreResult::Clash::kAlias:
      return DescribeFeedRule(FeedRule::kAliasUnique);
    case StoreResult::Clash::kCacheFile:
      return Refusal(FeedRule::kCacheFileUnique, feed, {result.other_alias});
    case StoreResult::Clash::kNone:
      break;
  }
  return result.written ? "" : "The settings file " + settings_file + " cannot be written.";
}

std::optional<std::string> FindListedAlias(const std::string& alias,
                                           const std::string& settings_file) {
  for (const std::string& listed : ReadListedAliases(settings_file)) {
    if (platform::EqualsIgnoringCase(listed, alias)) return listed;
  }
  return std::nullopt;
}

}  // namespace tavi::cli
