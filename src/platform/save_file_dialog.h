#pragma once

// The save-file common dialog: a modal dialog in which a person picks the
// folder and the name of a file to save. It shows the folder's path, its
// subfolders and the files that match the chosen file type, a file-name
// field, a "Save as type" drop-down list built from the filter, and Save and
// Cancel. Double-clicking a folder (or typing its name, or "..") enters it;
// a name without a folder is taken in the folder shown. With
// confirm_overwrite, an existing file is replaced only after a message box
// "NAME already exists.\nDo you want to replace it?" answered Yes.
//
// It is built from a template of the window system's own, like the system's
// dialog, so front ends draw it as any other dialog.

#include <optional>
#include <string>

#include "platform/winsys.h"

namespace tavi::platform {

struct SaveFileRequest {
  WindowHandle owner;  // disabled while the dialog runs; none: no owner
  std::string title;   // the caption; "" gives "Save As"
  // Pairs of a description and patterns, each followed by "|":
  // "News File (*.nws)|*.nws|Any File Type (*.*)|*.*|". Patterns are
  // separated by ";" and match file names without regard to case. "" shows
  // every file.
  std::string filter;
  int filter_index = 1;            // the type chosen at start, from 1
  std::string default_extension;   // added to a name without one ("" adds none)
  std::string initial_folder;      // "" : the current folder
  std::string file_name;           // the name shown at start
  bool confirm_overwrite = false;  // OFN_OVERWRITEPROMPT
  bool hide_read_only = false;     // OFN_HIDEREADONLY (no read-only box)
};

struct SaveFileChoice {
  std::string path;      // the full path of the file to save
  int filter_index = 1;  // the type chosen, from 1
};

// Runs the dialog on the calling thread until the person saves or cancels.
// nullopt when cancelled (Cancel, Escape, the close box) or when `owner` is
// stale.
std::optional<SaveFileChoice> GetSaveFileName(const SaveFileRequest& request);

}  // namespace tavi::platform
