#include "platform/save_file_dialog.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/fs.h"
#include "platform/save_file_dialog_template.h"
#include "platform/winsys_dialog.h"
#include "platform/winsys_drop_down.h"
#include "platform/winsys_focus.h"
#include "platform/winsys_input.h"
#include "platform/winsys_list_view.h"
#include "platform/winsys_test_support.h"
#include "support/dialog_person.h"
#include "support/temp_dir.h"

namespace tavi::platform {
namespace {

using namespace save_file_dialog;

constexpr const char* kArticleFilter =
    "News File (*.nws)|*.nws|E-Mail File (*.eml)|*.eml|Any File Type (*.*)|*.*|";

// A folder with a subfolder "Older", two news files, a mail file and a
// hidden file.
class SaveFileDialogTest : public testing::WinsysTest {
 protected:
  void SetUp() override {
    ASSERT_TRUE(CreateFolder(folder_.Join("Older")));
    for (const char* name : {"b.NWS", "a.nws", "c.eml", ".hidden.nws"})
      testing::WriteFile(folder_.Join(name), "x");
  }
  void TearDown() override {
    SetMessageBoxHandler({});
    ClearShownMessageBoxes();
    WinsysTest::TearDown();
  }

  SaveFileRequest Request() const {
    SaveFileRequest request;
    request.filter = kArticleFilter;
    request.initial_folder = folder_.path();
    return request;
  }

  // The list's rows as shown.
  static std::vector<std::string> Rows(WindowHandle dialog) {
    const WindowHandle list = GetDlgItem(dialog, kFileList);
    std::vector<std::string> rows;
    for (int row = 0; row < GetListViewRowCount(list); ++row)
      rows.push_back(GetListViewText(list, row, 0));
    return rows;
  }

  // Types `name` and presses Save.
  static void SaveAs(WindowHandle dialog, const std::string& name) {
    InjectText(GetDlgItem(dialog, kFileName), name);
    InjectClick(GetDlgItem(dialog, IDOK));
  }

  // Answers every message box with `answer`, keeping what they said.
  void AnswerBoxes(int answer) {
    SetMessageBoxHandler([this, answer](const MessageBoxRequest& box) {
      boxes_.push_back(box.caption + ": " + box.text);
      return answer;
    });
  }

  testing::TempDir folder_;
  std::vector<std::string> boxes_;
};

TEST_F(SaveFileDialogTest, ShowsTheFolderAndSavesATypedNameWithTheDefaultExtension) {
  const WindowHandle owner = MakeWindow("EudoraMainWindow", "Eudora");
  SaveFileRequest request = Request();
  request.owner = owner;
  request.filter_index = 1;
  request.default_extension = "nws";
  request.file_name = "Suggested";
  std::string caption, shown_folder, shown_name, type;
  std::vector<std::string> rows;
  bool owner_enabled = true, name_focused = false;
  testing::DialogPerson person([&](WindowHandle dialog) {
    caption = GetWindowText(dialog);
    shown_folder = GetDlgItemText(dialog, kFolderPath);
    shown_name = GetDlgItemText(dialog, kFileName);
    type = GetDropDownItemText(GetDlgItem(dialog, kFileType),
                               GetDropDownSelection(GetDlgItem(dialog, kFileType)));
    rows = Rows(dialog);
    owner_enabled = IsWindowEnabled(owner);
    name_focused = GetThreadFocus(GetWindowThreadId(dialog)) == GetDlgItem(dialog, kFileName);
    SaveAs(dialog, "Article");
  });

  const std::optional<SaveFileChoice> choice = GetSaveFileName(request);

  ASSERT_TRUE(choice);
  EXPECT_EQ(choice->path, folder_.Join("Article.nws"));
  EXPECT_EQ(choice->filter_index, 1);
  EXPECT_EQ(caption, "Save As");
  EXPECT_EQ(shown_folder, folder_.path());
  EXPECT_EQ(shown_name, "Suggested");
  EXPECT_EQ(type, "News File (*.nws)");
  // Folders first; the type's files in any case, in order; no hidden files.
  EXPECT_EQ(rows, (std::vector<std::string>{"[Older]", "a.nws", "b.NWS"}));
  EXPECT_FALSE(owner_enabled) << "the owner takes no input while the dialog runs";
  EXPECT_TRUE(name_focused);
  EXPECT_TRUE(IsWindowEnabled(owner));
  EXPECT_FALSE(FindWindow(kDialogClass, "Save As")) << "the dialog is gone";
}

TEST_F(SaveFileDialogTest, ANameWithAnExtensionOrAFolderOfItsOwnIsTakenAsTyped) {
  ASSERT_TRUE(CreateFolder(folder_.Join("Older/Deeper")));
  struct Case {
    std::string typed;
    std::string path;
  };
  const Case cases[] = {
      {"Article.txt", folder_.Join("Article.txt")},
      {"Older/Deeper/Article", folder_.Join("Older/Deeper/Article.eml")},
      {folder_.Join("Older/./x"), folder_.Join("Older/x.eml")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    SaveFileRequest request = Request();
    request.default_extension = ".eml";
    testing::DialogPerson person([&](WindowHandle dialog) { SaveAs(dialog, c.typed); });
    const std::optional<SaveFileChoice> choice = GetSaveFileName(request);
    ASSERT_TRUE(choice);
    EXPECT_EQ(choice->path, c.path);
  }
}

TEST_F(SaveFileDialogTest, FoldersAreEnteredByDoubleClickByNameByDotDotAndLeftWithUp) {
  testing::WriteFile(folder_.Join("Older/old.nws"), "x");
  std::vector<std::vector<std::string>> seen;
  std::string name_after_entering;
  testing::DialogPerson person([&](WindowHandle dialog) {
    const auto shows = [&](const std::string& folder) {
      person.WaitForDialog(
          [&](WindowHandle shown) { return GetDlgItemText(shown, kFolderPath) == folder; });
      seen.push_back(Rows(dialog));
    };
    InjectListViewClick(GetDlgItem(dialog, kFileList), 0, ClickKind::kDouble);
    shows(folder_.Join("Older"));
    SaveAs(dialog, "..");
    shows(folder_.path());
    SaveAs(dialog, "Older");
    shows(folder_.Join("Older"));
    name_after_entering = GetDlgItemText(dialog, kFileName);
    InjectClick(GetDlgItem(dialog, kUpButton));
    shows(folder_.path());
    InjectClick(GetDlgItem(dialog, IDCANCEL));
  });

  EXPECT_FALSE(GetSaveFileName(Request()));

  const std::vector<std::string> top{"[Older]", "a.nws", "b.NWS"};
  const std::vector<std::string> older{"old.nws"};
  EXPECT_EQ(seen, (std::vector<std::vector<std::string>>{older, top, older, top}));
  EXPECT_EQ(name_after_entering, "") << "a folder's name does not stay as the file's";
}

TEST_F(SaveFileDialogTest, ChoosingATypeListsItsFilesAndIsReturnedWithThePath) {
  std::vector<std::vector<std::string>> seen;
  std::string clicked_name;
  testing::DialogPerson person([&](WindowHandle dialog) {
    const WindowHandle types = GetDlgItem(dialog, kFileType);
    const auto lists = [&](std::size_t rows) {
      person.WaitForDialog([&](WindowHandle shown) { return Rows(shown).size() == rows; });
      seen.push_back(Rows(dialog));
    };
    InjectDropDownSelection(types, 1);
    lists(2);
    InjectDropDownSelection(types, 2);
    lists(4);
    // A file picked in the list becomes the name saved.
    InjectListViewClick(GetDlgItem(dialog, kFileList), 3, ClickKind::kLeft);
    person.WaitForDialog([&](WindowHandle shown) {
      clicked_name = GetDlgItemText(shown, kFileName);
      return !clicked_name.empty();
    });
    InjectClick(GetDlgItem(dialog, IDOK));
  });

  const std::optional<SaveFileChoice> choice = GetSaveFileName(Request());

  EXPECT_EQ(seen, (std::vector<std::vector<std::string>>{
                      {"[Older]", "c.eml"}, {"[Older]", "a.nws", "b.NWS", "c.eml"}}))
      << "seen by the person";
  ASSERT_TRUE(choice);
  EXPECT_EQ(clicked_name, "c.eml");
  EXPECT_EQ(choice->path, folder_.Join("c.eml"));
  EXPECT_EQ(choice->filter_index, 3);
}

TEST_F(SaveFileDialogTest, AnExistingFileIsReplacedOnlyWhenThePersonSaysYes) {
  struct Case {
    int answer;
    bool saved;
  };
  for (const Case c : {Case{IDYES, true}, Case{IDNO, false}}) {
    SCOPED_TRACE(c.answer);
    boxes_.clear();
    AnswerBoxes(c.answer);
    SaveFileRequest request = Request();
    request.title = "Save Article As...";
    request.confirm_overwrite = true;
    testing::DialogPerson person([&](WindowHandle dialog) {
      SaveAs(dialog, "a.nws");
      // Reaches a dialog still open only after No.
      InjectClick(GetDlgItem(dialog, IDCANCEL));
    });

    const std::optional<SaveFileChoice> choice = GetSaveFileName(request);

    EXPECT_EQ(choice.has_value(), c.saved);
    if (choice) {
      EXPECT_EQ(choice->path, folder_.Join("a.nws"));
    }
    EXPECT_EQ(boxes_,
              (std::vector<std::string>{
                  "Save Article As...: a.nws already exists.\nDo you want to replace it?"}));
  }
}

TEST_F(SaveFileDialogTest, WithoutConfirmationAnExistingFileIsChosenWithoutAsking) {
  AnswerBoxes(IDNO);
  testing::DialogPerson person([&](WindowHandle dialog) { SaveAs(dialog, "a.nws"); });

  const std::optional<SaveFileChoice> choice = GetSaveFileName(Request());

  ASSERT_TRUE(choice);
  EXPECT_EQ(choice->path, folder_.Join("a.nws"));
  EXPECT_TRUE(boxes_.empty());
}

TEST_F(SaveFileDialogTest, AnEmptyNameDoesNothingAndAMissingFolderIsToldAndTheDialogStays) {
  AnswerBoxes(IDOK);
  testing::DialogPerson person([&](WindowHandle dialog) {
    SaveAs(dialog, "");
    SaveAs(dialog, "   ");
    SaveAs(dialog, "Nowhere/a.nws");
    InjectKeyPress(dialog, virtual_key::kEscape);
  });

  EXPECT_FALSE(GetSaveFileName(Request()));

  EXPECT_EQ(boxes_, (std::vector<std::string>{"Save As: " + folder_.Join("Nowhere") +
                                              "\nThe folder does not exist.\nCheck the name and "
                                              "try again."}));
}

TEST_F(SaveFileDialogTest, CancelTheCloseBoxAndAStaleOwnerGiveNoChoice) {
  for (const bool close_box : {false, true}) {
    SCOPED_TRACE(close_box ? "close box" : "Cancel");
    testing::DialogPerson person([&](WindowHandle dialog) {
      InjectText(GetDlgItem(dialog, kFileName), "typed.nws");
      if (close_box) {
        InjectSystemCommand(dialog, SC_CLOSE);
      } else {
        InjectClick(GetDlgItem(dialog, IDCANCEL));
      }
    });
    EXPECT_FALSE(GetSaveFileName(Request()));
    EXPECT_TRUE(person.Acted());
  }

  const WindowHandle gone = MakeWindow("EudoraMainWindow", "Eudora");
  DestroyWindow(gone);
  SaveFileRequest request = Request();
  request.owner = gone;
  EXPECT_FALSE(GetSaveFileName(request));
}

}  // namespace
}  // namespace tavi::platform
