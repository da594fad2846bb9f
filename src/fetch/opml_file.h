#pragma once

// Subscription lists in OPML, the outline format other aggregators import
// and export. Reading walks the document without recursion, so an outline
// nested a thousand deep costs no stack; writing gives OPML 2.0 that reads
// back to the same feeds.

#include <cstddef>
#include <string>
#include <vector>

namespace tavi {

// One outline that names a feed document (it has an "xmlUrl").
struct OpmlOutline {
  std::string text;      // its "text" attribute, decoded
  std::string title;     // its "title" attribute, decoded
  std::string xml_url;   // its "xmlUrl", white space around it trimmed
  std::string category;  // its "category", without a leading "/"
  // The "text" (else "title") of each outline it is nested in, outermost
  // first; folders without either are left out.
  std::vector<std::string> folders;
};

// What a read found: the feed outlines in document order, or why the
// document is not a subscription list.
struct OpmlReadResult {
  std::vector<OpmlOutline> outlines;
  std::string error;  // "" when the document was read

  bool Read() const { return error.empty(); }
};

// The most feed outlines one document may hold: each becomes a feed with a
// mailbox of its own, checked against the alias of every other feed.
inline constexpr std::size_t kMaxOpmlOutlines = 1000;

// Reads `text` as OPML (any version): the root must be "opml" with a
// "body". An ill-formed document, another root, no body or more than
// kMaxOpmlOutlines feed outlines is an error naming the problem, with no
// outlines. Outlines without an "xmlUrl" are folders; an outline with one is
// a feed, and outlines inside it are not read.
OpmlReadResult ReadOpml(std::string text);

// ReadOpml on the bytes of the file at `path`; an unreadable file is an
// error with the system's reason.
OpmlReadResult ReadOpmlFile(const std::string& path);

// One feed as an export writes it.
struct OpmlFeed {
  std::string alias;    // written as "text"
  std::string name;     // written as "title"
  std::string url;      // "xmlUrl"
  std::string newsbox;  // the newsbox's path through folders, "Work/News"; "category"
};

// The OPML 2.0 document listing `feeds` in their order, each as one outline
// with type="rss"; nothing in it depends on the time, so the same feeds
// always give the same bytes.
std::string WriteOpml(const std::vector<OpmlFeed>& feeds);

}  // namespace tavi
