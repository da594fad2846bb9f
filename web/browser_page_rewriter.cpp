#include "web/browser_page_rewriter.h"

#include <gumbo.h>

#include <algorithm>
#include <memory>
#include <optional>

#include "platform/ascii.h"
#include "platform/html_serializer.h"
#include "platform/net.h"
#include "platform/net_url.h"

namespace tavi::web {
namespace {

using platform::ElementFate;
using platform::HtmlAttribute;

constexpr GumboTag kLeftOutTags[] = {GUMBO_TAG_SCRIPT, GUMBO_TAG_NOSCRIPT, GUMBO_TAG_BASE,
                                     GUMBO_TAG_IFRAME, GUMBO_TAG_FRAME,    GUMBO_TAG_FRAMESET,
                                     GUMBO_TAG_OBJECT, GUMBO_TAG_EMBED,    GUMBO_TAG_APPLET};

constexpr std::string_view kScriptSchemes[] = {"javascript:", "vbscript:"};

// SVG's animations can set any attribute, a link's address included, after
// the page was rewritten.
constexpr std::string_view kSvgAnimations[] = {"animate", "animateMotion", "animateTransform",
                                               "set", "discard"};

struct OutputDeleter {
  void operator()(GumboOutput* output) const {
    gumbo_destroy_output(&kGumboDefaultOptions, output);
  }
};

// The value as a browser reads an address: blanks and control characters
// anywhere are skipped ("java\tscript:" is still a script).
std::string AsAddressReads(std::string_view value) {
  std::string squeezed;
  for (const char c : value)
    if (static_cast<unsigned char>(c) > ' ') squeezed += platform::ToLowerAscii(c);
  return squeezed;
}

// The value without the blanks and control characters a browser strips
// around an address.
std::string Trimmed(std::string_view value) {
  while (!value.empty() && static_cast<unsigned char>(value.front()) <= ' ') value.remove_prefix(1);
  while (!value.empty() && static_cast<unsigned char>(value.back()) <= ' ') value.remove_suffix(1);
  return std::string(value);
}

bool IsScriptAddress(std::string_view value) {
  const std::string squeezed = AsAddressReads(value);
  return std::any_of(std::begin(kScriptSchemes), std::end(kScriptSchemes),
                     [&](std::string_view scheme) { return squeezed.starts_with(scheme); });
}

bool IsActive(const HtmlAttribute& attribute) {
  return platform::ToLowerAscii(attribute.name).starts_with("on") ||
         IsScriptAddress(attribute.value);
}

bool IsSvgAnimation(const GumboElement& element) {
  return element.tag_namespace == GUMBO_NAMESPACE_SVG &&
         std::find(std::begin(kSvgAnimations), std::end(kSvgAnimations),
                   platform::ElementName(element)) != std::end(kSvgAnimations);
}

bool IsRefresh(const GumboElement& element) {
  return element.tag == GUMBO_TAG_META &&
         platform::EqualsIgnoringCase(platform::ElementAttribute(element, "http-equiv"), "refresh");
}

// A link's target that asks for another window.
bool OpensNewWindow(std::string_view target) {
  const std::string name = platform::ToLowerAscii(target);
  return !name.empty() && name != "_self" && name != "_parent" && name != "_top";
}

std::optional<std::string> WebAddress(const std::string& location, const std::string& reference) {
  std::optional<std::string> resolved = platform::ResolveUrl(location, reference);
  if (!resolved || !platform::IsWebAddress(*resolved)) return std::nullopt;
  return resolved;
}

HtmlAttribute* FindAttribute(std::vector<HtmlAttribute>& attributes, std::string_view name) {
  auto found = std::find_if(attributes.begin(), attributes.end(),
                            [&](const HtmlAttribute& attribute) { return attribute.name == name; });
  return found == attributes.end() ? nullptr : &*found;
}

void Remove(std::vector<HtmlAttribute>& attributes, std::string_view name) {
  std::erase_if(attributes, [&](const HtmlAttribute& attribute) { return attribute.name == name; });
}

class PageRewriter : public platform::HtmlSerializer {
 public:
  PageRewriter(const std::string& location, const BrowserLinkRoute& route)
      : location_(location), route_(route) {}

 protected:
  ElementFate FateOf(const GumboElement& element) const override {
    if (std::find(std::begin(kLeftOutTags), std::end(kLeftOutTags), element.tag) !=
            std::end(kLeftOutTags) ||
        IsRefresh(element) || IsSvgAnimation(element))
      return ElementFate::kLeaveOut;
    if (element.tag == GUMBO_TAG_FORM) return ElementFate::kContentOnly;
    return ElementFate::kWrite;
  }

  void AdjustAttributes(const GumboElement& element,
                        std::vector<HtmlAttribute>& attributes) const override {
    std::erase_if(attributes, IsActive);
    if (element.tag == GUMBO_TAG_A || element.tag == GUMBO_TAG_AREA) RouteLink(attributes);
    if (element.tag == GUMBO_TAG_IMG) AbsoluteImage(attributes);
  }

 private:
  // An SVG link may give its address as xlink:href: it becomes the one href.
  void RouteLink(std::vector<HtmlAttribute>& attributes) const {
    const HtmlAttribute* target = FindAttribute(attributes, "target");
    const bool new_window = target != nullptr && OpensNewWindow(target->value);
    const HtmlAttribute* href = FindAttribute(attributes, "href");
    if (href == nullptr) href = FindAttribute(attributes, "xlink:href");
    const std::optional<std::string> reference =
        href == nullptr ? std::nullopt : std::optional<std::string>(href->value);
    for (const char* name : {"target", "href", "xlink:href"}) Remove(attributes, name);
    if (!reference) return;
    if (AsAddressReads(*reference).starts_with("#")) {
      attributes.push_back({"href", Trimmed(*reference)});
      return;
    }
    const std::optional<std::string> address = WebAddress(location_, *reference);
    if (!address) return;
    attributes.push_back({"href", "/window-link/" + std::to_string(route_.browser) +
                                      "?key=" + platform::EncodeQueryValue(route_.key) +
                                      "&to=" + platform::EncodeQueryValue(*address) +
                                      "&new=" + (new_window ? "1" : "0")});
  }

  void AbsoluteImage(std::vector<HtmlAttribute>& attributes) const {
    Remove(attributes, "srcset");
    HtmlAttribute* source = FindAttribute(attributes, "src");
    if (source == nullptr) return;
    const std::optional<std::string> address = WebAddress(location_, source->value);
    if (!address) return Remove(attributes, "src");
    source->value = *address;
  }

  const std::string& location_;
  const BrowserLinkRoute& route_;
};

}  // namespace

std::string RewriteBrowserPage(std::string_view html, const std::string& location,
                               const BrowserLinkRoute& route) {
  GumboOptions options = kGumboDefaultOptions;
  options.max_errors = 0;  // nobody reads the parse errors: keep none
  const std::unique_ptr<GumboOutput, OutputDeleter> parsed(
      gumbo_parse_with_options(&options, html.empty() ? "" : html.data(), html.size()));
  const std::string doctype = parsed->document->v.document.has_doctype ? "<!DOCTYPE html>" : "";
  return doctype + PageRewriter(location, route).SerializeChildren(*parsed->document);
}

}  // namespace tavi::web
