#include "plugin/plugin_window_context.h"

#include "plugin/about_box.h"

namespace tavi {

WindowContext WindowContextOf(const PluginPaths& paths) {
  WindowContext context;
  context.paths = CheckPathsOf(paths);
  context.feed_file = paths.FeedFile;
  context.product_name = paths.ProductName;
  context.about_caption = AboutCaption(paths);
  context.about_text = AboutText(paths);
  context.help_file = paths.HelpFile;
  return context;
}

}  // namespace tavi
