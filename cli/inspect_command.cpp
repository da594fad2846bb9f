#include "cli/inspect_command.h"

#include <cassert>
#include <cerrno>
#include <cstring>
#include <ostream>

#include "cli/terminal_text.h"
#include "delivery/composer.h"
#include "fetch/date_text.h"
#include "fetch/document_encoding.h"
#include "fetch/downloader.h"
#include "fetch/feed_reader.h"
#include "fetch/xml_document.h"
#include "platform/ascii.h"
#include "platform/clock.h"
#include "platform/fs.h"
#include "platform/oledate.h"
#include "web/json_writer.h"
#include "web/temporary_folder.h"

namespace tavi::cli {
namespace {

using web::JsonWriter;
using web::TemporaryFolder;

constexpr const char* kDownloadedFileName = "document";

void Member(JsonWriter& json, std::string_view key, std::string_view value) {
  json.Key(key);
  json.String(value);
}

void WriteArticle(JsonWriter& json, const ArticleRecord& article) {
  json.BeginObject();
  Member(json, "title", article.Title);
  Member(json, "link", article.Link);
  Member(json, "description", article.Description);
  Member(json, "author", article.Author);
  Member(json, "date", article.Date);
  Member(json, "normalized_date", article.Date.empty() ? "" : NormalizeDateText(article.Date));
  Member(json, "guid", article.Guid);
  Member(json, "enclosure", article.Enclosure);
  Member(json, "enclosure_length", article.EnclosureLength);
  Member(json, "enclosure_type", article.EnclosureType);
  Member(json, "summary", article.Summary);
  Member(json, "message_id", ComposeMessageId(article));
  json.EndObject();
}

// Pins the platform clock for as long as it lives.
class PinnedClock {
 public:
  explicit PinnedClock(platform::Clock::time_point instant) { platform::PinClock(instant); }
  ~PinnedClock() { platform::ResetClock(); }
  PinnedClock(const PinnedClock&) = delete;
  PinnedClock& operator=(const PinnedClock&) = delete;
};

std::optional<platform::Clock::time_point> ReadNow(const std::string& text) {
  const platform::OleDate date = platform::ParseLocaleDateText(text);
  if (!date.IsValid()) return std::nullopt;
  return platform::ToLocalTime(date);
}

bool IsDocumentUrl(const std::string& source) {
  const std::string lower = platform::ToLowerAscii(source.substr(0, 8));
  return lower.starts_with("http://") || lower.starts_with("https://") ||
         lower.starts_with("file://");
}

// Downloads the document at `url` into `path`; false, with `reason` set,
// when no document arrived. `charset` is the one its Content-Type named.
// Every download of the command goes through here.
bool FetchDocument(const std::string& url, const std::string& path, std::string& reason,
                   std::string& charset) {
  platform::NetResponse response;
  const platform::NetResult fetched =
      FetchToFile({url, "", ""}, path, DeleteMode::kNone, kMaxFeedDocumentBytes, &response);
  reason = fetched.error;
  charset = response.charset;
  return fetched.ok;
}

// Prints the inspection of the file at `path`, read with the transport's
// `charset`, and returns the exit code.
int PrintInspection(const std::string& path, std::string_view charset,
                    const CommandContext& context) {
  if (!platform::ReadFileBytes(path)) {
    const int error = errno;
    context.err << "tavi: inspect: cannot read " << PrintableText(path) << ": "
                << std::strerror(error) << "\n";
    return kExitNoDocument;
  }
  const DocumentInspection inspection = InspectDocument(path, charset);
  context.out << inspection.json << "\n";
  return inspection.loaded ? kExitSuccess : kExitFailure;
}

}  // namespace

DocumentInspection InspectDocument(const std::string& path, std::string_view charset) {
  XmlDocument document;
  DocumentEncoding encoding;
  const bool loaded = document.LoadFile(path, charset, &encoding);
  JsonWriter json;
  json.BeginObject();
  json.Key("loaded");
  json.Bool(loaded);
  Member(json, "message", document.ParseMessage());
  Member(json, "encoding", encoding.name);
  Member(json, "encoding_source", EncodingSourceName(encoding.source));
  Member(json, "encoding_note", encoding.note);
  std::vector<ArticleRecord> articles;
  std::string format;
  if (loaded) {
    const FeedFormat detected = DetectFeedFormat(document);
    format = FeedFormatName(detected);
    articles = ReadAllArticles(document, detected);
  }
  Member(json, "format", format);
  json.Key("articles");
  json.BeginArray();
  for (const ArticleRecord& article : articles) WriteArticle(json, article);
  json.EndArray();
  json.EndObject();
  return {loaded, json.Text()};
}

int RunInspect(const CommandContext& context) {
  std::optional<PinnedClock> pinned;
  if (const std::optional<std::string> now = context.command.Value("--now")) {
    const std::optional<platform::Clock::time_point> instant = ReadNow(*now);
    assert(instant && "the parser lets only a readable --now through");
    pinned.emplace(*instant);
  }
  const std::string& source = context.command.positionals[0];
  if (!IsDocumentUrl(source)) return PrintInspection(source, {}, context);
  const TemporaryFolder folder("tavi-inspect-");
  if (folder.Path().empty()) {
    context.err << "tavi: inspect: cannot make a temporary folder for the download\n";
    return kExitNoDocument;
  }
  const std::string path = platform::JoinPath(folder.Path(), kDownloadedFileName);
  std::string reason;
  std::string charset;
  if (!FetchDocument(source, path, reason, charset)) {
    context.err << "tavi: inspect: " << PrintableText(source)
                << " could not be downloaded: " << reason << "\n";
    return kExitNoDocument;
  }
  return PrintInspection(path, charset, context);
}

}  // namespace tavi::cli
