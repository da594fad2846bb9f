#pragma once

// The texts of the translator "Get the Full Article": the link it follows,
// the page it puts into the message, and the page it shows in the article
// viewer. Plain text in, text out, so that the translator and the `tavi`
// command build the same message.

#include <string>

namespace tavi {

// The header block the translator works on: the host's raw header text
// followed by CR LF CR LF, so that the block ends in its empty line.
std::string HeaderTextOf(const std::string& raw_headers);

// The article's address: the value of the header block's "Website: " line
// (continuation lines joined); "" when there is none or it is empty.
std::string ArticleLinkOf(const std::string& header_text);

// `text` with every markup tag removed: each "<" through the first ">" after
// it. A "<" with no ">" after it ends the removal and stays with the rest of
// the text. Entities are not decoded; script and style contents stay as text.
std::string WithoutMarkupTags(std::string text);

// The page as plain text with "<br>" line breaks: tags removed, tabs, runs of
// two and of three blanks and the empty lines (with up to three blanks on
// them) taken out, then every remaining CR LF made "<br>".
std::string PageAsTextLines(const std::string& page);

// The page without its own "<html>", "</html>", "<HTML>" and "</HTML>" tags,
// so that the wrapper is the only pair; other mixes of letter case stay.
std::string PageWithoutHtmlTags(const std::string& page);

// The message the full page becomes: `header_text`, "<html>", the page
// (PageAsTextLines with `as_text`, else PageWithoutHtmlTags) with its
// separator-like lines quoted (QuoteSeparatorLines), and "</html>".
std::string FullArticleText(const std::string& header_text, const std::string& page, bool as_text);

// The page the article viewer shows for a message body: the text after the
// first "<br><br>" (the whole body when there is none), after "<html>" and
// "<body>". No closing tags are added.
std::string ViewerPageText(const std::string& body);

}  // namespace tavi
