#include "store/cache_answer.h"

#include <charconv>
#include <string_view>

#include "platform/profile_text.h"

namespace tavi {
namespace {

constexpr char kSection[] = "Answer";
constexpr char kRequestedUrl[] = "RequestedURL";
constexpr char kFinalUrl[] = "FinalURL";
constexpr char kCharset[] = "Charset";
constexpr char kETag[] = "ETag";
constexpr char kLastModified[] = "LastModified";
constexpr char kMovedTo[] = "MovedTo";
constexpr char kDevice[] = "Device";
constexpr char kInode[] = "Inode";
constexpr char kSize[] = "Size";
constexpr char kModified[] = "Modified";

// The whole of `text` as a number; nullopt for anything else.
template <typename Number>
std::optional<Number> NumberOf(const std::optional<std::string>& text) {
  if (!text) return std::nullopt;
  Number number{};
  const char* end = text->data() + text->size();
  const auto [stop, error] = std::from_chars(text->data(), end, number);
  if (error != std::errc() || stop != end) return std::nullopt;
  return number;
}

bool SetVersion(platform::ProfileDocument& document, const platform::FileVersion& version) {
  return document.Set(kSection, kDevice, std::to_string(version.device)) &&
         document.Set(kSection, kInode, std::to_string(version.inode)) &&
         document.Set(kSection, kSize, std::to_string(version.size)) &&
         document.Set(kSection, kModified, std::to_string(version.modified_ns));
}

std::optional<platform::FileVersion> VersionOf(const platform::ProfileDocument& document) {
  const auto device = NumberOf<std::uint64_t>(document.Get(kSection, kDevice));
  const auto inode = NumberOf<std::uint64_t>(document.Get(kSection, kInode));
  const auto size = NumberOf<std::uint64_t>(document.Get(kSection, kSize));
  const auto modified = NumberOf<std::int64_t>(document.Get(kSection, kModified));
  if (!device || !inode || !size || !modified) return std::nullopt;
  return platform::FileVersion{*device, *inode, *size, *modified};
}

std::optional<std::string> ReadAnswerText(const std::string& path) {
  const auto attributes = platform::GetFileAttributes(path);
  if (!attributes || attributes->directory || attributes->size > kMaxCacheAnswerBytes)
    return std::nullopt;
  return platform::ReadFileBytes(path);
}

}  // namespace

std::string CacheAnswerPath(const std::string& document_path) {
  return document_path + kCacheAnswerSuffix;
}

bool WriteCacheAnswer(const std::string& document_path, const platform::FileVersion& document,
                      const CacheAnswer& answer) {
  platform::ProfileDocument text = platform::ProfileDocument::Parse("");
  const platform::NetResponse& response = answer.response;
  const bool storable =
      text.Set(kSection, kRequestedUrl, answer.requested_url) &&
      text.Set(kSection, kFinalUrl, response.final_url) &&
      text.Set(kSection, kCharset, response.charset) && text.Set(kSection, kETag, response.etag) &&
      text.Set(kSection, kLastModified, response.last_modified) &&
      text.Set(kSection, kMovedTo, response.moved_to) && SetVersion(text, document);
  return storable && platform::ReplaceFile(CacheAnswerPath(document_path), text.Text());
}

std::optional<CacheAnswer> ReadCacheAnswer(const std::string& document_path) {
  const std::optional<std::string> bytes = ReadAnswerText(CacheAnswerPath(document_path));
  if (!bytes) return std::nullopt;
  const platform::ProfileDocument text = platform::ProfileDocument::Parse(*bytes);
  const std::optional<platform::FileVersion> described = VersionOf(text);
  if (!described || described != platform::GetFileVersion(document_path)) return std::nullopt;
  const auto value = [&](const char* key) { return text.Get(kSection, key).value_or(""); };
  CacheAnswer answer;
  answer.requested_url = value(kRequestedUrl);
  answer.response.final_url = value(kFinalUrl);
  answer.response.charset = value(kCharset);
  answer.response.etag = value(kETag);
  answer.response.last_modified = value(kLastModified);
  answer.response.moved_to = value(kMovedTo);
  return answer;
}

void RemoveCacheAnswersWithoutDocument(const std::string& cache_folder) {
  const std::string_view suffix = kCacheAnswerSuffix;
  const std::string pattern =
      platform::JoinPath(cache_folder, std::string("*") + kCacheAnswerSuffix);
  for (const std::string& name : platform::FindFiles(pattern)) {
    const std::string path = platform::JoinPath(cache_folder, name);
    const std::string document = path.substr(0, path.size() - suffix.size());
    if (!platform::GetFileAttributes(document)) platform::DeleteFile(path);
  }
}

}  // namespace tavi
