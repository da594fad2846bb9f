#include "store/feed_definitions.h"

#include <algorithm>

#include "files/file_names.h"
#include "platform/ascii.h"
#include "platform/fs.h"
#include "platform/profile_text.h"
#include "store/feed_validators.h"
#include "store/profile.h"

namespace tavi {
namespace {

constexpr const char* kCacheFolderName = "Feeds";
constexpr const char* kCacheExtension = ".rss";
constexpr int kMaxCacheFolderDepth = 16;

std::string AliasPart(const std::string& line) { return line.substr(0, line.find('=')); }

std::string FileNameOf(const std::string& path) {
  const auto slash = path.rfind(platform::kPathSeparator);
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string StemOf(const std::string& file_name) {
  const std::string_view extension = kCacheExtension;
  if (file_name.size() > extension.size() && platform::EndsWithIgnoringCase(file_name, extension))
    return file_name.substr(0, file_name.size() - extension.size());
  return file_name;
}

bool IsCacheFileName(const std::string& name) {
  const std::string_view extension = kCacheExtension;
  return name.size() > extension.size() && name.ends_with(extension);
}

bool IsTakenCacheFileName(const std::string& name) {
  const std::string_view suffix = kTakenCacheFileSuffix;
  return name.ends_with(suffix) && IsCacheFileName(name.substr(0, name.size() - suffix.size()));
}

// The files under `cache_folder`, at any depth, whose names `wanted` accepts,
// in the order the file system lists them.
std::vector<std::string> ListCacheTree(const std::string& cache_folder,
                                       bool (*wanted)(const std::string& name)) {
  std::vector<std::string> files;
  // Folders still to list, with their depth: a link that loops back up must
  // not keep the listing going forever.
  std::vector<std::pair<std::string, int>> folders{{cache_folder, 0}};
  while (!folders.empty()) {
    const auto [folder, depth] = std::move(folders.back());
    folders.pop_back();
    for (const std::string& name : platform::FindFiles(platform::JoinPath(folder, "*"))) {
      const std::string path = platform::JoinPath(folder, name);
      const auto attributes = platform::GetFileAttributes(path);
      if (!attributes) continue;
      if (!attributes->directory && wanted(name)) files.push_back(path);
      if (attributes->directory && depth < kMaxCacheFolderDepth)
        folders.emplace_back(path, depth + 1);
    }
  }
  return files;
}

// A flag as the file may hold it, held to 0 or 1: the windows tick a box
// only for 1 and the engine tests for non-zero, so a 5 must mean the same to
// both.
int AsFlag(int value) { return std::clamp(value, 0, 1); }

// Reads through `source`, which is the settings file itself or a batch of
// changes to it; either offers ReadString and ReadInt.
template <typename Source>
FeedRecord ReadFeedSection(const Source& source, std::string alias, std::string name) {
  FeedRecord feed;
  feed.Alias = std::move(alias);
  feed.Name = std::move(name);
  const std::string& section = feed.Alias;
  feed.URL = source.ReadString(section, settings::kUrl, "");
  feed.Newsbox = source.ReadString(section, settings::kNewsbox, "");
  feed.NewsboxPath = source.ReadString(section, settings::kNewsboxPath, "");
  feed.DownloadReferringArticles = AsFlag(source.ReadInt(
      section, settings::kDownloadReferringArticles, settings::kDefaultDownloadReferringArticles));
  feed.DownloadOnlyNewArticles = AsFlag(source.ReadInt(section, settings::kDownloadOnlyNewArticles,
                                                       settings::kDefaultDownloadOnlyNewArticles));
  feed.AutoCheck =
      AsFlag(source.ReadInt(section, settings::kAutoCheck, settings::kDefaultAutoCheck));
  feed.IntervalMinutes = ClampIntervalMinutes(
      source.ReadInt(section, settings::kIntervalMinutes, settings::kDefaultIntervalMinutes));
  feed.NotifyNewsBoard = AsFlag(
      source.ReadInt(section, settings::kNotifyNewsBoard, settings::kDefaultNotifyNewsBoard));
  return feed;
}

// The settings file read key by key, as ReadFeedSection reads a source.
struct SettingsFileSource {
  const std::string& file;
  std::string ReadString(const std::string& section, const std::string& key,
                         const std::string& default_value) const {
    return ReadProfileString(section, key, default_value, file);
  }
  int ReadInt(const std::string& section, const std::string& key, int default_value) const {
    return ReadProfileInt(section, key, default_value, file);
  }
};

template <typename Source>
FeedEdit ReadFeedEdit(const Source& source, const std::string& alias) {
  FeedEdit edit;
  edit.feed =
      ReadFeedSection(source, alias, source.ReadString(settings::kAliasesSection, alias, ""));
  edit.last_article =
      source.ReadString(alias, settings::kLastArticle, settings::kDefaultLastArticle);
  return edit;
}

std::vector<std::string> AliasesOf(const std::vector<std::string>& lines) {
  std::vector<std::string> aliases;
  for (const std::string& line : lines) aliases.push_back(AliasPart(line));
  return aliases;
}

// The feed's "Aliases" line and whole section go.
void RemoveDefinition(ProfileBatch& batch, const std::string& alias) {
  batch.DeleteKey(settings::kAliasesSection, alias);
  batch.DeleteSection(alias);
}

// The definition in its fixed order: the "Aliases" line, then the section.
bool WriteDefinition(ProfileBatch& batch, const FeedRecord& feed, const std::string& last_article) {
  const std::string& section = feed.Alias;
  return batch.WriteString(settings::kAliasesSection, feed.Alias, feed.Name) &&
         batch.WriteString(section, settings::kName, feed.Name) &&
         batch.WriteString(section, settings::kUrl, feed.URL) &&
         batch.WriteString(section, settings::kNewsbox, feed.Newsbox) &&
         batch.WriteString(section, settings::kNewsboxPath, feed.NewsboxPath) &&
         batch.WriteInt(section, settings::kDownloadReferringArticles,
                        feed.DownloadReferringArticles) &&
         batch.WriteInt(section, settings::kDownloadOnlyNewArticles,
                        feed.DownloadOnlyNewArticles) &&
         batch.WriteString(section, settings::kLastArticle, last_article) &&
         batch.WriteInt(section, settings::kAutoCheck, feed.AutoCheck) &&
         batch.WriteInt(section, settings::kIntervalMinutes, feed.IntervalMinutes);
}

// Another feed that holds the alias, or its cache file name.
std::optional<StoreResult> FindAliasClash(const std::string& alias,
                                          const std::vector<std::string>& other_aliases) {
  for (const std::string& other : other_aliases)
    if (platform::EqualsIgnoringCase(alias, other))
      return StoreResult{StoreResult::Clash::kAlias, other, true};
  if (const auto twin = FindCacheFileTwin(alias, other_aliases))
    return StoreResult{StoreResult::Clash::kCacheFile, *twin, true};
  return std::nullopt;
}

bool IsReservedSectionName(const std::string& alias) {
  for (const char* reserved : {settings::kAliasesSection, settings::kWindowsSection,
                               settings::kColumnsSection, settings::kGeneralSection})
    if (platform::EqualsIgnoringCase(alias, reserved)) return true;
  return false;
}

}  // namespace

int ClampIntervalMinutes(int minutes) {
  return std::clamp(minutes, 0, settings::kMaxIntervalMinutes);
}

std::vector<FeedRecord> LoadFeedList(const std::string& settings_file) {
  std::vector<std::string> lines;
  ReadProfileSection(lines, settings::kAliasesSection, false, settings_file);
  std::vector<FeedRecord> feeds;
  for (const std::string& line : lines) {
    const auto equals = line.find('=');
    std::string alias = line.substr(0, equals);
    std::string name = line.substr(equals + 1);
    if (alias.empty() || name.empty()) continue;
    FeedRecord feed =
        ReadFeedSection(SettingsFileSource{settings_file}, std::move(alias), std::move(name));
    if (feed.URL.empty()) continue;
    feeds.push_back(std::move(feed));
  }
  return feeds;
}

std::vector<std::string> ReadListedAliases(const std::string& settings_file) {
  std::vector<std::string> lines;
  ReadProfileSection(lines, settings::kAliasesSection, false, settings_file);
  return AliasesOf(lines);
}

FeedRecord NewFeedRecord(const std::string& alias, const std::string& url) {
  FeedRecord feed;
  feed.Alias = alias;
  feed.URL = url;
  feed.DownloadReferringArticles = 0;
  feed.DownloadOnlyNewArticles = 1;
  feed.AutoCheck = 0;
  feed.IntervalMinutes = settings::kNewFeedIntervalMinutes;
  return feed;
}

int FeedImageIndex(const FeedRecord& feed) {
  return (feed.DownloadReferringArticles ? 1 : 0) | (feed.DownloadOnlyNewArticles ? 2 : 0) |
         (feed.AutoCheck ? 4 : 0);
}

StoreResult StoreFeed(const FeedRecord& feed, const std::string& last_article,
                      const std::string& replaced_alias, const std::string& settings_file) {
  StoreResult result;
  const bool stored = EditProfileBatch(settings_file, [&](ProfileBatch& batch) {
    std::vector<std::string> others = AliasesOf(batch.ReadSection(settings::kAliasesSection));
    std::erase_if(others, [&](const std::string& alias) {
      return !replaced_alias.empty() && platform::EqualsIgnoringCase(alias, replaced_alias);
    });
    if (const auto clash = FindAliasClash(feed.Alias, others)) {
      result = *clash;
      return false;
    }
    // The validators belong to the document at the stored URL; a definition
    // stored with another URL must fetch its document whole.
    FeedValidators carried;
    if (!replaced_alias.empty() && batch.ReadString(replaced_alias, settings::kUrl, "") == feed.URL)
      carried = ReadFeedValidators(batch, replaced_alias);
    if (!replaced_alias.empty()) RemoveDefinition(batch, replaced_alias);
    return WriteDefinition(batch, feed, last_article) &&
           WriteFeedValidators(batch, feed.Alias, carried);
  });
  if (!stored && result.clash == StoreResult::Clash::kNone) result.written = false;
  return result;
}

std::vector<StoreResult> StoreNewFeeds(const std::vector<FeedRecord>& feeds,
                                       const std::string& settings_file) {
  std::vector<StoreResult> results(feeds.size());
  const bool stored = EditProfileBatch(settings_file, [&](ProfileBatch& batch) {
    std::vector<std::string> aliases = AliasesOf(batch.ReadSection(settings::kAliasesSection));
    for (std::size_t i = 0; i < feeds.size(); ++i) {
      if (const auto clash = FindAliasClash(feeds[i].Alias, aliases)) {
        results[i] = *clash;
        continue;
      }
      if (!WriteDefinition(batch, feeds[i], "")) return false;
      aliases.push_back(feeds[i].Alias);
    }
    return true;
  });
  if (!stored)
    for (StoreResult& result : results) result = StoreResult{StoreResult::Clash::kNone, "", false};
  return results;
}

bool SaveFeed(const FeedRecord& feed, const std::string& last_article,
              const std::string& settings_file) {
  return StoreFeed(feed, last_article, feed.Alias, settings_file).Stored();
}

FeedEdit ReadStoredFeed(const std::string& alias, const std::string& settings_file) {
  return ReadFeedEdit(SettingsFileSource{settings_file}, alias);
}

FeedEdit OpenFeedForEditing(const std::string& alias, const std::string& settings_file) {
  FeedEdit edit;
  EditProfileBatch(settings_file, [&](ProfileBatch& batch) {
    edit = ReadFeedEdit(batch, alias);
    RemoveDefinition(batch, alias);
    return true;
  });
  return edit;
}

bool CancelFeedEdit(const FeedEdit& edit, const std::string& settings_file) {
  return SaveFeed(edit.feed, edit.last_article, settings_file);
}

bool DeleteFeed(const std::string& alias, const std::string& settings_file) {
  return EditProfileBatch(settings_file, [&](ProfileBatch& batch) {
    RemoveDefinition(batch, alias);
    return true;
  });
}

FeedRecord ReadFeedDefinition(const std::string& alias, const std::string& settings_file) {
  return ReadFeedSection(SettingsFileSource{settings_file}, alias,
                         ReadProfileString(alias, settings::kName, "", settings_file));
}

std::string ReadLastArticle(const std::string& alias, const std::string& settings_file) {
  return ReadProfileString(alias, settings::kLastArticle, settings::kDefaultLastArticle,
                           settings_file);
}

bool HasAliasAndUrl(const FeedRecord& feed) { return !feed.Alias.empty() && !feed.URL.empty(); }

bool IsStorableAlias(const std::string& alias) {
  // An empty alias breaks the rule that asks for one, not this one.
  if (alias.empty()) return true;
  // The alias is a key of "Aliases" and a section name; blanks around a
  // name are not part of it, so one with blanks would come back without.
  const auto is_blank = [](char c) { return c == ' ' || c == '\t'; };
  return platform::IsStorableKeyName(alias) && platform::IsStorableSectionName(alias) &&
         !is_blank(alias.front()) && !is_blank(alias.back()) && !IsReservedSectionName(alias);
}

bool NewsboxFileExists(const FeedRecord& feed) { return FileExists(feed.NewsboxPath); }

bool IsAllowedNewsbox(const std::string& newsbox) {
  return !platform::EqualsIgnoringCase(newsbox, "Pending") &&
         !platform::EqualsIgnoringCase(newsbox, "Out");
}

bool IsUniqueAlias(const std::string& alias, const std::vector<std::string>& other_aliases) {
  for (const std::string& other : other_aliases)
    if (platform::EqualsIgnoringCase(alias, other)) return false;
  return true;
}

std::optional<std::string> FindCacheFileTwin(const std::string& alias,
                                             const std::vector<std::string>& other_aliases) {
  const std::string file_name = MakeSafeFileName(alias);
  for (const std::string& other : other_aliases)
    if (platform::EqualsIgnoringCase(MakeSafeFileName(other), file_name)) return other;
  return std::nullopt;
}

std::string NameFromLearnedTitle(const std::string& title, const std::string& alias) {
  const auto first = std::find_if_not(title.begin(), title.end(), platform::IsAsciiWhiteSpace);
  const auto last =
      std::find_if_not(title.rbegin(), title.rend(), platform::IsAsciiWhiteSpace).base();
  if (first >= last) return alias;
  return std::string(first, last);
}

void ApplyIntervalRule(FeedRecord& feed) {
  if (feed.IntervalMinutes < 1) feed.AutoCheck = 0;
}

int IntervalFromText(const std::string& text) {
  long long minutes = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') break;
    minutes = std::min<long long>(minutes * 10 + (c - '0'), settings::kMaxIntervalMinutes);
  }
  return static_cast<int>(minutes);
}

std::optional<FeedRule> FindBrokenRule(const FeedRecord& feed,
                                       const std::vector<std::string>& other_aliases) {
  if (!HasAliasAndUrl(feed)) return FeedRule::kAliasAndUrlGiven;
  if (!IsStorableAlias(feed.Alias)) return FeedRule::kAliasStorable;
  if (!NewsboxFileExists(feed)) return FeedRule::kNewsboxExists;
  if (!IsAllowedNewsbox(feed.Newsbox)) return FeedRule::kNewsboxAllowed;
  if (!IsUniqueAlias(feed.Alias, other_aliases)) return FeedRule::kAliasUnique;
  if (FindCacheFileTwin(feed.Alias, other_aliases)) return FeedRule::kCacheFileUnique;
  return std::nullopt;
}

const char* DescribeFeedRule(FeedRule rule) {
  switch (rule) {
    case FeedRule::kAliasAndUrlGiven:
      return "A feed needs both an alias and a URL.";
    case FeedRule::kAliasStorable:
      return "An alias cannot hold \"=\", \"[\", \"]\" or a line break, start with \";\", "
             "start or end with a blank, or be \"Aliases\", \"Windows\" or \"Columns\".";
    case FeedRule::kNewsboxExists:
      return "The newsbox's mailbox file does not exist.";
    case FeedRule::kNewsboxAllowed:
      return "The mailboxes \"Pending\" and \"Out\" cannot be a newsbox.";
    case FeedRule::kAliasUnique:
      return "There already exist the feed with the same alias. Please specify unique alias for "
             "this feed.";
    case FeedRule::kCacheFileUnique:
      return "Another feed's alias gives the same file name for the background downloads. "
             "Please specify an alias that differs in its letters or digits.";
  }
  return "";
}

std::string CacheFolder(const std::string& data_folder) {
  return platform::JoinPath(data_folder, kCacheFolderName);
}

std::string CacheFilePath(const std::string& data_folder, const std::string& alias) {
  return platform::JoinPath(CacheFolder(data_folder), MakeSafeFileName(alias) + kCacheExtension);
}

std::vector<std::string> ListCacheFiles(const std::string& cache_folder) {
  return ListCacheTree(cache_folder, IsCacheFileName);
}

std::vector<std::string> ListTakenCacheFiles(const std::string& cache_folder) {
  return ListCacheTree(cache_folder, IsTakenCacheFileName);
}

std::string AliasOfCacheFile(const std::string& cache_file,
                             const std::vector<std::string>& listed_aliases) {
  const std::string file_name = FileNameOf(cache_file);
  const std::string stem = StemOf(file_name);
  for (const std::string& alias : listed_aliases)
    if (platform::EqualsIgnoringCase(MakeSafeFileName(alias), stem)) return alias;
  return file_name.substr(0, file_name.find('.'));
}

}  // namespace tavi
