#include "platform/save_file_dialog.h"

#include "platform/fs.h"
#include "platform/save_file_dialog_template.h"
#include "platform/save_file_names.h"
#include "platform/winsys_dialog.h"
#include "platform/winsys_drop_down.h"
#include "platform/winsys_focus.h"
#include "platform/winsys_list_view.h"

namespace tavi::platform {
namespace {

using namespace save_file_dialog;

constexpr const char* kDefaultCaption = "Save As";
// Wide enough for the list's one column to fill it (266 dialog units).
constexpr int kNameColumnWidth = 380;

// What the dialog keeps while it runs: the request, the folder shown, what
// it lists, and the person's choice once made.
struct SaveFileSession {
  const SaveFileRequest& request;
  std::string caption;
  std::vector<FileType> types;
  int type = 0;  // index into `types`
  std::string folder{};
  FolderListing listing{};
  std::optional<SaveFileChoice> choice{};
};

const FileType* ChosenType(const SaveFileSession& session) {
  if (session.types.empty()) return nullptr;
  return &session.types[session.type];
}

bool IsFolderRow(const SaveFileSession& session, int row) {
  return row >= 0 && row < static_cast<int>(session.listing.folders.size());
}

// Lists the folder shown, its subfolders first as "[name]".
void FillFileList(WindowHandle dialog, SaveFileSession& session) {
  session.listing = ListFolder(session.folder, ChosenType(session));
  const WindowHandle list = GetDlgItem(dialog, kFileList);
  DeleteAllListViewRows(list);
  int row = 0;
  for (const std::string& folder : session.listing.folders)
    InsertListViewRow(list, row++, {{"[" + folder + "]"}});
  for (const std::string& file : session.listing.files) InsertListViewRow(list, row++, {{file}});
}

// The folder's path changes last, so that whoever sees it sees the folder's
// contents too.
void ShowFolder(WindowHandle dialog, SaveFileSession& session, const std::string& folder) {
  session.folder = folder;
  FillFileList(dialog, session);
  EnableWindow(GetDlgItem(dialog, kUpButton), folder != ParentFolderPath(folder));
  SetDlgItemText(dialog, kFolderPath, folder);
}

void FillFileTypes(WindowHandle dialog, SaveFileSession& session) {
  const WindowHandle types = GetDlgItem(dialog, kFileType);
  for (const FileType& type : session.types) AddDropDownItem(types, type.description);
  const int wanted = session.request.filter_index - 1;
  session.type = wanted >= 0 && wanted < static_cast<int>(session.types.size()) ? wanted : 0;
  if (!session.types.empty()) SetDropDownSelection(types, session.type);
}

// Fills the dialog from the request and gives the name field the focus.
void StartDialog(WindowHandle dialog, SaveFileSession& session) {
  InsertListViewColumn(GetDlgItem(dialog, kFileList), 0, {"Name", kNameColumnWidth});
  FillFileTypes(dialog, session);
  ShowFolder(dialog, session, AbsoluteFolderPath(session.request.initial_folder));
  SetDlgItemText(dialog, kFileName, session.request.file_name);
  SetFocus(GetDlgItem(dialog, kFileName));
}

// Asks before an existing file is replaced, when the request wants it.
bool MayReplace(WindowHandle dialog, const SaveFileSession& session, const std::string& path) {
  if (!session.request.confirm_overwrite || !GetFileAttributes(path)) return true;
  const std::string name = path.substr(path.rfind(kPathSeparator) + 1);
  return MessageBox(dialog, name + " already exists.\nDo you want to replace it?", session.caption,
                    MB_YESNO | MB_ICONWARNING) == IDYES;
}

// Save (or Enter): does what the typed name asks for.
void SaveTypedName(WindowHandle dialog, SaveFileSession& session, const std::string& typed) {
  const SaveNameResolution resolution =
      ResolveSaveName(session.folder, typed, session.request.default_extension);
  switch (resolution.action) {
    case SaveNameAction::kNothing:
      return;
    case SaveNameAction::kEnterFolder:
      SetDlgItemText(dialog, kFileName, "");
      ShowFolder(dialog, session, resolution.path);
      return;
    case SaveNameAction::kMissingFolder:
      MessageBox(dialog,
                 resolution.path + "\nThe folder does not exist.\nCheck the name and try again.",
                 session.caption, MB_OK | MB_ICONWARNING);
      return;
    case SaveNameAction::kSave:
      if (!MayReplace(dialog, session, resolution.path)) return;
      session.choice = SaveFileChoice{resolution.path, session.type + 1};
      EndDialog(dialog, IDOK);
      return;
  }
}

void ChooseType(WindowHandle dialog, SaveFileSession& session) {
  const int chosen = GetDropDownSelection(GetDlgItem(dialog, kFileType));
  if (chosen < 0) return;
  session.type = chosen;
  FillFileList(dialog, session);
}

void OnCommand(WindowHandle dialog, SaveFileSession& session, int id, int code) {
  switch (id) {
    case IDOK:
      SaveTypedName(dialog, session, GetDlgItemText(dialog, kFileName));
      return;
    case IDCANCEL:
      EndDialog(dialog, IDCANCEL);
      return;
    case kUpButton:
      ShowFolder(dialog, session, ParentFolderPath(session.folder));
      return;
    case kFileType:
      if (code == CBN_SELCHANGE) ChooseType(dialog, session);
      return;
  }
}

// A file picked in the list goes into the name field; a folder opened
// (double click, Enter) is entered, and a file opened is saved.
void OnFileListNotify(WindowHandle dialog, SaveFileSession& session, const ListViewNotify& notify) {
  const int row = notify.row;
  const bool file = row >= 0 && !IsFolderRow(session, row);
  const auto file_name = [&] {
    return session.listing.files[row - session.listing.folders.size()];
  };
  const int code = notify.header.code;
  if (code == LVN_ITEMCHANGED && file && (notify.new_state & ~notify.old_state & LVIS_SELECTED)) {
    SetDlgItemText(dialog, kFileName, file_name());
  } else if ((code == NM_DBLCLK || code == NM_RETURN) && IsFolderRow(session, row)) {
    SaveTypedName(dialog, session, session.listing.folders[row]);
  } else if (code == NM_DBLCLK && file) {
    SaveTypedName(dialog, session, file_name());
  } else if (code == NM_RETURN) {
    SaveTypedName(dialog, session, GetDlgItemText(dialog, kFileName));
  }
}

std::optional<LResult> SaveFileProcedure(SaveFileSession& session, WindowHandle dialog,
                                         MessageId message, WParam wparam, LParam lparam) {
  switch (message) {
    case WM_INITDIALOG:
      StartDialog(dialog, session);
      return 0;
    case WM_COMMAND:
      OnCommand(dialog, session, LowWord(wparam), HighWord(wparam));
      return 0;
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NotifyHeader*>(lparam);
      if (header->id != kFileList) return std::nullopt;
      OnFileListNotify(dialog, session, *reinterpret_cast<const ListViewNotify*>(lparam));
      return 0;
    }
  }
  return std::nullopt;
}

}  // namespace

std::optional<SaveFileChoice> GetSaveFileName(const SaveFileRequest& request) {
  if (request.owner && !IsWindow(request.owner)) return std::nullopt;
  SaveFileSession session{.request = request,
                          .caption = request.title.empty() ? kDefaultCaption : request.title,
                          .types = ParseFileFilter(request.filter)};
  const auto procedure = [&session](WindowHandle dialog, MessageId message, WParam wparam,
                                    LParam lparam) {
    return SaveFileProcedure(session, dialog, message, wparam, lparam);
  };
  const int result = DialogBox(Template(session.caption), request.owner, procedure, 0);
  if (result != IDOK) return std::nullopt;
  return session.choice;
}

}  // namespace tavi::platform
