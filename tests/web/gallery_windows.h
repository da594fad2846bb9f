#pragma once

// The windows of the window gallery (window_gallery.cpp): every dialog
// template of the plug-in's resources as a modeless dialog, and a window of
// the gallery's own with a list view of many rows and one control of every
// kind the browser tests work (a menu bar, a message box, a popup menu,
// typing, the plug-in's splitter bar and information dialog, the shell, the
// save-file dialog).
// Each window's procedure only records what it hears, for the tests to read.

#include <mutex>
#include <string>
#include <vector>

#include "platform/winsys.h"

namespace tavi::testing {

// What the gallery's windows heard, oldest first. From any thread.
class GalleryLog {
 public:
  void Add(std::string line);
  // ["command 201 0", "box 6", ...] as a JSON array.
  std::string Json() const;

 private:
  mutable std::mutex lock_;
  std::vector<std::string> lines_;
};

// The gallery's own window's controls.
namespace gallery_ids {
inline constexpr int kRows = 100;
inline constexpr int kHostileLabel = 101;
inline constexpr int kMessageBoxButton = 102;
inline constexpr int kDigits = 103;
inline constexpr int kCheck = 104;
inline constexpr int kSplitter = 105;
inline constexpr int kOpenButton = 106;
inline constexpr int kAddress = 107;
inline constexpr int kTree = 108;
inline constexpr int kProgress = 109;
inline constexpr int kRichText = 110;
inline constexpr int kBrowser = 111;
inline constexpr int kSaveAsButton = 112;
inline constexpr int kSayHello = 201;
}  // namespace gallery_ids

// A label no feed should be able to turn into markup.
inline constexpr const char* kHostileText =
    "<img src=x onerror=\"window.__pwned='label'\"><script>window.__pwned='script'</script>";

// Creates and shows a modeless dialog for every dialog template of the
// plug-in, cascaded from the top-left corner, with sample rows in its lists
// and items in its trees; returns them in the order of their template ids.
std::vector<platform::WindowHandle> ShowTemplateDialogs(GalleryLog& log);

// Creates and shows the gallery's own window with `rows` rows; its Save As
// button opens the save-file dialog on `save_folder` and logs the choice.
platform::WindowHandle ShowRowsWindow(GalleryLog& log, int rows, const std::string& save_folder);

// Inserts a row with `text` at the top of the gallery window's list; the
// number of rows after it, -1 when the window is gone.
int InsertGalleryRow(platform::WindowHandle window, const std::string& text);

}  // namespace tavi::testing
