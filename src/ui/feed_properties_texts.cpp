#include "ui/feed_properties_texts.h"

#include "files/file_names.h"
#include "res/feed_properties_ids.h"

namespace tavi {
namespace {

constexpr std::size_t kShownNameLength = 40;

}  // namespace

std::string FeedInfoLine(const std::string& name) {
  const std::string shown =
      name.size() > kShownNameLength ? name.substr(0, kShownNameLength) + "..." : name;
  return " >> " + shown + " << ";
}

std::string NewsboxButtonText(const FeedRecord& feed) {
  return FileExists(feed.NewsboxPath) ? feed.Newsbox : kNoNewsboxText;
}

int OptionIconOf(const FeedRecord& feed) {
  return res::feed_properties::kOptionIcons.at(static_cast<std::size_t>(FeedImageIndex(feed)));
}

}  // namespace tavi
