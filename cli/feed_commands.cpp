#include "cli/feed_commands.h"

#include <ostream>

#include "cli/feed_editing.h"
#include "cli/session.h"
#include "cli/terminal_text.h"

namespace tavi::cli {
namespace {

int Refuse(const CommandContext& context, const std::string& what, const std::string& reason) {
  context.err << "tavi: " << PrintableText(what + ": " + reason) << "\n";
  return kExitFailure;
}

void Note(const CommandContext& context, const std::string& note) {
  if (!note.empty()) context.err << "tavi: note: " << PrintableText(note) << "\n";
}

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

std::string OptionsText(const FeedRecord& feed) {
  std::string text = feed.DownloadReferringArticles ? "full articles" : "summaries";
  text += feed.DownloadOnlyNewArticles ? ", only new articles" : ", all articles";
  if (feed.AutoCheck) {
    text += ", checked every " + std::to_string(feed.IntervalMinutes) + " minutes";
  } else {
    text += ", checked on demand";
  }
  return text;
}

void PrintFeed(std::ostream& out, const FeedRecord& feed) {
  out << PrintableText(feed.Alias) << "\n"
      << "  Name:    " << PrintableText(feed.Name) << "\n"
      << "  URL:     " << PrintableText(feed.URL) << "\n"
      << "  Newsbox: " << PrintableText(feed.Newsbox) << " (" << PrintableText(feed.NewsboxPath)
      << ")\n"
      << "  Options: " << OptionsText(feed) << "\n";
}

}  // namespace

int RunInit(const CommandContext& context) {
  const std::unique_ptr<Session> session = OpenSession(context, SessionUse::kCreate);
  if (session == nullptr) return kExitFailure;
  context.out << "Tavi data folder ready: " << session->Paths().DataFolder << "\n"
              << "Settings file: " << session->Paths().SettingsFile << "\n";
  return kExitSuccess;
}

int RunAdd(const CommandContext& context) {
  const FeedChanges changes = ReadFeedChanges(context.command);
  const std::string& alias = context.command.positionals[0];
  const std::unique_ptr<Session> session = OpenSession(context, SessionUse::kChange);
  if (session == nullptr) return kExitFailure;
  const std::string& settings_file = session->Paths().SettingsFile;
  FeedRecord feed = NewFeedRecord(alias, context.command.positionals[1]);
  ApplyFeedChanges(changes, feed);
  std::string note;
  const auto refusal = CompleteFeed(feed, changes.newsbox.value_or(alias),
                                    ReadListedAliases(settings_file), *session, note);
  if (refusal) return Refuse(context, "cannot add the feed " + Quoted(alias), *refusal);
  // Stored with a last look at the other feeds, under the settings file's
  // lock: another program may have added one since.
  const StoreResult stored = StoreFeed(feed, "", "", settings_file);
  if (!stored.Stored())
    return Refuse(context, "cannot add the feed " + Quoted(alias),
                  StoreRefusal(stored, feed, settings_file));
  Note(context, note);
  context.out << PrintableText("Added feed " + Quoted(feed.Alias) + " (" + feed.Name +
                               ") into newsbox " + feed.Newsbox + ".")
              << "\n";
  return kExitSuccess;
}

int RunEdit(const CommandContext& context) {
  const FeedChanges changes = ReadFeedChanges(context.command);
  const std::unique_ptr<Session> session = OpenSession(context, SessionUse::kChange);
  if (session == nullptr) return kExitFailure;
  const std::string& settings_file = session->Paths().SettingsFile;
  const std::string& asked = context.command.positionals[0];
  const std::optional<std::string> alias = FindListedAlias(asked, settings_file);
  if (!alias) return Refuse(context, "edit", "there is no feed with the alias " + Quoted(asked));
  // The feed stays in the settings file until its new definition replaces it
  // in one rewrite: a refusal, an interruption or a kill leaves it as it was.
  const FeedEdit stored = ReadStoredFeed(*alias, settings_file);
  FeedRecord feed = stored.feed;
  ApplyFeedChanges(changes, feed);
  std::vector<std::string> others = ReadListedAliases(settings_file);
  std::erase(others, *alias);
  std::string note;
  const auto refusal = CompleteFeed(feed, changes.newsbox, others, *session, note);
  if (refusal) return Refuse(context, "cannot change the feed " + Quoted(*alias), *refusal);
  const StoreResult result = StoreFeed(feed, stored.last_article, *alias, settings_file);
  if (!result.Stored())
    return Refuse(context, "cannot change the feed " + Quoted(*alias),
                  StoreRefusal(result, feed, settings_file));
  Note(context, note);
  context.out << PrintableText("Changed feed " + Quoted(feed.Alias) + ".") << "\n";
  return kExitSuccess;
}

int RunDelete(const CommandContext& context) {
  const std::unique_ptr<Session> session = OpenSession(context, SessionUse::kChange);
  if (session == nullptr) return kExitFailure;
  const std::string& settings_file = session->Paths().SettingsFile;
  const std::string& asked = context.command.positionals[0];
  const std::optional<std::string> alias = FindListedAlias(asked, settings_file);
  if (!alias) return Refuse(context, "delete", "there is no feed with the alias " + Quoted(asked));
  if (!DeleteFeed(*alias, settings_file))
    return Refuse(context, "delete", "the settings file " + settings_file + " cannot be written.");
  context.out << PrintableText("Deleted feed " + Quoted(*alias) +
                               "; its newsbox keeps its messages.")
              << "\n";
  return kExitSuccess;
}

int RunFeeds(const CommandContext& context) {
  const std::unique_ptr<Session> session = OpenSession(context, SessionUse::kRead);
  if (session == nullptr) return kExitFailure;
  const std::vector<FeedRecord> feeds = LoadFeedList(session->Paths().SettingsFile);
  if (feeds.empty()) context.out << "No feeds. Subscribe one with: tavi add ALIAS URL\n";
  for (const FeedRecord& feed : feeds) PrintFeed(context.out, feed);
  return kExitSuccess;
}

}  // namespace tavi::cli
