#include "web/host_routes.h"

#include <algorithm>

#include "host/host_windows.h"
#include "platform/winsys_input.h"
#include "web/json_writer.h"
#include "web/mail_views.h"

namespace tavi::web {
namespace {

bool Described(std::int32_t result) { return result == kEmsOk; }

void WritePlugin(JsonWriter& json, const host::PluginModule& plugin) {
  const host::PluginAnswers& answers = plugin.Answers();
  json.Key("plugin");
  json.BeginObject();
  json.StringMember("description", answers.description);
  json.Key("menu");
  json.BeginArray();
  for (const host::MenuItemAnswer& item : answers.menu_items) {
    if (!Described(item.result)) continue;
    json.BeginObject();
    json.NumberMember("id", item.id);
    json.StringMember("text", item.text);
    json.EndObject();
  }
  json.EndArray();
  json.Key("translators");
  json.BeginArray();
  for (const host::TranslatorAnswer& translator : answers.translators) {
    if (!Described(translator.result) || !OffersTranslators(plugin)) continue;
    json.BeginObject();
    json.NumberMember("id", translator.id);
    json.StringMember("description", translator.description);
    json.EndObject();
  }
  json.EndArray();
  json.EndObject();
}

PageResponse HostState(const HostRouteParts& parts) {
  JsonWriter json;
  json.BeginObject();
  json.StringMember("title", host::kMainWindowTitle);
  json.StringMember("status", parts.host.StatusText());
  json.StringMember("running", parts.commands.Running());
  json.BoolMember("automation", parts.host.AutomationEnabled());
  WritePlugin(json, parts.plugin);
  json.EndObject();
  return JsonAnswer(json.Text());
}

PageResponse Started(CommandStart start, const HostCommands& commands) {
  switch (start) {
    case CommandStart::kStarted: {
      JsonWriter json;
      json.BeginObject();
      json.StringMember("running", commands.Running());
      json.EndObject();
      return {202, "application/json", json.Text(), AnswerPolicy::kPage};
    }
    case CommandStart::kBusy:
      return ErrorAnswer(409, commands.Running() + " is still running");
    case CommandStart::kNoSuchItem:
      return ErrorAnswer(404, "the plug-in has no such menu item");
  }
  return ErrorAnswer(500, "");
}

PageResponse ChooseMenuItem(const HostRouteParts& parts, const PageCall& call) {
  const std::optional<std::int64_t> item = call.body.Integer("item");
  if (!item) return ErrorAnswer(400, "item must be a menu item's id");
  // Ids the plug-in described are small; anything else is no item of it.
  const int id = *item > 0 && *item <= 1000 ? static_cast<int>(*item) : 0;
  return Started(parts.commands.ChooseMenuItem(id), parts.commands);
}

std::uint32_t ModifiersOf(bool ctrl, bool shift) {
  return (ctrl ? platform::key_modifier::kControl : 0u) |
         (shift ? platform::key_modifier::kShift : 0u);
}

// The translator runs at once, with the keys the person held when asking:
// the plug-in reads them from the key state, as it would on the real host.
// A result of 0 replaces the message's text with the translator's output.
PageResponse Translate(const HostRouteParts& parts, const PageCall& call) {
  const std::optional<int> mailbox = ItemNumber(call.body, "mailbox");
  const std::optional<int> number = ItemNumber(call.body, "message");
  const std::optional<std::int64_t> translator = call.body.Integer("translator");
  const std::optional<bool> ctrl = call.body.Bool("ctrl");
  const std::optional<bool> shift = call.body.Bool("shift");
  if (!mailbox || !number || !translator || !ctrl || !shift)
    return ErrorAnswer(400, "mailbox, message, translator, ctrl and shift are needed");
  const host::MessagePtr message = FindMessage(parts.host.Store(), *mailbox, *number);
  if (message == nullptr) return ErrorAnswer(404, "there is no such message");
  if (!OffersTranslators(parts.plugin)) return ErrorAnswer(409, "the plug-in offers no translator");
  // As the host's menus, its message toolbar waits while a plug-in's window
  // holds a command.
  if (!parts.commands.Running().empty())
    return ErrorAnswer(409, parts.commands.Running() + " is still running");
  platform::HoldModifierKeys(ModifiersOf(*ctrl, *shift));
  const host::TranslationAnswer answer =
      parts.plugin.TranslateFile(static_cast<std::int32_t>(*translator), message->Text());
  platform::HoldModifierKeys(0);
  if (answer.result == kEmsOk && !parts.host.Store().ReplaceMessageText(message, answer.output))
    return ErrorAnswer(500, "the message could not be changed");
  JsonWriter json;
  json.BeginObject();
  json.NumberMember("result", answer.result);
  json.EndObject();
  return JsonAnswer(json.Text());
}

PageResponse SwitchAutomation(const HostRouteParts& parts, const PageCall& call) {
  const std::optional<bool> enabled = call.body.Bool("enabled");
  if (!enabled) return ErrorAnswer(400, "enabled must be true or false");
  parts.host.SetAutomationEnabled(*enabled);
  return HostState(parts);
}

}  // namespace

bool OffersTranslators(const host::PluginModule& plugin) {
  const std::vector<host::TranslatorAnswer>& translators = plugin.Answers().translators;
  return plugin.ExportsTranslateFile() &&
         std::any_of(translators.begin(), translators.end(),
                     [](const host::TranslatorAnswer& it) { return Described(it.result); });
}

void AddHostRoutes(PageRouter& router, const HostRouteParts& parts) {
  router.Add({"GET", "/api/host", [parts](const PageCall&) { return HostState(parts); }});
  router.Add(
      {"POST", "/api/menu", [parts](const PageCall& call) { return ChooseMenuItem(parts, call); }});
  router.Add({"POST", "/api/settings", [parts](const PageCall&) {
                return Started(parts.commands.OpenSettings(), parts.commands);
              }});
  router.Add({"POST", "/api/automation",
              [parts](const PageCall& call) { return SwitchAutomation(parts, call); }});
  router.Add(
      {"POST", "/api/translate", [parts](const PageCall& call) { return Translate(parts, call); }});
}

}  // namespace tavi::web
