// tavi add and tavi edit killed with SIGKILL at many moments of their run:
// the settings file always holds the old definition or the new one, whole.

#include <gtest/gtest.h>

#include <filesystem>

#include "store/feed_definitions.h"
#include "store/profile.h"
#include "tavi_runs.h"

namespace tavi::testing {
namespace {

constexpr int kMoments = 32;

// The definition stored under `alias` in the data folder, "" when there is
// none, as one text to compare across folders: the "Aliases" line and every
// key of its section, the folder's own path written as DATA.
std::string StoredDefinition(const std::string& data, const std::string& alias) {
  const std::string settings_file = data + "/plugins/tavi.ini";
  const std::string name = ReadProfileString("Aliases", alias, "<none>", settings_file);
  std::vector<std::string> keys;
  ReadProfileSection(keys, alias, false, settings_file);
  if (name == "<none>" && keys.empty()) return "";
  std::string text = alias + "=" + name;
  for (std::string key : keys) {
    if (const auto at = key.find(data); at != std::string::npos)
      key.replace(at, data.size(), "DATA");
    text += "\n" + key;
  }
  return text;
}

// Both definitions, as one text.
std::string StoredState(const std::string& data, const std::string& before_alias,
                        const std::string& after_alias) {
  return StoredDefinition(data, before_alias) + "|" + StoredDefinition(data, after_alias);
}

class KillFeedEditTest : public ::testing::Test {
 protected:
  // A data folder with the feed Old subscribed.
  void Prepare(const std::string& data) {
    std::filesystem::create_directories(data);
    EXPECT_EQ(RunTaviProgram(data, {"init"}), 0);
    EXPECT_EQ(RunTaviProgram(data, {"add", "Old", "http://127.0.0.1:1/old", "--name", "Old"}), 0);
  }

  // Runs `arguments` on a fresh copy once to the end and then killed at
  // kMoments moments spread over the bytes that whole run wrote; after each
  // kill, the definitions of `before_alias` and `after_alias` are both as
  // they were, or both as the whole run left them.
  void KillAtEveryMoment(const std::vector<std::string>& arguments, const std::string& before_alias,
                         const std::string& after_alias) {
    const std::string whole_data = folder_.Join("whole");
    Prepare(whole_data);
    const std::string old_state = StoredState(whole_data, before_alias, after_alias);
    ChildProcess whole(TaviArguments(whole_data, arguments), whole_data + "/run");
    whole.RunUntilWritten(UINT64_MAX);
    ASSERT_EQ(whole.Wait(), 0) << whole.Errors();
    const std::string new_state = StoredState(whole_data, before_alias, after_alias);
    ASSERT_NE(new_state, old_state);

    for (int moment = 0; moment < kMoments; ++moment) {
      SCOPED_TRACE("killed after " + std::to_string(moment) + "/" + std::to_string(kMoments));
      const std::string data = folder_.Join("moment-" + std::to_string(moment));
      Prepare(data);
      {
        ChildProcess run(TaviArguments(data, arguments), data + "/run");
        run.RunUntilWritten(whole.BytesWritten() * moment / kMoments);
        run.Kill();
      }
      const std::string state = StoredState(data, before_alias, after_alias);
      EXPECT_TRUE(state == old_state || state == new_state) << state;
      // The next run finds the folder usable.
      EXPECT_EQ(RunTaviProgram(data, {"feeds"}), 0);
    }
  }

  TempDir folder_;
};

TEST_F(KillFeedEditTest, AnAddLeavesNoFeedOrTheWholeFeed) {
  KillAtEveryMoment({"add", "New", "http://127.0.0.1:1/new", "--name", "New", "--newsbox", "Fresh",
                     "--full", "--every", "30"},
                    "Old", "New");
}

TEST_F(KillFeedEditTest, AnEditLeavesTheOldDefinitionOrTheNewOneWhole) {
  KillAtEveryMoment({"edit", "Old", "--alias", "Renamed", "--name", "Renamed feed", "--url",
                     "http://127.0.0.1:1/renamed", "--full", "--all", "--every", "45"},
                    "Old", "Renamed");
}

}  // namespace
}  // namespace tavi::testing
