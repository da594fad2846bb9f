#include "web/window_views.h"

#include <algorithm>
#include <unordered_set>

#include "host/host_windows.h"
#include "platform/winsys_focus.h"
#include "platform/winsys_list_view.h"
#include "platform/winsys_snapshot.h"
#include "web/json_writer.h"
#include "web/plugin_windows.h"
#include "web/window_state_json.h"

namespace tavi::web {
namespace {

const char* IconName(std::uint32_t flags) {
  switch (flags & 0xF0) {
    case platform::MB_ICONERROR:
      return "error";
    case platform::MB_ICONQUESTION:
      return "question";
    case platform::MB_ICONWARNING:
      return "warning";
    case platform::MB_ICONINFORMATION:
      return "information";
  }
  return "";
}

// The buttons' captions, with their access keys as the system gives them.
const char* ButtonText(int answer) {
  switch (answer) {
    case platform::IDCANCEL:
      return "Cancel";
    case platform::IDABORT:
      return "&Abort";
    case platform::IDRETRY:
      return "&Retry";
    case platform::IDIGNORE:
      return "&Ignore";
    case platform::IDYES:
      return "&Yes";
    case platform::IDNO:
      return "&No";
  }
  return "OK";
}

void WriteMessageBox(JsonWriter& json, const platform::MessageBoxRequest& box) {
  json.BeginObject();
  json.NumberMember("id", box.id);
  json.NumberMember("owner", box.owner.id);
  json.StringMember("caption", box.caption);
  json.StringMember("text", box.text);
  json.StringMember("icon", IconName(box.flags));
  json.Key("buttons");
  json.BeginArray();
  for (const int answer : platform::MessageBoxButtons(box.flags)) {
    json.BeginObject();
    json.NumberMember("answer", answer);
    json.StringMember("text", ButtonText(answer));
    json.EndObject();
  }
  json.EndArray();
  json.NumberMember("default_answer", platform::DefaultMessageBoxAnswer(box.flags));
  json.EndObject();
}

void WritePopupMenu(JsonWriter& json, const platform::PendingPopupMenu& popup) {
  json.BeginObject();
  json.NumberMember("id", popup.request.id);
  json.NumberMember("owner", popup.request.owner.id);
  json.NumberMember("x", popup.request.point.x);
  json.NumberMember("y", popup.request.point.y);
  json.Key("items");
  WriteMenuItems(json, popup.items);
  json.EndObject();
}

// The plug-in's windows of `snapshot`, its order kept. A top-level window
// decides for everything in it, so each window's class is looked at once.
std::vector<platform::WindowHandle> PluginWindowOrder(const platform::Snapshot& snapshot) {
  std::vector<platform::WindowHandle> order;
  bool in_host_window = false;
  for (const platform::WindowHandle window : snapshot.order) {
    const bool top_level = !platform::GetParent(window);
    const bool host_class = IsHostWindowClass(platform::GetClassName(window));
    if (top_level) in_host_window = host_class;
    if (!in_host_window && !host_class) order.push_back(window);
  }
  return order;
}

bool HostBlocked() {
  const platform::WindowHandle main = platform::FindWindow(host::kMainWindowClass);
  return main && !platform::IsWindowEnabled(main);
}

void WriteWindows(JsonWriter& json, const platform::Snapshot& snapshot) {
  const std::vector<platform::WindowHandle> order = PluginWindowOrder(snapshot);
  json.Key("order");
  json.BeginArray();
  for (const platform::WindowHandle window : order) json.Number(window.id);
  json.EndArray();
  const std::unordered_set<platform::WindowHandle> drawn(order.begin(), order.end());
  json.Key("windows");
  json.BeginArray();
  for (const platform::WindowSnapshot& state : snapshot.windows)
    if (drawn.contains(state.handle)) WriteWindowState(json, state);
  json.EndArray();
}

}  // namespace

std::string WindowsJson(std::uint64_t since) {
  const platform::Snapshot snapshot = platform::TakeSnapshot(since);
  JsonWriter json;
  json.BeginObject();
  json.NumberMember("version", static_cast<std::int64_t>(snapshot.version));
  json.Key("desktop");
  json.BeginObject();
  json.NumberMember("width", snapshot.desktop.width);
  json.NumberMember("height", snapshot.desktop.height);
  json.EndObject();
  json.NumberMember("capture", IsPluginWindow(snapshot.capture) ? snapshot.capture.id : 0);
  json.BoolMember("host_blocked", HostBlocked());
  WriteWindows(json, snapshot);
  json.Key("message_boxes");
  json.BeginArray();
  for (const platform::MessageBoxRequest& box : snapshot.message_boxes) WriteMessageBox(json, box);
  json.EndArray();
  json.Key("popup_menus");
  json.BeginArray();
  for (const platform::PendingPopupMenu& popup : snapshot.popup_menus) WritePopupMenu(json, popup);
  json.EndArray();
  json.EndObject();
  return json.Text();
}

std::optional<std::string> ListViewRowsJson(platform::WindowHandle list, int first, int count) {
  if (!IsPluginWindow(list) || platform::GetListViewRowCount(list) < 0) return std::nullopt;
  const std::vector<platform::ListViewRowSnapshot> rows =
      platform::ReadListViewRows(list, first, std::min(count, kMaxRowsPerRead));
  JsonWriter json;
  json.BeginObject();
  json.NumberMember("window", list.id);
  json.NumberMember("row_count", platform::GetListViewRowCount(list));
  json.NumberMember("first", first);
  json.Key("rows");
  json.BeginArray();
  for (const platform::ListViewRowSnapshot& row : rows) {
    json.BeginObject();
    json.NumberMember("index", row.index);
    json.Key("texts");
    json.BeginArray();
    for (const std::string& text : row.texts) json.String(text);
    json.EndArray();
    json.NumberMember("image", row.image);
    json.BoolMember("selected", row.selected);
    json.BoolMember("focused", row.focused);
    json.EndObject();
  }
  json.EndArray();
  json.EndObject();
  return json.Text();
}

}  // namespace tavi::web
