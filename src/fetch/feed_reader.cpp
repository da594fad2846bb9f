#include "fetch/feed_reader.h"

#include <array>
#include <optional>
#include <string_view>

#include "fetch/date_text.h"
#include "fetch/xml_base_trail.h"
#include "platform/ascii.h"

namespace tavi {
namespace {

// The elements that date an Atom entry, in the order they are asked: Atom
// 0.3's "issued", Atom 1.0's "published" and "updated", then Atom 0.3's
// "modified".
constexpr std::array<std::string_view, 4> kAtomDateElements = {"issued", "published", "updated",
                                                               "modified"};

// The element names that differ between the two formats.
struct Vocabulary {
  const char* item;
  const char* body;
  const char* identifier;
};

constexpr Vocabulary kRssVocabulary{"item", "description", "guid"};
constexpr Vocabulary kAtomVocabulary{"entry", "content", "id"};

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

// An Atom entry's date in the mail-style layout: the first of its dating
// elements that reads as a W3C date. None leaves it empty rather than the
// current time: the composer then dates the entry with the check's time,
// which must not move the feed's "LastArticle".
std::string ReadAtomDate(XmlDocument& document) {
  for (const std::string_view name : kAtomDateElements) {
    if (!FindFirstChild(document, name)) continue;
    const std::optional<platform::OleDate> date = ReadW3cDateText(document.GetChildText());
    if (date) return platform::FormatDate(*date, kMailDateLayout);
  }
  return "";
}

void ReadAtomAuthorAndDate(XmlDocument& document, ArticleRecord& article) {
  ReadInsideChild(document, "author", [&] {
    if (FindFirstChild(document, "name")) article.Author = document.GetChildText();
    if (!FindFirstChild(document, "email")) return;
    if (!article.Author.empty()) article.Author += " ";
    article.Author.append("<").append(document.GetChildText()).append(">");
  });
  article.Date = ReadAtomDate(document);
}

void ReadRssAuthorAndDate(XmlDocument& document, ArticleRecord& article) {
  ReadInsideChild(document, "author", [&] { article.Author = document.GetElementText(); });
  if (FindFirstChild(document, "pubDate")) article.Date = document.GetChildText();
}

// A link to the entry's own page: rel "alternate", or no rel at all.
bool IsAlternateLink(std::string_view rel) {
  return rel.empty() || platform::EqualsIgnoringCase(rel, "alternate");
}

// An Atom entry's links: the first alternate one is the article's page
// wherever it stands among the others (self, replies, edit, ...); without
// one, the first other link except an enclosure. The first enclosure link
// with an address fills the enclosure fields when the entry has no
// enclosure element.
void ReadAtomLinks(XmlDocument& document, ArticleRecord& article) {
  std::optional<std::string> alternate;
  std::optional<std::string> other;
  document.ResetChildPosition();
  while (document.FindChildElement("link")) {
    const std::string rel = document.GetChildAttributeValue("rel");
    const std::string href = document.GetChildAttributeValue("href");
    if (IsAlternateLink(rel)) {
      if (!alternate) alternate = href;
    } else if (!platform::EqualsIgnoringCase(rel, "enclosure")) {
      if (!other) other = href;
    } else if (article.Enclosure.empty() && !href.empty()) {
      article.Enclosure = href;
      article.EnclosureLength = document.GetChildAttributeValue("length");
      article.EnclosureType = document.GetChildAttributeValue("type");
    }
  }
  if (alternate || other) article.Link = alternate ? *alternate : *other;
}

void ReadLinkAndEnclosure(XmlDocument& document, FeedFormat format, ArticleRecord& article) {
  if (FindFirstChild(document, "enclosure")) {
    article.Enclosure = document.GetChildAttributeValue("url");
    article.EnclosureLength = document.GetChildAttributeValue("length");
    article.EnclosureType = document.GetChildAttributeValue("type");
  }
  if (format == FeedFormat::kAtom) {
    ReadAtomLinks(document, article);
    return;
  }
  if (FindFirstChild(document, "link")) article.Link = document.GetChildText();
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
    ReadAtomAuthorAndDate(document, article);
  else
    ReadRssAuthorAndDate(document, article);
  if (FindFirstChild(document, vocabulary.identifier)) article.Guid = document.GetChildText();
  ReadCategoryCommentsSource(document, format, article);
  // An Atom entry that gives only a summary has it as its body.
  if (format == FeedFormat::kAtom && article.Description.empty())
    article.Description = article.Summary;
  return article;
}

std::vector<ArticleRecord> ReadAllArticles(XmlDocument& document, FeedFormat format) {
  std::vector<ArticleRecord> articles;
  WalkFeed(document, format, [&](ArticleRecord& article) { articles.push_back(article); }, {});
  return articles;
}

}  // namespace tavi
