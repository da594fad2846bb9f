#include "cli/session.h"

#include <cstdlib>
#include <filesystem>
#include <ostream>
#include <system_error>

#include "fetch/file_names.h"
#include "platform/fs.h"
#include "platform/winsys.h"
#include "version.h"

namespace tavi::cli {
namespace {

// The folder as an absolute path without a trailing separator, so that the
// mailbox paths stored in the settings hold wherever the command runs.
std::string AbsoluteFolder(const std::string& folder) {
  std::error_code error;
  std::filesystem::path path = std::filesystem::absolute(folder, error);
  if (error) return folder;
  std::string text = path.lexically_normal().string();
  while (text.size() > 1 && text.back() == platform::kPathSeparator) text.pop_back();
  return text;
}

bool MakeFolders(const std::string& folder, std::ostream& err) {
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  if (!error) return true;
  err << "tavi: cannot create the folder " << folder << ": " << error.message() << "\n";
  return false;
}

bool PrepareFolders(const std::string& data_folder, const std::string& config_dir, bool create,
                    std::ostream& err) {
  if (create) return MakeFolders(data_folder, err) && MakeFolders(config_dir, err);
  if (IsDirectory(data_folder) && IsDirectory(config_dir)) return true;
  err << "tavi: " << data_folder << " is not a Tavi data folder; run \"tavi --data " << data_folder
      << " init\" first\n";
  return false;
}

// The variable's value; "" when it is not set.
std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value == nullptr ? "" : value;
}

void WriteMessageBoxesTo(std::ostream& err) {
  platform::SetMessageBoxHandler([&err](const platform::MessageBoxRequest& request) {
    err << request.caption << ": " << request.text << "\n";
    return platform::DefaultMessageBoxAnswer(request.flags);
  });
}

}  // namespace

std::string DefaultDataFolder() {
  if (const std::string data = Environment("TAVI_DATA"); !data.empty()) return data;
  // The user's data folder as the desktop names it; a relative one is not
  // valid there and is passed over.
  if (const std::string xdg = Environment("XDG_DATA_HOME"); !xdg.empty() && xdg.front() == '/')
    return platform::JoinPath(xdg, "tavi");
  const std::string home = Environment("HOME");
  if (home.empty()) return "";
  return home + "/.local/share/tavi";
}

std::unique_ptr<Session> Session::Open(const std::string& given_folder, bool create,
                                       std::ostream& err) {
  if (given_folder.empty()) {
    err << "tavi: no data folder: give --data DIR or set TAVI_DATA\n";
    return nullptr;
  }
  const std::string data_folder = AbsoluteFolder(given_folder);
  const std::string config_dir = platform::JoinPath(data_folder, kPluginsFolderName);
  if (!PrepareFolders(data_folder, config_dir, create, err)) return nullptr;
  std::unique_ptr<Session> session(new Session());
  // Without the host's program the data folder is the one holding the
  // configuration folder, which is `data_folder` itself.
  ResolvePaths(session->paths_, config_dir, "");
  session->paths_.ProductName = TAVI_PRODUCT_NAME;
  session->paths_.VersionText = TAVI_VERSION_TEXT;
  session->host_ = host::Host::Start(session->paths_.DataFolder);
  if (session->host_ == nullptr) {
    err << "tavi: the mail host cannot open " << data_folder << "\n";
    return nullptr;
  }
  session->paths_.MdiClient = session->host_->Windows().DocumentArea();
  session->paths_.HostMainWindow = session->host_->Windows().MainWindow();
  session->saved_pacing_ = CurrentPacing();
  SetPacing(Pacing::None());
  WriteMessageBoxesTo(err);
  return session;
}

Session::~Session() {
  if (host_ == nullptr) return;
  platform::SetMessageBoxHandler({});
  SetPacing(saved_pacing_);
  host_.reset();
}

}  // namespace tavi::cli
