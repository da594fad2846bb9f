#pragma once

// One item (RSS) or entry (Atom) of a feed document, as the check engine reads
// it. Every field is 8-bit text, empty until the document supplies it.

#include <string>
#include <vector>

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
  // The xml:base values in scope at the item, outermost first (those of the
  // elements around it and its own): each builds on the one before, the
  // first on the document's URL. Links of the item are relative to them.
  std::vector<std::string> XmlBases;
  // The xml:base of the body element itself, on top of XmlBases for the
  // links inside the body; "" when it has none.
  std::string BodyXmlBase;
};

}  // namespace tavi
