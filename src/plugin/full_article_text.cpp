#include "plugin/full_article_text.h"

#include <initializer_list>
#include <string_view>

#include "delivery/mailbox_file.h"
#include "delivery/message_text.h"

namespace tavi {
namespace {

constexpr std::string_view kHeaderBlockEnd = "\r\n\r\n";
constexpr std::string_view kWebsiteHeader = "Website: ";
constexpr std::string_view kBodyStartMark = "<br><br>";

void ReplaceAll(std::string& text, std::string_view from, std::string_view to) {
  std::size_t at = 0;
  while ((at = text.find(from, at)) != std::string::npos) {
    text.replace(at, from.size(), to);
    at += to.size();
  }
}

}  // namespace

std::string HeaderTextOf(const std::string& raw_headers) {
  return raw_headers + std::string(kHeaderBlockEnd);
}

std::string ArticleLinkOf(const std::string& header_text) {
  return GetHeaderValue(header_text, std::string(kWebsiteHeader));
}

std::string WithoutMarkupTags(std::string text) {
  std::size_t start = 0;
  while ((start = text.find('<', start)) != std::string::npos) {
    const std::size_t end = text.find('>', start + 1);
    if (end == std::string::npos) break;
    text.erase(start, end - start + 1);
  }
  return text;
}

std::string PageAsTextLines(const std::string& page) {
  std::string text = WithoutMarkupTags(page);
  // In this order: pairs of blanks go first (so an odd run keeps one), and
  // the empty lines go before the remaining line ends become breaks.
  for (const std::string_view gap :
       {"\t", "  ", "   ", "\r\n\r\n", "\r\n \r\n", "\r\n  \r\n", "\r\n   \r\n"})
    ReplaceAll(text, gap, "");
  ReplaceAll(text, "\r\n", "<br>");
  return text;
}

std::string PageWithoutHtmlTags(const std::string& page) {
  std::string text = page;
  for (const std::string_view tag : {"<html>", "</html>", "<HTML>", "</HTML>"})
    ReplaceAll(text, tag, "");
  return text;
}

std::string FullArticleText(const std::string& header_text, const std::string& page, bool as_text) {
  const std::string content = as_text ? PageAsTextLines(page) : PageWithoutHtmlTags(page);
  // The host files the result as the message's text: a page line that reads
  // as a separator would split the message in two.
  return header_text + "<html>" + QuoteSeparatorLines(content) + "</html>";
}

std::string ViewerPageText(const std::string& body) {
  const std::size_t mark = body.find(kBodyStartMark);
  const std::string text =
      mark == std::string::npos ? body : body.substr(mark + kBodyStartMark.size());
  return "<html><body>" + text;
}

}  // namespace tavi
