#include "platform/html_document.h"

#include <gumbo.h>

#include <memory>

#include "platform/html_serializer.h"

namespace tavi::platform {
namespace {

struct OutputDeleter {
  void operator()(GumboOutput* output) const {
    gumbo_destroy_output(&kGumboDefaultOptions, output);
  }
};
using ParsedHtml = std::unique_ptr<GumboOutput, OutputDeleter>;

// Parses `html` as a document, or as the content of an element `context`.
ParsedHtml Parse(std::string_view html, GumboTag context = GUMBO_TAG_LAST) {
  GumboOptions options = kGumboDefaultOptions;
  options.max_errors = 0;  // nobody reads the parse errors: keep none
  options.fragment_context = context;
  // An empty view may have no buffer at all.
  return ParsedHtml(
      gumbo_parse_with_options(&options, html.empty() ? "" : html.data(), html.size()));
}

const GumboNode* FindBody(const GumboOutput& output) {
  const GumboVector& children = output.root->v.element.children;
  for (unsigned int index = 0; index < children.length; ++index) {
    const auto* child = static_cast<const GumboNode*>(children.data[index]);
    if (child->type == GUMBO_NODE_ELEMENT && child->v.element.tag == GUMBO_TAG_BODY) return child;
  }
  return nullptr;
}

// Writes a document with new body content in place of the old.
class BodyReplacer : public HtmlSerializer {
 public:
  explicit BodyReplacer(std::string body_html) : body_html_(std::move(body_html)) {}

 protected:
  bool ReplacesContent(const GumboElement& element, std::string* markup) const override {
    if (element.tag != GUMBO_TAG_BODY || element.tag_namespace != GUMBO_NAMESPACE_HTML)
      return false;
    *markup = body_html_;
    return true;
  }

 private:
  std::string body_html_;
};

}  // namespace

std::string BodyInnerHtml(std::string_view document) {
  const ParsedHtml parsed = Parse(document);
  const GumboNode* body = FindBody(*parsed);
  return body == nullptr ? std::string() : HtmlSerializer().SerializeChildren(*body);
}

std::string WithBodyInnerHtml(std::string_view document, std::string_view body_html) {
  const ParsedHtml fragment = Parse(body_html, GUMBO_TAG_BODY);
  std::string body = HtmlSerializer().SerializeChildren(*fragment->root);
  const ParsedHtml parsed = Parse(document);
  const std::string doctype = parsed->document->v.document.has_doctype ? "<!DOCTYPE html>" : "";
  return doctype + BodyReplacer(std::move(body)).SerializeChildren(*parsed->document);
}

}  // namespace tavi::platform
