#pragma once

// One item (RSS) or entry (Atom) of a feed document, as the check engine reads
// it. Every field is 8-bit text, empty until the document supplies it.

#include <string>

namespace tavi {

struct ArticleRecord {
  std::string Title;
  // RSS link text; Atom: the alternate link's href (else another's), else the
  // content's src
  std::string Link;
  std::string Description;  // the body: RSS description, Atom content (else its summary)
  std::string Author;       // Atom: the name and the bracketed e-mail
  // RSS pubDate; Atom issued, else published, updated or modified, converted
  // to a mail-style date in local time
  std::string Date;
  std::string Guid;  // RSS guid; Atom id
  // The enclosure's url, length and type attributes; Atom: else an
  // enclosure link's href, length and type
  std::string Enclosure;
  std::string EnclosureLength;
  std::string EnclosureType;
  std::string Summary;
  std::string Category;  // RSS category text; Atom category term
  std::string Comments;  // RSS comments
  std::string Source;    // RSS source
};

}  // namespace tavi
