#pragma once

// The host's side of the plug-in interface: loads a plug-in module, calls its
// entry points in the order a host does, keeps what the plug-in answered
// about itself, and at the end stops the plug-in, hands back every block it
// gave and unloads it. Used on the host's user-interface thread.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/module_loader.h"
#include "plugin/ems_api.h"

namespace tavi::host {

// The API version this host reports to plug-ins.
inline constexpr std::int16_t kHostApiVersion = 7;

struct PluginLoadOptions {
  std::int16_t api_version = kHostApiVersion;
  // This host indexes synchronously and needs none of the waits a real host
  // needs; a plug-in that offers the choice is told so.
  bool designed_pacing = false;
};

// One Special-menu item as the plug-in described it.
struct MenuItemAnswer {
  std::int32_t id = 0;
  std::int32_t result = 0;
  std::string text;
  std::int32_t flags = 0;
  std::optional<EmsIconHandle> icon;
};

// One translator as the plug-in described it.
struct TranslatorAnswer {
  std::int32_t id = 0;
  std::int32_t result = 0;
  std::string description;
  std::int32_t type = 0;
  std::int32_t flags = 0;
  std::optional<EmsIconHandle> icon;
};

// What the plug-in answered while it was loaded.
struct PluginAnswers {
  std::int16_t plugin_api_version = 0;  // from ems_plugin_version
  std::int32_t init_result = 0;
  std::string description;
  std::int32_t plugin_id = 0;
  std::optional<EmsIconHandle> plugin_icon;
  std::int32_t translator_count = 0;
  std::int32_t attacher_count = 0;
  std::int32_t special_count = 0;
  std::vector<MenuItemAnswer> menu_items;
  std::vector<TranslatorAnswer> translators;
};

// What a translator made of a message.
struct TranslationAnswer {
  std::int32_t result = kEmsUnknownFailure;
  // The output file as the translator left it.
  std::string output;
  // The MIME type it gave the result ("type/subtype; version"), "" when none.
  std::string mime_type;
};

class PluginModule {
 public:
  // Loads the module and starts it: ems_plugin_version, ems_plugin_init with
  // `config_dir` as the configuration folder and the options' API version,
  // tavi_UsePacing when the module has it, then ems_special_info for each
  // menu item and ems_translator_info for each translator it announced (ids
  // from 1). Null, with the reason in `error_text` when given, when the
  // module cannot be loaded or lacks ems_plugin_version, ems_plugin_init,
  // ems_plugin_finish or ems_free.
  static std::unique_ptr<PluginModule> Load(const std::string& module_file,
                                            const std::string& config_dir,
                                            const PluginLoadOptions& options = {},
                                            std::string* error_text = nullptr);
  // ems_plugin_finish, ems_free of every block the plug-in handed over, and
  // the module unloaded.
  ~PluginModule();
  PluginModule(const PluginModule&) = delete;
  PluginModule& operator=(const PluginModule&) = delete;

  const PluginAnswers& Answers() const { return answers_; }

  // The user chose the Special-menu item `id`: ems_special_hook's result, or
  // kEmsUnknownFailure when the module has no menu hook.
  std::int32_t ChooseMenuItem(std::int32_t id = 1);

  // Offers the translator `id` a message part: ems_can_translate's result,
  // or kEmsCannotTranslate when the module has no such entry point.
  std::int32_t CanTranslate(std::int32_t id, std::int32_t context, const std::string& mime_type,
                            const std::string& mime_subtype);

  // Applies translator `id` to a message's text (header block, empty line,
  // body) as a host does: the body goes into an input file and the header
  // lines (without the empty line) into the header data, an empty output
  // file is made beside it in the configuration folder, ems_translate_file is
  // called, the output file read, the MIME type record handed back to
  // ems_free and both files deleted. The caller decides what the result
  // changes. kEmsUnknownFailure without ems_translate_file or when the files
  // cannot be made.
  TranslationAnswer TranslateFile(std::int32_t id, std::string_view message_text);

  // The user asked for the plug-in's settings: ems_plugin_config's result,
  // or kEmsUnknownFailure when the module has none.
  std::int32_t OpenSettings();

  // Whether the module exports ems_translate_file, the entry point that
  // applies its translators to a message: without it the host offers none
  // of them.
  bool ExportsTranslateFile() const { return exports_translate_file_; }

 private:
  struct EntryPoints;

  PluginModule(platform::ModuleHandle module, std::string config_dir);
  bool ResolveEntryPoints(std::string& missing);
  void Start(const PluginLoadOptions& options);
  void DescribeMenuItems();
  void DescribeTranslators();
  // Copies a text the plug-in handed over and keeps the block to hand back.
  std::string TakeText(char* text);
  std::optional<EmsIconHandle> TakeIcon(EmsIconHandle* cell);

  platform::ModuleHandle module_;
  std::string config_dir_;
  std::unique_ptr<EntryPoints> entry_;
  PluginAnswers answers_;
  std::vector<void*> blocks_;
  // Only a started plug-in is finished.
  bool started_ = false;
  bool exports_translate_file_ = false;
};

}  // namespace tavi::host
