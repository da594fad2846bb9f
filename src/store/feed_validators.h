#pragma once

// The validators of a feed's document (its ETag and Last-Modified as the
// server last gave them) kept in the feed's section of the settings file, so
// that a check asks for the document only if it changed. They belong to the
// feed's URL: a definition stored with another URL drops them.

#include <string>

#include "store/profile.h"

namespace tavi {

struct FeedValidators {
  std::string ETag;          // "" when the server gave none
  std::string LastModified;  // "" when the server gave none

  bool operator==(const FeedValidators&) const = default;
};

// The feed's stored validators; empty texts for keys that are absent.
FeedValidators ReadFeedValidators(const std::string& alias, const std::string& settings_file);
FeedValidators ReadFeedValidators(const ProfileBatch& batch, const std::string& alias);

// Writes the validators into the feed's section inside `batch`. An empty one,
// or one longer than the settings file gives back whole (kProfileValueLimit),
// is removed instead: a cut validator would never match. False when the batch
// refused a write.
bool WriteFeedValidators(ProfileBatch& batch, const std::string& alias,
                         const FeedValidators& validators);

// What a completed check learned of the feed's address and document.
struct CheckedAddress {
  std::string requested_url;  // the URL the check fetched, as it was stored
  std::string moved_to;       // where the document now lives; "" when it did not move
  FeedValidators validators;  // of the document the check read
};

// Stores what a completed check learned, in one rewrite of the settings file:
// the new URL when the document moved permanently (`moved_to` not ""),
// and the validators. Nothing is written, and false returned, when the
// feed's stored URL is no longer `requested_url` (the feed was edited or
// deleted meanwhile), when the new URL is longer than the file gives back
// whole (kProfileValueLimit; the old address still leads there), or when the
// file cannot be written.
bool StoreCheckedAddress(const std::string& alias, const CheckedAddress& checked,
                         const std::string& settings_file);

}  // namespace tavi
