#include "platform/profile_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <thread>

#include "platform/fs.h"
#include "support/failing_reads.h"
#include "support/temp_dir.h"

namespace tavi::platform {
namespace {

using ::tavi::testing::FailingReads;
using ::tavi::testing::ReadFile;
using ::tavi::testing::TempDir;
using ::tavi::testing::WriteFile;

std::vector<std::string> Sorted(std::vector<std::string> names) {
  std::sort(names.begin(), names.end());
  return names;
}

ino_t InodeOf(const std::string& path) {
  struct stat info {};
  return stat(path.c_str(), &info) == 0 ? info.st_ino : 0;
}

TEST(ProfileFile, FirstWriteCreatesFileAndSection) {
  TempDir dir;
  const std::string file = dir.Join("tavi.ini");
  ASSERT_TRUE(SetProfileValue(file, "Aliases", "News", "Daily News"));
  EXPECT_EQ(ReadFile(file), "[Aliases]\nNews=Daily News\n");
  EXPECT_EQ(GetProfileValue(file, "Aliases", "News"), "Daily News");
}

TEST(ProfileFile, NamesCompareWithoutLetterCaseAndBlanks) {
  TempDir dir;
  const std::string file = dir.Join("a.ini");
  WriteFile(file, "[ Settings ]\r\n  DataFolder =  /mail/data  \r\n");
  EXPECT_EQ(GetProfileValue(file, "settings", "DATAFOLDER"), "/mail/data");
  EXPECT_EQ(GetProfileValue(file, "settings", "Other"), std::nullopt);
  EXPECT_EQ(GetProfileValue(file, "Missing", "DataFolder"), std::nullopt);
  EXPECT_EQ(GetProfileValue(dir.Join("absent.ini"), "Settings", "DataFolder"), std::nullopt);
}

TEST(ProfileFile, NamesTheFileCannotHoldAreRefusedAndNothingIsWritten) {
  TempDir dir;
  const std::string absent = dir.Join("absent.ini");
  EXPECT_FALSE(SetProfileValue(absent, "S", "K=L", "v"));
  EXPECT_FALSE(DeleteProfileSection(absent, "[S]"));
  EXPECT_TRUE(FindFiles(dir.Join("absent.ini*")).empty());

  const std::string file = dir.Join("a.ini");
  WriteFile(file, "[S]\nK=v\n");
  EXPECT_FALSE(SetProfileValue(file, "S]\n[T", "K", "v"));
  EXPECT_FALSE(SetProfileValue(file, "S", "; K", "v"));
  EXPECT_FALSE(DeleteProfileKey(file, "S", "K\n"));
  EXPECT_FALSE(DeleteProfileSection(file, ""));
  EXPECT_EQ(ReadFile(file), "[S]\nK=v\n");
}

TEST(ProfileFile, EditStoresABatchBuiltOnTheCurrentContent) {
  TempDir dir;
  const std::string file = dir.Join("a.ini");
  WriteFile(file, "[Aliases]\nNews=N\n[News]\nURL=u\n");
  ASSERT_TRUE(EditProfile(file, [](ProfileDocument& document) {
    const std::string url = document.Get("News", "URL").value_or("");
    return document.DeleteSection("News") && document.DeleteKey("Aliases", "News") &&
           document.Set("Aliases", "Daily", "D") && document.Set("Daily", "URL", url);
  }));
  EXPECT_EQ(ReadFile(file), "[Aliases]\nDaily=D\n[Daily]\nURL=u\n");
  EXPECT_EQ(FindFiles(dir.Join("a.ini*")), (std::vector<std::string>{"a.ini", "a.ini.lock"}));
}

TEST(ProfileFile, EditThatDeclinesOrHasARefusedStepStoresNothing) {
  TempDir dir;
  const std::string file = dir.Join("a.ini");
  WriteFile(file, "[S]\nK=v\n");
  const ino_t inode = InodeOf(file);
  const struct {
    const char* name;
    std::function<bool(ProfileDocument&)> change;
  } rows[] = {
      {"declined", [](ProfileDocument& d) { return d.Set("S", "K", "new") && false; }},
      {"refused step ignored",
       [](ProfileDocument& d) {
         d.Set("S", "K", "new");
         d.Set("S", "Bad=Key", "x");
         return true;
       }},
      {"refused delete", [](ProfileDocument& d) { return d.DeleteSection("[S]") || true; }},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_FALSE(EditProfile(file, row.change));
    EXPECT_EQ(ReadFile(file), "[S]\nK=v\n");
    EXPECT_EQ(InodeOf(file), inode);
  }
}

TEST(ProfileFile, EditThatChangesNothingSucceedsWithoutRewriting) {
  TempDir dir;
  const std::string file = dir.Join("a.ini");
  WriteFile(file, "[S]\nK=v\n");
  const ino_t inode = InodeOf(file);
  EXPECT_TRUE(SetProfileValue(file, "S", "K", "v"));
  EXPECT_TRUE(DeleteProfileKey(file, "S", "Absent"));
  EXPECT_TRUE(EditProfile(file, [](ProfileDocument&) { return true; }));
  EXPECT_EQ(InodeOf(file), inode);
  EXPECT_TRUE(DeleteProfileSection(dir.Join("absent.ini"), "S"));
  EXPECT_EQ(GetFileAttributes(dir.Join("absent.ini")), std::nullopt);
}

TEST(ProfileFile, FileThatCannotBeReadIsNeverReplaced) {
  TempDir dir;
  const std::string file = dir.Join("tavi.ini");
  WriteFile(file, "[Aliases]\nNews=N\n[News]\nURL=u\n");
  {
    FailingReads failing(file, EIO);
    bool change_ran = false;
    EXPECT_FALSE(SetProfileValue(file, "Settings", "DataFolder", "/mail"));
    EXPECT_FALSE(DeleteProfileKey(file, "Aliases", "News"));
    EXPECT_FALSE(DeleteProfileSection(file, "News"));
    EXPECT_FALSE(EditProfile(file, [&](ProfileDocument&) { return change_ran = true; }));
    EXPECT_FALSE(change_ran);
    EXPECT_EQ(GetProfileValue(file, "News", "URL"), std::nullopt);
    EXPECT_TRUE(GetProfileSection(file, "Aliases").empty());
  }
  EXPECT_EQ(ReadFile(file), "[Aliases]\nNews=N\n[News]\nURL=u\n");
}

TEST(ProfileFile, FolderOrLinkLoopInTheFilesPlaceIsLeftAsItIs) {
  TempDir dir;
  ASSERT_TRUE(CreateFolder(dir.Join("folder.ini")));
  ASSERT_EQ(symlink("loop-b.ini", dir.Join("loop-a.ini").c_str()), 0);
  ASSERT_EQ(symlink("loop-a.ini", dir.Join("loop-b.ini").c_str()), 0);
  for (const char* name : {"folder.ini", "loop-a.ini"}) {
    SCOPED_TRACE(name);
    const std::string file = dir.Join(name);
    EXPECT_FALSE(SetProfileValue(file, "S", "K", "v"));
    EXPECT_FALSE(DeleteProfileKey(file, "S", "K"));
    EXPECT_EQ(GetProfileValue(file, "S", "K"), std::nullopt);
  }
  EXPECT_TRUE(GetFileAttributes(dir.Join("folder.ini"))->directory);
  EXPECT_EQ(ReadFileBytes(dir.Join("loop-a.ini")), std::nullopt);
  EXPECT_EQ(errno, ELOOP);
}

TEST(ProfileFile, WritesThroughALinkKeepItAndLockBesideItsTarget) {
  TempDir dir;
  ASSERT_TRUE(CreateFolder(dir.Join("real")));
  ASSERT_EQ(symlink("real/tavi.ini", dir.Join("tavi.ini").c_str()), 0);
  ASSERT_TRUE(SetProfileValue(dir.Join("tavi.ini"), "S", "K", "v"));
  EXPECT_EQ(Sorted(FindFiles(dir.Join("*"))), (std::vector<std::string>{"real", "tavi.ini"}));
  EXPECT_EQ(Sorted(FindFiles(dir.Join("real/*"))),
            (std::vector<std::string>{"tavi.ini", "tavi.ini.lock"}));
  EXPECT_EQ(GetProfileValue(dir.Join("real/tavi.ini"), "s", "k"), "v");
}

TEST(ProfileFile, StaleTemporariesOfOnlyThatFileAreRemoved) {
  TempDir dir;
  ASSERT_TRUE(CreateFolder(dir.Join("real")));
  ASSERT_EQ(symlink("real/tavi.ini", dir.Join("tavi.ini").c_str()), 0);
  for (const char* name : {"real/tavi.ini", "real/tavi.ini.tavi-tmp-a1B2c3",
                           "real/other.ini.tavi-tmp-a1B2c3", "tavi.ini.tavi-tmp-a1B2c3"})
    WriteFile(dir.Join(name), "[S]\n");
  RemoveStaleProfileTemporaries(dir.Join("tavi.ini"));
  EXPECT_EQ(Sorted(FindFiles(dir.Join("real/*"))),
            (std::vector<std::string>{"other.ini.tavi-tmp-a1B2c3", "tavi.ini", "tavi.ini.lock"}));
  EXPECT_EQ(ReadFile(dir.Join("tavi.ini.tavi-tmp-a1B2c3")), "[S]\n");
}

TEST(ProfileFile, UnwritableFolderFailsWritesAndReadsDefaults) {
  TempDir dir;
  // A folder that cannot be written even by root: it is a plain file.
  WriteFile(dir.Join("not-a-folder"), "");
  const std::string file = dir.Join("not-a-folder/tavi.ini");
  EXPECT_FALSE(SetProfileValue(file, "S", "K", "v"));
  EXPECT_EQ(GetProfileValue(file, "S", "K"), std::nullopt);
  EXPECT_TRUE(GetProfileSection(file, "S").empty());
}

TEST(ProfileFile, ConcurrentWritersLoseNoKeyAndReadersSeeWholeFiles) {
  TempDir dir;
  const std::string file = dir.Join("shared.ini");
  constexpr int kWrites = 200;
  auto writer = [&](const std::string& section) {
    for (int i = 0; i < kWrites; ++i)
      SetProfileValue(file, section, "Key" + std::to_string(i % 50), std::to_string(i));
  };
  std::atomic<bool> done{false};
  std::atomic<int> torn_reads{0};
  std::thread reader([&] {
    while (!done) {
      const std::string bytes = ReadFile(file);
      if (!bytes.empty() && bytes.back() != '\n') ++torn_reads;
    }
  });
  std::thread first(writer, "First");
  std::thread second(writer, "Second");
  first.join();
  second.join();
  done = true;
  reader.join();

  EXPECT_EQ(torn_reads, 0);
  for (const std::string section : {"First", "Second"}) {
    for (int key = 0; key < 50; ++key) {
      SCOPED_TRACE(section + " Key" + std::to_string(key));
      EXPECT_EQ(GetProfileValue(file, section, "Key" + std::to_string(key)),
                std::to_string(kWrites - 50 + key));
    }
  }
}

constexpr int kWriterProcesses = 3;
constexpr int kThreadsPerProcess = 2;
constexpr int kKeysPerWriter = 30;

// Adds distinct keys named after `writer`, each in one batch that also counts
// it in the shared "Totals" key; returns the number of edits that failed.
int AddKeys(const std::string& file, const std::string& writer) {
  int failures = 0;
  for (int i = 0; i < kKeysPerWriter; ++i) {
    const bool stored = EditProfile(file, [&](ProfileDocument& document) {
      const int count = std::stoi(document.Get("Totals", "Count").value_or("0"));
      return document.Set("Keys", writer + "." + std::to_string(i), std::to_string(i)) &&
             document.Set("Totals", "Count", std::to_string(count + 1));
    });
    if (!stored) ++failures;
  }
  return failures;
}

// Runs AddKeys on kThreadsPerProcess threads of this process.
int AddKeysFromThreads(const std::string& file, const std::string& process) {
  std::atomic<int> failures{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreadsPerProcess; ++t)
    threads.emplace_back([&, t] { failures += AddKeys(file, process + "t" + std::to_string(t)); });
  for (auto& thread : threads) thread.join();
  return failures;
}

TEST(ProfileFile, WritersInSeveralProcessesAndThreadsLoseNoKey) {
  TempDir dir;
  ASSERT_TRUE(CreateFolder(dir.Join("real")));
  ASSERT_EQ(symlink("real/tavi.ini", dir.Join("tavi.ini").c_str()), 0);
  // Every other process writes through the link: both paths share one lock.
  std::vector<pid_t> children;
  for (int p = 0; p < kWriterProcesses; ++p) {
    const std::string file = dir.Join(p % 2 == 0 ? "tavi.ini" : "real/tavi.ini");
    const pid_t pid = fork();
    ASSERT_NE(pid, -1);
    if (pid == 0) _exit(AddKeysFromThreads(file, "p" + std::to_string(p)) == 0 ? 0 : 1);
    children.push_back(pid);
  }
  EXPECT_EQ(AddKeysFromThreads(dir.Join("tavi.ini"), "main"), 0);
  for (const pid_t child : children) {
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "writer process failed";
  }

  const std::string file = dir.Join("real/tavi.ini");
  constexpr int kWriters = (kWriterProcesses + 1) * kThreadsPerProcess;
  EXPECT_EQ(GetProfileValue(file, "Totals", "Count"), std::to_string(kWriters * kKeysPerWriter));
  EXPECT_EQ(GetProfileSection(file, "Keys").size(), std::size_t{kWriters * kKeysPerWriter});
  for (const std::string process : {"p0", "p1", "p2", "main"}) {
    for (int t = 0; t < kThreadsPerProcess; ++t) {
      const std::string writer = process + "t" + std::to_string(t);
      for (int i = 0; i < kKeysPerWriter; ++i) {
        SCOPED_TRACE(writer + "." + std::to_string(i));
        EXPECT_EQ(GetProfileValue(file, "Keys", writer + "." + std::to_string(i)),
                  std::to_string(i));
      }
    }
  }
}

}  // namespace
}  // namespace tavi::platform
