#include "plugin/full_article_translator.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "delivery/message_text.h"
#include "fetch/downloader.h"
#include "files/file_names.h"
#include "platform/fs.h"
#include "plugin/full_article_text.h"

namespace tavi {
namespace {

// LoadDownloadedText's failure value.
constexpr const char* kNoText = "-1";

FullArticlePage PageFailure(std::string error) { return {false, "", std::move(error)}; }

bool WriteAll(int fd, const std::string& text) {
  std::size_t written = 0;
  while (written < text.size()) {
    const ssize_t count = write(fd, text.data() + written, text.size() - written);
    if (count < 0 && errno == EINTR) continue;
    if (count <= 0) return false;
    written += static_cast<std::size_t>(count);
  }
  return true;
}

std::int32_t WriteFullArticle(const FullArticleRequest& request, const std::string& header_text) {
  const std::string temporary_file = platform::JoinPath(request.config_dir, kFullArticleFileName);
  const FullArticlePage page = FetchFullArticlePage(ArticleLinkOf(header_text), temporary_file);
  if (!page.ok) return kPageUnavailable;
  const std::string text = FullArticleText(header_text, page.text, request.shift);
  return WriteOverFile(request.output_file, text) ? kFullArticleWritten : kOutputNotWritable;
}

}  // namespace

FullArticlePage FetchFullArticlePage(const std::string& link, const std::string& temporary_file) {
  platform::NetResponse response;
  const platform::NetResult fetched = FetchToFile(
      {link, "", ""}, temporary_file, DeleteMode::kDelete, kMaxFullArticleBytes, &response);
  if (!fetched.ok) return PageFailure(fetched.error);
  const std::string text = LoadDownloadedText(temporary_file, response.charset);
  platform::DeleteFile(temporary_file);
  if (text == kNoText) return PageFailure("The page is not text.");
  // An empty page would leave the message without its article.
  if (text.empty()) return PageFailure("The page is empty.");
  return {true, text, ""};
}

bool WriteOverFile(const std::string& path, const std::string& text) {
  // Not created: the host names a file it made for the answer.
  const int fd = open(path.c_str(), O_WRONLY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool written = WriteAll(fd, text) && ftruncate(fd, static_cast<off_t>(text.size())) == 0;
  // Don't retry close on EINTR: the descriptor is gone either way.
  return close(fd) == 0 && written;
}

std::int32_t TranslateFullArticle(const FullArticleRequest& request,
                                  const OpenViewerFunction& open_viewer) {
  if (!request.has_header) return kNoArticleLink;
  const std::string header_text = HeaderTextOf(request.raw_headers);
  if (ArticleLinkOf(header_text).empty()) return kNoArticleLink;
  if (request.control) return WriteFullArticle(request, header_text);
  if (open_viewer) open_viewer(header_text, ViewerPageText(ReadWholeFile(request.input_file)));
  return kViewerOpened;
}

}  // namespace tavi
