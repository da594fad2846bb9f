#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "res/cursors.h"
#include "res/feed_properties_ids.h"
#include "res/mailboxes_dialog_ids.h"
#include "res/main_window_ids.h"
#include "res/news_board_ids.h"
#include "res/resources.h"

// Every icon the windows and the host are given, as an image a front end can
// draw, and the cursors a front end shows.

namespace tavi::res {
namespace {

// The value of attribute `name` in the document's first tag; "" when absent.
std::string RootAttribute(std::string_view svg, std::string_view name) {
  const std::string_view root = svg.substr(0, svg.find('>'));
  const std::string key = " " + std::string(name) + "=\"";
  const std::size_t start = root.find(key);
  if (start == std::string_view::npos) return "";
  const std::size_t value = start + key.size();
  return std::string(root.substr(value, root.find('"', value) - value));
}

// What is wrong with `svg` as a document of its own; "" when nothing is. It
// reads tags only: nothing but white space may stand between them, every
// tag's quotes pair up, and every element that opens closes in order.
std::string SvgProblem(std::string_view svg) {
  if (!svg.starts_with("<svg ")) return "does not start with <svg";
  if (!svg.ends_with("</svg>")) return "does not end with </svg>";
  if (RootAttribute(svg, "xmlns") != "http://www.w3.org/2000/svg") return "no SVG namespace";
  const std::string size = RootAttribute(svg, "width");
  if (size.empty() || RootAttribute(svg, "height") != size) return "not square";
  if (RootAttribute(svg, "viewBox").empty()) return "no viewBox";
  std::vector<std::string> open;
  for (std::size_t at = 0; at < svg.size();) {
    const std::size_t start = svg.find('<', at);
    if (svg.substr(at, start - at).find_first_not_of(" \n") != std::string_view::npos)
      return "text outside the tags";
    if (start == std::string_view::npos) break;
    const std::size_t end = svg.find('>', start);
    if (end == std::string_view::npos) return "an unended tag";
    const std::string_view tag = svg.substr(start + 1, end - start - 1);
    if (std::count(tag.begin(), tag.end(), '"') % 2 != 0) return "unpaired quotes";
    const std::string name(tag.substr(0, tag.find_first_of(" /")));
    if (tag.starts_with("/")) {
      if (open.empty() || "/" + open.back() != tag)
        return "<" + std::string(tag) + "> out of order";
      open.pop_back();
    } else if (!tag.ends_with("/")) {
      open.push_back(name);
    }
    at = end + 1;
  }
  return open.empty() ? "" : "<" + open.back() + "> unclosed";
}

TEST(SvgCheck, RefusesBrokenDocuments) {
  const std::string head = R"(<svg xmlns="http://www.w3.org/2000/svg" width="16" height="16" )"
                           R"(viewBox="0 0 16 16">)";
  EXPECT_EQ(SvgProblem(head + "<g><path d=\"M0 0h1\"/></g></svg>"), "");
  const struct {
    std::string svg;
    std::string problem;
  } rows[] = {
      {"<svg/>", "does not start with <svg"},
      {head, "does not end with </svg>"},
      {head + "<g></svg>", "</svg> out of order"},
      {head + "</g></svg>", "</g> out of order"},
      {head + "<g><g/></svg>", "</svg> out of order"},
      {head + "<path d=\"M0 0/></svg>", "unpaired quotes"},
      {head + "oops</svg>", "text outside the tags"},
      {R"(<svg xmlns="http://www.w3.org/2000/svg" width="16" height="32" viewBox="0 0 16 16">)"
       "</svg>",
       "not square"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.svg);
    EXPECT_EQ(SvgProblem(row.svg), row.problem);
  }
}

TEST(Icons, EveryImageIsAWellFormedSvgDocumentOfItsOwn) {
  std::set<std::string_view> drawings;
  for (const platform::IconImage& icon : AllIcons()) {
    SCOPED_TRACE(icon.id);
    EXPECT_EQ(SvgProblem(icon.svg), "");
    // Two ids with one drawing would show the user no difference.
    EXPECT_TRUE(drawings.insert(icon.svg).second);
  }
}

// List and tree images are 16 by 16 pixels; toolbar, window and dialog
// pictures 32 by 32.
TEST(Icons, EveryIconTheWindowsNameHasAnImageOfItsSize) {
  const struct {
    int size;
    std::vector<int> ids;
  } groups[] = {
      // The Feeds and Newsboxes lists, the mailbox tree, the headline rows,
      // and the translator's menu image.
      {16,
       {123, 120, 168, 167, 179, 180, 181, 182, 1015, 1018, 131, 192, 193, 195, 194, 291, 290,
        132}},
      // The main window's pictures, Feed Properties' options, the
      // information dialog's, the toolbars', the windows' own, the plug-in's.
      {32, {1002, 1054, 188, 186, 187, 128,  191, 189, 190, 129, 105, 107, 109, 117, 1010,
            122,  295,  296, 297, 298, 1013, 221, 222, 223, 224, 225, 226, 227, 1000}},
  };
  std::size_t named = 0;
  for (const auto& group : groups) {
    for (const int id : group.ids) {
      SCOPED_TRACE(id);
      const platform::IconImage* icon = FindIcon(id);
      ASSERT_NE(icon, nullptr);
      EXPECT_EQ(icon->id, id);
      EXPECT_EQ(RootAttribute(icon->svg, "width"), std::to_string(group.size));
      ++named;
    }
  }
  EXPECT_EQ(AllIcons().size(), named) << "images no window shows";
}

TEST(Icons, ImageListsInTheOrderTheWindowsIndexThem) {
  EXPECT_EQ(main_window::kFeedRowIcons,
            (std::array<int, 8>{123, 120, 168, 167, 179, 180, 181, 182}));
  EXPECT_EQ(main_window::kNewsboxRowIcons, (std::array<int, 3>{1015, 1018, 131}));
  EXPECT_EQ(mailboxes_dialog::kTreeIcons, (std::array<int, 4>{192, 193, 195, 194}));
  EXPECT_EQ(news_board::kRowIcons, (std::array<int, 2>{291, 290}));
  // Feed Properties names its icons by the three options; the list is
  // indexed as the main window indexes its own.
  const struct {
    int referring, only_new, auto_check, icon;
  } options[] = {{1, 1, 1, 188}, {1, 1, 0, 186}, {1, 0, 1, 187}, {1, 0, 0, 128},
                 {0, 1, 1, 191}, {0, 1, 0, 189}, {0, 0, 1, 190}, {0, 0, 0, 129}};
  for (const auto& row : options) {
    SCOPED_TRACE(row.icon);
    EXPECT_EQ(feed_properties::kOptionIcons[row.referring + 2 * row.only_new + 4 * row.auto_check],
              row.icon);
  }
}

TEST(Icons, EveryIconATemplateOrToolbarShowsHasAnImage) {
  for (const int id : {101, 102, 103, 106, 112, 114, 124, 125}) {
    const platform::DialogTemplate* dialog = FindDialog(id);
    ASSERT_NE(dialog, nullptr);
    if (dialog->icon_id != 0) {
      EXPECT_NE(FindIcon(dialog->icon_id), nullptr) << id;
    }
    for (const platform::ControlTemplate& control : dialog->controls) {
      if (control.icon_id != 0) {
        EXPECT_NE(FindIcon(control.icon_id), nullptr) << control.id;
      }
    }
  }
  for (const int id : {293, 218}) {
    const platform::ToolbarTemplate* toolbar = FindToolbar(id);
    ASSERT_NE(toolbar, nullptr);
    for (const platform::ToolbarButtonTemplate& button : toolbar->buttons) {
      if (button.command != 0) {
        EXPECT_NE(FindIcon(button.icon_id), nullptr) << button.command;
      }
    }
  }
}

TEST(Icons, AllInAscendingOrderOfIdAndNoneForAnUnknownId) {
  const std::span<const platform::IconImage> icons = AllIcons();
  for (std::size_t i = 1; i < icons.size(); ++i) EXPECT_LT(icons[i - 1].id, icons[i].id);
  for (const int unknown : {0, -1, 1, 1001, 999999}) EXPECT_EQ(FindIcon(unknown), nullptr);
}

TEST(Cursors, EachWithTheCssCursorOfItsMeaning) {
  const struct {
    int id;
    std::string_view css;
  } rows[] = {{1080, "row-resize"}, {248, "wait"}, {287, "progress"}, {234, "progress"}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.id);
    const CursorResource* cursor = FindCursor(row.id);
    ASSERT_NE(cursor, nullptr);
    EXPECT_EQ(cursor->id, row.id);
    EXPECT_EQ(cursor->css_cursor, row.css);
  }
  EXPECT_EQ(FindCursor(0), nullptr);
  EXPECT_EQ(FindCursor(1002), nullptr);
}

}  // namespace
}  // namespace tavi::res
