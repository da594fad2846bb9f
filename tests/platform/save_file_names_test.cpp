#include "platform/save_file_names.h"

#include <gtest/gtest.h>

#include "platform/fs.h"
#include "support/temp_dir.h"

namespace tavi::platform {
namespace {

TEST(SaveFileNames, FolderPathsAreAbsoluteWithDotsTakenAway) {
  struct Case {
    const char* path;
    const char* absolute;
  };
  const Case cases[] = {
      {"/", "/"},        {"/a/b/", "/a/b"}, {"/a/./b//c", "/a/b/c"}, {"/a/b/../c", "/a/c"},
      {"/..", "/"},  // the root's parent is the root
      {"/a/../..", "/"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(AbsoluteFolderPath(c.path), c.absolute);
  }
  EXPECT_EQ(ParentFolderPath("/a/b"), "/a");
  EXPECT_EQ(ParentFolderPath("/"), "/");
  EXPECT_EQ(AbsoluteFolderPath(""), AbsoluteFolderPath(".")) << "the current folder";
  EXPECT_EQ(AbsoluteFolderPath("").front(), '/');
}

class SaveNameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(CreateFolder(folder_.Join("Sub")));
    testing::WriteFile(folder_.Join("a.nws"), "x");
  }

  testing::TempDir folder_;
};

TEST_F(SaveNameTest, ListsSubfoldersAndTheFilesOfTheTypeByNameWithoutHiddenOnes) {
  ASSERT_TRUE(CreateFolder(folder_.Join("another")));
  for (const char* name : {"B.nws", "c.eml", ".hidden.nws"})
    testing::WriteFile(folder_.Join(name), "x");
  const FileType news = ParseFileFilter("News|*.nws|").at(0);

  const FolderListing typed = ListFolder(folder_.path(), &news);
  EXPECT_EQ(typed.folders, (std::vector<std::string>{"another", "Sub"}));
  EXPECT_EQ(typed.files, (std::vector<std::string>{"a.nws", "B.nws"}));
  EXPECT_EQ(ListFolder(folder_.path(), nullptr).files,
            (std::vector<std::string>{"a.nws", "B.nws", "c.eml"}));
  EXPECT_TRUE(ListFolder(folder_.Join("missing"), nullptr).folders.empty());
}

TEST_F(SaveNameTest, ATypedNameEntersAFolderSavesAFileOrFindsItsFolderMissing) {
  struct Case {
    const char* typed;
    const char* extension;
    SaveNameAction action;
    std::string path;
  };
  const Case cases[] = {
      {"", "nws", SaveNameAction::kNothing, ""},
      {" \t", "nws", SaveNameAction::kNothing, ""},
      {"Sub", "nws", SaveNameAction::kEnterFolder, folder_.Join("Sub")},
      {"Sub/", "nws", SaveNameAction::kEnterFolder, folder_.Join("Sub")},
      {"..", "nws", SaveNameAction::kEnterFolder, ParentFolderPath(folder_.path())},
      {"Sub/..", "nws", SaveNameAction::kEnterFolder, folder_.path()},
      {"new", "nws", SaveNameAction::kSave, folder_.Join("new.nws")},
      {"new", ".nws", SaveNameAction::kSave, folder_.Join("new.nws")},
      {"new", "", SaveNameAction::kSave, folder_.Join("new")},
      {"new.txt", "nws", SaveNameAction::kSave, folder_.Join("new.txt")},
      // An existing file is still the file to save; replacing it is asked elsewhere.
      {"a.nws", "nws", SaveNameAction::kSave, folder_.Join("a.nws")},
      {"Sub/new", "nws", SaveNameAction::kSave, folder_.Join("Sub/new.nws")},
      // The extension belongs to the last part, not to a folder's name.
      {"Sub.d/new", "nws", SaveNameAction::kMissingFolder, folder_.Join("Sub.d")},
      {"None/new", "nws", SaveNameAction::kMissingFolder, folder_.Join("None")},
      {"None/", "nws", SaveNameAction::kMissingFolder, folder_.Join("None")},
      {"a.nws/new", "nws", SaveNameAction::kMissingFolder, folder_.Join("a.nws")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    const SaveNameResolution resolution = ResolveSaveName(folder_.path(), c.typed, c.extension);
    EXPECT_EQ(resolution.action, c.action);
    EXPECT_EQ(resolution.path, c.path);
  }
  const std::string absolute = folder_.Join("Sub/x");
  EXPECT_EQ(ResolveSaveName("/", absolute, "").path, absolute) << "an absolute name";
}

}  // namespace
}  // namespace tavi::platform
