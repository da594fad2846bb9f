#include "host/plugin_loader.h"

#include <algorithm>

#include "platform/fs.h"

namespace tavi::host {
namespace {

// More menu items or translators than this from one plug-in is nonsense;
// the host asks for no more.
constexpr std::int32_t kMaxEntriesAsked = 64;

// The files a translation goes through, in the configuration folder.
constexpr const char* kTranslationInput = "translate-in.tmp";
constexpr const char* kTranslationOutput = "translate-out.tmp";
constexpr std::string_view kHeaderBlockEnd = "\r\n\r\n";

// A message's header lines (without the empty line) and its body; a
// message without an empty line is all headers.
std::pair<std::string, std::string> SplitHeaders(std::string_view text) {
  const std::size_t end = text.find(kHeaderBlockEnd);
  if (end == std::string_view::npos) return {std::string(text), ""};
  return {std::string(text.substr(0, end)), std::string(text.substr(end + kHeaderBlockEnd.size()))};
}

std::string DescribeMimeType(const EmsMimeType& type) {
  const auto text = [](const char* part) { return part != nullptr ? part : ""; };
  return std::string(text(type.type)) + "/" + text(type.subtype) + "; " + text(type.version);
}

std::int32_t EntriesToAsk(std::int32_t announced) {
  return std::clamp(announced, std::int32_t{0}, kMaxEntriesAsked);
}

}  // namespace

struct PluginModule::EntryPoints {
  EmsPluginVersionFn plugin_version = nullptr;
  EmsPluginInitFn plugin_init = nullptr;
  EmsPluginFinishFn plugin_finish = nullptr;
  EmsFreeFn free = nullptr;
  EmsPluginConfigFn plugin_config = nullptr;
  EmsSpecialInfoFn special_info = nullptr;
  EmsSpecialHookFn special_hook = nullptr;
  EmsTranslatorInfoFn translator_info = nullptr;
  EmsCanTranslateFn can_translate = nullptr;
  EmsTranslateFileFn translate_file = nullptr;
  TaviUsePacingFn use_pacing = nullptr;
};

std::unique_ptr<PluginModule> PluginModule::Load(const std::string& module_file,
                                                 const std::string& config_dir,
                                                 const PluginLoadOptions& options,
                                                 std::string* error_text) {
  std::string reason;
  const platform::ModuleHandle module = platform::LoadModule(module_file, &reason);
  if (module == nullptr) {
    if (error_text != nullptr) *error_text = reason;
    return nullptr;
  }
  std::unique_ptr<PluginModule> plugin(new PluginModule(module, config_dir));
  if (!plugin->ResolveEntryPoints(reason)) {
    if (error_text != nullptr) *error_text = "the module has no " + reason;
    return nullptr;
  }
  plugin->Start(options);
  return plugin;
}

PluginModule::PluginModule(platform::ModuleHandle module, std::string config_dir)
    : module_(module),
      config_dir_(std::move(config_dir)),
      entry_(std::make_unique<EntryPoints>()) {}

PluginModule::~PluginModule() {
  if (started_) {
    entry_->plugin_finish(nullptr);
    for (void* block : blocks_) entry_->free(block);
  }
  platform::FreeModule(module_);
}

bool PluginModule::ResolveEntryPoints(std::string& missing) {
  using platform::FindModuleFunction;
  EntryPoints& entry = *entry_;
  entry.plugin_version = FindModuleFunction<EmsPluginVersionFn>(module_, "ems_plugin_version");
  entry.plugin_init = FindModuleFunction<EmsPluginInitFn>(module_, "ems_plugin_init");
  entry.plugin_finish = FindModuleFunction<EmsPluginFinishFn>(module_, "ems_plugin_finish");
  entry.free = FindModuleFunction<EmsFreeFn>(module_, "ems_free");
  entry.plugin_config = FindModuleFunction<EmsPluginConfigFn>(module_, "ems_plugin_config");
  entry.special_info = FindModuleFunction<EmsSpecialInfoFn>(module_, "ems_special_info");
  entry.special_hook = FindModuleFunction<EmsSpecialHookFn>(module_, "ems_special_hook");
  entry.translator_info = FindModuleFunction<EmsTranslatorInfoFn>(module_, "ems_translator_info");
  entry.can_translate = FindModuleFunction<EmsCanTranslateFn>(module_, "ems_can_translate");
  entry.use_pacing = FindModuleFunction<TaviUsePacingFn>(module_, "tavi_UsePacing");
  entry.translate_file = FindModuleFunction<EmsTranslateFileFn>(module_, "ems_translate_file");
  exports_translate_file_ = entry.translate_file != nullptr;
  if (entry.plugin_version == nullptr) missing = "ems_plugin_version";
  if (entry.plugin_init == nullptr) missing = "ems_plugin_init";
  if (entry.plugin_finish == nullptr) missing = "ems_plugin_finish";
  if (entry.free == nullptr) missing = "ems_free";
  return missing.empty();
}

void PluginModule::Start(const PluginLoadOptions& options) {
  started_ = true;
  entry_->plugin_version(&answers_.plugin_api_version);
  EmsMailConfig config{config_dir_.c_str()};
  EmsPluginInfo info{};
  answers_.init_result = entry_->plugin_init(nullptr, options.api_version, &config, &info);
  answers_.translator_count = info.translator_count;
  answers_.attacher_count = info.attacher_count;
  answers_.special_count = info.special_count;
  answers_.description = TakeText(info.description);
  answers_.plugin_id = info.id;
  answers_.plugin_icon = TakeIcon(info.icon);
  if (entry_->use_pacing != nullptr) entry_->use_pacing(options.designed_pacing ? 1 : 0);
  DescribeMenuItems();
  DescribeTranslators();
}

void PluginModule::DescribeMenuItems() {
  if (entry_->special_info == nullptr) return;
  for (std::int32_t id = 1; id <= EntriesToAsk(answers_.special_count); ++id) {
    EmsMenu menu{};
    menu.id = id;
    MenuItemAnswer item;
    item.id = id;
    item.result = entry_->special_info(nullptr, &menu);
    item.text = TakeText(menu.description);
    item.flags = menu.flags;
    item.icon = TakeIcon(menu.icon);
    answers_.menu_items.push_back(std::move(item));
  }
}

void PluginModule::DescribeTranslators() {
  if (entry_->translator_info == nullptr) return;
  for (std::int32_t id = 1; id <= EntriesToAsk(answers_.translator_count); ++id) {
    EmsTranslator translator{};
    translator.id = id;
    TranslatorAnswer answer;
    answer.id = id;
    answer.result = entry_->translator_info(nullptr, &translator);
    answer.description = TakeText(translator.description);
    answer.type = translator.type;
    answer.flags = translator.flags;
    answer.icon = TakeIcon(translator.icon);
    answers_.translators.push_back(std::move(answer));
  }
}

std::string PluginModule::TakeText(char* text) {
  if (text == nullptr) return "";
  blocks_.push_back(text);
  return text;
}

std::optional<EmsIconHandle> PluginModule::TakeIcon(EmsIconHandle* cell) {
  if (cell == nullptr) return std::nullopt;
  blocks_.push_back(cell);
  return *cell;
}

std::int32_t PluginModule::ChooseMenuItem(std::int32_t id) {
  if (entry_->special_hook == nullptr) return kEmsUnknownFailure;
  EmsMenu menu{};
  menu.id = id;
  return entry_->special_hook(nullptr, &menu);
}

std::int32_t PluginModule::CanTranslate(std::int32_t id, std::int32_t context,
                                        const std::string& mime_type,
                                        const std::string& mime_subtype) {
  if (entry_->can_translate == nullptr) return kEmsCannotTranslate;
  EmsTranslator translator{};
  translator.id = id;
  EmsDataInfo data{context, mime_type.c_str(), mime_subtype.c_str()};
  std::int32_t status = 0;
  return entry_->can_translate(nullptr, &translator, &data, &status);
}

TranslationAnswer PluginModule::TranslateFile(std::int32_t id, std::string_view message_text) {
  TranslationAnswer answer;
  if (entry_->translate_file == nullptr) return answer;
  const auto [headers, body] = SplitHeaders(message_text);
  const std::string input_file = platform::JoinPath(config_dir_, kTranslationInput);
  const std::string output_file = platform::JoinPath(config_dir_, kTranslationOutput);
  if (platform::ReplaceFile(input_file, body) && platform::ReplaceFile(output_file, "")) {
    EmsTranslator translator{};
    translator.id = id;
    EmsHeaderData header{headers.c_str()};
    EmsDataFile in{0, input_file.c_str(), &header, nullptr};
    EmsDataFile out{0, output_file.c_str(), nullptr, nullptr};
    answer.result = entry_->translate_file(nullptr, &translator, &in, nullptr, &out);
    answer.output = platform::ReadFileBytes(output_file).value_or("");
    if (out.mime_type != nullptr) {
      answer.mime_type = DescribeMimeType(*out.mime_type);
      entry_->free(out.mime_type);
    }
  }
  platform::DeleteFile(input_file);
  platform::DeleteFile(output_file);
  return answer;
}

std::int32_t PluginModule::OpenSettings() {
  if (entry_->plugin_config == nullptr) return kEmsUnknownFailure;
  EmsMailConfig config{config_dir_.c_str()};
  return entry_->plugin_config(nullptr, &config);
}

}  // namespace tavi::host
