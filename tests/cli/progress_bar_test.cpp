#include "cli/progress_bar.h"

#include <gtest/gtest.h>

#include <sstream>

namespace tavi::cli {
namespace {

TEST(RenderProgressLine, DrawsTheBarAndCutsToTheWidth) {
  EXPECT_EQ(RenderProgressLine(45, "Checking", "", 80), "[#########-----------]  45% Checking");
  EXPECT_EQ(RenderProgressLine(100, "A", "B", 80), "[####################] 100% A | B");
  // Out-of-range percents are held to the bar.
  EXPECT_EQ(RenderProgressLine(-3, "", "", 80).substr(0, 28), "[--------------------]   0% ");
  EXPECT_EQ(RenderProgressLine(250, "", "", 80).substr(0, 27), "[####################] 100%");
  // One column stays free; a line break or a control character from a feed
  // shows as an escape.
  const std::string cut = RenderProgressLine(0, std::string(200, 'x'), "a\nb", 40);
  EXPECT_EQ(cut.size(), 39u);
  EXPECT_EQ(RenderProgressLine(0, "", "a\nb\tc\x1b[2J", 80).substr(28), " | a\\nb\\tc\\x1B[2J");
}

TEST(RenderProgressLine, NeverSplitsAMultiByteCharacter) {
  // 28 columns of bar and percent, then "é" repeated: each is one column.
  std::string titles;
  for (int i = 0; i < 10; ++i) titles += "\xc3\xa9";
  const std::string line = RenderProgressLine(0, titles, "", 33);
  EXPECT_EQ(line.substr(28), "\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9");
}

TEST(TerminalCheckWindow, WithoutATerminalDrawsNothing) {
  std::ostringstream out;
  TerminalCheckWindow window(out, false, 80);
  window.BeginFeed("A");
  window.SetGeneralLine("Checking A for new articles...");
  window.SetProgress(50);
  window.SetInfoLine("Title by Author");
  window.Clear();
  EXPECT_EQ(out.str(), "");
}

TEST(TerminalCheckWindow, OnATerminalRedrawsOneLineNamingTheFeedAndClearsIt) {
  std::ostringstream out;
  TerminalCheckWindow window(out, true, 40, std::chrono::milliseconds(0));
  window.BeginFeed("News");
  window.SetGeneralLine("Ready. For Help, press F1.");
  window.SetProgress(100);
  window.Clear();
  const std::string text = out.str();
  EXPECT_EQ(text.find('\n'), std::string::npos) << text;
  EXPECT_EQ(text.find("Ready"), std::string::npos) << text;
  EXPECT_NE(text.find("\r[####################] 100% News"), std::string::npos) << text;
  EXPECT_EQ(text.substr(text.size() - 41), "\r" + std::string(39, ' ') + "\r");
}

}  // namespace
}  // namespace tavi::cli
