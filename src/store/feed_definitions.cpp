#include "store/feed_definitions.h"

#include "fetch/file_names.h"
#include "platform/ascii.h"
#include "platform/fs.h"
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
  return name.size() > extension.size() &&
         name.compare(name.size() - extension.size(), extension.size(), extension) == 0;
}

FeedRecord ReadFeedSection(std::string alias, std::string name, const std::string& file) {
  FeedRecord feed;
  feed.Alias = std::move(alias);
  feed.Name = std::move(name);
  const std::string& section = feed.Alias;
  feed.URL = ReadProfileString(section, settings::kUrl, "", file);
  feed.Newsbox = ReadProfileString(section, settings::kNewsbox, "", file);
  feed.NewsboxPath = ReadProfileString(section, settings::kNewsboxPath, "", file);
  feed.DownloadReferringArticles =
      ReadProfileInt(section, settings::kDownloadReferringArticles,
                     settings::kDefaultDownloadReferringArticles, file);
  feed.DownloadOnlyNewArticles = ReadProfileInt(section, settings::kDownloadOnlyNewArticles,
                                                settings::kDefaultDownloadOnlyNewArticles, file);
  feed.AutoCheck = ReadProfileInt(section, settings::kAutoCheck, settings::kDefaultAutoCheck, file);
  feed.IntervalMinutes =
      ReadProfileInt(section, settings::kIntervalMinutes, settings::kDefaultIntervalMinutes, file);
  feed.NotifyNewsBoard =
      ReadProfileInt(section, settings::kNotifyNewsBoard, settings::kDefaultNotifyNewsBoard, file);
  return feed;
}

}  // namespace

std::vector<FeedRecord> LoadFeedList(const std::string& settings_file) {
  std::vector<std::string> lines;
  ReadProfileSection(lines, settings::kAliasesSection, false, settings_file);
  std::vector<FeedRecord> feeds;
  for (const std::string& line : lines) {
    const auto equals = line.find('=');
    std::string alias = line.substr(0, equals);
    std::string name = line.substr(equals + 1);
    if (alias.empty() || name.empty()) continue;
    FeedRecord feed = ReadFeedSection(std::move(alias), std::move(name), settings_file);
    if (feed.URL.empty()) continue;
    feeds.push_back(std::move(feed));
  }
  return feeds;
}

std::vector<std::string> ReadListedAliases(const std::string& settings_file) {
  std::vector<std::string> lines;
  ReadProfileSection(lines, settings::kAliasesSection, false, settings_file);
  for (std::string& line : lines) line = AliasPart(line);
  return lines;
}

int FeedImageIndex(const FeedRecord& feed) {
  return (feed.DownloadReferringArticles ? 1 : 0) | (feed.DownloadOnlyNewArticles ? 2 : 0) |
         (feed.AutoCheck ? 4 : 0);
}

bool SaveFeed(const FeedRecord& feed, const std::string& last_article,
              const std::string& settings_file) {
  const std::string& section = feed.Alias;
  const std::string& file = settings_file;
  return WriteProfileString(settings::kAliasesSection, feed.Alias, feed.Name, file) &&
         WriteProfileString(section, settings::kName, feed.Name, file) &&
         WriteProfileString(section, settings::kUrl, feed.URL, file) &&
         WriteProfileString(section, settings::kNewsbox, feed.Newsbox, file) &&
         WriteProfileString(section, settings::kNewsboxPath, feed.NewsboxPath, file) &&
         WriteProfileInt(section, settings::kDownloadReferringArticles,
                         feed.DownloadReferringArticles, file) &&
         WriteProfileInt(section, settings::kDownloadOnlyNewArticles, feed.DownloadOnlyNewArticles,
                         file) &&
         WriteProfileString(section, settings::kLastArticle, last_article, file) &&
         WriteProfileInt(section, settings::kAutoCheck, feed.AutoCheck, file) &&
         WriteProfileInt(section, settings::kIntervalMinutes, feed.IntervalMinutes, file);
}

FeedEdit OpenFeedForEditing(const std::string& alias, const std::string& settings_file) {
  FeedEdit edit;
  const std::string name = ReadProfileString(settings::kAliasesSection, alias, "", settings_file);
  edit.feed = ReadFeedSection(alias, name, settings_file);
  edit.last_article = ReadLastArticle(alias, settings_file);
  DeleteFeed(alias, settings_file);
  return edit;
}

bool CancelFeedEdit(const FeedEdit& edit, const std::string& settings_file) {
  return SaveFeed(edit.feed, edit.last_article, settings_file);
}

bool DeleteFeed(const std::string& alias, const std::string& settings_file) {
  const bool line_removed = DeleteProfileKey(settings::kAliasesSection, alias, settings_file);
  return DeleteProfileSection(alias, settings_file) && line_removed;
}

FeedRecord ReadFeedDefinition(const std::string& alias, const std::string& settings_file) {
  return ReadFeedSection(alias, ReadProfileString(alias, settings::kName, "", settings_file),
                         settings_file);
}

std::string ReadLastArticle(const std::string& alias, const std::string& settings_file) {
  return ReadProfileString(alias, settings::kLastArticle, settings::kDefaultLastArticle,
                           settings_file);
}

bool HasAliasAndUrl(const FeedRecord& feed) { return !feed.Alias.empty() && !feed.URL.empty(); }

bool IsStorableAlias(const std::string& alias) {
  if (alias.find_first_of("=[]\r\n") != std::string::npos) return false;
  if (alias.empty()) return true;
  const auto is_blank = [](char c) { return c == ' ' || c == '\t'; };
  return alias.front() != ';' && !is_blank(alias.front()) && !is_blank(alias.back());
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

void ApplyIntervalRule(FeedRecord& feed) {
  if (feed.IntervalMinutes < 1) feed.AutoCheck = 0;
}

std::optional<FeedRule> FindBrokenRule(const FeedRecord& feed,
                                       const std::vector<std::string>& other_aliases) {
  if (!HasAliasAndUrl(feed)) return FeedRule::kAliasAndUrlGiven;
  if (!IsStorableAlias(feed.Alias)) return FeedRule::kAliasStorable;
  if (!NewsboxFileExists(feed)) return FeedRule::kNewsboxExists;
  if (!IsAllowedNewsbox(feed.Newsbox)) return FeedRule::kNewsboxAllowed;
  if (!IsUniqueAlias(feed.Alias, other_aliases)) return FeedRule::kAliasUnique;
  return std::nullopt;
}

const char* DescribeFeedRule(FeedRule rule) {
  switch (rule) {
    case FeedRule::kAliasAndUrlGiven:
      return "A feed needs both an alias and a URL.";
    case FeedRule::kAliasStorable:
      return "An alias cannot hold \"=\", \"[\", \"]\" or a line break, start with \";\", or "
             "start or end with a blank.";
    case FeedRule::kNewsboxExists:
      return "The newsbox's mailbox file does not exist.";
    case FeedRule::kNewsboxAllowed:
      return "The mailboxes \"Pending\" and \"Out\" cannot be a newsbox.";
    case FeedRule::kAliasUnique:
      return "There already exist the feed with the same alias. Please specify unique alias for "
             "this feed.";
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
      if (!attributes->directory && IsCacheFileName(name)) files.push_back(path);
      if (attributes->directory && depth < kMaxCacheFolderDepth)
        folders.emplace_back(path, depth + 1);
    }
  }
  return files;
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
