#pragma once

// Every section, key and default of the settings file (tavi.ini) in one
// place. A feed's own section is named by its alias.

namespace tavi::settings {

// The list of subscribed feeds: alias=name, one line per feed.
inline constexpr const char* kAliasesSection = "Aliases";

// Keys of a feed's section, with their defaults.
inline constexpr const char* kName = "Name";
inline constexpr const char* kUrl = "URL";
inline constexpr const char* kNewsbox = "Newsbox";
inline constexpr const char* kNewsboxPath = "NewsboxPath";
inline constexpr const char* kDownloadReferringArticles = "DownloadReferringArticles";
inline constexpr const char* kDownloadOnlyNewArticles = "DownloadOnlyNewArticles";
inline constexpr const char* kLastArticle = "LastArticle";
// The validators of the feed document the last completed check read, sent
// with the next request so that an unchanged document is not sent again.
// Absent until a server gives them; dropped when the feed's URL changes.
inline constexpr const char* kETag = "ETag";
inline constexpr const char* kLastModified = "LastModified";
inline constexpr const char* kAutoCheck = "AutoCheck";
inline constexpr const char* kIntervalMinutes = "IntervalMinutes";
inline constexpr const char* kLastCheck = "LastCheck";
inline constexpr const char* kNotifyNewsBoard = "NotifyNewsBoard";

inline constexpr int kDefaultDownloadReferringArticles = 0;
inline constexpr int kDefaultDownloadOnlyNewArticles = 1;
inline constexpr int kDefaultAutoCheck = 0;
inline constexpr int kDefaultIntervalMinutes = 0;
inline constexpr int kDefaultNotifyNewsBoard = 1;
// The interval a new feed is offered; its automatic check starts off.
inline constexpr int kNewFeedIntervalMinutes = 15;
// The longest interval of the automatic check: one week. A value read
// outside 0 to this (the file is the user's to edit) is held to it.
inline constexpr int kMaxIntervalMinutes = 10080;
// Stands for "no article delivered yet".
inline constexpr const char* kDefaultLastArticle = "1/1/1970 11:10:00";

// Settings of the plug-in as a whole.
inline constexpr const char* kGeneralSection = "General";
// How many downloads a Download run keeps going at once (1 fetches one
// document after another); a value under 1 counts as 1, one over
// kMaxMaxDownloads as that.
inline constexpr const char* kMaxDownloads = "MaxDownloads";
inline constexpr int kDefaultMaxDownloads = 16;
inline constexpr int kMaxMaxDownloads = 64;

// Window placement, in pixels; a state is 0 normal, 1 minimised, 2 maximised.
inline constexpr const char* kWindowsSection = "Windows";
inline constexpr const char* kPositionLeft = "PositionLeft";
inline constexpr const char* kPositionTop = "PositionTop";
inline constexpr const char* kMessageLeft = "MessageLeft";
inline constexpr const char* kMessageTop = "MessageTop";
inline constexpr const char* kMessageWidth = "MessageWidth";
inline constexpr const char* kMessageHeight = "MessageHeight";
inline constexpr const char* kMessageState = "MessageState";
inline constexpr const char* kNewsboardLeft = "NewsboardLeft";
inline constexpr const char* kNewsboardTop = "NewsboardTop";
inline constexpr const char* kNewsboardWidth = "NewsboardWidth";
inline constexpr const char* kNewsboardHeight = "NewsboardHeight";
inline constexpr const char* kNewsboardState = "NewsboardState";
inline constexpr const char* kSplitterTop = "SplitterTop";

inline constexpr int kDefaultPositionLeft = 0;
inline constexpr int kDefaultPositionTop = 0;
inline constexpr int kDefaultMessageLeft = 10;
inline constexpr int kDefaultMessageTop = 10;
inline constexpr int kDefaultMessageWidth = 220;
inline constexpr int kDefaultMessageHeight = 220;
inline constexpr int kDefaultMessageState = 0;
inline constexpr int kDefaultNewsboardLeft = 0;
inline constexpr int kDefaultNewsboardTop = 0;
inline constexpr int kDefaultNewsboardWidth = 170;
inline constexpr int kDefaultNewsboardHeight = 180;
inline constexpr int kDefaultNewsboardState = 0;
inline constexpr int kDefaultSplitterTop = 71;

// The News Board's headline list: column widths in pixels, the sort
// direction (0 ascending, 1 descending) and the index of the sort column.
inline constexpr const char* kColumnsSection = "Columns";
inline constexpr const char* kHeadlineColumn = "Headline";
inline constexpr const char* kFeedColumn = "Feed";
inline constexpr const char* kAuthorColumn = "Author";
inline constexpr const char* kPublishedColumn = "Published";
inline constexpr const char* kDownloadedColumn = "Downloaded";
inline constexpr const char* kNewsboxColumn = "Newsbox";
inline constexpr const char* kSortOrder = "SortOrder";
inline constexpr const char* kSortKey = "SortKey";

inline constexpr int kDefaultColumnWidth = 100;
inline constexpr int kDefaultSortOrder = 0;
inline constexpr int kDefaultSortKey = 0;

// The host's own settings file (deudora.ini), read for the data folder.
inline constexpr const char* kHostSettingsSection = "Settings";
inline constexpr const char* kHostDataFolder = "DataFolder";

}  // namespace tavi::settings
