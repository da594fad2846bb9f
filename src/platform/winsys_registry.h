#pragma once

// The window system's process-wide state, shared by its source files and by
// nothing else. One lock guards all of it: windows, queues and timers refer
// to each other, and a single lock leaves no lock order to get wrong. Nothing
// calls a window procedure, a timer callback or a handler with it held.

#include <array>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/winsys.h"
#include "platform/winsys_control_data.h"
#include "platform/winsys_dialog.h"
#include "platform/winsys_geometry.h"
#include "platform/winsys_menu.h"

namespace tavi::platform::winsys_internal {

// What a dialog window keeps beyond a window's state.
struct DialogData {
  DialogKeys keys;
  AcceleratorTable accelerators;
  bool modal = false;
  bool ended = false;
  int result = 0;
};

struct WindowRecord {
  std::string class_name;
  std::string title;
  WindowHandle parent;
  WindowHandle owner;  // top-level windows only
  bool visible = true;
  bool enabled = true;
  bool destroying = false;
  ThreadId thread = 0;
  std::shared_ptr<const WindowProcedure> procedure;
  std::vector<WindowHandle> children;  // topmost first

  Rect rect;         // in the parent's client area; top-level: the screen
  Rect normal_rect;  // where SW_RESTORE puts it back
  ShowState show_state = ShowState::kNormal;
  TrackingSizes tracking;

  std::optional<ControlKind> kind;  // nullopt: a plain window or a dialog
  int control_id = 0;
  std::uint32_t style = 0;
  int icon_id = 0;
  int cursor_id = 0;     // shown over the window; 0: none of its own
  MenuHandle menu;       // the menu bar
  int modal_blocks = 0;  // modal loops that wait with this window disabled

  bool checked = false;  // check boxes
  int progress = 0;      // progress bars
  std::unique_ptr<DialogData> dialog;
  std::unique_ptr<ListViewData> list_view;
  std::unique_ptr<TreeViewData> tree_view;
  std::unique_ptr<ToolbarData> toolbar;
  std::unique_ptr<DropDownData> drop_down;

  // Rises with every change, to the registry's version at that moment.
  std::uint64_t version = 0;
};

// A message sent to a window of another thread, waiting in the owner's queue
// for its answer. `sender` is 0 when nobody waits (a notify-send).
struct SentMessage {
  Message message;
  ThreadId sender = 0;
  LResult result = 0;
  bool done = false;
};

// A posted message; `input` marks a person's input that is routed (to the
// capture, the focus) and checked (is the window still taking input?) when
// the thread takes it, as the system routes input when it is read.
struct QueuedMessage {
  Message message;
  bool input = false;
};

struct ThreadQueue {
  ThreadId thread = 0;
  // Signalled whenever something arrives that the thread may be waiting for:
  // a posted or sent message, the answer to its own send, a wake-up.
  std::condition_variable changed;
  std::deque<QueuedMessage> posted;
  std::deque<std::shared_ptr<SentMessage>> sent;
  bool quit_requested = false;
  int quit_code = 0;
  WindowHandle focus;
};

// A menu: its entries; a submenu is a menu of its own that the entry holds.
struct MenuData {
  std::vector<MenuEntry> entries;
};

// A request that waits for a front end's answer, on `thread`.
struct PendingAnswer {
  ThreadId thread = 0;
  std::optional<int> answer;
};

struct TypedText {
  WindowHandle edit;
  std::string text;
};

struct TimerRecord {
  ThreadId thread = 0;
  WindowHandle window;  // none for a thread timer
  TimerId id = 0;
  Clock::duration interval{};
  Clock::time_point due{};
  std::shared_ptr<const TimerCallback> callback;
};

struct Registry {
  std::mutex lock;
  std::unordered_map<WindowHandle, WindowRecord> windows;
  std::vector<WindowHandle> top_levels;  // topmost first
  std::uint32_t next_window_id = 0;
  std::unordered_map<ThreadId, std::unique_ptr<ThreadQueue>> queues;
  std::vector<TimerRecord> timers;
  TimerId next_thread_timer_id = 0;
  std::map<std::string, MessageId> registered_messages;  // by lower-case name
  Size desktop = kDefaultDesktopSize;
  WindowHandle capture;
  std::optional<Rect> clip;           // screen
  Point cursor;                       // screen
  std::array<bool, 256> keys_down{};  // by virtual key, from the last input delivered

  std::unordered_map<MenuHandle, MenuData> menus;
  std::uint32_t next_menu_id = 1;

  // What waits for a front end's answer: message boxes and popup menus.
  bool front_end_present = false;
  int next_request_id = 1;
  std::map<int, PendingAnswer> answers;  // by request id
  std::vector<MessageBoxRequest> pending_boxes;
  std::vector<PopupMenuRequest> pending_popups;
  // Text typed into edits, until the edit takes it: by serial number.
  std::map<std::uint64_t, TypedText> typed_texts;
  std::uint64_t next_typed_text = 1;

  // The version of the last change anywhere; a change not yet told to the
  // listener is pending until the lock is let go.
  std::uint64_t version = 0;
  bool change_pending = false;
  std::shared_ptr<const std::function<void()>> change_listener;

  // Procedures and callbacks the registry let go of, destroyed only once the
  // lock is released: what they own may call the window system as it goes
  // (a control handing a window back its own procedure, say).
  std::vector<std::shared_ptr<const void>> released;
};

// The one registry; it lives until the process ends, so threads that end
// late (and their clean-up) never find it gone.
Registry& TheRegistry();

// Holds the registry's lock. Letting it go destroys what the registry
// released meanwhile and, after a change (Touch), calls the change listener;
// both after the lock is released, on the same thread.
class Lock : public std::unique_lock<std::mutex> {
 public:
  explicit Lock(std::mutex& mutex) : std::unique_lock<std::mutex>(mutex) {}
  ~Lock();
  Lock(const Lock&) = delete;
  Lock& operator=(const Lock&) = delete;
};

// Keeps `object` (a procedure or a callback the registry no longer holds)
// until the lock is let go. Lock held.
void ReleaseAfterUnlock(Registry& registry, std::shared_ptr<const void> object);

// Records a change of `record` (a new version) or of state outside any
// window. Lock held.
void Touch(Registry& registry, WindowRecord& record);
void TouchSystem(Registry& registry);

// The desktop's handle, which has no record.
inline constexpr WindowHandle kDesktop{1};

// CreateWindow, with the new window placed on top of its siblings or below
// them (a dialog's controls go below, so that their order is the template's).
WindowHandle CreateWindowInPlace(const WindowSpec& description, bool on_top);

// The record of a live window, or nullptr (also for the desktop).
WindowRecord* FindRecord(Registry& registry, WindowHandle window);

// Runs `act(registry, record, data)` under the lock on the control state
// that `member` of the window's record holds, and returns its result;
// `fallback` when the window is stale or holds no such state. `act` marks
// what it changes (Touch).
template <typename Data, typename Result, typename Act>
Result WithControlData(WindowHandle window, std::unique_ptr<Data> WindowRecord::*member,
                       Result fallback, Act act) {
  Registry& registry = TheRegistry();
  Lock lock(registry.lock);
  WindowRecord* record = FindRecord(registry, window);
  if (record == nullptr || !(record->*member)) return fallback;
  return act(registry, *record, *(record->*member));
}

// The record of a live dialog, or nullptr. Lock held.
WindowRecord* FindDialogRecord(Registry& registry, WindowHandle window);

// The top-level window that holds `window`; none when stale. Lock held.
WindowHandle TopLevelOf(Registry& registry, WindowHandle window);

// True when the window and its ancestors are shown and enabled, so that it
// can take a person's input. Lock held.
bool TakesInput(Registry& registry, WindowHandle window);

// Geometry under the lock (winsys_geometry.cpp): the window's rectangle on
// the screen, its client area's origin on the screen, its client size.
Rect ScreenRectOf(Registry& registry, const WindowRecord& record);
Point ClientOriginOf(Registry& registry, const WindowRecord& record);
Size ClientSizeOf(const WindowRecord& record);
// The client area relative to the window's top-left corner.
Rect ClientAreaInWindowOf(Registry& registry, const WindowRecord& record);

// `point` held inside the cursor's clip rectangle (winsys_mouse.cpp).
Point ClampToClip(const Registry& registry, Point point);

// Menus under the lock (winsys_menu.cpp): a new menu with `items`; a menu
// and its submenus destroyed; a change shown on every window whose menu bar
// holds `menu` (and in pending popups); the first entry with `command`; the
// entries as front ends draw them; whether the handle is a live menu.
MenuHandle BuildMenu(Registry& registry, const std::vector<MenuItemTemplate>& items);
void DestroyMenuTree(Registry& registry, MenuHandle menu);
void TouchMenuShowers(Registry& registry, MenuHandle menu);
const MenuEntry* FindCommandEntry(Registry& registry, MenuHandle menu, int command);
std::vector<MenuItemTemplate> MenuItemsOf(Registry& registry, MenuHandle menu);
bool IsMenu(Registry& registry, MenuHandle menu);

// The siblings list that holds `window` (its parent's children or the
// top-level windows). Lock held; `record` is the window's.
std::vector<WindowHandle>& SiblingsOf(Registry& registry, const WindowRecord& record);

// The calling thread's queue, created on first use. Lock held.
ThreadQueue& QueueOfCallingThread(Registry& registry);

// Queues a message (`input`: a person's input) for `thread`; false when it
// has no queue. Lock held.
bool PostToThread(Registry& registry, ThreadId thread, const Message& message, bool input = false);

// The queue of `thread`, or nullptr when it has none. Lock held.
ThreadQueue* FindQueue(Registry& registry, ThreadId thread);

// Removes `window`, its descendants and their timers from the registry
// without sending anything. Lock held.
void RemoveWindowTree(Registry& registry, WindowHandle window);

// Removes every timer of `window`. Lock held.
void RemoveWindowTimers(Registry& registry, WindowHandle window);

// Removes every timer owned by `thread` (window timers included). Lock held.
void RemoveThreadTimers(Registry& registry, ThreadId thread);

// When a timer of `thread` is due at `now`, stores its WM_TIMER in `message`
// (lparam 1 when the timer has a callback) and, with `remove`, sets its next
// due time. Lock held.
bool TakeDueTimer(Registry& registry, ThreadId thread, Clock::time_point now, bool remove,
                  Message& message);

// The callback of the calling thread's timer that `window` (none: a thread
// timer) and `timer_id` name; empty when there is none. Lock held.
std::shared_ptr<const TimerCallback> FindTimerCallback(Registry& registry, WindowHandle window,
                                                       TimerId timer_id);

// The earliest due time among the timers of `thread`; max() when none.
Clock::time_point EarliestTimerDue(const Registry& registry, ThreadId thread);

}  // namespace tavi::platform::winsys_internal
