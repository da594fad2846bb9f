#pragma once

// Subscribed feeds as the settings file stores them: one "Aliases" line
// (alias=name) and one section named by the alias. The definitions live only
// in that file; these functions read and write it key by key.

#include <optional>
#include <string>
#include <vector>

#include "store/settings_layout.h"

namespace tavi {

// One subscribed feed.
struct FeedRecord {
  std::string Alias;        // the feed's identity: its "Aliases" key and section name
  std::string Name;         // the feed's own title
  std::string URL;          // address of the feed document
  std::string Newsbox;      // display name of the mailbox receiving the articles
  std::string NewsboxPath;  // that mailbox's file
  int DownloadReferringArticles = settings::kDefaultDownloadReferringArticles;
  int DownloadOnlyNewArticles = settings::kDefaultDownloadOnlyNewArticles;
  int AutoCheck = settings::kDefaultAutoCheck;
  int IntervalMinutes = settings::kDefaultIntervalMinutes;
  int NotifyNewsBoard = settings::kDefaultNotifyNewsBoard;
};

// A feed's stored values as they were when it was opened for editing.
struct FeedEdit {
  FeedRecord feed;
  std::string last_article;
};

// A feed about to be subscribed, with the options a new feed starts with:
// only new articles, no full pages, no automatic check, an interval of
// settings::kNewFeedIntervalMinutes offered.
FeedRecord NewFeedRecord(const std::string& alias, const std::string& url);

// The feeds listed in "Aliases", in file order. A line with an empty alias or
// name is skipped, and so is a feed whose section has no "URL" (its lines
// stay in the file).
std::vector<FeedRecord> LoadFeedList(const std::string& settings_file);

// The alias part (text before the first "=") of every "Aliases" line.
std::vector<std::string> ReadListedAliases(const std::string& settings_file);

// The main window's image for the feed: bit 1 DownloadReferringArticles,
// bit 2 DownloadOnlyNewArticles, bit 4 AutoCheck (0 to 7).
int FeedImageIndex(const FeedRecord& feed);

// What became of a definition that was to be stored.
struct StoreResult {
  enum class Clash {
    kNone,
    kAlias,      // another feed has the alias, in some letter case
    kCacheFile,  // another feed's alias gives the same cache file name
  };
  Clash clash = Clash::kNone;
  std::string other_alias;  // the feed that holds it
  bool written = true;      // false: the settings file could not be read or written

  bool Stored() const { return clash == Clash::kNone && written; }
};

// Stores the definition in one atomic rewrite of the settings file, in its
// fixed order: the "Aliases" line, then "Name", "URL", "Newsbox",
// "NewsboxPath", the two download options, "LastArticle", "AutoCheck" and
// "IntervalMinutes" in the feed's section. The definition stored under
// `replaced_alias` (its line and whole section, "LastCheck" and
// "NotifyNewsBoard" included) goes in the same rewrite; "" replaces nothing.
// The replaced definition's validators (feed_validators.h) stay when the URL
// is the same, and go when it changed.
// Holding the file's lock, it first makes sure that no other feed has the
// alias or its cache file name: a clash names that feed and stores nothing.
// A kill at any moment leaves the old definition or the new one whole.
StoreResult StoreFeed(const FeedRecord& feed, const std::string& last_article,
                      const std::string& replaced_alias, const std::string& settings_file);

// Stores new definitions, as StoreFeed would each with no "LastArticle" and
// nothing replaced, in one atomic rewrite of the settings file: subscribing a
// list of a thousand feeds rewrites the file once, not a thousand times. A
// definition that clashes with a stored feed or an earlier one of the batch
// is left out and its result names the other feed. One result per
// definition, in order; when the file cannot be read or written nothing is
// stored and every result says so.
std::vector<StoreResult> StoreNewFeeds(const std::vector<FeedRecord>& feeds,
                                       const std::string& settings_file);

// Stores the definition under its alias, replacing the one stored there.
// False when it was not stored.
bool SaveFeed(const FeedRecord& feed, const std::string& last_article,
              const std::string& settings_file);

// Every stored value of the feed as OpenFeedForEditing remembers them (its
// name from its "Aliases" line), leaving the file as it is.
FeedEdit ReadStoredFeed(const std::string& alias, const std::string& settings_file);

// Remembers every stored value of the feed, then removes its "Aliases" line
// and section in one rewrite, so that the feed is absent from the file while
// it is edited.
FeedEdit OpenFeedForEditing(const std::string& alias, const std::string& settings_file);

// Writes the remembered values back under the remembered alias. "LastCheck"
// and "NotifyNewsBoard" are not carried: the background schedule restarts
// and the notification takes its default.
bool CancelFeedEdit(const FeedEdit& edit, const std::string& settings_file);

// Removes the feed's "Aliases" line and its whole section in one rewrite.
bool DeleteFeed(const std::string& alias, const std::string& settings_file);

// The feed stored under `alias`, its name taken from its section's "Name"
// key, with the defaults for every missing key (an unknown alias gives a
// record with empty texts).
FeedRecord ReadFeedDefinition(const std::string& alias, const std::string& settings_file);

// The feed's "LastArticle", "1/1/1970 11:10:00" when absent.
std::string ReadLastArticle(const std::string& alias, const std::string& settings_file);

// The rules a definition must meet before it is written. Learning the name
// by a test download is the downloader's part and is not listed here.
enum class FeedRule {
  kAliasAndUrlGiven,  // the alias and the URL are both non-empty
  kAliasStorable,     // the alias can be a key and a section name
  kNewsboxExists,     // the newsbox file is there
  kNewsboxAllowed,    // the newsbox is neither "Pending" nor "Out"
  kAliasUnique,       // no other feed has the alias, in any letter case
  kCacheFileUnique,   // no other feed's alias gives the same cache file name
};

bool HasAliasAndUrl(const FeedRecord& feed);
// False for an alias holding "=", "[", "]" or a line break, or starting with
// ";" or a blank, or ending with a blank: the settings file could not give it
// back, and the feed would be lost. False too for the names of the file's own
// sections, "Aliases", "Windows" and "Columns" in any letter case: deleting
// such a feed would delete that section.
bool IsStorableAlias(const std::string& alias);
bool NewsboxFileExists(const FeedRecord& feed);
// False for "Pending" (Tavi's staging mailbox) and "Out" (the host's
// outgoing mailbox), in any letter case.
bool IsAllowedNewsbox(const std::string& newsbox);
// `other_aliases` are the aliases of the other feeds, as read when editing
// began.
bool IsUniqueAlias(const std::string& alias, const std::vector<std::string>& other_aliases);
// The other feed whose alias gives the same cache file name as `alias`
// (MakeSafeFileName, letter case ignored): "Tech?" and "tech" share one, and
// one feed's background downloads would be imported into the other's
// newsbox. nullopt when there is none.
std::optional<std::string> FindCacheFileTwin(const std::string& alias,
                                             const std::vector<std::string>& other_aliases);
// The name a feed gets from the title its test download learned: the title
// without surrounding white space, or the alias when nothing is left, since a
// feed without a name is never listed and could not be reached again.
std::string NameFromLearnedTitle(const std::string& title, const std::string& alias);
// An interval below 1 minute turns the automatic check off.
void ApplyIntervalRule(FeedRecord& feed);
// An interval read from the file held to 0 .. settings::kMaxIntervalMinutes:
// a negative one would schedule the feed in the past.
int ClampIntervalMinutes(int minutes);
// The interval typed as `text` (digits): its number held to 0 ..
// settings::kMaxIntervalMinutes, however many digits there are; 0 for a text
// that does not start with a digit.
int IntervalFromText(const std::string& text);

// The first rule the definition breaks, in the order above; nullopt when it
// meets them all.
std::optional<FeedRule> FindBrokenRule(const FeedRecord& feed,
                                       const std::vector<std::string>& other_aliases);

// A sentence for the user naming the rule.
const char* DescribeFeedRule(FeedRule rule);

// The background cache file of a feed: data folder, "Feeds", the file-name
// safe alias with the extension ".rss".
std::string CacheFilePath(const std::string& data_folder, const std::string& alias);
// The cache folder: data folder and "Feeds".
std::string CacheFolder(const std::string& data_folder);

// Every file matching "*.rss" in the cache folder and, at any depth, in its
// subfolders, in the order the file system lists them.
std::vector<std::string> ListCacheFiles(const std::string& cache_folder);
// Added to a cache file's name while the import reads it; such a name is
// not a cache file any more.
inline constexpr const char* kTakenCacheFileSuffix = ".importing";
// The cache files an import took (kTakenCacheFileSuffix added) and never
// finished with, as a killed import leaves them; found as ListCacheFiles
// finds cache files.
std::vector<std::string> ListTakenCacheFiles(const std::string& cache_folder);

// The alias a cache file belongs to: the listed alias whose safe file name is
// the file's stem (letter case ignored), else the text of the file name before
// its first ".".
std::string AliasOfCacheFile(const std::string& cache_file,
                             const std::vector<std::string>& listed_aliases);

}  // namespace tavi
