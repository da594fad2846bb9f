#include "web/page_router.h"

#include <optional>

#include "platform/ascii.h"
#include "web/json_writer.h"

namespace tavi::web {
namespace {

constexpr std::string_view kNumberSegment = "{}";
constexpr std::size_t kMaxNumberDigits = 9;

std::vector<std::string_view> Segments(std::string_view path) {
  std::vector<std::string_view> segments;
  std::size_t start = 0;
  while (start <= path.size()) {
    const std::size_t slash = std::min(path.find('/', start), path.size());
    segments.push_back(path.substr(start, slash - start));
    start = slash + 1;
  }
  return segments;
}

std::optional<int> WholeNumber(std::string_view segment) {
  if (segment.empty() || segment.size() > kMaxNumberDigits) return std::nullopt;
  int value = 0;
  for (const char c : segment) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return value;
}

// The numbers of `path` when it has the pattern's form; nullopt otherwise.
std::optional<std::vector<int>> MatchPath(std::string_view pattern, std::string_view path) {
  const std::vector<std::string_view> wanted = Segments(pattern);
  const std::vector<std::string_view> given = Segments(path);
  if (wanted.size() != given.size()) return std::nullopt;
  std::vector<int> numbers;
  for (std::size_t i = 0; i < wanted.size(); ++i) {
    if (!wanted[i].starts_with(kNumberSegment)) {
      if (wanted[i] != given[i]) return std::nullopt;
      continue;
    }
    // "{}.svg": the number, then the rest of the segment as it is.
    const std::string_view suffix = wanted[i].substr(kNumberSegment.size());
    if (!given[i].ends_with(suffix)) return std::nullopt;
    const std::optional<int> number =
        WholeNumber(given[i].substr(0, given[i].size() - suffix.size()));
    if (!number) return std::nullopt;
    numbers.push_back(*number);
  }
  return numbers;
}

bool SameMethod(const PageRoute& route, std::string_view method) {
  return route.method == method || (route.method == "GET" && method == "HEAD");
}

// "application/json", with or without parameters such as a charset.
bool IsJsonContentType(std::string_view content_type) {
  const std::string_view media_type = content_type.substr(0, content_type.find(';'));
  return platform::EqualsIgnoringCase(media_type, "application/json");
}

}  // namespace

std::optional<std::size_t> QueryNumber(const PageRequest& request, const std::string& key,
                                       std::size_t absent) {
  const auto found = request.query.find(key);
  if (found == request.query.end()) return absent;
  const std::optional<int> number = WholeNumber(found->second);
  if (!number) return std::nullopt;
  return static_cast<std::size_t>(*number);
}

PageResponse JsonAnswer(std::string json) {
  return {200, "application/json", std::move(json), AnswerPolicy::kPage};
}

PageResponse ErrorAnswer(int status, std::string_view message) {
  JsonWriter json;
  json.BeginObject();
  json.Key("error");
  json.String(message);
  json.EndObject();
  return {status, "application/json", json.Text(), AnswerPolicy::kPage};
}

void PageRouter::Add(PageRoute route) { routes_.push_back(std::move(route)); }

PageResponse PageRouter::Answer(const PageRequest& request) const {
  bool path_known = false;
  for (const PageRoute& route : routes_) {
    std::optional<std::vector<int>> numbers = MatchPath(route.pattern, request.path);
    if (!numbers) continue;
    path_known = true;
    if (!SameMethod(route, request.method)) continue;
    PageCall call{request, std::move(*numbers), {}};
    if (route.method != "POST") return route.answer(call);
    if (!IsJsonContentType(request.content_type))
      return ErrorAnswer(415, "the body must be sent as application/json");
    JsonRequestParse parsed = ParseJsonRequest(request.body);
    if (parsed.status != JsonRequestStatus::kOk)
      return ErrorAnswer(400, JsonRequestStatusText(parsed.status));
    call.body = std::move(parsed.request);
    return route.answer(call);
  }
  if (path_known) return ErrorAnswer(405, "this path does not take that method");
  return ErrorAnswer(404, "there is nothing at this path");
}

}  // namespace tavi::web
