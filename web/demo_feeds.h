#pragma once

// The sample feeds the demos serve (the tavi command's and tavi-host's):
// small documents of our own, built into the programs so that a demo needs
// nothing but the build.

#include <string>
#include <string_view>
#include <vector>

namespace tavi::web {

struct DemoFeed {
  std::string_view path;      // where the demo's server serves it
  std::string_view alias;     // the alias the demo subscribes it under
  std::string_view name;      // --name given, or "" to learn the title
  std::string_view newsbox;   // --newsbox given, or "" for the alias's own
  std::string_view document;  // the feed document
};

// Two RSS feeds and one Atom feed; two of them share a newsbox.
const std::vector<DemoFeed>& DemoFeeds();

// The tavi command's arguments that subscribe `feed` served at `url`:
// "add ALIAS URL", with --name and --newsbox when the feed gives them.
std::vector<std::string> DemoAddArguments(const DemoFeed& feed, const std::string& url);

}  // namespace tavi::web
