#include "web/page_assets.h"

#include <gtest/gtest.h>

#include <regex>
#include <string>

namespace tavi::web {
namespace {

TEST(PageAssets, ThePageAndItsFilesAreServedFromWhatWasBuiltIn) {
  struct Case {
    const char* path;
    const char* content_type;
    const char* holds;
  };
  const Case cases[] = {
      {"/", "text/html; charset=utf-8", "<script type=\"module\" src=\"/page/app.js\">"},
      {"/page/index.html", "text/html; charset=utf-8", "<!DOCTYPE html>"},
      {"/page/app.js", "text/javascript; charset=utf-8", "import"},
      {"/page/app.css", "text/css; charset=utf-8", ".message-body"},
      {"/page/icon.svg", "image/svg+xml", "<svg"},
  };
  for (const Case& test : cases) {
    SCOPED_TRACE(test.path);
    const std::optional<PageAsset> asset = FindPageAsset(test.path);
    ASSERT_TRUE(asset);
    EXPECT_EQ(asset->content_type, test.content_type);
    EXPECT_NE(asset->bytes.find(test.holds), std::string_view::npos);
  }
  for (const char* elsewhere : {"/index.html", "/page/", "/page/../main.cpp", "/page/app.js/",
                                "/api/mailboxes", "/PAGE/app.js"}) {
    SCOPED_TRACE(elsewhere);
    EXPECT_FALSE(FindPageAsset(elsewhere));
  }
}

// No inline script or style anywhere: the page's policy would block them,
// and the page must not need what it forbids.
TEST(PageAssets, ThePageLoadsItsScriptsAndStylesOnlyFromFiles) {
  for (const PageFile& file : EmbeddedPageFiles()) {
    if (!file.name.ends_with(".html")) continue;
    SCOPED_TRACE(file.name);
    EXPECT_EQ(file.bytes.find("<script>"), std::string_view::npos);
    EXPECT_EQ(file.bytes.find("<style"), std::string_view::npos);
    EXPECT_EQ(file.bytes.find(" style="), std::string_view::npos);
    const std::string text(file.bytes);
    EXPECT_FALSE(std::regex_search(text, std::regex(" on[a-z]+=")));
  }
}

}  // namespace
}  // namespace tavi::web
