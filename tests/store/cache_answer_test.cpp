#include "store/cache_answer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>

#include "platform/profile_text.h"
#include "support/temp_dir.h"

namespace tavi {
namespace {

using ::tavi::testing::ReadFile;
using ::tavi::testing::TempDir;
using ::tavi::testing::WriteFile;

CacheAnswer SampleAnswer() {
  CacheAnswer answer;
  answer.requested_url = "http://127.0.0.1/feed.xml";
  answer.response.final_url = "http://127.0.0.1/moved/feed.xml";
  answer.response.charset = "ISO-8859-1";
  // A validator holds what the server chose, "=" included.
  answer.response.etag = "W/\"a=b\"";
  answer.response.last_modified = "Fri, 11 Dec 2026 09:30:00 GMT";
  answer.response.moved_to = "http://127.0.0.1/moved/feed.xml";
  return answer;
}

void ExpectSameAnswer(const std::optional<CacheAnswer>& read, const CacheAnswer& written) {
  ASSERT_TRUE(read);
  EXPECT_EQ(read->requested_url, written.requested_url);
  EXPECT_EQ(read->response.final_url, written.response.final_url);
  EXPECT_EQ(read->response.charset, written.response.charset);
  EXPECT_EQ(read->response.etag, written.response.etag);
  EXPECT_EQ(read->response.last_modified, written.response.last_modified);
  EXPECT_EQ(read->response.moved_to, written.response.moved_to);
}

class CacheAnswerTest : public ::testing::Test {
 protected:
  // A document with its answer beside it.
  void WriteDocumentAndAnswer() {
    WriteFile(document_, "<rss>cached</rss>");
    const auto version = platform::GetFileVersion(document_);
    ASSERT_TRUE(version);
    ASSERT_TRUE(WriteCacheAnswer(document_, *version, SampleAnswer()));
  }
  // Rewrites the answer file with `edit` applied to it.
  void EditAnswer(const std::function<void(platform::ProfileDocument&)>& edit) const {
    platform::ProfileDocument text =
        platform::ProfileDocument::Parse(ReadFile(CacheAnswerPath(document_)));
    edit(text);
    WriteFile(CacheAnswerPath(document_), text.Text());
  }

  TempDir folder_;
  std::string document_ = folder_.Join("News.rss");
};

TEST_F(CacheAnswerTest, AnAnswerReadsBackBesideItsDocumentWhereverBothMove) {
  WriteDocumentAndAnswer();
  ExpectSameAnswer(ReadCacheAnswer(document_), SampleAnswer());
  EXPECT_EQ(CacheAnswerPath(document_), document_ + ".answer");

  const std::string taken = document_ + ".importing";
  ASSERT_TRUE(platform::RenameFile(document_, taken));
  ASSERT_TRUE(platform::RenameFile(CacheAnswerPath(document_), CacheAnswerPath(taken)));
  ExpectSameAnswer(ReadCacheAnswer(taken), SampleAnswer());
}

// An answer read for the wrong document would store validators of a document
// whose articles never arrived, and the next check would skip them.
TEST_F(CacheAnswerTest, AnAnswerIsReadOnlyForTheVersionOfTheDocumentItDescribes) {
  struct Case {
    const char* name;
    std::function<void()> spoil;
  };
  const Case cases[] = {
      {"no answer file", [&] { platform::DeleteFile(CacheAnswerPath(document_)); }},
      {"document gone", [&] { platform::DeleteFile(document_); }},
      // A newer download put another document in its place.
      {"document replaced",
       [&] {
         WriteFile(document_ + ".part", "<rss>cached</rss>");
         platform::RenameFile(document_ + ".part", document_);
       }},
      {"document rewritten", [&] { WriteFile(document_, "<rss>rewritten</rss>"); }},
      {"version missing",
       [&] { EditAnswer([](auto& text) { text.DeleteKey("Answer", "Inode"); }); }},
      {"version not a number",
       [&] { EditAnswer([](auto& text) { text.Set("Answer", "Size", "17x"); }); }},
      {"answer too large",
       [&] {
         EditAnswer([](auto& text) {
           text.Set("Padding", "Blanks", std::string(kMaxCacheAnswerBytes, 'x'));
         });
       }},
      {"answer not a file",
       [&] {
         platform::DeleteFile(CacheAnswerPath(document_));
         platform::CreateFolder(CacheAnswerPath(document_));
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WriteDocumentAndAnswer();
    c.spoil();
    EXPECT_FALSE(ReadCacheAnswer(document_));
    std::filesystem::remove_all(CacheAnswerPath(document_));
  }
}

// A line break would let a server's value write lines of its own, the
// document's version among them.
TEST_F(CacheAnswerTest, AnswersWithLineBreaksAreNotWritten) {
  WriteFile(document_, "<rss/>");
  CacheAnswer answer = SampleAnswer();
  answer.response.charset = "utf-8\r\nInode=1";
  EXPECT_FALSE(WriteCacheAnswer(document_, *platform::GetFileVersion(document_), answer));
  EXPECT_FALSE(platform::GetFileAttributes(CacheAnswerPath(document_)));
}

TEST_F(CacheAnswerTest, OnlyAnswersWithoutTheirDocumentAreRemoved) {
  for (const char* name : {"Kept.rss", "Kept.rss.answer", "Gone.rss.answer",
                           "Taken.rss.importing.answer", "notes.txt"})
    WriteFile(folder_.Join(name), "x");
  platform::CreateFolder(folder_.Join("old"));
  WriteFile(folder_.Join("old/Deep.rss.answer"), "x");

  RemoveCacheAnswersWithoutDocument(folder_.path());

  std::vector<std::string> left = platform::FindFiles(folder_.Join("*"));
  std::sort(left.begin(), left.end());
  EXPECT_EQ(left, (std::vector<std::string>{"Kept.rss", "Kept.rss.answer", "notes.txt", "old"}));
  EXPECT_TRUE(platform::GetFileAttributes(folder_.Join("old/Deep.rss.answer")));
}

}  // namespace
}  // namespace tavi
