#include "plugin/translator_registration.h"

#include <string_view>

#include "plugin/host_blocks.h"
#include "plugin/plugin_tables.h"

namespace tavi {
namespace {

// An empty entry of the table matches anything; the host's null is empty.
bool MatchesEntry(std::string_view entry, const char* offered) {
  return entry.empty() || entry == std::string_view(offered != nullptr ? offered : "");
}

bool AppliesTo(const TranslatorEntry& entry, const EmsDataInfo& data) {
  return (data.context & entry.flags) != 0 && MatchesEntry(entry.mime_type, data.mime_type) &&
         MatchesEntry(entry.mime_subtype, data.mime_subtype);
}

}  // namespace

std::int32_t FillTranslatorInfo(EmsTranslator* translator) {
  if (translator == nullptr) return kEmsOk;
  if (translator->id != kFullArticleTranslator.id) return kEmsInvalidId;
  translator->type = kFullArticleTranslator.type;
  translator->flags = kFullArticleTranslator.flags;
  translator->description = NewHostText(kFullArticleTranslator.description);
  translator->icon = NewIconCell(kFullArticleTranslator.icon);
  return kEmsOk;
}

std::int32_t CanTranslate(const EmsTranslator* translator, const EmsDataInfo* data) {
  if (translator == nullptr || data == nullptr) return kEmsCannotTranslate;
  if (translator->id != kFullArticleTranslator.id) return kEmsInvalidId;
  return AppliesTo(kFullArticleTranslator, *data) ? kEmsTranslateNow : kEmsCannotTranslate;
}

}  // namespace tavi
