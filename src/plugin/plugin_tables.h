#pragma once

// What the plug-in tells the host about itself: its id and icons, the API
// version it is written for, its one Special-menu item and its one message
// translator.

#include <cstdint>

#include "res/product_icon_ids.h"

namespace tavi {

// The host API version the plug-in is written for.
inline constexpr std::int16_t kPluginApiVersion = 4;
// Hosts below this version get no menu icon or flags, no background checker,
// and a menu item that refuses to run.
inline constexpr std::int16_t kFirstFullApiVersion = 4;

inline constexpr std::int32_t kPluginId = 4410;

// Icon resources handed to the host.
inline constexpr std::uintptr_t kPluginIcon = res::kPluginIcon;
inline constexpr std::uintptr_t kTranslatorIcon = res::kTranslatorIcon;

struct SpecialMenuEntry {
  std::int32_t id;
  const char* text;
  std::int32_t flags;  // given only to hosts from kFirstFullApiVersion on
  std::uintptr_t icon;
};

inline constexpr SpecialMenuEntry kSpecialMenu{1, "Tavi...", 0x8000, kPluginIcon};
inline constexpr std::int32_t kSpecialMenuCount = 1;

struct TranslatorEntry {
  std::int32_t id;
  const char* description;
  std::int32_t type;
  std::int32_t flags;        // also the context bits the translator applies in
  const char* mime_type;     // "" matches any type
  const char* mime_subtype;  // "" matches any subtype
  std::uintptr_t icon;
};

inline constexpr TranslatorEntry kFullArticleTranslator{
    1, "Get the Full Article", 0x10, 0x1204, "text", "html", kTranslatorIcon};
inline constexpr std::int32_t kTranslatorCount = 1;
inline constexpr std::int32_t kAttacherCount = 0;

}  // namespace tavi
