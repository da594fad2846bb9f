#pragma once

// Whether a feed definition that the user filled in may be stored: the test
// Feed Properties runs when OK is pressed, before the alias is compared with
// the other feeds' (StoreFeed does that under the settings file's lock).

#include <string>

#include "store/feed_definitions.h"

namespace tavi {

// Gives a feed without a name the title its document carries
// (LearnFeedTitle into `feed_file`, then NameFromLearnedTitle). True when
// the feed had a name or its document parsed; false, leaving the name empty,
// when it could not be downloaded and parsed.
bool LearnMissingName(FeedRecord& feed, const std::string& feed_file);

// Tests every rule below, in this order, each even after one has failed,
// so that a missing name is learned while the alias is still empty and the
// next OK need not download again:
//   the alias and the URL are given, and the alias can be stored;
//   the feed has a name, or LearnMissingName gives it one;
//   the newsbox file exists;
//   the newsbox is neither "Pending" nor "Out".
// True when all hold. `feed` keeps a learned name either way.
bool AcceptFeedDefinition(FeedRecord& feed, const std::string& feed_file);

}  // namespace tavi
