#include "fetch/opml_file.h"

#include <cerrno>
#include <cstring>

#include "fetch/xml_document.h"
#include "platform/ascii.h"
#include "platform/fs.h"

namespace tavi {
namespace {

std::string Trimmed(const std::string& text) {
  std::size_t first = 0;
  std::size_t last = text.size();
  while (first < last && platform::IsAsciiWhiteSpace(text[first])) ++first;
  while (last > first && platform::IsAsciiWhiteSpace(text[last - 1])) --last;
  return text.substr(first, last - first);
}

// The name a folder outline gives the outlines inside it.
std::string FolderName(const XmlDocument& document) {
  const std::string text = Trimmed(document.GetAttributeValue("text"));
  return text.empty() ? Trimmed(document.GetAttributeValue("title")) : text;
}

OpmlOutline FeedOutline(const XmlDocument& document, const std::vector<std::string>& folders) {
  OpmlOutline outline;
  outline.text = document.GetAttributeValue("text");
  outline.title = document.GetAttributeValue("title");
  outline.xml_url = Trimmed(document.GetAttributeValue("xmlUrl"));
  outline.category = Trimmed(document.GetAttributeValue("category"));
  if (outline.category.starts_with('/')) outline.category.erase(0, 1);
  for (const std::string& folder : folders) {
    if (!folder.empty()) outline.folders.push_back(folder);
  }
  return outline;
}

// Moves the cursor into the body: its children are the next to be found.
std::string EnterBody(XmlDocument& document) {
  if (!document.ParseSucceeded()) return "not a well-formed document: " + document.ParseMessage();
  document.ResetPosition();
  if (!document.FindElement() || document.GetElementName() != "opml")
    return "not an OPML document: its root element is not \"opml\"";
  if (!document.FindChildElement("body")) return "the OPML document has no \"body\"";
  document.EnterElement();
  document.EnterElement();
  return "";
}

// Every outline of the body in document order, depth first, with an explicit
// stack of folder names instead of recursion.
OpmlReadResult WalkOutlines(XmlDocument& document) {
  OpmlReadResult result;
  std::vector<std::string> folders;
  while (true) {
    if (!document.FindElement("outline")) {
      if (folders.empty()) return result;
      document.LeaveElement();
      folders.pop_back();
      continue;
    }
    if (document.GetAttributeValue("xmlUrl").empty()) {
      folders.push_back(FolderName(document));
      document.EnterElement();
      continue;
    }
    if (result.outlines.size() == kMaxOpmlOutlines)
      return {{},
              "the document lists more than " + std::to_string(kMaxOpmlOutlines) +
                  " feeds; split it into smaller files"};
    result.outlines.push_back(FeedOutline(document, folders));
  }
}

// The text as an attribute value between double quotes.
std::string AttributeText(const std::string& text) {
  std::string escaped;
  for (const char c : text) {
    switch (c) {
      case '&':
        escaped += "&amp;";
        break;
      case '<':
        escaped += "&lt;";
        break;
      case '>':
        escaped += "&gt;";
        break;
      case '"':
        escaped += "&quot;";
        break;
      // Line breaks and tabs in an attribute would come back as blanks.
      case '\n':
        escaped += "&#10;";
        break;
      case '\r':
        escaped += "&#13;";
        break;
      case '\t':
        escaped += "&#9;";
        break;
      default:
        escaped += c;
    }
  }
  return escaped;
}

}  // namespace

OpmlReadResult ReadOpml(std::string text) {
  XmlDocument document;
  document.SetText(std::move(text));
  if (std::string error = EnterBody(document); !error.empty()) return {{}, error};
  return WalkOutlines(document);
}

OpmlReadResult ReadOpmlFile(const std::string& path) {
  std::optional<std::string> bytes = platform::ReadFileBytes(path);
  if (!bytes) return {{}, std::strerror(errno)};
  return ReadOpml(std::move(*bytes));
}

std::string WriteOpml(const std::vector<OpmlFeed>& feeds) {
  std::string text =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<opml version=\"2.0\">\n"
      "  <head>\n"
      "    <title>Tavi subscriptions</title>\n"
      "  </head>\n"
      "  <body>\n";
  for (const OpmlFeed& feed : feeds) {
    text += "    <outline type=\"rss\" text=\"" + AttributeText(feed.alias) + "\" title=\"" +
            AttributeText(feed.name) + "\" xmlUrl=\"" + AttributeText(feed.url) +
            "\" category=\"/" + AttributeText(feed.newsbox) + "\"/>\n";
  }
  text +=
      "  </body>\n"
      "</opml>\n";
  return text;
}

}  // namespace tavi
