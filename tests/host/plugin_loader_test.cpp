#include "host/plugin_loader.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "host/host.h"
#include "platform/module_resources.h"
#include "platform/winsys.h"
#include "platform/winsys_dialog.h"
#include "platform/winsys_focus.h"
#include "platform/winsys_input.h"
#include "support/dialog_person.h"
#include "support/host_test.h"
#include "support/loopback_server.h"
#include "support/temp_dir.h"

namespace tavi::host {
namespace {

constexpr const char* kComErrorText =
    "This plugin requires Eudora's COM server.\n"
    "To enable automation, check: \n"
    "'Tools/Options/Automation/Automation enabled from this machine'.\n\n"
    "The error message follows:\n"
    "Invalid class string";

// The information dialog's text and its OK button, as a person finds them.
constexpr int kInformationText = 1032;
constexpr int kInformationOk = 1034;
// The main window's Close button.
constexpr int kMainWindowClose = 1014;
// The About box's text and its Close button.
constexpr int kAboutText = 1091;
constexpr int kAboutClose = 1;

// The host keeps its plug-ins in the folder "plugins" of its data folder,
// which is where the plug-in finds its own module file.
class PluginLoaderTest : public testing::HostTest {
 protected:
  void SetUp() override {
    HostTest::SetUp();
    std::filesystem::create_directories(PluginsFolder());
    std::filesystem::copy_file(TAVI_MODULE_PATH, ModuleFile());
  }
  void TearDown() override {
    plugin_.reset();
    HostTest::TearDown();
  }

  std::string PluginsFolder() const { return data_.Join("plugins"); }
  std::string ModuleFile() const { return data_.Join("plugins/tavi.so"); }
  void LoadPlugin(std::int16_t api_version = kHostApiVersion) {
    std::string error_text;
    plugin_ = PluginModule::Load(ModuleFile(), PluginsFolder(), {api_version}, &error_text);
    ASSERT_NE(plugin_, nullptr) << error_text;
  }

  std::unique_ptr<PluginModule> plugin_;
};

TEST_F(PluginLoaderTest, PluginDescribesItselfItsMenuItemAndItsTranslator) {
  LoadPlugin();
  const PluginAnswers& answers = plugin_->Answers();
  EXPECT_EQ(answers.plugin_api_version, 4);
  EXPECT_EQ(answers.init_result, kEmsOk);
  EXPECT_EQ(answers.description, "Tavi 0.1");
  EXPECT_EQ(answers.plugin_id, 4410);
  EXPECT_EQ(answers.plugin_icon, EmsIconHandle{1000});
  // The module brought its pictures, for a front end to draw its icons.
  EXPECT_TRUE(platform::FindIconImage(1000).has_value());
  EXPECT_EQ(answers.translator_count, 1);
  EXPECT_EQ(answers.attacher_count, 0);
  ASSERT_EQ(answers.menu_items.size(), 1u);
  const MenuItemAnswer& item = answers.menu_items[0];
  EXPECT_EQ(item.result, kEmsOk);
  EXPECT_EQ(item.text, "Tavi...");
  EXPECT_EQ(item.flags, 0x8000);
  EXPECT_EQ(item.icon, EmsIconHandle{1000});
  ASSERT_EQ(answers.translators.size(), 1u);
  const TranslatorAnswer& translator = answers.translators[0];
  EXPECT_EQ(translator.result, kEmsOk);
  EXPECT_EQ(translator.description, "Get the Full Article");
  EXPECT_EQ(translator.type, 16);
  EXPECT_EQ(translator.flags, 0x1204);
  EXPECT_EQ(translator.icon, EmsIconHandle{132});
}

TEST_F(PluginLoaderTest, TranslatorAppliesToHtmlTextInItsContexts) {
  LoadPlugin();
  struct Case {
    const char* name;
    std::int32_t id;
    std::int32_t context;
    const char* type;
    const char* subtype;
    std::int32_t expected;
  };
  const Case cases[] = {
      {"html in a shared context", 1, 0x0004, "text", "html", kEmsTranslateNow},
      {"html in several contexts", 1, 0x1001, "text", "html", kEmsTranslateNow},
      {"plain text", 1, 0x0004, "text", "plain", kEmsCannotTranslate},
      // Types are compared with their letter case.
      {"upper-case type", 1, 0x0004, "TEXT", "html", kEmsCannotTranslate},
      {"no shared context", 1, 0x0001, "text", "html", kEmsCannotTranslate},
      {"unknown translator", 2, 0x0004, "text", "html", kEmsInvalidId},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(plugin_->CanTranslate(c.id, c.context, c.type, c.subtype), c.expected);
  }
}

TEST_F(PluginLoaderTest, MenuItemShowsTheReadyTextWhenTheHostAnswers) {
  LoadPlugin();
  {
    // The item opens the plug-in's main window, which the person closes.
    testing::DialogPerson person([](platform::WindowHandle main_window) {
      platform::InjectClick(platform::GetDlgItem(main_window, kMainWindowClose));
    });
    EXPECT_EQ(plugin_->ChooseMenuItem(), kEmsOk);
    EXPECT_TRUE(person.Acted());
  }
  EXPECT_EQ(host_->StatusText(), "Tavi. For Help, press F1.");
  EXPECT_TRUE(platform::ShownMessageBoxes().empty());
  EXPECT_EQ(plugin_->ChooseMenuItem(2), kEmsOk);
}

TEST_F(PluginLoaderTest, OldHostGetsNoMenuIconOrFlagsAndTheMenuItemRefuses) {
  LoadPlugin(3);
  const MenuItemAnswer& item = plugin_->Answers().menu_items.at(0);
  EXPECT_EQ(item.text, "Tavi...");
  EXPECT_EQ(item.flags, 0);
  EXPECT_EQ(item.icon, std::nullopt);
  const std::string status_before = host_->StatusText();
  EXPECT_EQ(plugin_->ChooseMenuItem(), kEmsRefused);
  EXPECT_EQ(host_->StatusText(), status_before);
  EXPECT_TRUE(platform::ShownMessageBoxes().empty());
}

TEST_F(PluginLoaderTest, AutomationOffShowsTheComErrorWithTheHostsErrorText) {
  LoadPlugin();
  host_->SetAutomationEnabled(false);
  std::string caption;
  std::string text;
  platform::WindowHandle owner;
  testing::DialogPerson person([&](platform::WindowHandle dialog) {
    caption = platform::GetWindowText(dialog);
    text = platform::GetDlgItemText(dialog, kInformationText);
    owner = platform::GetOwner(dialog);
    platform::InjectClick(platform::GetDlgItem(dialog, kInformationOk));
  });

  EXPECT_EQ(plugin_->ChooseMenuItem(), kEmsRefused);

  EXPECT_EQ(caption, "Tavi - COM Error");
  EXPECT_EQ(text, kComErrorText);
  EXPECT_EQ(owner, host_->Windows().MainWindow());
}

TEST_F(PluginLoaderTest, SettingsShowTheAboutBoxOverTheHostsMainWindow) {
  LoadPlugin();
  std::string caption;
  std::string text;
  platform::WindowHandle owner;
  testing::DialogPerson person([&](platform::WindowHandle dialog) {
    caption = platform::GetWindowText(dialog);
    text = platform::GetDlgItemText(dialog, kAboutText);
    owner = platform::GetOwner(dialog);
    platform::InjectClick(platform::GetDlgItem(dialog, kAboutClose));
  });

  EXPECT_EQ(plugin_->OpenSettings(), kEmsOk);

  EXPECT_EQ(caption, "About Tavi");
  EXPECT_EQ(text.rfind("Tavi\r\nVersion: 0.1 / Final\r\n\r\n", 0), 0u) << text;
  const std::string tail = "\r\n\r\nInstalled in: \r\n" + PluginsFolder();
  ASSERT_GE(text.size(), tail.size());
  EXPECT_EQ(text.substr(text.size() - tail.size()), tail);
  EXPECT_EQ(owner, host_->Windows().MainWindow());
}

TEST_F(PluginLoaderTest, WithoutItsModuleFileTheDescriptionIsABlank) {
  const std::string elsewhere = data_.Join("elsewhere.so");
  std::filesystem::rename(ModuleFile(), elsewhere);
  plugin_ = PluginModule::Load(elsewhere, PluginsFolder());
  ASSERT_NE(plugin_, nullptr);
  EXPECT_EQ(plugin_->Answers().description, " ");
  EXPECT_EQ(plugin_->Answers().init_result, kEmsOk);
}

TEST_F(PluginLoaderTest, TellsWhetherTheModuleExportsItsTranslationEntryPoint) {
  LoadPlugin();
  EXPECT_TRUE(plugin_->ExportsTranslateFile());
  plugin_ = PluginModule::Load(TAVI_TRANSLATING_STAND_IN_PATH, PluginsFolder());
  ASSERT_NE(plugin_, nullptr);
  EXPECT_TRUE(plugin_->ExportsTranslateFile());
}

TEST_F(PluginLoaderTest, TranslatingWithCtrlHandsBackTheFullPageAsTheMessagesNewText) {
  testing::LoopbackServer server;
  server.Serve("/story", "<html>The <b>whole</b> story\r\nto the end</html>", "text/html");
  const std::string headers = "Subject: News\r\nWebsite: " + server.Url("/story");
  const std::string message = headers + "\r\n\r\n<x-html>Summary<br><br>more</x-html>";
  LoadPlugin();
  struct Case {
    const char* name;
    std::uint32_t keys;
    std::string page;
  };
  const Case cases[] = {
      {"Ctrl", platform::key_modifier::kControl,
       "<html>The <b>whole</b> story\r\nto the end</html>"},
      {"Ctrl and Shift", platform::key_modifier::kControl | platform::key_modifier::kShift,
       "<html>The whole story<br>to the end</html>"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    platform::HoldModifierKeys(c.keys);
    const TranslationAnswer answer = plugin_->TranslateFile(1, message);
    EXPECT_EQ(answer.result, kEmsOk);
    EXPECT_EQ(answer.output, headers + "\r\n\r\n" + c.page);
    EXPECT_EQ(answer.mime_type, "text/plain; 1.0");
  }
  platform::HoldModifierKeys(0);
  // The host's files are gone again.
  EXPECT_FALSE(std::filesystem::exists(data_.Join("plugins/translate-in.tmp")));
  EXPECT_FALSE(std::filesystem::exists(data_.Join("plugins/translate-out.tmp")));
}

TEST_F(PluginLoaderTest, TranslatingWithoutCtrlOpensTheViewerUntilThePluginFinishes) {
  testing::LoopbackServer server;
  server.Serve("/story", "<p>The whole story</p>", "text/html");
  const std::string message =
      "Feed: Daily\r\nSubject: Storm\r\nDate: Mon\r\nWebsite: " + server.Url("/story") +
      "\r\n\r\n<x-html>Summary<br><br>more</x-html>";
  LoadPlugin();
  platform::HoldModifierKeys(platform::key_modifier::kShift);
  const TranslationAnswer answer = plugin_->TranslateFile(1, message);
  platform::HoldModifierKeys(0);
  EXPECT_EQ(answer.result, 11);
  EXPECT_EQ(answer.output, "");
  EXPECT_EQ(answer.mime_type, "");
  const platform::WindowHandle viewer =
      platform::FindWindow(platform::kAnyText, "Daily, Mon, Storm");
  ASSERT_TRUE(viewer);
  EXPECT_TRUE(platform::IsWindowVisible(viewer));
  EXPECT_EQ(platform::GetForegroundWindow(), viewer);
  plugin_.reset();
  EXPECT_FALSE(platform::IsWindow(viewer));
}

TEST_F(PluginLoaderTest, ATranslationThatFailsLeavesTheOutputEmptyAndGivesNoType) {
  LoadPlugin();
  platform::HoldModifierKeys(platform::key_modifier::kControl);
  struct Case {
    const char* name;
    std::string message;
    std::int32_t result;
  };
  const Case cases[] = {
      {"no Website line", "Subject: News\r\n\r\nbody", 1},
      {"nothing listens", "Website: http://127.0.0.1:1/\r\n\r\nbody", 12},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const TranslationAnswer answer = plugin_->TranslateFile(1, c.message);
    EXPECT_EQ(answer.result, c.result);
    EXPECT_EQ(answer.output, "");
    EXPECT_EQ(answer.mime_type, "");
  }
  platform::HoldModifierKeys(0);
}

TEST_F(PluginLoaderTest, RefusesFilesThatAreNoPlugins) {
  std::string error_text;
  testing::WriteFile(data_.Join("text.so"), "not a module");
  EXPECT_EQ(PluginModule::Load(data_.Join("text.so"), PluginsFolder(), {}, &error_text), nullptr);
  EXPECT_FALSE(error_text.empty());

  // A real library, but not a plug-in.
  Dl_info info{};
  ASSERT_NE(dladdr(reinterpret_cast<void*>(&platform::GetDesktopWindow), &info), 0);
  EXPECT_EQ(PluginModule::Load(info.dli_fname, PluginsFolder(), {}, &error_text), nullptr);
  EXPECT_EQ(error_text.rfind("the module has no ems_", 0), 0u) << error_text;
}

}  // namespace
}  // namespace tavi::host
