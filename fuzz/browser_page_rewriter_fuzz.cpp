// Any bytes as a browser control's page: the rewriter must neither crash nor
// let anything through that could act on its own once the frame's browser
// reads the result: no script, frame, object, embed, base or form element, no
// on* attribute, and every link to tavi-host's link route or a place in the
// page.

#include <gumbo.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "web/browser_page_rewriter.h"

namespace {

constexpr GumboTag kForbiddenTags[] = {GUMBO_TAG_SCRIPT, GUMBO_TAG_IFRAME, GUMBO_TAG_FRAME,
                                       GUMBO_TAG_OBJECT, GUMBO_TAG_EMBED,  GUMBO_TAG_BASE,
                                       GUMBO_TAG_FORM,   GUMBO_TAG_APPLET};

void CheckElement(const GumboElement& element) {
  for (const GumboTag tag : kForbiddenTags)
    if (element.tag == tag) __builtin_trap();
  for (unsigned int index = 0; index < element.attributes.length; ++index) {
    const auto* attribute = static_cast<const GumboAttribute*>(element.attributes.data[index]);
    const std::string_view name = attribute->name;
    const std::string_view value = attribute->value;
    if (name.size() >= 2 && (name[0] | 0x20) == 'o' && (name[1] | 0x20) == 'n') __builtin_trap();
    const bool link = element.tag == GUMBO_TAG_A || element.tag == GUMBO_TAG_AREA;
    if (link && name == "href" && !value.starts_with("/window-link/") && !value.starts_with("#"))
      __builtin_trap();
  }
}

// Reads the rewritten page as the frame's browser would, walking every
// element with a stack of its own.
void CheckPage(const std::string& page) {
  GumboOutput* output = gumbo_parse_with_options(&kGumboDefaultOptions, page.c_str(), page.size());
  std::vector<const GumboNode*> stack = {output->document};
  while (!stack.empty()) {
    const GumboNode* node = stack.back();
    stack.pop_back();
    const bool document = node->type == GUMBO_NODE_DOCUMENT;
    if (!document && node->type != GUMBO_NODE_ELEMENT && node->type != GUMBO_NODE_TEMPLATE)
      continue;
    if (!document) CheckElement(node->v.element);
    const GumboVector& children = document ? node->v.document.children : node->v.element.children;
    for (unsigned int index = 0; index < children.length; ++index)
      stack.push_back(static_cast<const GumboNode*>(children.data[index]));
  }
  gumbo_destroy_output(&kGumboDefaultOptions, output);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view html(reinterpret_cast<const char*>(data), size);
  CheckPage(tavi::web::RewriteBrowserPage(html, "http://feeds.example/a/b", {7, "k"}));
  return 0;
}
