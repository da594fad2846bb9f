// Any bytes as a subscription list: reading must neither crash nor hang, an
// error comes without outlines, the outline cap holds, and what was read
// written out again (each feed with an address) reads back to the same
// feeds.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fetch/opml_file.h"

namespace {

void Check(bool holds) {
  if (!holds) __builtin_trap();
}

bool SameFeed(const tavi::OpmlOutline& read, const tavi::OpmlFeed& written) {
  return read.text == written.alias && read.title == written.name && read.xml_url == written.url &&
         read.category == written.newsbox && read.folders.empty();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const tavi::OpmlReadResult result =
      tavi::ReadOpml(std::string(reinterpret_cast<const char*>(data), size));
  Check(result.Read() || result.outlines.empty());
  Check(result.outlines.size() <= tavi::kMaxOpmlOutlines);
  std::vector<tavi::OpmlFeed> feeds;
  // A feed without an address is refused on import, so no export has one.
  for (const tavi::OpmlOutline& outline : result.outlines)
    if (!outline.xml_url.empty())
      feeds.push_back({outline.text, outline.title, outline.xml_url, outline.category});
  const tavi::OpmlReadResult again = tavi::ReadOpml(tavi::WriteOpml(feeds));
  Check(again.Read());
  Check(again.outlines.size() == feeds.size());
  for (std::size_t i = 0; i < feeds.size(); ++i) Check(SameFeed(again.outlines[i], feeds[i]));
  return 0;
}
