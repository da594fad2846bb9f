#include "store/feed_validators.h"

#include "store/settings_layout.h"

namespace tavi {
namespace {

// A value the settings file gives back as it was written.
bool IsKeepable(const std::string& value) {
  return !value.empty() && value.size() <= kProfileValueLimit;
}

bool WriteOrRemove(ProfileBatch& batch, const std::string& alias, const char* key,
                   const std::string& value) {
  if (IsKeepable(value)) return batch.WriteString(alias, key, value);
  return batch.DeleteKey(alias, key);
}

}  // namespace

FeedValidators ReadFeedValidators(const std::string& alias, const std::string& settings_file) {
  return {ReadProfileString(alias, settings::kETag, "", settings_file),
          ReadProfileString(alias, settings::kLastModified, "", settings_file)};
}

FeedValidators ReadFeedValidators(const ProfileBatch& batch, const std::string& alias) {
  return {batch.ReadString(alias, settings::kETag, ""),
          batch.ReadString(alias, settings::kLastModified, "")};
}

bool WriteFeedValidators(ProfileBatch& batch, const std::string& alias,
                         const FeedValidators& validators) {
  return WriteOrRemove(batch, alias, settings::kETag, validators.ETag) &&
         WriteOrRemove(batch, alias, settings::kLastModified, validators.LastModified);
}

bool StoreCheckedAddress(const std::string& alias, const CheckedAddress& checked,
                         const std::string& settings_file) {
  return EditProfileBatch(settings_file, [&](ProfileBatch& batch) {
    if (checked.requested_url.empty() ||
        batch.ReadString(alias, settings::kUrl, "") != checked.requested_url)
      return false;
    if (!checked.moved_to.empty() && (!IsKeepable(checked.moved_to) ||
                                      !batch.WriteString(alias, settings::kUrl, checked.moved_to)))
      return false;
    return WriteFeedValidators(batch, alias, checked.validators);
  });
}

}  // namespace tavi
