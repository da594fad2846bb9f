#include "res/resources.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "res/about_box_ids.h"

// Each window's template against the windows' own description: every control
// with its kind, id, text and style, and nothing else. The ids and texts are
// written out here rather than taken from the headers, so a wrong constant
// fails as surely as a wrong template.

namespace tavi::res {
namespace {

using platform::ControlKind;
using platform::ControlTemplate;
using platform::DialogTemplate;
namespace control = platform::control_style;
namespace dialog = platform::dialog_style;

struct ExpectedControl {
  ControlKind kind;
  int id;  // -1: found by its text
  std::string text;
  std::uint32_t style = 0;  // every bit but kTabStop, which the layout decides
  int icon_id = 0;
};

const ControlTemplate* FindControl(const DialogTemplate& dialog, const ExpectedControl& expected) {
  for (const ControlTemplate& control : dialog.controls) {
    if (expected.id != -1 ? control.id == expected.id
                          : control.id == -1 && control.text == expected.text)
      return &control;
  }
  return nullptr;
}

// The dialog `id` holds exactly the `expected` controls.
void ExpectControls(int id, const std::vector<ExpectedControl>& expected) {
  const DialogTemplate* dialog = FindDialog(id);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(dialog->controls.size(), expected.size()) << "controls the window knows nothing of";
  for (const ExpectedControl& row : expected) {
    SCOPED_TRACE(std::to_string(row.id) + " " + row.text);
    const ControlTemplate* control = FindControl(*dialog, row);
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(control->kind, row.kind);
    EXPECT_EQ(control->text, row.text);
    EXPECT_EQ(control->style & ~control::kTabStop, row.style);
    EXPECT_EQ(control->icon_id, row.icon_id);
  }
}

// The dialog's own attributes; kCentered is the layout's choice and not
// compared.
void ExpectDialog(int id, const std::string& caption, const std::string& class_name,
                  const std::string& font_name, std::uint32_t style) {
  const DialogTemplate* dialog = FindDialog(id);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(dialog->id, id);
  EXPECT_EQ(dialog->caption, caption);
  EXPECT_EQ(dialog->class_name, class_name);
  EXPECT_EQ(dialog->font_name, font_name);
  EXPECT_EQ(dialog->style & ~dialog::kCentered, style);
}

TEST(MainWindowTemplate, AWindowOfItsOwnClassWithoutACloseBox) {
  ExpectDialog(101, "Tavi", "TaviAggregatorMainWindow", "Tahoma", dialog::kCaption);
  ExpectControls(101, {
                          {ControlKind::kLabel, 1023, "News&boxes:"},
                          {ControlKind::kListView, 1020, "",
                           control::kSingleSelection | control::kShowSelectionAlways |
                               control::kNoColumnHeader},
                          {ControlKind::kGroupBox, 1026, "&Feeds"},
                          // Several feeds download at once.
                          {ControlKind::kListView, 1001, "",
                           control::kShowSelectionAlways | control::kNoColumnHeader},
                          {ControlKind::kIcon, 1054, "", 0, 1054},
                          {ControlKind::kLabel, 1049, "", control::kNoPrefix},
                          {ControlKind::kButton, 1003, "&Add"},
                          {ControlKind::kButton, 1004, "&Edit"},
                          {ControlKind::kButton, 1007, "&Delete"},
                          {ControlKind::kIcon, 1045, "", 0, 1002},
                          {ControlKind::kButton, 1011, "D&ownload", control::kDefaultButton},
                          {ControlKind::kProgressBar, 1017, ""},
                          {ControlKind::kButton, 1065, "&Stop"},
                          {ControlKind::kButton, 1067, "&Newsboard"},
                          {ControlKind::kLabel, 1030, "", control::kNoPrefix},
                          {ControlKind::kLabel, 1028, "", control::kNoPrefix},
                          {ControlKind::kButton, 1066, "&Help"},
                          {ControlKind::kButton, 1014, "&Close"},
                      });
}

TEST(AboutBoxTemplate, ATextBesideThePictureCloseAndThePagesButtons) {
  const DialogTemplate* about = FindDialog(102);
  ASSERT_NE(about, nullptr);
  // The box composes "About " and the product name; the template's stand-in
  // must not pass for a product name of its own.
  EXPECT_EQ(about->caption, "About");
  ExpectControls(102, {
                          {ControlKind::kIcon, about_box::kProductPicture, "", 0, 1000},
                          {ControlKind::kLabel, about_box::kAboutText, "", control::kNoPrefix},
                          {ControlKind::kButton, about_box::kHomePageButton, "&Home Page"},
                          {ControlKind::kButton, about_box::kReleaseNotesButton, "&Release Notes"},
                          {ControlKind::kButton, 1, "Close", control::kDefaultButton},
                      });
}

TEST(FeedPropertiesTemplate, FieldsOptionsAndButtonsWithoutADefault) {
  ExpectDialog(103, "Feed Properties", "", "Tahoma", dialog::kCaption);
  ExpectControls(103, {
                          {ControlKind::kLabel, -1, "&Alias (Friendly Name):"},
                          {ControlKind::kEdit, 1008, ""},
                          {ControlKind::kLabel, -1, "&URL:"},
                          {ControlKind::kEdit, 1006, ""},
                          {ControlKind::kButton, 1055, "&Validate", control::kFlat},
                          {ControlKind::kLabel, -1, "&Newsbox:"},
                          {ControlKind::kButton, 1052, "[No newsbox selected]",
                           control::kFlat | control::kPushLike},
                          // The dialog toggles its boxes itself: none is kAutoCheck.
                          {ControlKind::kCheckBox, 1039,
                           "&Download full/referring articles (if available/referred)."},
                          {ControlKind::kCheckBox, 1042, "Do&wnload only new articles."},
                          {ControlKind::kCheckBox, 1044, "Check for new articles every"},
                          {ControlKind::kEdit, 1048, "", control::kDigitsOnly},
                          {ControlKind::kLabel, -1, "&minutes."},
                          {ControlKind::kLabel, 1047, "", control::kCenter | control::kNoPrefix},
                          {ControlKind::kIcon, 1040, "", 0, 129},
                          {ControlKind::kButton, 1009, "&OK"},
                          {ControlKind::kButton, 1012, "&Cancel"},
                          {ControlKind::kButton, 1056, "&Help"},
                      });
}

TEST(InformationDialogTemplate, TenLinesBesideAPictureAtItsFixedSize) {
  const DialogTemplate* information = FindDialog(106);
  ASSERT_NE(information, nullptr);
  EXPECT_EQ(information->font_name, "Tahoma");
  EXPECT_EQ(information->rect.width, 267);
  EXPECT_EQ(information->rect.height, 116);
  ExpectControls(106, {
                          {ControlKind::kLabel, 1032, "", control::kNoPrefix},
                          {ControlKind::kIcon, 1033, "", 0, 1010},
                          {ControlKind::kButton, 1034, "&OK", control::kDefaultButton},
                          {ControlKind::kButton, 1035, "&Verify this Feed..."},
                      });
  // Ten lines of the dialog's font are 80 units.
  for (const ControlTemplate& control : information->controls) {
    if (control.id == 1032) {
      EXPECT_GE(control.rect.height, 80);
    }
  }
}

TEST(MailboxesTemplate, ATreeOfMailboxesAndSelectAsDefault) {
  ExpectDialog(112, "Mailboxes", "", "Tahoma", dialog::kCaption | dialog::kSystemMenu);
  ExpectControls(112, {
                          {ControlKind::kLabel, -1, "Please select the &mailbox for this feed"},
                          {ControlKind::kTreeView, 1051, "",
                           control::kHasButtons | control::kHasLines |
                               control::kShowSelectionAlways | control::kFullRowSelect},
                          {ControlKind::kButton, 1069, "&Select", control::kDefaultButton},
                          {ControlKind::kButton, 1072, "Create &New"},
                          {ControlKind::kButton, 1070, "&Cancel"},
                          {ControlKind::kButton, 1071, "&Help"},
                      });
}

TEST(NewMailboxTemplate, ANameAndOkAsDefault) {
  ExpectDialog(125, "New Mailbox", "", "Tahoma", dialog::kCaption | dialog::kSystemMenu);
  ExpectControls(125, {
                          {ControlKind::kLabel, -1, "Please specify the name for this new mailbox"},
                          {ControlKind::kEdit, 1077, ""},
                          {ControlKind::kButton, 1075, "&OK", control::kDefaultButton},
                          {ControlKind::kButton, 1076, "&Cancel"},
                      });
}

TEST(NewsBoardTemplate, AResizableWindowOfItsOwnClassWhoseToolbarComesAtRunTime) {
  ExpectDialog(114, "News Board", "NewsBoardWindow", "Tahoma",
               dialog::kCaption | dialog::kSystemMenu | dialog::kMinimizeBox |
                   dialog::kMaximizeBox | dialog::kResizable);
  EXPECT_EQ(FindDialog(114)->icon_id, 122);
  // No toolbar (59392) among the controls: the board creates it.
  ExpectControls(114, {
                          // Several headlines open or go at once.
                          {ControlKind::kListView, 1059, "",
                           control::kShowSelectionAlways | control::kFullRowSelect},
                          {ControlKind::kLabel, 1080, "", control::kNotify},
                          {ControlKind::kBrowser, 1081, ""},
                      });
}

TEST(ArticleViewerTemplate, ABrowserOverAHiddenRawTextPaneUnderItsMenuBar) {
  const DialogTemplate* viewer = FindDialog(124);
  ASSERT_NE(viewer, nullptr);
  EXPECT_EQ(viewer->font_name, "Courier New");
  EXPECT_EQ(viewer->menu_id, 215);
  EXPECT_EQ(viewer->icon_id, 1013);
  EXPECT_NE(viewer->style & dialog::kResizable, 0u);
  ExpectControls(124, {
                          {ControlKind::kBrowser, 1041, ""},
                          {ControlKind::kRichText, 1068, "", control::kHidden},
                      });
}

TEST(Dialogs, NoneForAnIdOfNoDialog) {
  for (const int id : {0, -1, 100, 104, 115, 228, 59392}) EXPECT_EQ(FindDialog(id), nullptr) << id;
}

}  // namespace
}  // namespace tavi::res
