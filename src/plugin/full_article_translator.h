#pragma once

// The translator "Get the Full Article" at work: with Ctrl held it downloads
// the page behind the message's "Website: " link and writes it over the
// message part the host handed it; otherwise it opens the article viewer on
// the message. Only a whole page replaces the message: whatever fails
// leaves the host's output file as it was.

#include <cstdint>
#include <functional>
#include <string>

#include "platform/winsys.h"

namespace tavi {

// The translator's results, as the host reads them.
inline constexpr std::int32_t kFullArticleWritten = 0;  // the output holds the page
inline constexpr std::int32_t kNoArticleLink = 1;       // no header text, or no link in it
inline constexpr std::int32_t kOutputNotWritable = 6;   // the output file cannot be written
inline constexpr std::int32_t kViewerOpened = 11;       // Ctrl not held: the viewer instead
inline constexpr std::int32_t kPageUnavailable = 12;    // no whole text page was downloaded

// The temporary file the page is downloaded into, in the configuration
// folder.
inline constexpr const char* kFullArticleFileName = "article.html";

// A page fetched for the message: its text, or why there is none.
struct FullArticlePage {
  bool ok = false;
  std::string text;
  std::string error;  // when !ok: the download's error, or why its file is no page
};

// Downloads `link` into `temporary_file` (an old file there is deleted
// first) and reads it as text (LoadDownloadedText). Fails, with the reason,
// when the download fails (an HTTP error status included), and when the file
// is empty or no text. The temporary file is deleted after reading.
FullArticlePage FetchFullArticlePage(const std::string& link, const std::string& temporary_file);

// Writes `text` over the existing file at `path` from its first byte and cuts
// the file to the length written, in place, since the host may hold the file
// open. False when the file does not exist, cannot be opened, or the text
// cannot be written whole.
bool WriteOverFile(const std::string& path, const std::string& text);

// Opens the article viewer for a header block and the page to show; returns
// its window, none when it could not be opened.
using OpenViewerFunction = std::function<platform::WindowHandle(const std::string& header_text,
                                                                const std::string& page_text)>;

// One call of the translator, as the host makes it.
struct FullArticleRequest {
  bool has_header = false;  // whether the host handed header data
  std::string raw_headers;  // the message part's raw header text
  std::string input_file;   // the message part
  std::string output_file;  // where the full page goes; must exist
  std::string config_dir;   // holds the temporary page file
  bool shift = false;       // the page as text lines
  bool control = false;     // the page into the message, not the viewer
};

// Runs the translator: kNoArticleLink without header data or a "Website: "
// link; with `control`, kFullArticleWritten once the whole page is in the
// output file (kPageUnavailable or kOutputNotWritable, the output untouched,
// otherwise); without it, opens the viewer through `open_viewer` on the
// input's text after "<br><br>" and returns kViewerOpened, whether or not the
// viewer could be opened.
std::int32_t TranslateFullArticle(const FullArticleRequest& request,
                                  const OpenViewerFunction& open_viewer);

}  // namespace tavi
