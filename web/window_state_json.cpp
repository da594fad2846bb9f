#include "web/window_state_json.h"

#include <cstdint>
#include <string>

#include "platform/module_resources.h"

namespace tavi::web {
namespace {

using platform::ControlKind;

struct StyleName {
  std::uint32_t bit;
  const char* name;
};

constexpr StyleName kControlStyles[] = {
    {platform::control_style::kDisabled, "disabled"},
    {platform::control_style::kHidden, "hidden"},
    {platform::control_style::kTabStop, "tab_stop"},
    {platform::control_style::kCenter, "center"},
    {platform::control_style::kRight, "right"},
    {platform::control_style::kNotify, "notify"},
    {platform::control_style::kNoPrefix, "no_prefix"},
    {platform::control_style::kDefaultButton, "default_button"},
    {platform::control_style::kFlat, "flat"},
    {platform::control_style::kPushLike, "push_like"},
    {platform::control_style::kAutoCheck, "auto_check"},
    {platform::control_style::kDigitsOnly, "digits_only"},
    {platform::control_style::kMultiline, "multiline"},
    {platform::control_style::kReadOnly, "read_only"},
    {platform::control_style::kSingleSelection, "single_selection"},
    {platform::control_style::kShowSelectionAlways, "show_selection_always"},
    {platform::control_style::kNoColumnHeader, "no_column_header"},
    {platform::control_style::kFullRowSelect, "full_row_select"},
    {platform::control_style::kHasButtons, "has_buttons"},
    {platform::control_style::kHasLines, "has_lines"},
    {platform::control_style::kLinesAtRoot, "lines_at_root"},
};

constexpr StyleName kWindowStyles[] = {
    {platform::dialog_style::kCaption, "caption"},
    {platform::dialog_style::kSystemMenu, "system_menu"},
    {platform::dialog_style::kMinimizeBox, "minimize_box"},
    {platform::dialog_style::kMaximizeBox, "maximize_box"},
    {platform::dialog_style::kResizable, "resizable"},
    {platform::dialog_style::kCentered, "centered"},
};

const char* KindName(const platform::WindowSnapshot& state) {
  if (!state.kind) return state.is_dialog ? "dialog" : "window";
  switch (*state.kind) {
    case ControlKind::kLabel:
      return "label";
    case ControlKind::kIcon:
      return "icon";
    case ControlKind::kGroupBox:
      return "group_box";
    case ControlKind::kButton:
      return "button";
    case ControlKind::kCheckBox:
      return "check_box";
    case ControlKind::kEdit:
      return "edit";
    case ControlKind::kListView:
      return "list_view";
    case ControlKind::kTreeView:
      return "tree_view";
    case ControlKind::kProgressBar:
      return "progress_bar";
    case ControlKind::kBrowser:
      return "browser";
    case ControlKind::kRichText:
      return "rich_text";
    case ControlKind::kToolbar:
      return "toolbar";
    case ControlKind::kDropDownList:
      return "drop_down";
  }
  return "window";
}

const char* ShowStateName(platform::ShowState show_state) {
  switch (show_state) {
    case platform::ShowState::kNormal:
      return "normal";
    case platform::ShowState::kMinimized:
      return "minimized";
    case platform::ShowState::kMaximized:
      return "maximized";
  }
  return "normal";
}

// A control's style bits mean control styles; any other window's, its frame.
template <std::size_t kCount>
void WriteStyleNames(JsonWriter& json, std::uint32_t style, const StyleName (&names)[kCount]) {
  json.Key("style");
  json.BeginArray();
  for (const StyleName& name : names)
    if ((style & name.bit) != 0) json.String(name.name);
  json.EndArray();
}

void WriteNumbers(JsonWriter& json, std::string_view key, const std::vector<int>& numbers) {
  json.Key(key);
  json.BeginArray();
  for (const int number : numbers) json.Number(number);
  json.EndArray();
}

void WriteTracking(JsonWriter& json, const platform::TrackingSizes& tracking) {
  json.Key("tracking");
  json.BeginObject();
  json.NumberMember("min_width", tracking.minimum.width);
  json.NumberMember("min_height", tracking.minimum.height);
  json.NumberMember("max_width", tracking.maximum.width);
  json.NumberMember("max_height", tracking.maximum.height);
  json.EndObject();
}

void WriteListView(JsonWriter& json, const platform::ListViewSnapshot& list) {
  json.Key("list_view");
  json.BeginObject();
  json.Key("columns");
  json.BeginArray();
  for (const platform::ListViewColumn& column : list.columns) {
    json.BeginObject();
    json.StringMember("title", column.title);
    json.NumberMember("width", column.width);
    json.EndObject();
  }
  json.EndArray();
  WriteNumbers(json, "images", list.images);
  json.NumberMember("row_count", list.row_count);
  WriteNumbers(json, "selected_rows", list.selected_rows);
  json.NumberMember("focused_row", list.focused_row);
  json.NumberMember("top_row", list.top_row);
  json.EndObject();
}

void WriteTreeItem(JsonWriter& json, const platform::TreeItemSnapshot& item) {
  json.BeginObject();
  json.NumberMember("item", item.item.id);
  json.NumberMember("parent", item.parent.id);
  json.NumberMember("depth", item.depth);
  json.StringMember("text", item.text);
  json.NumberMember("image", item.image);
  json.NumberMember("selected_image", item.selected_image);
  json.BoolMember("expanded", item.expanded);
  json.BoolMember("selected", item.selected);
  json.BoolMember("has_children", item.has_children);
  json.EndObject();
}

void WriteTreeView(JsonWriter& json, const platform::TreeViewSnapshot& tree) {
  json.Key("tree_view");
  json.BeginObject();
  WriteNumbers(json, "images", tree.images);
  json.Key("items");
  json.BeginArray();
  for (const platform::TreeItemSnapshot& item : tree.items) WriteTreeItem(json, item);
  json.EndArray();
  json.EndObject();
}

void WriteToolbar(JsonWriter& json, const platform::ToolbarSnapshot& toolbar) {
  json.Key("toolbar");
  json.BeginObject();
  json.NumberMember("button_size", toolbar.button_size);
  json.Key("buttons");
  json.BeginArray();
  for (const platform::ToolbarButtonSnapshot& button : toolbar.buttons) {
    json.BeginObject();
    json.NumberMember("command", button.button.command);
    json.NumberMember("icon", button.button.icon_id);
    json.StringMember("tooltip", button.button.tooltip);
    json.BoolMember("dropdown", button.button.dropdown);
    json.BoolMember("enabled", button.enabled);
    json.Key("rect");
    WriteRect(json, button.rect);
    json.EndObject();
  }
  json.EndArray();
  json.EndObject();
}

void WriteDropDown(JsonWriter& json, const platform::DropDownSnapshot& drop_down) {
  json.Key("drop_down");
  json.BeginObject();
  json.Key("items");
  json.BeginArray();
  for (const std::string& item : drop_down.items) json.String(item);
  json.EndArray();
  json.NumberMember("selection", drop_down.selection);
  json.EndObject();
}

void WriteIdentity(JsonWriter& json, const platform::WindowSnapshot& state) {
  json.NumberMember("handle", state.handle.id);
  json.NumberMember("parent", state.parent.id);
  json.NumberMember("owner", state.owner.id);
  json.StringMember("class", state.class_name);
  json.StringMember("text", state.text);
  json.StringMember("kind", KindName(state));
  json.NumberMember("control_id", state.control_id);
  if (state.kind) {
    WriteStyleNames(json, state.style, kControlStyles);
  } else {
    WriteStyleNames(json, state.style, kWindowStyles);
  }
  json.NumberMember("icon", state.icon_id);
  json.StringMember("cursor", state.cursor_id != 0
                                  ? platform::FindCursor(state.cursor_id).value_or("")
                                  : std::string());
}

void WriteShownState(JsonWriter& json, const platform::WindowSnapshot& state) {
  json.Key("rect");
  WriteRect(json, state.rect);
  json.Key("client");
  WriteRect(json, state.client);
  json.BoolMember("visible", state.visible);
  json.BoolMember("enabled", state.enabled);
  json.BoolMember("focused", state.focused);
  json.BoolMember("blocked", state.blocked);
  json.StringMember("show_state", ShowStateName(state.show_state));
  WriteTracking(json, state.tracking);
  json.BoolMember("checked", state.checked);
  json.NumberMember("progress", state.progress);
  json.NumberMember("version", static_cast<std::int64_t>(state.version));
}

}  // namespace

void WriteRect(JsonWriter& json, const platform::Rect& rect) {
  json.BeginObject();
  json.NumberMember("left", rect.left);
  json.NumberMember("top", rect.top);
  json.NumberMember("right", rect.right);
  json.NumberMember("bottom", rect.bottom);
  json.EndObject();
}

void WriteMenuItems(JsonWriter& json, const std::vector<platform::MenuItemTemplate>& items) {
  json.BeginArray();
  for (const platform::MenuItemTemplate& item : items) {
    json.BeginObject();
    json.StringMember("text", item.text);
    json.NumberMember("command", item.command);
    json.BoolMember("separator", item.separator);
    json.BoolMember("disabled", item.disabled);
    json.BoolMember("checked", item.checked);
    json.Key("items");
    WriteMenuItems(json, item.items);
    json.EndObject();
  }
  json.EndArray();
}

void WriteWindowState(JsonWriter& json, const platform::WindowSnapshot& state) {
  json.BeginObject();
  WriteIdentity(json, state);
  WriteShownState(json, state);
  if (state.menu) {
    json.Key("menu_bar");
    WriteMenuItems(json, state.menu_bar);
  }
  if (state.list_view) WriteListView(json, *state.list_view);
  if (state.tree_view) WriteTreeView(json, *state.tree_view);
  if (state.toolbar) WriteToolbar(json, *state.toolbar);
  if (state.drop_down) WriteDropDown(json, *state.drop_down);
  json.EndObject();
}

}  // namespace tavi::web
