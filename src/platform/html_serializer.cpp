#include "platform/html_serializer.h"

#include <algorithm>

#include "platform/ascii.h"

namespace tavi::platform {
namespace {

// Elements that have no end tag and whose children are never written.
constexpr GumboTag kVoidTags[] = {
    GUMBO_TAG_AREA,   GUMBO_TAG_BASE,   GUMBO_TAG_BASEFONT, GUMBO_TAG_BGSOUND, GUMBO_TAG_BR,
    GUMBO_TAG_COL,    GUMBO_TAG_EMBED,  GUMBO_TAG_FRAME,    GUMBO_TAG_HR,      GUMBO_TAG_IMG,
    GUMBO_TAG_INPUT,  GUMBO_TAG_KEYGEN, GUMBO_TAG_LINK,     GUMBO_TAG_META,    GUMBO_TAG_PARAM,
    GUMBO_TAG_SOURCE, GUMBO_TAG_TRACK,  GUMBO_TAG_WBR};

// Elements whose text the parser reads as it is, so it is written as it is:
// escaping it would change it when read back. The parser reads noscript so
// too (as a browser that runs scripts does).
constexpr GumboTag kRawTextTags[] = {GUMBO_TAG_STYLE,     GUMBO_TAG_SCRIPT,  GUMBO_TAG_XMP,
                                     GUMBO_TAG_IFRAME,    GUMBO_TAG_NOEMBED, GUMBO_TAG_NOFRAMES,
                                     GUMBO_TAG_PLAINTEXT, GUMBO_TAG_NOSCRIPT};

constexpr std::string_view kNoBreakSpace = "\xC2\xA0";

template <std::size_t N>
bool IsHtmlTagOf(const GumboElement& element, const GumboTag (&tags)[N]) {
  return element.tag_namespace == GUMBO_NAMESPACE_HTML &&
         std::find(std::begin(tags), std::end(tags), element.tag) != std::end(tags);
}

bool HasRawTextParent(const GumboNode& text) {
  const GumboNode* parent = text.parent;
  return parent != nullptr && parent->type == GUMBO_NODE_ELEMENT &&
         IsHtmlTagOf(parent->v.element, kRawTextTags);
}

std::string AttributeName(const GumboAttribute& attribute) {
  std::string name = attribute.name;
  if (name.find(':') != std::string::npos) return name;
  switch (attribute.attr_namespace) {
    case GUMBO_ATTR_NAMESPACE_NONE:
      return name;
    case GUMBO_ATTR_NAMESPACE_XLINK:
      return "xlink:" + name;
    case GUMBO_ATTR_NAMESPACE_XML:
      return "xml:" + name;
    case GUMBO_ATTR_NAMESPACE_XMLNS:
      return name == "xmlns" ? name : "xmlns:" + name;
  }
  return name;
}

// The tag's name as the tokenizer reads it from the start tag's text: after
// "<", up to white space, "/" or ">". Read here rather than by gumbo's own
// helper, which classifies bytes by the C locale and can run past the name.
std::string_view NameInStartTag(const GumboStringPiece& start_tag) {
  const std::string_view text(start_tag.data, start_tag.length);
  if (text.size() < 2 || text.front() != '<') return {};
  const std::size_t end = text.find_first_of(" \t\n\f\r/>", 1);
  return text.substr(1, (end == std::string_view::npos ? text.size() : end) - 1);
}

// An attribute name that a parser reading the written tag would split or end
// early (white space, "/", ">", "=", quotes, "<"), which only broken markup
// makes: such an attribute is not written, so what is written reads back as
// the attributes that were.
bool IsWritableName(std::string_view name) {
  return !name.empty() &&
         name.find_first_of(std::string_view(" \t\n\f\r/>=\"'<\0", 12)) == std::string_view::npos;
}

const GumboVector& ChildrenOf(const GumboNode& node) {
  return node.type == GUMBO_NODE_DOCUMENT ? node.v.document.children : node.v.element.children;
}

void AppendLeaf(const GumboNode& node, std::string& out) {
  switch (node.type) {
    case GUMBO_NODE_TEXT:
    case GUMBO_NODE_WHITESPACE:
    case GUMBO_NODE_CDATA:
      out += HasRawTextParent(node) ? std::string(node.v.text.text)
                                    : EscapeHtml(node.v.text.text, false);
      return;
    case GUMBO_NODE_COMMENT:
      out.append("<!--").append(node.v.text.text).append("-->");
      return;
    case GUMBO_NODE_DOCUMENT:
    case GUMBO_NODE_ELEMENT:
    case GUMBO_NODE_TEMPLATE:
      return;
  }
}

}  // namespace

std::string EscapeHtml(std::string_view text, bool in_attribute) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t at = 0; at < text.size(); ++at) {
    const char c = text[at];
    if (text.substr(at, kNoBreakSpace.size()) == kNoBreakSpace) {
      out += "&nbsp;";
      ++at;
    } else if (c == '&') {
      out += "&amp;";
    } else if (c == '<') {
      out += "&lt;";
    } else if (c == '>') {
      out += "&gt;";
    } else if (c == '"' && in_attribute) {
      out += "&quot;";
    } else {
      out += c;
    }
  }
  return out;
}

std::string ElementName(const GumboElement& element) {
  const std::string_view written = NameInStartTag(element.original_tag);
  if (element.tag_namespace == GUMBO_NAMESPACE_SVG) {
    const GumboStringPiece piece{written.data(), written.size()};
    if (const char* svg_name = gumbo_normalize_svg_tagname(&piece)) return svg_name;
  }
  if (element.tag != GUMBO_TAG_UNKNOWN) return gumbo_normalized_tagname(element.tag);
  // An element the parser made up has no start tag; only known ones are made.
  if (written.empty()) return "span";
  return ToLowerAscii(written);
}

std::string_view ElementAttribute(const GumboElement& element, const char* name) {
  const GumboAttribute* attribute = gumbo_get_attribute(&element.attributes, name);
  return attribute == nullptr ? std::string_view() : std::string_view(attribute->value);
}

ElementFate HtmlSerializer::FateOf(const GumboElement&) const { return ElementFate::kWrite; }

void HtmlSerializer::AdjustAttributes(const GumboElement&, std::vector<HtmlAttribute>&) const {}

bool HtmlSerializer::ReplacesContent(const GumboElement&, std::string*) const { return false; }

void HtmlSerializer::AppendStartTag(const GumboElement& element, std::string& out) const {
  std::vector<HtmlAttribute> attributes;
  for (unsigned int index = 0; index < element.attributes.length; ++index) {
    const auto* attribute = static_cast<const GumboAttribute*>(element.attributes.data[index]);
    attributes.push_back({AttributeName(*attribute), attribute->value});
  }
  AdjustAttributes(element, attributes);
  out.append("<").append(ElementName(element));
  for (const HtmlAttribute& attribute : attributes) {
    if (!IsWritableName(attribute.name)) continue;
    out.append(" ")
        .append(attribute.name)
        .append("=\"")
        .append(EscapeHtml(attribute.value, true))
        .append("\"");
  }
  out += ">";
}

std::string HtmlSerializer::SerializeChildren(const GumboNode& parent) const {
  std::string out;
  std::vector<OpenNode> stack = {{&parent, 0, false}};
  while (!stack.empty()) {
    OpenNode& open = stack.back();
    const GumboVector& children = ChildrenOf(*open.node);
    if (open.next_child == children.length) {
      if (open.tags_written) out.append("</").append(ElementName(open.node->v.element)).append(">");
      stack.pop_back();
      continue;
    }
    const auto* child = static_cast<const GumboNode*>(children.data[open.next_child++]);
    const bool is_element = child->type == GUMBO_NODE_ELEMENT || child->type == GUMBO_NODE_TEMPLATE;
    if (!is_element) {
      AppendLeaf(*child, out);
    } else {
      Enter(*child, stack, out);
    }
  }
  return out;
}

void HtmlSerializer::Enter(const GumboNode& node, std::vector<OpenNode>& stack,
                           std::string& out) const {
  const GumboElement& element = node.v.element;
  const ElementFate fate = FateOf(element);
  if (fate == ElementFate::kLeaveOut) return;
  if (fate == ElementFate::kContentOnly) {
    stack.push_back({&node, 0, false});
    return;
  }
  AppendStartTag(element, out);
  if (IsHtmlTagOf(element, kVoidTags)) return;
  std::string replacement;
  if (!ReplacesContent(element, &replacement)) {
    stack.push_back({&node, 0, true});
    return;
  }
  out.append(replacement).append("</").append(ElementName(element)).append(">");
}

}  // namespace tavi::platform
