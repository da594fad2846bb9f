#pragma once

// Learning a feed's own title by downloading its document once: Feed
// Properties runs this test when the user left the name empty, and to
// validate a feed on request.

#include <string>

namespace tavi {

// What the test download learned.
struct FeedTitleResult {
  // True when the document was downloaded, read as text and parsed.
  bool parsed = false;
  // The feed's title: the root's own "title" child (Atom), else the
  // "title" child of the root's first child element (the RSS channel); ""
  // when the document has neither, or when it did not parse.
  std::string title;
  // Why it did not parse, for the user: the download's error, or the
  // document's size and the parser's message ("58 bytes, No root element").
  // "" when it parsed.
  std::string failure;
};

// Downloads `url` into `feed_file` (the plug-in's temporary feed document; a
// file already there is deleted first, with the pause after deleting a feed
// file), reads it as the check reads a feed document (XmlDocument::LoadFile:
// turned into UTF-8 from the encoding it names), deletes it and parses it.
// The URL-moniker download goes first, the program's own download when no
// file resulted. Not parsed when no file arrived or the text is not a
// well-formed document; a document without a title parses with an empty
// title. The file is gone afterwards whenever it could be deleted.
FeedTitleResult LearnFeedTitle(const std::string& url, const std::string& feed_file);

}  // namespace tavi
