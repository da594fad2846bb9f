#pragma once

// An article's relative links made absolute before its message is composed:
// a feed may write its links relative to the document's own address or to
// the xml:base values around an item, and neither is known once the message
// stands alone in the newsbox.

#include <string>

#include "fetch/article_record.h"

namespace tavi {

// Resolves in place, against the item's base (BaseUrlOf `document_url` and
// article.XmlBases): the Link (a content's src included), the Enclosure and
// the Comments, each of which a relative value replaces by the resolved
// address; and the links and images of the Description (ResolveBodyLinks),
// with the body's own xml:base on top. Links that need nothing, or cannot be
// resolved (no base is known), keep their every byte. Never fails.
void ResolveArticleLinks(ArticleRecord& article, const std::string& document_url);

// The address the article's full page is fetched from: its Link as
// ResolveArticleLinks resolves it, white space around it dropped. The body
// is not read, so a check may ask this of every item cheaply.
std::string ResolvedArticleLink(const ArticleRecord& article, const std::string& document_url);

}  // namespace tavi
