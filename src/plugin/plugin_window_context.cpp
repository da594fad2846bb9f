#include "plugin/plugin_window_context.h"

#include "plugin/about_box.h"

namespace tavi {

WindowContext WindowContextOf(const PluginPaths& paths) {
  WindowContext context;
  context.paths = CheckPathsOf(paths);
  context.out_mailbox_file = paths.OutMailboxFile;
  context.host_main_window = paths.HostMainWindow;
  context.feed_file = paths.FeedFile;
  context.product_name = paths.ProductName;
  context.about_caption = AboutCaption(paths);
  context.about_text = AboutText(paths);
  context.help_file = paths.HelpFile;
  context.release_notes_file = ReleaseNotesFile(paths.SettingsFile);
  return context;
}

}  // namespace tavi
