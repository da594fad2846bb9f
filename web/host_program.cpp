#include "web/host_program.h"

#include <cstring>
#include <filesystem>
#include <memory>
#include <system_error>

#include "host/data_folder.h"
#include "host/data_folder_lock.h"
#include "host/host.h"
#include "host/plugin_loader.h"
#include "platform/fs.h"
#include "platform/winsys_input.h"
#include "web/demo_setup.h"
#include "web/help_pages.h"
#include "web/host_change_events.h"
#include "web/host_commands.h"
#include "web/host_message_loop.h"
#include "web/host_routes.h"
#include "web/mail_routes.h"
#include "web/page_server.h"
#include "web/plugin_installation.h"
#include "web/shell_requests.h"
#include "web/stop_request.h"
#include "web/stop_signals.h"
#include "web/window_change_events.h"
#include "web/window_routes.h"

namespace tavi::web {
namespace {

constexpr int kCannotStart = 1;
constexpr const char* kLockDescription = "tavi-host";

// The host and the plug-in with the page that shows them, on the calling
// thread, which becomes the host's user-interface thread.
class HostProgram {
 public:
  HostProgram(std::ostream& out, std::ostream& err) : out_(out), err_(err) {}
  // Ends everything in the order of step 8.
  ~HostProgram();

  // Steps 3 to 5; false, with the reason written, when one fails.
  bool Open(const std::string& data_folder, const std::string& module, StopRequest& stop);
  // Step 6.
  bool Serve(int port);
  // Step 7.
  void RunUntilStopped(StopRequest& stop);

 private:
  bool TakeLock(const std::string& data_folder, StopRequest& stop);
  bool LoadPlugin(const std::string& module, const std::string& plugins_folder);
  void PublishHostChange(const host::HostChange& change);

  std::ostream& out_;
  std::ostream& err_;
  PageEvents events_;
  host::DataFolderLock lock_;
  std::unique_ptr<host::Host> host_;
  std::unique_ptr<host::PluginModule> plugin_;
  std::unique_ptr<UiThreadWork> work_;
  std::unique_ptr<HostCommands> commands_;
  std::unique_ptr<WindowChangeEvents> window_changes_;
  std::unique_ptr<HelpPages> help_;
  std::unique_ptr<ShellToPage> shell_;
  PageRouter router_;
  std::unique_ptr<PageServer> server_;
};

HostProgram::~HostProgram() {
  if (work_) work_->Close();
  server_.reset();
  // Without the page, what the plug-in asks at its end is answered at once.
  platform::SetFrontEndPresent(false);
  shell_.reset();
  window_changes_.reset();
  commands_.reset();
  plugin_.reset();
  work_.reset();
  if (host_) host_->SetChangeListener({});
  host_.reset();
  lock_ = {};
}

bool HostProgram::Open(const std::string& data_folder, const std::string& module,
                       StopRequest& stop) {
  const std::string plugins_folder = platform::JoinPath(data_folder, host::kPluginsFolderName);
  std::error_code error;
  std::filesystem::create_directories(plugins_folder, error);
  if (error) {
    err_ << "tavi-host: cannot create " << plugins_folder << ": " << error.message() << "\n";
    return false;
  }
  if (!TakeLock(data_folder, stop)) return false;
  host_ = host::Host::Start(data_folder);
  if (host_ == nullptr) {
    err_ << "tavi-host: the mail host cannot open " << data_folder << "\n";
    return false;
  }
  host_->SetChangeListener([this](const host::HostChange& change) { PublishHostChange(change); });
  return LoadPlugin(module, plugins_folder);
}

// One program at a time works on a data folder. Waiting for another leaves
// nothing to undo, so a request to stop then ends the program at once.
bool HostProgram::TakeLock(const std::string& data_folder, StopRequest& stop) {
  stop.SetEndsProgram(true);
  host::DataFolderLockResult result = host::DataFolderLock::Acquire(
      data_folder, kLockDescription, host::LockWaiting::kWait,
      [this](const host::DataFolderLockHolder& holder) {
        err_ << "tavi-host: waiting for " << host::DescribeHolder(holder)
             << " to finish with this data folder..." << std::endl;
      });
  stop.SetEndsProgram(false);
  if (result.status != host::DataFolderLockStatus::kAcquired) {
    err_ << "tavi-host: cannot lock the data folder " << data_folder << ": "
         << std::strerror(result.error) << "\n";
    return false;
  }
  lock_ = std::move(result.lock);
  return !stop.Requested();
}

bool HostProgram::LoadPlugin(const std::string& module, const std::string& plugins_folder) {
  std::string error;
  const std::string installed = InstallPluginModule(module, plugins_folder, error);
  if (!installed.empty()) plugin_ = host::PluginModule::Load(installed, plugins_folder, {}, &error);
  // The help is a courtesy: a plug-in without it still runs.
  help_ = std::make_unique<HelpPages>(InstallPluginHelp(module, plugins_folder));
  if (plugin_ == nullptr) {
    err_ << "tavi-host: cannot load the plug-in " << module << ": " << error << "\n";
    return false;
  }
  return true;
}

void HostProgram::PublishHostChange(const host::HostChange& change) {
  for (const PageEvent& event : PageEventsFor(change)) events_.Publish(event);
}

bool HostProgram::Serve(int port) {
  work_ = UiThreadWork::Create();
  if (work_ == nullptr) {
    err_ << "tavi-host: the window system refused the host's work window\n";
    return false;
  }
  UiThreadWork& work = *work_;
  commands_ = std::make_unique<HostCommands>(
      *plugin_, [&work](std::function<void()> later) { work.Post(std::move(later)); },
      [this] { events_.Publish({"host"}); });
  window_changes_ = std::make_unique<WindowChangeEvents>(
      events_, [&work](std::function<void()> publish) { return work.Post(std::move(publish)); });
  shell_ = std::make_unique<ShellToPage>(events_, *help_);
  AddMailRoutes(router_, *host_);
  AddHostRoutes(router_, {*host_, *plugin_, *commands_});
  AddWindowRoutes(router_);
  AddHelpRoutes(router_, *help_);
  server_ = std::make_unique<PageServer>(PageServerParts{work, router_, events_});
  if (!server_->Start(port)) {
    err_ << "tavi-host: cannot serve the page on 127.0.0.1"
         << (port == 0 ? "" : " port " + std::to_string(port)) << "\n";
    return false;
  }
  // The page answers message boxes and popup menus from now on; a box
  // waits for it, also while no page is open.
  platform::SetFrontEndPresent(true);
  out_ << "tavi-host: open " << server_->Address() << " in a browser (Ctrl+C stops the host)"
       << std::endl;
  return true;
}

void HostProgram::RunUntilStopped(StopRequest& stop) {
  stop.EndLoopOf(work_.get());
  RunHostMessageLoop();
  stop.EndLoopOf(nullptr);
  out_ << "tavi-host: stopping" << std::endl;
}

std::unique_ptr<DemoSetup> PrepareDemo(const ProgramFiles& files, const StopRequest& stop,
                                       std::ostream& out, std::ostream& err) {
  if (files.tavi_command.empty()) {
    err << "tavi-host: --demo needs the tavi command beside tavi-host\n";
    return nullptr;
  }
  out << "tavi-host: subscribing the sample feeds in a temporary data folder" << std::endl;
  std::string error;
  std::unique_ptr<DemoSetup> demo = DemoSetup::Prepare(
      files.tavi_command, [&stop] { return !stop.Requested(); }, out, error);
  if (demo == nullptr) err << "tavi-host: demo: " << error << "\n";
  return demo;
}

}  // namespace

int RunHostProgram(const HostProgramOptions& options, const ProgramFiles& files, std::ostream& out,
                   std::ostream& err) {
  StopRequest stop;
  const StopSignals signals([&stop] { stop.Request(); });
  std::unique_ptr<DemoSetup> demo;
  if (options.demo && (demo = PrepareDemo(files, stop, out, err)) == nullptr) return kCannotStart;
  const std::string given_folder =
      demo ? demo->DataFolder() : options.data_folder.value_or(host::DefaultDataFolder());
  if (given_folder.empty()) {
    err << "tavi-host: no data folder: give --data DIR, or set TAVI_DATA or XDG_DATA_HOME\n";
    return kCannotStart;
  }
  const std::string data_folder = host::AbsoluteFolder(given_folder);
  if (files.plugin.empty()) {
    err << "tavi-host: cannot find tavi.so beside tavi-host; give --plugin PATH\n";
    return kCannotStart;
  }
  HostProgram program(out, err);
  if (!program.Open(data_folder, files.plugin, stop)) return kCannotStart;
  out << "tavi-host: data folder " << data_folder << std::endl;
  if (!program.Serve(options.port)) return kCannotStart;
  program.RunUntilStopped(stop);
  return 0;
}

}  // namespace tavi::web
