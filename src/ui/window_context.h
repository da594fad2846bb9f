#pragma once

// What Tavi's windows know of the plug-in and of the host: the files a check
// run uses, the product's name and the texts of its About box, and where the
// help pages are. The plug-in fills it from its own record when it opens a
// window; a window only reads it.

#include <string>

#include "engine/check_engine.h"

namespace tavi {

struct WindowContext {
  CheckPaths paths;  // settings file, data folder, In mailbox, config folder, document area
  std::string out_mailbox_file;             // the host's Out mailbox
  platform::WindowHandle host_main_window;  // the host's main window; none when not found
  std::string feed_file;                    // where a download puts one feed's document
  std::string product_name;                 // captions and reports
  std::string about_caption;                // the About box, as the plug-in's settings show it
  std::string about_text;
  std::string help_file;  // the help pages shipped beside the module
  // The release notes beside the settings file ("tavi.txt"); the article
  // viewer opens them when they are there.
  std::string release_notes_file;
};

}  // namespace tavi
