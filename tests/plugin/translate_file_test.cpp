#include "plugin/translate_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/fs.h"
#include "platform/winsys_input.h"
#include "plugin/host_blocks.h"
#include "support/loopback_server.h"
#include "support/temp_dir.h"

namespace tavi {
namespace {

using testing::LoopbackResponse;

constexpr const char* kOldOutput = "the message part as the host wrote it, longer than any page";

class TranslateFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    paths_.ConfigDir = folder_.path();
    ASSERT_TRUE(platform::ReplaceFile(InputFile(), "Dear reader<br><br>the story"));
    ASSERT_TRUE(platform::ReplaceFile(OutputFile(), kOldOutput));
  }
  void TearDown() override { platform::HoldModifierKeys(0); }

  std::string InputFile() const { return folder_.Join("in.html"); }
  std::string OutputFile() const { return folder_.Join("out.txt"); }
  std::string Output() const { return platform::ReadFileBytes(OutputFile()).value_or("(none)"); }

  // The translator on a part with these headers and keys; the viewers it
  // opened are in viewers_.
  std::int32_t Translate(const std::string& raw_headers, std::uint32_t keys) {
    platform::HoldModifierKeys(keys);
    EmsHeaderData header{raw_headers.c_str()};
    const std::string input = InputFile();
    const std::string output = OutputFile();
    EmsDataFile in{0, input.c_str(), &header, nullptr};
    EmsDataFile out{0, output.c_str(), nullptr, nullptr};
    const std::int32_t result = TranslateFile(
        paths_, &in, &out, [this](const std::string& header_text, const std::string& page) {
          viewers_.push_back({header_text, page});
          return platform::WindowHandle{};
        });
    if (out.mime_type != nullptr) {
      mime_type_ = std::string(out.mime_type->type) + "/" + out.mime_type->subtype + "/" +
                   out.mime_type->version;
      FreeHostBlock(out.mime_type);
    }
    return result;
  }

  std::string HeadersFor(const std::string& path) const {
    return "Subject: News\r\nWebsite: " + server_.Url(path);
  }

  testing::TempDir folder_;
  testing::LoopbackServer server_;
  PluginPaths paths_;
  std::vector<std::pair<std::string, std::string>> viewers_;
  std::string mime_type_;
};

constexpr std::uint32_t kCtrl = platform::key_modifier::kControl;
constexpr std::uint32_t kCtrlShift = kCtrl | platform::key_modifier::kShift;

TEST_F(TranslateFileTest, WithoutAWebsiteLineNothingHappensInEitherKeyState) {
  for (const std::uint32_t keys : {0u, kCtrl, kCtrlShift}) {
    SCOPED_TRACE(keys);
    EXPECT_EQ(Translate("Subject: News", keys), kNoArticleLink);
    EXPECT_EQ(Translate("Subject: News\r\nWebsite: ", keys), kNoArticleLink);
  }
  EmsDataFile in{0, "", nullptr, nullptr};
  EXPECT_EQ(TranslateFile(paths_, &in, nullptr, nullptr), kNoArticleLink);
  EXPECT_TRUE(viewers_.empty());
  EXPECT_EQ(Output(), kOldOutput);
}

TEST_F(TranslateFileTest, WithCtrlTheWholePageReplacesTheOutputAndNothingOfItsOldBytesStays) {
  server_.Serve("/story", "<HTML><p>Full</p>\r\nstory</HTML>", "text/html");
  EXPECT_EQ(Translate(HeadersFor("/story"), kCtrl), kFullArticleWritten);
  EXPECT_EQ(Output(), HeadersFor("/story") + "\r\n\r\n<html><p>Full</p>\r\nstory</html>");
  EXPECT_EQ(mime_type_, "text/plain/1.0");
  EXPECT_FALSE(platform::GetFileAttributes(folder_.Join(kFullArticleFileName)));
  EXPECT_TRUE(viewers_.empty());
}

TEST_F(TranslateFileTest, WithCtrlAndShiftThePageBecomesTextLines) {
  server_.Serve("/story", "<p>a</p>\r\nb\r\n\r\nc", "text/html");
  EXPECT_EQ(Translate(HeadersFor("/story"), kCtrlShift), kFullArticleWritten);
  EXPECT_EQ(Output(), HeadersFor("/story") + "\r\n\r\n<html>a<br>bc</html>");
}

TEST_F(TranslateFileTest, OnlyAWholeTextPageReplacesTheMessage) {
  server_.Serve("/missing", LoopbackResponse{404, "gone", "text/html", {}});
  server_.Serve("/empty", "", "text/html");
  // The start of a PNG file: zero bytes cut its text short.
  constexpr char kImageStart[] = "\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\0\x10\0\0\0\x10";
  server_.Serve("/image", std::string(kImageStart, sizeof kImageStart - 1) + std::string(200, '\0'),
                "image/png");
  server_.Serve(
      "/cut",
      LoopbackResponse{200, "<html>half", "text/html", {}, LoopbackResponse::Ending::kCutShort});
  struct Case {
    const char* name;
    std::string link;
  };
  const std::vector<Case> cases = {
      {"nothing listens", "http://127.0.0.1:1/story"}, {"HTTP 404", server_.Url("/missing")},
      {"an empty page", server_.Url("/empty")},        {"a binary page", server_.Url("/image")},
      {"a download cut short", server_.Url("/cut")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Translate("Website: " + c.link, kCtrl), kPageUnavailable);
    EXPECT_EQ(Output(), kOldOutput);
    EXPECT_TRUE(mime_type_.empty());
  }
}

TEST_F(TranslateFileTest, AnOutputFileThatCannotBeOpenedIsNotCreated) {
  server_.Serve("/story", "story", "text/html");
  ASSERT_TRUE(platform::DeleteFile(OutputFile()));
  EXPECT_EQ(Translate(HeadersFor("/story"), kCtrl), kOutputNotWritable);
  EXPECT_FALSE(platform::GetFileAttributes(OutputFile()));
  EXPECT_TRUE(mime_type_.empty());
}

TEST_F(TranslateFileTest, WithoutCtrlTheViewerShowsTheStoryAfterTheDoubleBreak) {
  for (const std::uint32_t keys :
       {0u, static_cast<std::uint32_t>(platform::key_modifier::kShift)}) {
    SCOPED_TRACE(keys);
    viewers_.clear();
    EXPECT_EQ(Translate(HeadersFor("/story"), keys), kViewerOpened);
    ASSERT_EQ(viewers_.size(), 1u);
    EXPECT_EQ(viewers_[0].first, HeadersFor("/story") + "\r\n\r\n");
    EXPECT_EQ(viewers_[0].second, "<html><body>the story");
    EXPECT_EQ(Output(), kOldOutput);
  }
  EXPECT_EQ(server_.Hits("/story"), 0);
}

}  // namespace
}  // namespace tavi
