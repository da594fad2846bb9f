#pragma once

// What the server answered for a document that a background download left in
// the cache, kept in a small file beside the document ("<document>.answer")
// until the cache import reads the document: the address the download asked
// for, where the document was finally found, the charset of its Content-Type,
// its validators and a permanent move. With it the import reads and stores
// what a check that fetched the document itself would.
//
// The answer file names the version of the document it describes
// (platform::FileVersion), which a rename keeps: it is read only beside that
// very document, so an answer that was parted from its document, or whose
// document was replaced, is never taken for another's. A document without an
// answer file (one an older version downloaded) is read as the cache was read
// before answers were kept.

#include <optional>
#include <string>

#include "platform/fs.h"
#include "platform/net.h"

namespace tavi {

// Added to a document's path to name its answer file.
inline constexpr const char* kCacheAnswerSuffix = ".answer";

// The largest answer file that is read; a larger one is not an answer.
inline constexpr std::uint64_t kMaxCacheAnswerBytes = 256 * 1024;

struct CacheAnswer {
  std::string requested_url;  // the address the download asked for
  // What the server said: final_url, charset, etag, last_modified and
  // moved_to are kept; a 304 leaves no document and so no answer.
  platform::NetResponse response;
};

// The path of the answer file of the document at `document_path`.
std::string CacheAnswerPath(const std::string& document_path);

// Writes the answer file of the document at `document_path`, naming
// `document` as the version it describes, so that no reader ever sees half
// of it (platform::ReplaceFile). False, with no file written, when a value
// holds a line break or the file cannot be written.
bool WriteCacheAnswer(const std::string& document_path, const platform::FileVersion& document,
                      const CacheAnswer& answer);

// The answer kept beside the document at `document_path` (its path as it is
// now: the answer file moves with it). nullopt when there is no answer file,
// it cannot be read, is larger than kMaxCacheAnswerBytes, lacks the version
// it describes, or describes another version than the document's own.
std::optional<CacheAnswer> ReadCacheAnswer(const std::string& document_path);

// Deletes every answer file in `cache_folder` (not in its subfolders, where
// no download writes) whose document is gone, as an import killed between
// the two deletions, or an import that took the document just before its
// answer was written, leaves it.
void RemoveCacheAnswersWithoutDocument(const std::string& cache_folder);

}  // namespace tavi
