#include "cli/feed_commands.h"

#include <ostream>

#include "cli/feed_editing.h"
#include "cli/session.h"

namespace tavi::cli {
namespace {

int Refuse(const CommandContext& context, const std::string& what, const std::string& reason) {
  context.err << "tavi: " << what << ": " << reason << "\n";
  return kExitFailure;
}

void Warn(const CommandContext& context, const std::string& warning) {
  if (!warning.empty()) context.err << "tavi: warning: " << warning << "\n";
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
  out << feed.Alias << "\n"
      << "  Name:    " << feed.Name << "\n"
      << "  URL:     " << feed.URL << "\n"
      << "  Newsbox: " << feed.Newsbox << " (" << feed.NewsboxPath << ")\n"
      << "  Options: " << OptionsText(feed) << "\n";
}

}  // namespace

int RunInit(const CommandContext& context) {
  const std::unique_ptr<Session> session = Session::Open(context.data_folder, true, context.err);
  if (session == nullptr) return kExitFailure;
  context.out << "Tavi data folder ready: " << session->Paths().DataFolder << "\n"
              << "Settings file: " << session->Paths().SettingsFile << "\n";
  return kExitSuccess;
}

int RunAdd(const CommandContext& context) {
  std::string error;
  const std::optional<FeedChanges> changes = ReadFeedChanges(context.command, error);
  if (!changes) return Refuse(context, "add", error);
  const std::string& alias = context.command.positionals[0];
  const std::unique_ptr<Session> session = Session::Open(context.data_folder, false, context.err);
  if (session == nullptr) return kExitFailure;
  const std::string& settings_file = session->Paths().SettingsFile;
  FeedRecord feed = NewFeedRecord(alias, context.command.positionals[1]);
  ApplyFeedChanges(*changes, feed);
  std::string warning;
  const auto refusal = CompleteFeed(feed, changes->newsbox.value_or(alias),
                                    ReadListedAliases(settings_file), *session, warning);
  if (refusal) return Refuse(context, "cannot add the feed " + Quoted(alias), *refusal);
  if (!SaveFeed(feed, "", settings_file))
    return Refuse(context, "cannot add the feed " + Quoted(alias),
                  "the settings file " + settings_file + " cannot be written.");
  Warn(context, warning);
  context.out << "Added feed " << Quoted(feed.Alias) << " (" << feed.Name << ") into newsbox "
              << feed.Newsbox << ".\n";
  return kExitSuccess;
}

int RunEdit(const CommandContext& context) {
  std::string error;
  const std::optional<FeedChanges> changes = ReadFeedChanges(context.command, error);
  if (!changes) return Refuse(context, "edit", error);
  const std::unique_ptr<Session> session = Session::Open(context.data_folder, false, context.err);
  if (session == nullptr) return kExitFailure;
  const std::string& settings_file = session->Paths().SettingsFile;
  const std::string& asked = context.command.positionals[0];
  const std::optional<std::string> alias = FindListedAlias(asked, settings_file);
  if (!alias) return Refuse(context, "edit", "there is no feed with the alias " + Quoted(asked));
  // The feed leaves the file while it is edited, so it never collides with
  // itself; every way out either saves it or puts it back.
  const FeedEdit edit = OpenFeedForEditing(*alias, settings_file);
  FeedRecord feed = edit.feed;
  ApplyFeedChanges(*changes, feed);
  std::string warning;
  const auto refusal =
      CompleteFeed(feed, changes->newsbox, ReadListedAliases(settings_file), *session, warning);
  if (refusal || !SaveFeed(feed, edit.last_article, settings_file)) {
    CancelFeedEdit(edit, settings_file);
    return Refuse(context, "cannot change the feed " + Quoted(*alias),
                  refusal.value_or("the settings file " + settings_file + " cannot be written."));
  }
  Warn(context, warning);
  context.out << "Changed feed " << Quoted(feed.Alias) << ".\n";
  return kExitSuccess;
}

int RunDelete(const CommandContext& context) {
  const std::unique_ptr<Session> session = Session::Open(context.data_folder, false, context.err);
  if (session == nullptr) return kExitFailure;
  const std::string& settings_file = session->Paths().SettingsFile;
  const std::string& asked = context.command.positionals[0];
  const std::optional<std::string> alias = FindListedAlias(asked, settings_file);
  if (!alias) return Refuse(context, "delete", "there is no feed with the alias " + Quoted(asked));
  if (!DeleteFeed(*alias, settings_file))
    return Refuse(context, "delete", "the settings file " + settings_file + " cannot be written.");
  context.out << "Deleted feed " << Quoted(*alias) << "; its newsbox keeps its messages.\n";
  return kExitSuccess;
}

int RunFeeds(const CommandContext& context) {
  const std::unique_ptr<Session> session = Session::Open(context.data_folder, false, context.err);
  if (session == nullptr) return kExitFailure;
  const std::vector<FeedRecord> feeds = LoadFeedList(session->Paths().SettingsFile);
  if (feeds.empty()) context.out << "No feeds. Subscribe one with: tavi add ALIAS URL\n";
  for (const FeedRecord& feed : feeds) PrintFeed(context.out, feed);
  return kExitSuccess;
}

}  // namespace tavi::cli
