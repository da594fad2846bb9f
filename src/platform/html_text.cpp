#include "platform/html_text.h"

#include <gumbo.h>

#include <algorithm>

#include "platform/ascii.h"

namespace tavi::platform {
namespace {

// Elements that stand apart from what surrounds them by a blank line.
constexpr GumboTag kParagraphTags[] = {GUMBO_TAG_P,  GUMBO_TAG_H1,     GUMBO_TAG_H2,
                                       GUMBO_TAG_H3, GUMBO_TAG_H4,     GUMBO_TAG_H5,
                                       GUMBO_TAG_H6, GUMBO_TAG_TABLE,  GUMBO_TAG_HR,
                                       GUMBO_TAG_DL, GUMBO_TAG_FIGURE, GUMBO_TAG_BLOCKQUOTE};

// Elements that start and end lines.
constexpr GumboTag kLineTags[] = {
    GUMBO_TAG_DIV,      GUMBO_TAG_TR,      GUMBO_TAG_DT,      GUMBO_TAG_DD,
    GUMBO_TAG_SECTION,  GUMBO_TAG_ARTICLE, GUMBO_TAG_HEADER,  GUMBO_TAG_FOOTER,
    GUMBO_TAG_NAV,      GUMBO_TAG_ASIDE,   GUMBO_TAG_MAIN,    GUMBO_TAG_FORM,
    GUMBO_TAG_FIELDSET, GUMBO_TAG_LEGEND,  GUMBO_TAG_CAPTION, GUMBO_TAG_FIGCAPTION,
    GUMBO_TAG_DETAILS,  GUMBO_TAG_SUMMARY, GUMBO_TAG_ADDRESS, GUMBO_TAG_CENTER};

// Elements whose contents are never shown.
constexpr GumboTag kDroppedTags[] = {GUMBO_TAG_HEAD, GUMBO_TAG_SCRIPT, GUMBO_TAG_STYLE,
                                     GUMBO_TAG_TEMPLATE};

template <std::size_t N>
bool IsOneOf(GumboTag tag, const GumboTag (&tags)[N]) {
  return std::find(std::begin(tags), std::end(tags), tag) != std::end(tags);
}

bool IsList(GumboTag tag) { return tag == GUMBO_TAG_UL || tag == GUMBO_TAG_OL; }

bool IsHtmlWhiteSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

// Lines of text as they are laid out: white space collapsed, blank lines
// only between visible lines and never two in a row, and a list item's
// marker written before its first text.
class TextLayout {
 public:
  // Text whose white space runs become single blanks.
  void AddText(std::string_view text) {
    std::size_t at = 0;
    while (at < text.size()) {
      if (IsHtmlWhiteSpace(text[at])) {
        space_pending_ = !line_.empty();
        ++at;
        continue;
      }
      std::size_t end = at;
      while (end < text.size() && !IsHtmlWhiteSpace(text[end])) ++end;
      Put(text.substr(at, end - at));
      at = end;
    }
  }

  // Text kept as it is; its line feeds break lines.
  void AddPreformatted(std::string_view text) {
    for (std::size_t at = 0; at <= text.size();) {
      const std::size_t end = std::min(text.find('\n', at), text.size());
      if (end > at) Put(text.substr(at, end - at));
      if (end < text.size()) BreakLine();
      at = end + 1;
    }
  }

  // A forced line break: a second one in a row leaves a blank line.
  void BreakLine() {
    if (!line_.empty()) return EndLine();
    if (!out_.empty()) blank_pending_ = true;
  }

  void EndLine() {
    if (!line_.empty()) out_.append(line_).append("\n");
    line_.clear();
    space_pending_ = false;
  }

  void EndParagraph() {
    EndLine();
    if (!out_.empty()) blank_pending_ = true;
  }

  // `depth` counts the lists the item stands in, 1 for the outermost.
  void StartListItem(std::size_t depth) {
    EndLine();
    prefix_.assign(2 * (std::max<std::size_t>(depth, 1) - 1), ' ').append("- ");
  }

  // An item without text leaves no marker behind.
  void EndListItem() {
    EndLine();
    prefix_.clear();
  }

  std::string Finish() {
    EndLine();
    return std::move(out_);
  }

 private:
  void Put(std::string_view visible) {
    if (line_.empty()) {
      if (blank_pending_ && !out_.empty()) out_.append("\n");
      blank_pending_ = false;
      line_ = std::move(prefix_);
      prefix_.clear();
    } else if (space_pending_) {
      line_.push_back(' ');
    }
    space_pending_ = false;
    line_.append(visible);
  }

  std::string out_;     // finished lines
  std::string line_;    // the line being written
  std::string prefix_;  // the list marker waiting for the item's text
  bool space_pending_ = false;
  bool blank_pending_ = false;
};

std::string_view AttributeValue(const GumboElement& element, const char* name) {
  const GumboAttribute* attribute = gumbo_get_attribute(&element.attributes, name);
  return attribute == nullptr ? std::string_view() : std::string_view(attribute->value);
}

std::string_view TrimmedHtml(std::string_view text) {
  while (!text.empty() && IsHtmlWhiteSpace(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsHtmlWhiteSpace(text.back())) text.remove_suffix(1);
  return text;
}

// Only addresses a reader can go to get a number.
bool IsListedLink(std::string_view href) {
  constexpr std::string_view kScriptScheme = "javascript:";
  if (href.empty() || href.front() == '#') return false;
  return ToLowerAscii(href.substr(0, kScriptScheme.size())) != kScriptScheme;
}

// Walks the document in order, telling the layout what each node means.
// The walk keeps its own stack, so that deeply nested markup cannot
// exhaust the program's.
class DocumentWalker {
 public:
  DocumentWalker(TextLayout& layout, std::vector<std::string>& links, LinkNumbers numbers)
      : layout_(layout), links_(links), numbers_(numbers) {}

  void Walk(const GumboNode* root) {
    struct Frame {
      const GumboNode* node;
      unsigned int next_child;
    };
    std::vector<Frame> stack = {{root, 0}};
    Enter(root->v.element);
    while (!stack.empty()) {
      Frame& frame = stack.back();
      const GumboVector& children = frame.node->v.element.children;
      if (frame.next_child == children.length) {
        Leave(frame.node->v.element);
        stack.pop_back();
        continue;
      }
      const auto* child = static_cast<const GumboNode*>(children.data[frame.next_child++]);
      if (child->type != GUMBO_NODE_ELEMENT) {
        AddText(*child);
      } else if (!IsOneOf(child->v.element.tag, kDroppedTags)) {
        Enter(child->v.element);
        stack.push_back({child, 0});
      }
    }
  }

 private:
  void AddText(const GumboNode& node) {
    const bool is_text = node.type == GUMBO_NODE_TEXT || node.type == GUMBO_NODE_WHITESPACE ||
                         node.type == GUMBO_NODE_CDATA;
    if (!is_text) return;  // comments, and template contents
    if (preformatted_depth_ > 0) return layout_.AddPreformatted(node.v.text.text);
    layout_.AddText(node.v.text.text);
  }

  void Enter(const GumboElement& element) {
    BreakAround(element.tag);
    const GumboTag tag = element.tag;
    if (IsList(tag)) ++list_depth_;
    if (tag == GUMBO_TAG_PRE) ++preformatted_depth_;
    if (tag == GUMBO_TAG_LI) layout_.StartListItem(list_depth_);
    if (tag == GUMBO_TAG_BR) layout_.BreakLine();
    if (tag == GUMBO_TAG_IMG) layout_.AddText(AttributeValue(element, "alt"));
  }

  void Leave(const GumboElement& element) {
    const GumboTag tag = element.tag;
    if (IsList(tag)) --list_depth_;
    if (tag == GUMBO_TAG_PRE) --preformatted_depth_;
    if (tag == GUMBO_TAG_LI) layout_.EndListItem();
    // The next cell follows on the same line.
    if (tag == GUMBO_TAG_TD || tag == GUMBO_TAG_TH) layout_.AddText(" ");
    if (tag == GUMBO_TAG_A) NumberLink(TrimmedHtml(AttributeValue(element, "href")));
    BreakAround(tag);
  }

  // Paragraphs and blocks break the text where they start and end. A list
  // nested in an item continues the item's lines.
  // Called outside the list's own depth: before entering, after leaving.
  void BreakAround(GumboTag tag) {
    const bool outermost_list = IsList(tag) && list_depth_ == 0;
    if (IsOneOf(tag, kParagraphTags) || tag == GUMBO_TAG_PRE || outermost_list)
      return layout_.EndParagraph();
    if (IsOneOf(tag, kLineTags) || IsList(tag)) layout_.EndLine();
  }

  void NumberLink(std::string_view href) {
    if (!IsListedLink(href)) return;
    auto found = std::find(links_.begin(), links_.end(), href);
    if (found == links_.end()) found = links_.insert(links_.end(), std::string(href));
    if (numbers_ == LinkNumbers::kShown)
      layout_.AddText("[" + std::to_string(found - links_.begin() + 1) + "]");
  }

  TextLayout& layout_;
  std::vector<std::string>& links_;
  const LinkNumbers numbers_;
  std::size_t list_depth_ = 0;
  std::size_t preformatted_depth_ = 0;
};

}  // namespace

std::string HtmlToText(std::string_view html, std::vector<std::string>* links,
                       LinkNumbers numbers) {
  GumboOptions options = kGumboDefaultOptions;
  options.max_errors = 0;  // the text view shows no parse errors: keep none
  // An empty view may have no buffer at all.
  GumboOutput* output =
      gumbo_parse_with_options(&options, html.empty() ? "" : html.data(), html.size());
  std::vector<std::string> own_links;
  std::vector<std::string>& found_links = links != nullptr ? *links : own_links;
  found_links.clear();
  TextLayout layout;
  DocumentWalker(layout, found_links, numbers).Walk(output->root);
  gumbo_destroy_output(&options, output);
  return layout.Finish();
}

std::string LinkListText(const std::vector<std::string>& links) {
  std::string text;
  for (std::size_t index = 0; index < links.size(); ++index)
    text.append("[" + std::to_string(index + 1) + "] ").append(links[index]).append("\n");
  return text;
}

}  // namespace tavi::platform
