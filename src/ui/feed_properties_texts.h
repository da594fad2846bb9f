#pragma once

// What Feed Properties shows of a feed besides its fields: the info line
// with the feed's name, the newsbox button's text and the option picture.

#include <string>

#include "store/feed_definitions.h"

namespace tavi {

// The button's text while the feed has no newsbox that exists.
inline constexpr const char* kNoNewsboxText = "[No newsbox selected]";

// " >> name << ", a name longer than 40 characters cut to its first 40 and
// "..." (cut between bytes, as the settings file holds it).
std::string FeedInfoLine(const std::string& name);

// The newsbox's name when its file exists, else kNoNewsboxText.
std::string NewsboxButtonText(const FeedRecord& feed);

// The icon resource showing the feed's three options.
int OptionIconOf(const FeedRecord& feed);

}  // namespace tavi
