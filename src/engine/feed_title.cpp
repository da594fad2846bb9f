#include "engine/feed_title.h"

#include "fetch/downloader.h"
#include "fetch/xml_document.h"
#include "platform/fs.h"

namespace tavi {
namespace {

// The title of a parsed feed document: the root's own "title" child (an Atom
// feed's title), else one among the children of the root's first child
// element (an RSS channel's title).
std::string FindFeedTitle(XmlDocument& document) {
  document.FindElement();
  document.EnterElement();
  if (document.FindElement("title")) return document.GetElementText();
  if (document.FindChildElement("title")) return document.GetChildText();
  return "";
}

}  // namespace

FeedTitleResult LearnFeedTitle(const std::string& url, const std::string& feed_file) {
  const platform::NetResult fetched =
      FetchToFile(url, feed_file, DeleteMode::kDeleteAndWait, kMaxFeedDocumentBytes);
  if (!fetched.ok) return {false, "", fetched.error};
  // Read as the check reads it, so that a title in UTF-16 or UTF-32 is
  // learnt as well as one in any other encoding.
  XmlDocument document;
  const bool parsed = document.LoadFile(feed_file);
  platform::DeleteFile(feed_file);
  if (!parsed) return {false, "", document.ParseMessage()};
  return {true, FindFeedTitle(document), ""};
}

}  // namespace tavi
