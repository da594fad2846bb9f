#pragma once

// What the main window's two lists show for a row: a newsbox's name with its
// unread and message counts and the picture that sums them up, and which
// newsbox a feed delivers into. Plain functions over the settings file and
// the host's table-of-contents files, so the tavi command could show the
// same.

#include <string>
#include <vector>

#include "store/feed_definitions.h"

namespace tavi {

// A row of the Newsboxes list.
struct NewsboxEntry {
  std::string name;
  std::string mailbox_path;  // the host's ".mbx" file
  std::string index_path;    // its table of contents
  int message_count = -1;    // -1: the table of contents could not be read
  int unread_count = -1;
};

// The table of contents beside a mailbox file: its last three characters
// replaced by "toc" ("" for a path shorter than that).
std::string IndexPathOf(const std::string& mailbox_path);

// The entry of the newsbox `name` kept in `mailbox_path`, its counts read
// from the table of contents now (-1 each when it cannot be read).
NewsboxEntry ReadNewsboxEntry(const std::string& name, const std::string& mailbox_path);

// "name (unread/messages)".
std::string NewsboxRowText(const NewsboxEntry& entry);

// The row's picture in the list's images: 0 without messages, 1 when none
// is unread, 2 otherwise.
int NewsboxImageIndex(const NewsboxEntry& entry);

// Whether the feed's newsbox gets a row: its mailbox file exists and no
// entry of `entries` has the same mailbox path (letter case ignored).
bool NeedsNewsboxRow(const FeedRecord& feed, const std::vector<NewsboxEntry>& entries);

// The newsbox the feed stored under `alias` delivers into, as its section
// says; the alias made file-name safe when the section names none.
std::string StoredNewsboxOf(const std::string& alias, const std::string& settings_file);

}  // namespace tavi
