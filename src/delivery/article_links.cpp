#include "delivery/article_links.h"

#include <optional>

#include "delivery/body_links.h"
#include "delivery/link_resolution.h"

namespace tavi {
namespace {

void ResolveInPlace(std::string& link, const std::string& base) {
  if (std::optional<std::string> resolved = ResolveLink(link, base)) link = std::move(*resolved);
}

}  // namespace

void ResolveArticleLinks(ArticleRecord& article, const std::string& document_url) {
  const std::string item_base = BaseUrlOf(document_url, article.XmlBases);
  ResolveInPlace(article.Link, item_base);
  ResolveInPlace(article.Enclosure, item_base);
  ResolveInPlace(article.Comments, item_base);
  const std::string body_base =
      article.BodyXmlBase.empty() ? item_base : BaseUrlOf(item_base, {article.BodyXmlBase});
  ResolveBodyLinks(article.Description, body_base);
}

std::string ResolvedArticleLink(const ArticleRecord& article, const std::string& document_url) {
  if (std::optional<std::string> resolved =
          ResolveLink(article.Link, BaseUrlOf(document_url, article.XmlBases)))
    return std::move(*resolved);
  return std::string(TrimmedLink(article.Link));
}

}  // namespace tavi
