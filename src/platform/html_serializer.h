#pragma once

// Writing a parsed HTML document back as markup, by the rules HTML5 gives
// for serialising a node's children (what innerHTML reads): text escaped
// (&, no-break space, <, >), attribute values quoted and escaped (&, no-break
// space, ", <, >), void elements without an end tag, the text of raw text
// elements (script, style, ...) as it is, comments as comments, and no
// attribute whose name broken markup filled with quotes, "=" or "<". What
// comes out parses back into the same tree, whatever markup went in.
//
// A writer that must leave things out or change attributes on the way
// (the page rewriter of tavi-host) derives and overrides the hooks.

#include <gumbo.h>

#include <string>
#include <string_view>
#include <vector>

namespace tavi::platform {

struct HtmlAttribute {
  std::string name;  // as it is written: "href", "xlink:href"
  std::string value;
};

// What a writer does with an element.
enum class ElementFate {
  kWrite,        // the element and its content
  kLeaveOut,     // neither
  kContentOnly,  // its content without the element's tags
};

class HtmlSerializer {
 public:
  virtual ~HtmlSerializer() = default;

  // The markup of `parent`'s children (an element, template or document
  // node). Walks with a stack of its own, so nesting of any depth is written.
  std::string SerializeChildren(const GumboNode& parent) const;

 protected:
  // What becomes of `element`. Default: kWrite.
  virtual ElementFate FateOf(const GumboElement& element) const;
  // May change, add or remove the attributes `element` is written with.
  // Default: leaves them.
  virtual void AdjustAttributes(const GumboElement& element,
                                std::vector<HtmlAttribute>& attributes) const;
  // True puts `*markup` in place of `element`'s children. Default: false.
  virtual bool ReplacesContent(const GumboElement& element, std::string* markup) const;

 private:
  // An element or document whose children are being written.
  struct OpenNode {
    const GumboNode* node;
    unsigned int next_child;
    bool tags_written;  // its end tag is due after them
  };

  void Enter(const GumboNode& element, std::vector<OpenNode>& stack, std::string& out) const;
  void AppendStartTag(const GumboElement& element, std::string& out) const;
};

// `text` escaped as HTML5 serialises a text node (`in_attribute` false) or an
// attribute value (true).
std::string EscapeHtml(std::string_view text, bool in_attribute);

// The name `element` is written with: lower case for HTML, the mixed case of
// SVG names ("foreignObject"), the tag as written for unknown elements.
std::string ElementName(const GumboElement& element);

// The value of attribute `name` of `element`; "" when it has none.
std::string_view ElementAttribute(const GumboElement& element, const char* name);

}  // namespace tavi::platform
