#include "res/resource_tables.h"

#include "res/icon_drawing.h"
#include "res/icon_parts.h"
#include "res/mailboxes_dialog_ids.h"

namespace tavi::res::mailboxes_dialog {
namespace {

using namespace icon_parts;

// The mailbox tree's images, 16 by 16.
std::vector<IconDrawing> Drawings() {
  return {
      // A cabinet: the mail data folder.
      {kRootIcon,
       16,
       {R"(<rect x="1.5" y="1.5" width="13" height="13" rx="1.5" fill="#E9EEF3")"
        R"( stroke="#3B4754"/>)"
        R"(<path d="M1.5 8h13" stroke="#3B4754"/>)"
        R"(<path d="M6 4.5h4M6 11h4" stroke="#3B4754" stroke-width="1.5")"
        R"( stroke-linecap="round"/>)"}},
      // A tray holding a letter.
      {kMailboxIcon,
       16,
       {kSmallTrayBack,
        R"(<rect x="4.5" y="4.5" width="7" height="5" fill="#fff" stroke="#2F6DB5"/>)"
        R"(<path d="M4.5 4.5l3.5 3 3.5-3" fill="none" stroke="#2F6DB5"/>)",
        kSmallTrayFront}},
      // A closed yellow folder.
      {kClosedFolderIcon,
       16,
       {R"(<path d="M1.5 3.5h4.5l1.5 1.5h7v8.5h-13z" fill="#F1C24B" stroke="#B98C1C")"
        R"( stroke-linejoin="round"/>)"}},
      // An open yellow folder.
      {kOpenFolderIcon,
       16,
       {R"(<path d="M1.5 13.5v-10h4.5l1.5 1.5h5.5v2.5" fill="#F1C24B" stroke="#B98C1C")"
        R"( stroke-linejoin="round"/>)"
        R"(<path d="M1.5 13.5l2.5-6h11.5l-2.5 6z" fill="#F8DB8A" stroke="#B98C1C")"
        R"( stroke-linejoin="round"/>)"}},
  };
}

}  // namespace

std::span<const platform::IconImage> Icons() {
  static const IconTable table(Drawings());
  return table.Images();
}

}  // namespace tavi::res::mailboxes_dialog
