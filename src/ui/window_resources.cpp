#include "ui/window_resources.h"

#include "platform/module_resources.h"
#include "res/cursors.h"
#include "res/resources.h"

namespace tavi {

void RegisterWindowResources() {
  platform::RegisterIconImages(res::AllIcons());
  for (const res::CursorResource& cursor :
       {res::kSplitterCursor, res::kBusyCursor, res::kDownloadActivityCursor,
        res::kImportActivityCursor})
    platform::RegisterCursor(cursor.id, cursor.css_cursor);
}

}  // namespace tavi
