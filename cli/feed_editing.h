#pragma once

// Subscribing and changing feeds from the command line, under the same rules
// as the Feed Properties dialog: alias and URL given and storable, a name
// (learned by a test download when none is given), an existing newsbox that
// is neither "Pending" nor "Out", a unique alias, and an interval below one
// minute turning the automatic check off.

#include <optional>
#include <string>
#include <vector>

#include "cli/arguments.h"
#include "cli/session.h"
#include "store/feed_definitions.h"

namespace tavi::cli {

// What the options of add and edit ask to change; absent fields stay.
struct FeedChanges {
  std::optional<std::string> alias;
  std::optional<std::string> url;
  std::optional<std::string> name;
  std::optional<std::string> newsbox;
  std::optional<int> download_referring;  // --full 1, --no-full 0
  std::optional<int> only_new;            // --only-new 1, --all 0
  std::optional<int> every;               // --every MINUTES
  std::optional<int> auto_check;          // --every 1, --on-demand 0
};

// Reads the options (which the parser checked).
FeedChanges ReadFeedChanges(const ParsedCommand& command);

// Puts the changes into the record. --every turns the automatic check on
// with its interval, --on-demand turns it off and keeps the interval; the
// newsbox is left to CompleteFeed.
void ApplyFeedChanges(const FeedChanges& changes, FeedRecord& feed);

// Brings the definition to the point where it can be written, or says why
// not. `newsbox` is the mailbox asked for (nullopt: keep the feed's own):
// "Folder/Mailbox" names one inside a folder, a plain name one anywhere in
// the host's tree; a missing one is created through the host, inside its
// folder (which must exist) or at the top level. The rules that need no work
// are tested first, so a refused definition leaves no mailbox behind and
// downloads nothing; then the name is learned when empty (the alias when the
// document has no title), then the newsbox resolved, then every rule tested
// again. Returns the refusal, a sentence naming the rule (and the other feed
// of a clash); nullopt when the record is ready. `note` receives a remark for
// the user (a document without a title) or stays empty.
std::optional<std::string> CompleteFeed(FeedRecord& feed, const std::optional<std::string>& newsbox,
                                        const std::vector<std::string>& other_aliases,
                                        Session& session, std::string& note);

// Why a definition was not stored, for the user: the clash with the other
// feed, or the settings file that could not be written. "" when it was.
std::string StoreRefusal(const StoreResult& result, const FeedRecord& feed,
                         const std::string& settings_file);

// The listed alias equal to `alias` in any letter case; nullopt when none.
std::optional<std::string> FindListedAlias(const std::string& alias,
                                           const std::string& settings_file);

}  // namespace tavi::cli
