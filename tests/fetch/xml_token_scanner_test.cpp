#include "fetch/xml_token_scanner.h"

#include <gtest/gtest.h>

#include <string>

namespace tavi {
namespace {

struct Row {
  std::string text;
  XmlTokenKind kind;
  std::size_t length;
  std::string name = "";
  bool empty_element = false;
  XmlTokenError error = XmlTokenError::kNone;
};

using K = XmlTokenKind;
using E = XmlTokenError;

TEST(XmlTokenScanner, CutsEachKindOfToken) {
  const Row rows[] = {
      {"", K::kEndOfText, 0},
      {"abc<", K::kText, 3},
      {" \t\r\n<", K::kWhiteSpace, 4},
      {"  a <", K::kText, 4},
      // A '>' ends text; white space before it is text too.
      {"a>b", K::kText, 2},
      {"  >", K::kText, 3},
      {"<a>", K::kStartTag, 3, "a"},
      {"<a\tb='1'>", K::kStartTag, 9, "a"},
      {"<a/>", K::kStartTag, 4, "a", true},
      {"<a />", K::kStartTag, 5, "a", true},
      {"<a b='x'/>", K::kStartTag, 10, "a", true},
      {"<a b=\"x\"/>", K::kStartTag, 10, "a", true},
      {"<a b=x/>", K::kStartTag, 8, "a", false},
      {"<a b='>'>", K::kStartTag, 9, "a"},
      {"<a b=\"it's\">", K::kStartTag, 12, "a"},
      {"<a b='say \"hi\"'>", K::kStartTag, 16, "a"},
      {"<_a/>", K::kStartTag, 5, "_a", true},
      {"<:a/>", K::kStartTag, 5, ":a", true},
      {"<A/>", K::kStartTag, 4, "A", true},
      {"<{/>", K::kStartTag, 4, "{", true},
      {"<\xC3\xA9/>", K::kStartTag, 5, "\xC3\xA9", true},
      {"</a>", K::kEndTag, 4, "a"},
      {"</a junk <x>", K::kEndTag, 12, "a"},
      {"</>", K::kEndTag, 3, ""},
      {"<?x?>", K::kProcessingInstruction, 5},
      {"<!-- c -->", K::kComment, 10},
      {"<![CDATA[x]]>", K::kCData, 13},
      {"<!DOCTYPE r [<!ENTITY e 'v'><!-- c -->]>x", K::kDeclaration, 40},
      // Only markup inside the internal subset nests; there, quoted literals,
      // comments and processing instructions may hold '<', '>' and ']'.
      {"<!DOCTYPE a <b><rss/>", K::kDeclaration, 15},
      {"<!DOCTYPE rss [<!ENTITY e \"<\">]><rss/>", K::kDeclaration, 32},
      {"<!DOCTYPE r [<!ENTITY e '>]'>]>x", K::kDeclaration, 31},
      {"<!DOCTYPE r [<!-- <x ] -->]>x", K::kDeclaration, 28},
      {"<!DOCTYPE r [<?pi > ] ?>]>x", K::kDeclaration, 26},
      {"<!DOCTYPE r SYSTEM 'r.dtd'>x", K::kDeclaration, 27},
      {"<!ELEMENT r ANY>", K::kDeclaration, 16},
      {"<!ATTLIST r a CDATA #IMPLIED>", K::kDeclaration, 29},
      {"<!NOTATION n SYSTEM 'x'>", K::kDeclaration, 24},
      // Errors end at the next '>' or just before the next '<'.
      {"< a>", K::kError, 4, "", false, E::kIncorrectNameCharacter},
      {"<1<a>", K::kError, 2, "", false, E::kIncorrectNameCharacter},
      {"<`a>", K::kError, 4, "", false, E::kIncorrectNameCharacter},
      {"<[a>", K::kError, 4, "", false, E::kIncorrectNameCharacter},
      {"<!x>", K::kError, 4, "", false, E::kIncorrectBangTag},
      {"<!-x>", K::kError, 5, "", false, E::kIncorrectCommentTag},
      {"<![x>", K::kError, 5, "", false, E::kIncorrectCDataTag},
      // Cut off by the end of the text.
      {"<", K::kError, 1, "", false, E::kUnterminatedStartTag},
      {"<a b='>", K::kError, 7, "", false, E::kUnterminatedStartTag},
      {"</a", K::kError, 3, "", false, E::kUnterminatedEndTag},
      {"<?>", K::kError, 3, "", false, E::kUnterminatedProcessingInstruction},
      {"<!--->", K::kError, 6, "", false, E::kUnterminatedComment},
      {"<!-", K::kError, 3, "", false, E::kUnterminatedComment},
      {"<![CDATA[x]>", K::kError, 12, "", false, E::kUnterminatedCData},
      {"<!DOCTYPE r [<!ENTITY e 'v'>", K::kError, 28, "", false, E::kUnterminatedDoctype},
      {"<!DOCTYPE r [<!ENTITY e '>]>", K::kError, 28, "", false, E::kUnterminatedDoctype},
      {"<!DOCTYPE r [<!-- ]>", K::kError, 20, "", false, E::kUnterminatedDoctype},
      {"<!", K::kError, 2, "", false, E::kUnterminatedDoctype},
      {"< x", K::kError, 3, "", false, E::kUnterminatedAfterError},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.text);
    const XmlToken token = ScanXmlToken(row.text, 0);
    EXPECT_EQ(token.kind, row.kind);
    EXPECT_EQ(token.start, 0u);
    EXPECT_EQ(token.length, row.length);
    EXPECT_EQ(token.Name(row.text), row.name);
    EXPECT_EQ(token.empty_element, row.empty_element);
    EXPECT_EQ(token.error, row.error);
  }
}

}  // namespace
}  // namespace tavi
