#include "engine/feed_title.h"

#include "delivery/message_text.h"
#include "fetch/document_encoding.h"
#include "fetch/downloader.h"
#include "fetch/xml_document.h"
#include "platform/fs.h"

namespace tavi {
namespace {

constexpr char kLoadFailedText[] = "-1";

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
  const std::string text = LoadDownloadedText(feed_file);
  platform::DeleteFile(feed_file);
  if (text == kLoadFailedText) return {false, "", "not a text document"};
  XmlDocument document;
  if (!document.SetText(DecodeFeedDocument(text, {}).text))
    return {false, "", document.ParseMessage()};
  return {true, FindFeedTitle(document), ""};
}

}  // namespace tavi
