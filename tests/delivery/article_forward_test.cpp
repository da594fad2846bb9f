#include "delivery/article_forward.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "delivery/article_file.h"
#include "files/file_names.h"
#include "host/host.h"
#include "support/host_test.h"

namespace tavi {
namespace {

constexpr const char* kText = "Subject: A/B: c?\r\n\r\n<p>one\r\ntwo</p>";

class ArticleForwardTest : public testing::HostTest {
 protected:
  std::string ForwardedFile(const std::string& name) {
    return data_.Join("Forwarded Articles/" + name);
  }
};

TEST_F(ArticleForwardTest, InlineOpensANewMessageWithTheArticleBetweenMarkers) {
  EXPECT_TRUE(ForwardInline("Story", kText));
  ASSERT_EQ(host_->ComposedMessages().size(), 1u);
  const host::OutgoingMessage& sent = host_->ComposedMessages()[0];
  EXPECT_EQ(sent.subject, "Story (fwd)");
  EXPECT_EQ(sent.attachment, "");
  EXPECT_EQ(sent.body, std::string("--- begin forwarded article\r\n\r\n") + kText +
                           "\r\n\r\n--- end forwarded article");
}

TEST_F(ArticleForwardTest, AttachmentsGetCleanedUniqueNamesAndCrOnlyLines) {
  const std::string first = ForwardAsAttachment(data_.path(), "A/B: c?", kText);
  const std::string second = ForwardAsAttachment(data_.path(), "A/B: c?", kText);

  const std::string stem = MakeSafeFileName("A/B: c?");
  EXPECT_EQ(first, ForwardedFile(stem + ".nws"));
  EXPECT_EQ(second, ForwardedFile(stem + "_1.nws"));
  EXPECT_EQ(ReadWholeFile(first), "Subject: A/B: c?\r\r<p>one\rtwo</p>\r\n");
  ASSERT_EQ(host_->ComposedMessages().size(), 2u);
  EXPECT_EQ(host_->ComposedMessages()[0].subject, "A/B: c? (fwd)");
  EXPECT_EQ(host_->ComposedMessages()[0].attachment, first);
  EXPECT_EQ(host_->ComposedMessages()[0].body, "Forwarded article attached.");
}

TEST_F(ArticleForwardTest, NothingIsForwardedWhenTheFileCannotBeMade) {
  // A file where the folder should be: nothing can be created inside it.
  ASSERT_TRUE(AppendLineToFile(data_.Join("Forwarded Articles"), "in the way"));
  EXPECT_EQ(ForwardAsAttachment(data_.path(), "Story", kText), "");
  EXPECT_TRUE(host_->ComposedMessages().empty());
}

TEST_F(ArticleForwardTest, WithoutTheHostNothingIsWrittenOrSent) {
  host_->SetAutomationEnabled(false);
  EXPECT_FALSE(ForwardInline("Story", kText));
  EXPECT_EQ(ForwardAsAttachment(data_.path(), "Story", kText), "");
  EXPECT_FALSE(std::filesystem::exists(ForwardedFile("")));
}

TEST_F(ArticleForwardTest, SavedFileHasCrOnlyBreaksAndAFinalCrLf) {
  const std::string path = data_.Join("saved.nws");
  ASSERT_TRUE(AppendLineToFile(path, "an older, longer article that must go entirely"));
  ASSERT_TRUE(SaveArticleFile(path, "Subject: a\r\n\r\n", "<p>one\r\ntwo</p>"));
  EXPECT_EQ(ReadWholeFile(path), "Subject: a\r\r<p>one\rtwo</p>\r\n");
}

TEST_F(ArticleForwardTest, AFailedSaveLeavesWhatWasThereAndNoTemporaryFile) {
  // A folder of that name cannot be replaced by a file, whoever runs the test.
  const std::string path = data_.Join("saved.nws");
  std::filesystem::create_directory(path);
  ASSERT_TRUE(AppendLineToFile(path + "/kept", "old"));

  EXPECT_FALSE(SaveArticleFile(path, "Subject: a\r\n\r\n", "new"));

  EXPECT_EQ(ReadWholeFile(path + "/kept"), "old\r\n");
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(data_.path()))
    names.push_back(entry.path().filename().string());
  EXPECT_EQ(std::count_if(names.begin(), names.end(),
                          [](const std::string& name) { return name.starts_with("saved.nws."); }),
            0);
}

}  // namespace
}  // namespace tavi
