#include "web/message_parts.h"

#include <gtest/gtest.h>

#include "host/mbx_format.h"

namespace tavi::web {
namespace {

std::string Stored(std::string_view text) {
  return host::MakeRawMessage("From ???@??? Sun Dec 6 2026 13:46:41", text);
}

// What the document holds between its head and its end.
std::string Inner(const std::string& document) {
  const std::size_t start = document.find("<body>\n") + 7;
  const std::size_t end = document.rfind("\n</body>");
  return document.substr(start, end - start);
}

TEST(MessageHeaderFields, TakesEachFieldOfTheHeaderBlockInOrder) {
  const std::string raw = Stored(
      "Subject: Caf\xc3\xa9 reopens\r\n"
      "From:desk@gazette.example (News Desk)\r\n"
      "X-Long: first part\r\n"
      " \t second part\r\n"
      "not a field\r\n"
      " stray continuation\r\n"
      "Website: http://gazette.example/a:b\r\n"
      "\r\n"
      "Body: not a header\r\n");
  EXPECT_EQ(MessageHeaderFields(raw),
            std::vector<HeaderField>({{"Subject", "Caf\xc3\xa9 reopens"},
                                      {"From", "desk@gazette.example (News Desk)"},
                                      {"X-Long", "first part second part"},
                                      {"Website", "http://gazette.example/a:b"}}));
  EXPECT_EQ(MessageHeaderFields(Stored("Subject: only\nFrom: bare line feeds\n\nbody")),
            std::vector<HeaderField>({{"Subject", "only"}, {"From", "bare line feeds"}}));
  EXPECT_TRUE(MessageHeaderFields("").empty());
}

TEST(MessageBodyDocument, KeepsTheHtmlPartAndAWholePageAndEscapesPlainText) {
  struct Case {
    const char* why;
    std::string text;
    std::string inner;
  };
  const Case cases[] = {
      {"the HTML part", "Subject: a\r\n\r\n<x-html><p>Hi &amp; bye</p></x-html>",
       "<p>Hi &amp; bye</p>"},
      {"the last end marker ends it",
       "Subject: a\r\n\r\nbefore<x-html>one</x-html>two</x-html>after", "one</x-html>two"},
      {"an unended part runs to the end", "Subject: a\r\n\r\n<x-html><b>cut", "<b>cut"},
      {"a whole page is HTML", "Subject: a\r\n\r\n<html><h1>Full</h1></html>",
       "<html><h1>Full</h1></html>"},
      {"after line breaks, in any case", "Subject: a\r\n\r\n\r\n <HTML><p>x</p>",
       "\r\n <HTML><p>x</p>"},
      {"markup further in is text", "Subject: a\r\n\r\nsee <html>", "<pre>see &lt;html&gt;</pre>"},
      {"plain text is escaped", "Subject: a\r\n\r\n<script>alert(1)</script> & more",
       "<pre>&lt;script&gt;alert(1)&lt;/script&gt; &amp; more</pre>"},
      {"no body", "Subject: a", "<pre></pre>"},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.why);
    const std::string document = MessageBodyDocument(Stored(test.text));
    EXPECT_TRUE(document.starts_with("<!DOCTYPE html>")) << document;
    EXPECT_NE(document.find("<base target=\"_blank\">"), std::string::npos);
    EXPECT_EQ(Inner(document), test.inner);
  }
}

}  // namespace
}  // namespace tavi::web
