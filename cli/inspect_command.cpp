#include "cli/inspect_command.h"

#include <cassert>
#include <ostream>

#include "cli/json_writer.h"
#include "delivery/composer.h"
#include "fetch/date_text.h"
#include "fetch/feed_reader.h"
#include "fetch/xml_document.h"
#include "platform/clock.h"
#include "platform/oledate.h"

namespace tavi::cli {
namespace {

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

}  // namespace

std::string InspectDocument(const std::string& path) {
  XmlDocument document;
  const bool loaded = document.LoadFile(path);
  JsonWriter json;
  json.BeginObject();
  json.Key("loaded");
  json.Bool(loaded);
  Member(json, "message", document.ParseMessage());
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
  return json.Text();
}

int RunInspect(const CommandContext& context) {
  std::optional<PinnedClock> pinned;
  if (const std::optional<std::string> now = context.command.Value("--now")) {
    const std::optional<platform::Clock::time_point> instant = ReadNow(*now);
    assert(instant && "the parser lets only a readable --now through");
    pinned.emplace(*instant);
  }
  context.out << InspectDocument(context.command.positionals[0]) << "\n";
  return kExitSuccess;
}

}  // namespace tavi::cli
