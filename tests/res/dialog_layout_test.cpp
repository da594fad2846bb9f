#include <gtest/gtest.h>

#include <cctype>
#include <set>
#include <string>

#include "res/resources.h"

// What a person expects of every dialog whatever its content: controls inside
// the dialog and clear of each other, one meaning per access key, each
// label's key leading to its field, and the keyboard reaching every control
// that takes input.

namespace tavi::res {
namespace {

using platform::ControlKind;
using platform::ControlTemplate;
using platform::DialogTemplate;
using platform::UnitRect;
namespace control = platform::control_style;

constexpr int kDialogIds[] = {101, 102, 103, 106, 112, 114, 124, 125};

bool Overlap(const UnitRect& a, const UnitRect& b) {
  return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height && b.y < a.y + a.height;
}

bool Contains(const UnitRect& outer, const UnitRect& inner) {
  return inner.x >= outer.x && inner.y >= outer.y &&
         inner.x + inner.width <= outer.x + outer.width &&
         inner.y + inner.height <= outer.y + outer.height;
}

bool Hidden(const ControlTemplate& control) { return (control.style & control::kHidden) != 0; }

// The character after the '&' that marks a text's access key, lower-cased;
// 0 when the text has none.
char AccessKey(const std::string& text) {
  const std::size_t mark = text.find('&');
  if (mark == std::string::npos || mark + 1 == text.size()) return 0;
  return static_cast<char>(std::tolower(static_cast<unsigned char>(text[mark + 1])));
}

bool TakesInput(ControlKind kind) {
  switch (kind) {
    case ControlKind::kButton:
    case ControlKind::kCheckBox:
    case ControlKind::kEdit:
    case ControlKind::kListView:
    case ControlKind::kTreeView:
    case ControlKind::kBrowser:
    case ControlKind::kRichText:
    case ControlKind::kToolbar:
    case ControlKind::kDropDownList:
      return true;
    case ControlKind::kLabel:
    case ControlKind::kIcon:
    case ControlKind::kGroupBox:
    case ControlKind::kProgressBar:
      return false;
  }
  return false;
}

// Runs `check` on every dialog, traced with its id.
template <typename Check>
void ForEachDialog(Check check) {
  for (const int id : kDialogIds) {
    SCOPED_TRACE("dialog " + std::to_string(id));
    const DialogTemplate* dialog = FindDialog(id);
    ASSERT_NE(dialog, nullptr);
    check(*dialog);
  }
}

TEST(DialogLayout, EveryControlLiesInsideItsDialog) {
  ForEachDialog([](const DialogTemplate& dialog) {
    const UnitRect client{0, 0, dialog.rect.width, dialog.rect.height};
    for (const ControlTemplate& control : dialog.controls) {
      EXPECT_TRUE(Contains(client, control.rect)) << control.id << " " << control.text;
      EXPECT_GT(control.rect.width, 0);
      EXPECT_GT(control.rect.height, 0);
    }
  });
}

// A group box may surround controls, wholly; a hidden control may lie under
// the one that takes its place.
TEST(DialogLayout, NoTwoShownControlsOverlapAndGroupBoxesHoldTheirMembersWhole) {
  ForEachDialog([](const DialogTemplate& dialog) {
    for (std::size_t i = 0; i < dialog.controls.size(); ++i) {
      for (std::size_t j = i + 1; j < dialog.controls.size(); ++j) {
        const ControlTemplate& a = dialog.controls[i];
        const ControlTemplate& b = dialog.controls[j];
        SCOPED_TRACE(a.text + "/" + std::to_string(a.id) + " and " + b.text + "/" +
                     std::to_string(b.id));
        if (!Overlap(a.rect, b.rect) || Hidden(a) || Hidden(b)) continue;
        const bool grouped = (a.kind == ControlKind::kGroupBox && Contains(a.rect, b.rect)) ||
                             (b.kind == ControlKind::kGroupBox && Contains(b.rect, a.rect));
        EXPECT_TRUE(grouped);
      }
    }
  });
}

TEST(DialogLayout, NoTwoControlsOfADialogShareAnId) {
  ForEachDialog([](const DialogTemplate& dialog) {
    std::set<int> seen;
    for (const ControlTemplate& control : dialog.controls) {
      if (control.id == -1) continue;
      EXPECT_TRUE(seen.insert(control.id).second) << control.id;
    }
  });
}

TEST(DialogLayout, EachAccessKeyMeansOneControl) {
  ForEachDialog([](const DialogTemplate& dialog) {
    std::set<char> seen;
    for (const ControlTemplate& control : dialog.controls) {
      const char key = AccessKey(control.text);
      if (key != 0) {
        EXPECT_TRUE(seen.insert(key).second) << control.text;
      }
    }
  });
}

// A label's access key moves the focus to the control after it, so that
// control must be the field the label names.
TEST(DialogLayout, ALabelsAccessKeyLeadsToTheFieldThatFollowsIt) {
  ForEachDialog([](const DialogTemplate& dialog) {
    for (std::size_t i = 0; i < dialog.controls.size(); ++i) {
      const ControlTemplate& label = dialog.controls[i];
      const bool names_a_field =
          label.kind == ControlKind::kLabel || label.kind == ControlKind::kGroupBox;
      if (!names_a_field || AccessKey(label.text) == 0) continue;
      SCOPED_TRACE(label.text);
      ASSERT_LT(i + 1, dialog.controls.size());
      // The newsbox button of Feed Properties is such a field: it shows the
      // choice and changes it.
      EXPECT_TRUE(TakesInput(dialog.controls[i + 1].kind));
    }
  });
}

TEST(DialogLayout, TheKeyboardReachesExactlyTheControlsThatTakeInput) {
  ForEachDialog([](const DialogTemplate& dialog) {
    for (const ControlTemplate& control : dialog.controls) {
      SCOPED_TRACE(std::to_string(control.id) + " " + control.text);
      EXPECT_EQ((control.style & control::kTabStop) != 0, TakesInput(control.kind));
    }
  });
}

}  // namespace
}  // namespace tavi::res
