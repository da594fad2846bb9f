#include "fetch/feed_reader.h"

#include "fetch/date_text.h"
#include "fetch/xml_base_trail.h"
#include "platform/ascii.h"

namespace tavi {
namespace {

// An Atom entry's date in the mail-style layout. An unreadable date is left
// empty rather than made the current time: the composer then dates the entry
// with the check's time, which must not move the feed's "LastArticle".
std::string AtomDateText(const std::string& text) {
  const std::optional<platform::OleDate> date = ReadW3cDateText(text);
  return date ? platform::FormatDate(*date, kMailDateLayout) : "";
}

// The element names that differ between the two formats.
struct Vocabulary {
  const char* item;
  const char* body;
  const char* date;
  const char* identifier;
};

constexpr Vocabulary kRssVocabulary{"item", "description", "pubDate", "guid"};
constexpr Vocabulary kAtomVocabulary{"entry", "content", "issued", "id"};

const Vocabulary& VocabularyOf(FeedFormat format) {
  return format == FeedFormat::kAtom ? kAtomVocabulary : kRssVocabulary;
}

// Selects the first child of that name of the current element.
bool FindFirstChild(XmlDocument& document, std::string_view name) {
  document.ResetChildPosition();
  return document.FindChildElement(name);
}

// The current element's text, or its raw markup when the text is empty (an
// HTML body written without escaping).
std::string TextOrMarkup(const XmlDocument& document) {
  std::string text = document.GetElementText();
  return text.empty() ? document.GetInnerMarkup() : text;
}

// Steps into the first child of that name, runs `read` on it and steps out.
template <typename Read>
void ReadInsideChild(XmlDocument& document, std::string_view name, Read read) {
  if (!FindFirstChild(document, name) || !document.EnterElement()) return;
  read();
  document.LeaveElement();
}

void ReadBody(XmlDocument& document, FeedFormat format, ArticleRecord& article) {
  ReadInsideChild(document, VocabularyOf(format).body, [&] {
    if (format == FeedFormat::kRss) {
      article.Description = document.GetElementText();
      return;
    }
    const std::string source = document.GetAttributeValue("src");
    if (!source.empty()) article.Link = source;
    article.Description = TextOrMarkup(document);
  });
}

void ReadAtomAuthor(XmlDocument& document, ArticleRecord& article) {
  ReadInsideChild(document, "author", [&] {
    if (FindFirstChild(document, "name")) article.Author = document.GetChildText();
    if (!FindFirstChild(document, "email")) return;
    if (!article.Author.empty()) article.Author += " ";
    article.Author.append("<").append(document.GetChildText()).append(">");
  });
}

void ReadLinkAndEnclosure(XmlDocument& document, FeedFormat format, ArticleRecord& article) {
  if (FindFirstChild(document, "enclosure")) {
    article.Enclosure = document.GetChildAttributeValue("url");
    article.EnclosureLength = document.GetChildAttributeValue("length");
    article.EnclosureType = document.GetChildAttributeValue("type");
  }
  if (FindFirstChild(document, "link"))
    article.Link = format == FeedFormat::kAtom ? document.GetChildAttributeValue("href")
                                               : document.GetChildText();
}

void ReadCategoryCommentsSource(XmlDocument& document, FeedFormat format, ArticleRecord& article) {
  if (FindFirstChild(document, "category"))
    article.Category = format == FeedFormat::kAtom ? document.GetChildAttributeValue("term")
                                                   : document.GetChildText();
  if (format == FeedFormat::kAtom) return;
  if (FindFirstChild(document, "comments")) article.Comments = document.GetChildText();
  if (FindFirstChild(document, "source")) article.Source = document.GetChildText();
}

// Moves to the next element in document order: the current element's first
// child, else the next sibling of the nearest element that has one, with
// `depth` following every step down and up. False when the walk is over.
bool MoveToNextElement(XmlDocument& document, std::size_t& depth) {
  document.ResetChildPosition();
  while (!document.FindChildElement()) {
    if (!document.LeaveElement()) return false;
    --depth;
  }
  ++depth;
  return document.EnterElement();
}

// Visits each element below the root, in document order; `visit` gets the
// element's depth (1 for the root's children).
template <typename Visit>
void ForEachElement(XmlDocument& document, Visit visit) {
  document.ResetPosition();
  if (!document.FindChildElement() || !document.EnterElement()) return;
  std::size_t depth = 1;
  do {
    if (!visit(depth)) return;
  } while (MoveToNextElement(document, depth));
}

// Notes the root on the trail: the walk itself starts below it.
void VisitRoot(XmlDocument& document, XmlBaseTrail& bases) {
  document.ResetPosition();
  if (document.FindElement()) bases.Visit(document, 0);
}

// Gives the item the xml:base values in scope and its body's own. The
// positions stay on the item.
void ReadXmlBases(XmlDocument& document, FeedFormat format, const XmlBaseTrail& bases,
                  ArticleRecord& article) {
  if (bases.Idle()) return;
  article.XmlBases = bases.InScope();
  if (FindFirstChild(document, VocabularyOf(format).body))
    article.BodyXmlBase = bases.ChildValue(document);
}

}  // namespace

const char* FeedFormatName(FeedFormat format) {
  return format == FeedFormat::kAtom ? "atom" : "rss";
}

FeedFormat DetectFeedFormat(XmlDocument& document) {
  FeedFormat format = FeedFormat::kRss;
  ForEachElement(document, [&](std::size_t) {
    const std::string name = document.GetElementName();
    if (platform::EqualsIgnoringCase(name, "guid")) return false;
    if (!platform::EqualsIgnoringCase(name, "id")) return true;
    format = FeedFormat::kAtom;
    return false;
  });
  return format;
}

void WalkFeed(XmlDocument& document, FeedFormat format,
              const std::function<void(ArticleRecord&)>& on_item,
              const std::function<void()>& after_element) {
  const char* item_name = VocabularyOf(format).item;
  XmlBaseTrail bases(document);
  VisitRoot(document, bases);
  ForEachElement(document, [&](std::size_t depth) {
    bases.Visit(document, depth);
    if (platform::EqualsIgnoringCase(document.GetElementName(), item_name)) {
      ArticleRecord article = ReadArticle(document, format);
      ReadXmlBases(document, format, bases, article);
      if (on_item) on_item(article);
    }
    if (after_element) after_element();
    return true;
  });
}

ArticleRecord ReadArticle(XmlDocument& document, FeedFormat format) {
  const Vocabulary& vocabulary = VocabularyOf(format);
  ArticleRecord article;
  if (FindFirstChild(document, "title")) article.Title = document.GetChildText();
  ReadBody(document, format, article);
  ReadLinkAndEnclosure(document, format, article);
  ReadInsideChild(document, "summary", [&] { article.Summary = TextOrMarkup(document); });
  if (format == FeedFormat::kAtom)
    ReadAtomAuthor(document, article);
  else
    ReadInsideChild(document, "author", [&] { article.Author = document.GetElementText(); });
  if (FindFirstChild(document, vocabulary.date)) {
    article.Date = document.GetChildText();
    if (format == FeedFormat::kAtom) article.Date = AtomDateText(article.Date);
  }
  if (FindFirstChild(document, vocabulary.identifier)) article.Guid = document.GetChildText();
  ReadCategoryCommentsSource(document, format, article);
  return article;
}

std::vector<ArticleRecord> ReadAllArticles(XmlDocument& document, FeedFormat format) {
  std::vector<ArticleRecord> articles;
  WalkFeed(document, format, [&](ArticleRecord& article) { articles.push_back(article); }, {});
  return articles;
}

}  // namespace tavi
