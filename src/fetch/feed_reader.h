#pragma once

// Reading the articles of a feed document: the format test that tells RSS
// from Atom, the walk over every element in document order, and the reading
// of one item or entry into an ArticleRecord.

#include <functional>
#include <vector>

#include "fetch/article_record.h"
#include "fetch/xml_document.h"

namespace tavi {

enum class FeedFormat { kRss, kAtom };

// "rss" or "atom".
const char* FeedFormatName(FeedFormat format);

// The first element of the walk named "guid" makes the document RSS, the
// first named "id" Atom (letter case ignored); with neither it is RSS. Moves
// the document's positions (every walk starts by resetting them); it takes
// no copy, which for a large feed would double the memory of the check.
FeedFormat DetectFeedFormat(XmlDocument& document);

// Visits every element below the root in document order, items nested in
// items included. For each element named as the format's item element
// ("item" or "entry", letter case ignored) `on_item` gets the record read
// from it, with the xml:base values in scope (XmlBaseTrail); after every
// element, item or not, `after_element` runs. An empty function is skipped.
void WalkFeed(XmlDocument& document, FeedFormat format,
              const std::function<void(ArticleRecord&)>& on_item,
              const std::function<void()>& after_element);

// Reads the current element as an item of the given format. The positions
// are left on that element.
ArticleRecord ReadArticle(XmlDocument& document, FeedFormat format);

// Every item of the document in walk order, with the format the test chose.
std::vector<ArticleRecord> ReadAllArticles(XmlDocument& document, FeedFormat format);

}  // namespace tavi
