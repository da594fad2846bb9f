#include "web/window_input.h"

#include <cstdint>
#include <limits>
#include <optional>
#include <string_view>

#include "platform/winsys_focus.h"
#include "platform/winsys_input.h"
#include "platform/winsys_mouse.h"
#include "web/plugin_windows.h"

namespace tavi::web {
namespace {

using platform::WindowHandle;

// Points and rectangles travel to the window's thread as 16-bit values.
constexpr std::int64_t kMaxCoordinate = 32767;
constexpr std::int64_t kMaxHandle = 0xFFFFFFFF;
constexpr std::int64_t kMaxNumber = std::numeric_limits<int>::max();

// Whom an input names: a window that must take input, a window or (0) the
// focus, or no window (it names a message box or a popup menu).
enum class Target { kWindow, kWindowOrFocus, kNone };

template <typename Value, std::size_t kCount>
std::optional<Value> ValueNamed(const std::optional<std::string>& name,
                                const std::pair<std::string_view, Value> (&table)[kCount]) {
  if (!name) return std::nullopt;
  for (const auto& [known, value] : table)
    if (known == *name) return value;
  return std::nullopt;
}

constexpr std::pair<std::string_view, platform::MouseAction> kMouseActions[] = {
    {"move", platform::MouseAction::kMove},
    {"left_down", platform::MouseAction::kLeftDown},
    {"left_up", platform::MouseAction::kLeftUp},
    {"left_double", platform::MouseAction::kLeftDoubleClick},
    {"right_down", platform::MouseAction::kRightDown},
    {"right_up", platform::MouseAction::kRightUp},
};

constexpr std::pair<std::string_view, platform::ClickKind> kClickKinds[] = {
    {"left", platform::ClickKind::kLeft},
    {"right", platform::ClickKind::kRight},
    {"double", platform::ClickKind::kDouble},
};

constexpr std::pair<std::string_view, platform::WParam> kSystemCommands[] = {
    {"close", platform::SC_CLOSE},
    {"minimize", platform::SC_MINIMIZE},
    {"maximize", platform::SC_MAXIMIZE},
    {"restore", platform::SC_RESTORE},
};

// A whole number member within [lowest, highest]; nullopt otherwise.
std::optional<int> Number(const JsonRequest& body, std::string_view key, std::int64_t lowest,
                          std::int64_t highest) {
  const std::optional<std::int64_t> value = body.Integer(key);
  if (!value || *value < lowest || *value > highest) return std::nullopt;
  return static_cast<int>(*value);
}

std::optional<int> Coordinate(const JsonRequest& body, std::string_view key) {
  return Number(body, key, -kMaxCoordinate, kMaxCoordinate);
}

// The modifier bits; nullopt when one of them is there but no boolean.
std::optional<std::uint32_t> Modifiers(const JsonRequest& body) {
  constexpr std::pair<std::string_view, std::uint32_t> kModifiers[] = {
      {"shift", platform::key_modifier::kShift},
      {"ctrl", platform::key_modifier::kControl},
      {"alt", platform::key_modifier::kAlt},
  };
  std::uint32_t modifiers = 0;
  for (const auto& [key, bit] : kModifiers) {
    if (!body.Has(key)) continue;
    const std::optional<bool> held = body.Bool(key);
    if (!held) return std::nullopt;
    if (*held) modifiers |= bit;
  }
  return modifiers;
}

PageResponse BadValues(std::string_view what) { return ErrorAnswer(400, what); }

PageResponse Injected(bool taken) {
  if (!taken) return ErrorAnswer(409, "the window does not take that input");
  return JsonAnswer("{}");
}

bool TakesInput(WindowHandle window) {
  for (WindowHandle level = window; level; level = platform::GetParent(level))
    if (!platform::IsWindowEnabled(level)) return false;
  return platform::IsWindowVisible(window);
}

// The refusal of input for `window`, or nullopt when it may have some. While
// a window holds the mouse, mouse input goes to it wherever it is aimed.
std::optional<PageResponse> RefusalFor(WindowHandle window, std::string_view kind) {
  if (!IsPluginWindow(window)) return ErrorAnswer(404, "there is no such window");
  if (kind == "mouse" && platform::GetCapture()) return std::nullopt;
  if (!TakesInput(window))
    return ErrorAnswer(409, "the window takes no input now (hidden, disabled or blocked)");
  return std::nullopt;
}

PageResponse Click(const JsonRequest& body, WindowHandle window) {
  const std::optional<std::uint32_t> modifiers = Modifiers(body);
  if (!modifiers) return BadValues("shift, ctrl and alt must be true or false");
  return Injected(platform::InjectClick(window, *modifiers));
}

PageResponse Mouse(const JsonRequest& body, WindowHandle window) {
  const auto action = ValueNamed(body.String("action"), kMouseActions);
  const std::optional<int> x = Coordinate(body, "x");
  const std::optional<int> y = Coordinate(body, "y");
  const std::optional<std::uint32_t> modifiers = Modifiers(body);
  if (!action || !x || !y || !modifiers)
    return BadValues("mouse input needs an action, x and y (and may name modifiers)");
  return Injected(platform::InjectMouse(window, *action, {*x, *y}, *modifiers));
}

PageResponse Key(const JsonRequest& body, WindowHandle window) {
  const std::optional<int> key = Number(body, "key", 1, 255);
  const std::optional<bool> down = body.Bool("down");
  const std::optional<std::uint32_t> modifiers = Modifiers(body);
  if (!key || !down || !modifiers)
    return BadValues("a key needs a virtual key from 1 to 255 and down");
  return Injected(platform::InjectKey(window, *key, *down, *modifiers));
}

PageResponse KeyPress(const JsonRequest& body, WindowHandle window) {
  const std::optional<int> key = Number(body, "key", 1, 255);
  const std::optional<std::uint32_t> modifiers = Modifiers(body);
  if (!key || !modifiers) return BadValues("a key press needs a virtual key from 1 to 255");
  return Injected(platform::InjectKeyPress(window, *key, *modifiers));
}

PageResponse Text(const JsonRequest& body, WindowHandle window) {
  const std::optional<std::string> text = body.String("text");
  if (!text) return BadValues("text input needs the text");
  return Injected(platform::InjectText(window, *text));
}

PageResponse ListClick(const JsonRequest& body, WindowHandle window) {
  const std::optional<int> row = Number(body, "row", -1, kMaxNumber);
  const auto click = ValueNamed(body.String("click"), kClickKinds);
  const std::optional<std::uint32_t> modifiers = Modifiers(body);
  if (!row || !click || !modifiers) return BadValues("a list click needs a row and a click");
  return Injected(platform::InjectListViewClick(window, *row, *click, *modifiers));
}

PageResponse ColumnClick(const JsonRequest& body, WindowHandle window) {
  const std::optional<int> column = Number(body, "column", 0, kMaxNumber);
  if (!column) return BadValues("a column click needs a column");
  return Injected(platform::InjectListViewColumnClick(window, *column));
}

// A handle's or an item's number (32 bits); nullopt otherwise.
std::optional<std::uint32_t> HandleNumber(const JsonRequest& body, std::string_view key) {
  const std::optional<std::int64_t> value = body.Integer(key);
  if (!value || *value < 0 || *value > kMaxHandle) return std::nullopt;
  return static_cast<std::uint32_t>(*value);
}

std::optional<platform::TreeItem> TreeItemOf(const JsonRequest& body) {
  const std::optional<std::uint32_t> item = HandleNumber(body, "item");
  if (!item || *item == 0) return std::nullopt;
  return platform::TreeItem{*item};
}

PageResponse TreeClick(const JsonRequest& body, WindowHandle window) {
  const std::optional<platform::TreeItem> item = TreeItemOf(body);
  const auto click = ValueNamed(body.String("click"), kClickKinds);
  if (!item || !click) return BadValues("a tree click needs an item and a click");
  return Injected(platform::InjectTreeViewClick(window, *item, *click));
}

PageResponse TreeExpand(const JsonRequest& body, WindowHandle window) {
  const std::optional<platform::TreeItem> item = TreeItemOf(body);
  const std::optional<bool> expand = body.Bool("expand");
  if (!item || !expand) return BadValues("expanding needs an item and expand");
  return Injected(platform::InjectTreeViewExpand(window, *item, *expand));
}

PageResponse Select(const JsonRequest& body, WindowHandle window) {
  const std::optional<int> index = Number(body, "index", 0, kMaxNumber);
  if (!index) return BadValues("picking from a drop-down list needs the item's index");
  return Injected(platform::InjectDropDownSelection(window, *index));
}

PageResponse Command(const JsonRequest& body, WindowHandle window) {
  const std::optional<int> command = Number(body, "command", 1, 0xFFFF);
  if (!command) return BadValues("a command must be a number from 1 to 65535");
  return Injected(platform::InjectMenuCommand(window, *command));
}

PageResponse WindowRect(const JsonRequest& body, WindowHandle window) {
  const std::optional<int> left = Coordinate(body, "left");
  const std::optional<int> top = Coordinate(body, "top");
  const std::optional<int> right = Coordinate(body, "right");
  const std::optional<int> bottom = Coordinate(body, "bottom");
  if (!left || !top || !right || !bottom || *right <= *left || *bottom <= *top)
    return BadValues("a window's rectangle needs left < right and top < bottom");
  return Injected(platform::InjectWindowRect(window, {*left, *top, *right, *bottom}));
}

PageResponse SystemCommand(const JsonRequest& body, WindowHandle window) {
  const auto command = ValueNamed(body.String("command"), kSystemCommands);
  if (!command) return BadValues("the command must be close, minimize, maximize or restore");
  return Injected(platform::InjectSystemCommand(window, *command));
}

PageResponse Answered(bool answered) {
  if (!answered) return ErrorAnswer(404, "nothing with that id waits for that answer");
  return JsonAnswer("{}");
}

PageResponse MessageBoxAnswer(const JsonRequest& body, WindowHandle) {
  const std::optional<int> id = Number(body, "id", 1, kMaxNumber);
  const std::optional<int> answer = Number(body, "answer", 1, 0xFFFF);
  if (!id || !answer) return BadValues("a message box's answer needs its id and the answer");
  return Answered(platform::AnswerMessageBox(*id, *answer));
}

PageResponse PopupMenuAnswer(const JsonRequest& body, WindowHandle) {
  const std::optional<int> id = Number(body, "id", 1, kMaxNumber);
  const std::optional<int> command = Number(body, "command", 0, 0xFFFF);
  if (!id || !command) return BadValues("a popup menu's answer needs its id and a command");
  return Answered(platform::AnswerPopupMenu(*id, *command));
}

struct InputKind {
  std::string_view name;
  Target target;
  PageResponse (*inject)(const JsonRequest& body, WindowHandle window);
};

constexpr InputKind kInputKinds[] = {
    {"click", Target::kWindow, Click},
    {"mouse", Target::kWindow, Mouse},
    {"key", Target::kWindowOrFocus, Key},
    {"key_press", Target::kWindowOrFocus, KeyPress},
    {"text", Target::kWindow, Text},
    {"list_click", Target::kWindow, ListClick},
    {"column_click", Target::kWindow, ColumnClick},
    {"tree_click", Target::kWindow, TreeClick},
    {"tree_expand", Target::kWindow, TreeExpand},
    {"select", Target::kWindow, Select},
    {"command", Target::kWindow, Command},
    {"rect", Target::kWindow, WindowRect},
    {"system_command", Target::kWindow, SystemCommand},
    {"message_box", Target::kNone, MessageBoxAnswer},
    {"popup_menu", Target::kNone, PopupMenuAnswer},
};

const InputKind* FindInputKind(const std::optional<std::string>& name) {
  if (!name) return nullptr;
  for (const InputKind& kind : kInputKinds)
    if (kind.name == *name) return &kind;
  return nullptr;
}

}  // namespace

PageResponse InjectPageInput(const JsonRequest& body) {
  const InputKind* kind = FindInputKind(body.String("kind"));
  if (kind == nullptr) return BadValues("kind must name an input the page sends");
  if (kind->target == Target::kNone) return kind->inject(body, {});
  const std::optional<std::uint32_t> number = HandleNumber(body, "window");
  if (!number) return BadValues("the input must name its window");
  const WindowHandle window{*number};
  if (kind->target == Target::kWindowOrFocus && !window) return kind->inject(body, window);
  if (const std::optional<PageResponse> refusal = RefusalFor(window, kind->name)) return *refusal;
  return kind->inject(body, window);
}

}  // namespace tavi::web
