#include "cli/opml_commands.h"

#include <map>
#include <optional>
#include <ostream>

#include "cli/feed_editing.h"
#include "cli/imported_alias.h"
#include "cli/mailbox_commands.h"
#include "cli/session.h"
#include "cli/terminal_text.h"
#include "engine/feed_title.h"
#include "fetch/opml_file.h"

namespace tavi::cli {
namespace {

// The most folders a newsbox is nested in: a deeper outline names a path no
// one would browse to, and each level is a folder made in the data folder.
constexpr std::size_t kMaxNewsboxFolders = 16;

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

// What an import knows across the outlines of one file.
struct ImportState {
  Session& session;
  bool learn_titles = false;
  ImportedAliases aliases;
  std::vector<std::string> other_aliases;
  std::map<std::string, std::string> alias_by_url;  // the feeds subscribed
};

// The feed that came of an outline: the stored feed and a remark, or why
// there is none.
struct OutlineImport {
  FeedRecord feed;
  std::string note;
  std::string refusal;
};

std::string FirstGiven(const std::string& first, const std::string& second) {
  return first.empty() ? second : first;
}

std::vector<std::string> SplitPath(const std::string& path) {
  std::vector<std::string> names;
  std::size_t start = 0;
  while (start <= path.size()) {
    const std::size_t slash = std::min(path.find('/', start), path.size());
    if (slash > start) names.push_back(path.substr(start, slash - start));
    start = slash + 1;
  }
  return names;
}

// The newsbox's names through folders: the outline's category (where an
// export put the newsbox), else the folders it is nested in, else the alias.
std::vector<std::string> NewsboxNames(const OpmlOutline& outline, const std::string& alias) {
  // A category of slashes alone names no mailbox.
  if (std::vector<std::string> names = SplitPath(outline.category); !names.empty()) return names;
  if (!outline.folders.empty()) return outline.folders;
  return {alias};
}

// A newsbox's path through folders, or why there is none.
struct NewsboxPath {
  std::string path;
  std::string refusal;
};

// Makes every folder of `names` but the last that is missing, and returns
// the newsbox's path through them as the host names them, or the refusal.
NewsboxPath MakeNewsboxFolders(const std::vector<std::string>& names, host::MailStore& store) {
  if (names.size() > kMaxNewsboxFolders + 1)
    return {"", "it is nested in more than " + std::to_string(kMaxNewsboxFolders) + " folders"};
  std::string path;
  int parent = host::kTopLevel;
  for (std::size_t i = 0; i + 1 < names.size(); ++i) {
    const std::string wanted = path + names[i];
    std::optional<int> item = FindItemByTreePath(store, wanted);
    if (!item) item = store.CreateFolder(parent, names[i]);
    const std::optional<host::ItemInfo> info = item ? store.Item(*item) : std::nullopt;
    if (!info || !info->folder)
      return {"",
              "there is no folder " + Quoted(wanted) + " for its newsbox, and none can be made"};
    path += info->name + "/";
    parent = *item;
  }
  return {path + names.back(), ""};
}

// The feed's name: its learned title when asked for and the download
// worked, else the outline's title or text, else the alias.
std::string FeedName(const OpmlOutline& outline, const std::string& alias, ImportState& state,
                     std::string& note) {
  const std::string given = FirstGiven(FirstGiven(outline.title, outline.text), alias);
  if (!state.learn_titles) return given;
  const FeedTitleResult learned = LearnFeedTitle(outline.xml_url, state.session.Paths().FeedFile);
  if (learned.parsed) return NameFromLearnedTitle(learned.title, given);
  note = "its title could not be learned (" + learned.failure + "): named after the outline";
  return given;
}

// The checks that need no alias and create nothing.
std::optional<std::string> EarlyRefusal(const OpmlOutline& outline, const ImportState& state) {
  if (outline.xml_url.empty()) return "its xmlUrl is empty";
  const auto subscribed = state.alias_by_url.find(outline.xml_url);
  if (subscribed != state.alias_by_url.end())
    return "its feed is subscribed already, as " + Quoted(subscribed->second);
  return std::nullopt;
}

// Readies the feed of one outline, making its newsbox; it is stored with
// the others of the file once every outline has been read.
OutlineImport PrepareOutline(const OpmlOutline& outline, ImportState& state) {
  if (const auto refusal = EarlyRefusal(outline, state)) return {{}, "", *refusal};
  const std::string alias = state.aliases.Make(FirstGiven(outline.text, outline.title));
  if (alias.empty()) return {{}, "", "it has no text or title to make an alias of"};
  const NewsboxPath newsbox =
      MakeNewsboxFolders(NewsboxNames(outline, alias), state.session.Host().Store());
  if (!newsbox.refusal.empty()) return {{}, "", newsbox.refusal};
  OutlineImport result;
  result.feed = NewFeedRecord(alias, outline.xml_url);
  result.feed.Name = FeedName(outline, alias, state, result.note);
  std::string complete_note;
  if (const auto refusal = CompleteFeed(result.feed, newsbox.path, state.other_aliases,
                                        state.session, complete_note))
    return {{}, "", *refusal};
  state.other_aliases.push_back(alias);
  state.alias_by_url.emplace(outline.xml_url, alias);
  return result;
}

// How an outline is named in the report.
std::string OutlineLabel(const OpmlOutline& outline) {
  return Quoted(FirstGiven(FirstGiven(outline.text, outline.title), outline.xml_url));
}

ImportState StartImport(Session& session, bool learn_titles) {
  const std::vector<std::string> listed = ReadListedAliases(session.Paths().SettingsFile);
  ImportState state{session, learn_titles, ImportedAliases(listed), listed, {}};
  for (const FeedRecord& feed : LoadFeedList(session.Paths().SettingsFile))
    state.alias_by_url.emplace(feed.URL, feed.Alias);
  return state;
}

void ReportRefusal(std::ostream& err, const OpmlOutline& outline, const std::string& refusal) {
  err << "tavi: refused the outline " << PrintableText(OutlineLabel(outline)) << ": "
      << PrintableText(refusal) << "\n";
}

void ReportAdded(const CommandContext& context, const OutlineImport& imported) {
  const FeedRecord& feed = imported.feed;
  context.out << PrintableText("Added feed " + Quoted(feed.Alias) + " (" + feed.Name +
                               ") into newsbox " + feed.Newsbox + ".")
              << "\n";
  if (!imported.note.empty())
    context.err << "tavi: note: " << PrintableText(feed.Alias + ": " + imported.note) << "\n";
}

// Prepares every outline, then stores the feeds in one rewrite of the
// settings file and reports each; returns how many were refused.
std::size_t ImportOutlines(const CommandContext& context, const std::vector<OpmlOutline>& outlines,
                           ImportState& state) {
  std::vector<OutlineImport> prepared;
  std::vector<const OpmlOutline*> sources;
  std::size_t refused = 0;
  for (const OpmlOutline& outline : outlines) {
    OutlineImport imported = PrepareOutline(outline, state);
    if (!imported.refusal.empty()) {
      ++refused;
      ReportRefusal(context.err, outline, imported.refusal);
      continue;
    }
    prepared.push_back(std::move(imported));
    sources.push_back(&outline);
  }
  std::vector<FeedRecord> feeds;
  for (const OutlineImport& imported : prepared) feeds.push_back(imported.feed);
  const std::string& settings_file = state.session.Paths().SettingsFile;
  const std::vector<StoreResult> stored = StoreNewFeeds(feeds, settings_file);
  for (std::size_t i = 0; i < prepared.size(); ++i) {
    if (stored[i].Stored()) {
      ReportAdded(context, prepared[i]);
      continue;
    }
    ++refused;
    ReportRefusal(context.err, *sources[i], StoreRefusal(stored[i], feeds[i], settings_file));
  }
  return refused;
}

int RunOpmlImport(const CommandContext& context) {
  const std::string& file = context.command.positionals[1];
  const OpmlReadResult read = ReadOpmlFile(file);
  if (!read.Read()) {
    context.err << "tavi: cannot import " << PrintableText(file) << ": "
                << PrintableText(read.error) << "\n";
    return kExitFailure;
  }
  const std::unique_ptr<Session> session = OpenSession(context, SessionUse::kChange);
  if (session == nullptr) return kExitFailure;
  ImportState state = StartImport(*session, context.command.Has("--learn-titles"));
  const std::size_t refused = ImportOutlines(context, read.outlines, state);
  context.out << "Imported " << read.outlines.size() - refused << " of " << read.outlines.size()
              << " feeds; refused " << refused << ".\n";
  return refused == 0 ? kExitSuccess : kExitFailure;
}

// The newsbox's names through its folders, "Work/News"; the stored display
// name when the host does not know its file.
std::string NewsboxTreePath(host::MailStore& store, const FeedRecord& feed) {
  std::optional<int> number = store.FindByPath(feed.NewsboxPath);
  std::optional<host::ItemInfo> item = number ? store.Item(*number) : std::nullopt;
  if (!item) return feed.Newsbox;
  std::string path = item->name;
  while ((item = store.Item(item->parent))) path = item->name + "/" + path;
  return path;
}

int RunOpmlExport(const CommandContext& context) {
  const std::unique_ptr<Session> session = OpenSession(context, SessionUse::kRead);
  if (session == nullptr) return kExitFailure;
  std::vector<OpmlFeed> feeds;
  for (const FeedRecord& feed : LoadFeedList(session->Paths().SettingsFile))
    feeds.push_back(
        {feed.Alias, feed.Name, feed.URL, NewsboxTreePath(session->Host().Store(), feed)});
  context.out << WriteOpml(feeds);
  return kExitSuccess;
}

}  // namespace

int RunOpml(const CommandContext& context) {
  const std::vector<std::string>& positionals = context.command.positionals;
  const bool has_file = positionals.size() == 2;
  if (positionals[0] == "import") {
    if (has_file) return RunOpmlImport(context);
    context.err << "tavi: opml import: the FILE to read is missing\n";
  } else {
    if (!has_file) return RunOpmlExport(context);
    context.err << "tavi: opml export: it writes to the output and takes no FILE\n";
  }
  context.err << "try 'tavi opml --help'\n";
  return kExitUsage;
}

}  // namespace tavi::cli
