// The exports of the plug-in module: the host calls these, on its
// user-interface thread, and each one hands over to the plug-in's own code.

#include <cstdint>
#include <string>

#include "files/file_names.h"
#include "plugin/about_box.h"
#include "plugin/ems_api.h"
#include "plugin/host_blocks.h"
#include "plugin/plugin_lifecycle.h"
#include "plugin/plugin_paths.h"
#include "plugin/plugin_tables.h"
#include "plugin/plugin_window_context.h"
#include "plugin/special_menu.h"
#include "plugin/translate_file.h"
#include "plugin/translator_registration.h"
#include "store/pacing.h"
#include "ui/article_viewer.h"
#include "ui/feed_properties_dialog.h"
#include "ui/window_messages.h"
#include "ui/window_resources.h"

namespace {

// At load, so that the message numbers exist before any window of the
// plug-in or of the host asks for them, and the windows' pictures are there
// for whoever draws them, as a module's resources come with it.
__attribute__((constructor)) void RegisterAtLoad() {
  tavi::RegisteredWindowMessages();
  tavi::RegisterWindowResources();
}

// Runs an entry point's work. Nothing may unwind into the host, which is not
// C++: whatever the work throws (running out of memory included) becomes the
// entry point's failure result.
template <typename Work>
int32_t Guarded(int32_t failure, Work work) noexcept {
  try {
    return work();
  } catch (...) {
    return failure;
  }
}

}  // namespace

extern "C" {

int32_t ems_plugin_version(int16_t* api_version) {
  if (api_version != nullptr) *api_version = tavi::kPluginApiVersion;
  return kEmsOk;
}

int32_t ems_plugin_init(void* /*globals*/, int16_t api_version, EmsMailConfig* config,
                        EmsPluginInfo* info) {
  return Guarded(kEmsUnknownFailure, [&] {
    return tavi::InitPlugin(tavi::GlobalPluginPaths(), api_version, config, info,
                            tavi::GetHostExecutablePath());
  });
}

int32_t ems_plugin_finish(void* /*globals*/) {
  return Guarded(kEmsUnknownFailure, [] { return tavi::FinishPlugin(tavi::GlobalPluginPaths()); });
}

int32_t ems_plugin_config(void* /*globals*/, EmsMailConfig* /*config*/) {
  return Guarded(kEmsUnknownFailure, [] {
    tavi::ShowAboutBox(tavi::GlobalPluginPaths());
    return kEmsOk;
  });
}

int32_t ems_special_info(void* /*globals*/, EmsMenu* menu) {
  return Guarded(kEmsUnknownFailure,
                 [&] { return tavi::FillSpecialMenu(tavi::GlobalPluginPaths(), menu); });
}

int32_t ems_special_hook(void* /*globals*/, EmsMenu* menu) {
  if (menu == nullptr) return kEmsUnknownFailure;
  if (menu->id != tavi::kSpecialMenu.id) return kEmsOk;
  return Guarded(kEmsUnknownFailure, [] {
    tavi::PluginPaths& paths = tavi::GlobalPluginPaths();
    // The record is read when Add or Edit is pressed, once the menu item has
    // found the host's windows.
    return tavi::RunMenuHook(
        paths, [&paths](tavi::platform::WindowHandle owner, const std::string& alias) {
          return tavi::ShowFeedProperties(owner, tavi::WindowContextOf(paths), alias);
        });
  });
}

int32_t ems_translator_info(void* /*globals*/, EmsTranslator* translator) {
  return Guarded(kEmsUnknownFailure, [&] { return tavi::FillTranslatorInfo(translator); });
}

int32_t ems_can_translate(void* /*globals*/, EmsTranslator* translator, EmsDataInfo* data,
                          int32_t* /*status*/) {
  return Guarded(kEmsCannotTranslate, [&] { return tavi::CanTranslate(translator, data); });
}

int32_t ems_translate_file(void* /*globals*/, EmsTranslator* /*translator*/, EmsDataFile* in,
                           EmsProgressFn /*progress*/, EmsDataFile* out) {
  return Guarded(kEmsUnknownFailure, [&] {
    tavi::PluginPaths& paths = tavi::GlobalPluginPaths();
    // The viewer reads the record once the host's windows were found again.
    return tavi::TranslateFile(
        paths, in, out, [&paths](const std::string& header_text, const std::string& page_text) {
          return tavi::OpenArticleViewer(tavi::WindowContextOf(paths), header_text, page_text);
        });
  });
}

int32_t ems_free(void* block) {
  tavi::FreeHostBlock(block);
  return kEmsOk;
}

// Hosts of other plug-ins may call this with a text; nothing in Tavi acts on
// it, so it is accepted and left alone.
int32_t tavi_OpenNewsboard(void* /*globals*/, int32_t /*reserved*/, const char* /*text*/,
                           int32_t /*reserved_too*/) {
  return kEmsOk;
}

int32_t tavi_UsePacing(int32_t designed) {
  tavi::SetPacing(designed != 0 ? tavi::Pacing::Designed() : tavi::Pacing::None());
  return kEmsOk;
}

}  // extern "C"
