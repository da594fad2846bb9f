#pragma once

// What the gallery's window files share (gallery_windows.cpp and
// gallery_rows_window.cpp).

#include "gallery_windows.h"
#include "platform/winsys_dialog.h"

namespace tavi::testing {

// A list's columns, images and `rows` sample rows.
void FillList(platform::WindowHandle list, int rows);
// A tree's images and sample items, two levels deep.
void FillTree(platform::WindowHandle tree);
// A plain dialog procedure: records the commands and notifications the
// dialog hears (clicks, double clicks, right clicks, column clicks,
// expansions, drop-downs) in `log`.
platform::DialogProcedure RecordingProcedure(GalleryLog& log);

}  // namespace tavi::testing
