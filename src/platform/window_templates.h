#pragma once

// What a window is built from, as data: dialog templates with their controls,
// menus, toolbars, accelerator tables and icon images. A program keeps its
// own as resources (the plug-in's live in src/res) and hands them to the
// window system, which instantiates them; the window system itself holds no
// resources of anyone's.
//
// Positions and sizes in a dialog template are dialog units of the dialog's
// font: a horizontal unit is a quarter of the font's average character width,
// a vertical one an eighth of its height (DialogUnitsToPixels converts).

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tavi::platform {

// A rectangle in dialog units (or pixels, where a function says so).
struct UnitRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;

  friend bool operator==(const UnitRect&, const UnitRect&) = default;
};

// The kinds of control a template can hold.
enum class ControlKind {
  kLabel,         // static text
  kIcon,          // static picture of an icon (icon_id)
  kGroupBox,      // a frame with a caption around other controls
  kButton,        // push button
  kCheckBox,      // check box
  kEdit,          // one-line (or multi-line) text field
  kListView,      // list of rows with columns
  kTreeView,      // tree of items
  kProgressBar,   // 0 to 100 bar
  kBrowser,       // an embedded HTML view (the WebBrowser control)
  kRichText,      // a multi-line text view (the Rich Textbox control)
  kToolbar,       // a row of command buttons (made from a ToolbarTemplate, not a dialog's control)
  kDropDownList,  // a closed list of texts of which one is chosen
};

// Style bits of a control; each kind reads the bits that concern it.
namespace control_style {
inline constexpr std::uint32_t kDisabled = 1u << 0;
inline constexpr std::uint32_t kHidden = 1u << 1;
inline constexpr std::uint32_t kTabStop = 1u << 2;
// Labels.
inline constexpr std::uint32_t kCenter = 1u << 3;
inline constexpr std::uint32_t kRight = 1u << 4;
inline constexpr std::uint32_t kNotify = 1u << 5;  // reports clicks (a splitter bar)
// Shows every "&" as it is: for texts that come from feeds, not menus.
inline constexpr std::uint32_t kNoPrefix = 1u << 20;
// Buttons and check boxes.
inline constexpr std::uint32_t kDefaultButton = 1u << 6;
inline constexpr std::uint32_t kFlat = 1u << 7;
inline constexpr std::uint32_t kPushLike = 1u << 8;
inline constexpr std::uint32_t kAutoCheck = 1u << 9;  // the box toggles itself when clicked
// Edits.
inline constexpr std::uint32_t kDigitsOnly = 1u << 10;
inline constexpr std::uint32_t kMultiline = 1u << 11;
inline constexpr std::uint32_t kReadOnly = 1u << 12;
// List views and tree views.
inline constexpr std::uint32_t kSingleSelection = 1u << 13;
inline constexpr std::uint32_t kShowSelectionAlways = 1u << 14;
inline constexpr std::uint32_t kNoColumnHeader = 1u << 15;
inline constexpr std::uint32_t kFullRowSelect = 1u << 16;
inline constexpr std::uint32_t kHasButtons = 1u << 17;  // tree: +/- beside parents
inline constexpr std::uint32_t kHasLines = 1u << 18;    // tree: lines between items
inline constexpr std::uint32_t kLinesAtRoot = 1u << 19;
}  // namespace control_style

// One control of a dialog template.
struct ControlTemplate {
  ControlKind kind = ControlKind::kLabel;
  int id = -1;  // -1 for a control nobody addresses
  std::string text;
  UnitRect rect;
  std::uint32_t style = 0;
  int icon_id = 0;  // kIcon: the icon shown
};

// Style bits of a dialog.
namespace dialog_style {
inline constexpr std::uint32_t kCaption = 1u << 0;
inline constexpr std::uint32_t kSystemMenu = 1u << 1;  // the close box
inline constexpr std::uint32_t kMinimizeBox = 1u << 2;
inline constexpr std::uint32_t kMaximizeBox = 1u << 3;
inline constexpr std::uint32_t kResizable = 1u << 4;
inline constexpr std::uint32_t kCentered = 1u << 5;
}  // namespace dialog_style

struct DialogTemplate {
  int id = 0;
  std::string caption;
  // The window class; "" for the system's dialog class ("#32770").
  std::string class_name;
  std::string font_name;
  int font_size = 8;  // points
  UnitRect rect;      // x and y place a dialog without kCentered
  std::uint32_t style = 0;
  int menu_id = 0;  // 0: no menu bar
  int icon_id = 0;  // 0: no icon of its own
  std::vector<ControlTemplate> controls;
};

// One entry of a menu: a command, a separator, or a submenu.
struct MenuItemTemplate {
  std::string text;  // "&Open\tEnter": '&' marks the access key, a tab the shortcut
  int command = 0;   // 0 for a separator or a submenu
  bool separator = false;
  bool disabled = false;
  bool checked = false;
  std::vector<MenuItemTemplate> items;  // a submenu's entries
};

struct MenuTemplate {
  int id = 0;
  std::vector<MenuItemTemplate> items;  // a menu bar's menus, or a popup menu's submenus
};

// One button of a toolbar, or a separator.
struct ToolbarButtonTemplate {
  int command = 0;  // 0 for a separator
  int icon_id = 0;
  std::string tooltip;
  bool dropdown = false;  // shows a menu under the button
};

struct ToolbarTemplate {
  int id = 0;
  int button_size = 32;  // pixels, square
  std::vector<ToolbarButtonTemplate> buttons;
};

// Modifier keys of an accelerator, and of input.
namespace key_modifier {
inline constexpr std::uint32_t kShift = 1u << 0;
inline constexpr std::uint32_t kControl = 1u << 1;
inline constexpr std::uint32_t kAlt = 1u << 2;
}  // namespace key_modifier

// Virtual key codes the program names.
namespace virtual_key {
inline constexpr int kLeftButton = 0x01;  // the mouse buttons, as key states
inline constexpr int kRightButton = 0x02;
inline constexpr int kTab = 0x09;
inline constexpr int kReturn = 0x0D;
inline constexpr int kShift = 0x10;
inline constexpr int kControl = 0x11;
inline constexpr int kMenu = 0x12;  // Alt
inline constexpr int kEscape = 0x1B;
inline constexpr int kSpace = 0x20;
inline constexpr int kLeft = 0x25;
inline constexpr int kUp = 0x26;
inline constexpr int kRight = 0x27;
inline constexpr int kDown = 0x28;
inline constexpr int kDelete = 0x2E;
inline constexpr int kF1 = 0x70;
inline constexpr int kF4 = 0x73;
inline constexpr int kF10 = 0x79;
}  // namespace virtual_key

struct AcceleratorTemplate {
  int key = 0;  // a virtual key code
  std::uint32_t modifiers = 0;
  int command = 0;
};

struct AcceleratorTable {
  int id = 0;
  std::vector<AcceleratorTemplate> entries;
};

// An icon as a front end draws it: an SVG document of its own size.
struct IconImage {
  int id = 0;
  std::string_view svg;
};

// The pixel rectangle of a dialog-unit rectangle in a dialog of the given
// font size: a unit is a quarter of the average character width across and
// an eighth of the character height down, for the sans-serif faces at 96
// dots per inch (8 points: 6 by 13 pixels per character).
UnitRect DialogUnitsToPixels(const UnitRect& units, int font_size);

}  // namespace tavi::platform
