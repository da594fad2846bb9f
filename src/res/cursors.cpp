#include "res/cursors.h"

namespace tavi::res {

const CursorResource* FindCursor(int id) {
  static constexpr const CursorResource* kCursors[] = {
      &kSplitterCursor, &kBusyCursor, &kDownloadActivityCursor, &kImportActivityCursor};
  for (const CursorResource* cursor : kCursors) {
    if (cursor->id == id) return cursor;
  }
  return nullptr;
}

}  // namespace tavi::res
