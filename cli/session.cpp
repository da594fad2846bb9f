#include "cli/session.h"

#include <cstring>
#include <filesystem>
#include <ostream>
#include <system_error>

#include "files/file_names.h"
#include "platform/fs.h"
#include "platform/part_file.h"
#include "platform/profile_file.h"
#include "platform/winsys.h"
#include "store/feed_definitions.h"
#include "version.h"

namespace tavi::cli {
namespace {

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

// Takes the data folder's lock: one process at a time may change a data
// folder, or two would share (and cross) its staging mailbox and its feed
// document file.
bool TakeLock(const std::string& data_folder, const SessionOptions& options,
              host::DataFolderLock& lock, std::ostream& err) {
  host::DataFolderLockResult result =
      host::DataFolderLock::Acquire(data_folder, options.description, options.waiting,
                                    [&err](const host::DataFolderLockHolder& holder) {
                                      err << "tavi: waiting for " << host::DescribeHolder(holder)
                                          << " to finish with this data folder...\n";
                                    });
  switch (result.status) {
    case host::DataFolderLockStatus::kAcquired:
      lock = std::move(result.lock);
      return true;
    case host::DataFolderLockStatus::kHeld:
      err << "tavi: " << host::DescribeHolder(result.holder)
          << " is working on this data folder; try again when it has finished\n";
      return false;
    case host::DataFolderLockStatus::kUnusable:
      err << "tavi: cannot lock the data folder " << data_folder << ": "
          << std::strerror(result.error) << "\n";
      return false;
  }
  return false;
}

// What killed runs left behind: part files of downloads, and temporary
// files of mailboxes and settings that were being replaced. Only a holder of
// the lock may do this, since nobody else then writes the folder.
void RemoveLeftovers(const PluginPaths& paths) {
  std::vector<std::string> folders = {paths.DataFolder};
  for (std::size_t next = 0; next < folders.size(); ++next) {
    platform::RemoveReplacementLeftovers(folders[next]);
    for (const std::string& name : platform::FindFiles(platform::JoinPath(folders[next], "*.fol")))
      if (IsDirectory(platform::JoinPath(folders[next], name)))
        folders.push_back(platform::JoinPath(folders[next], name));
  }
  platform::RemoveStaleProfileTemporaries(paths.SettingsFile);
  platform::RemovePartFileLeftovers(paths.ConfigDir);
  platform::RemovePartFileLeftovers(CacheFolder(paths.DataFolder));
}

void WriteMessageBoxesTo(std::ostream& err) {
  platform::SetMessageBoxHandler([&err](const platform::MessageBoxRequest& request) {
    err << request.caption << ": " << request.text << "\n";
    return platform::DefaultMessageBoxAnswer(request.flags);
  });
}

}  // namespace

std::unique_ptr<Session> Session::Open(const std::string& given_folder,
                                       const SessionOptions& options, std::ostream& err) {
  if (given_folder.empty()) {
    err << "tavi: no data folder: give --data DIR, or set TAVI_DATA or XDG_DATA_HOME\n";
    return nullptr;
  }
  const std::string data_folder = host::AbsoluteFolder(given_folder);
  const std::string config_dir = platform::JoinPath(data_folder, host::kPluginsFolderName);
  const bool create = options.use == SessionUse::kCreate;
  if (!PrepareFolders(data_folder, config_dir, create, err)) return nullptr;
  std::unique_ptr<Session> session(new Session());
  // Without the host's program the data folder is the one holding the
  // configuration folder, which is `data_folder` itself.
  ResolvePaths(session->paths_, config_dir, "");
  session->paths_.ProductName = TAVI_PRODUCT_NAME;
  session->paths_.VersionText = TAVI_VERSION_TEXT;
  const bool reads_only = options.use == SessionUse::kRead;
  if (!reads_only) {
    if (!TakeLock(data_folder, options, session->lock_, err)) return nullptr;
    RemoveLeftovers(session->paths_);
  }
  host::HostOptions host_options;
  host_options.read_only = reads_only;
  session->host_ = host::Host::Start(session->paths_.DataFolder, host_options);
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

std::unique_ptr<Session> OpenSession(const CommandContext& context, SessionUse use) {
  SessionOptions options;
  options.use = use;
  options.waiting =
      context.command.Has("--no-wait") ? host::LockWaiting::kFailAtOnce : host::LockWaiting::kWait;
  options.description = "tavi " + context.command.command;
  return Session::Open(context.data_folder, options, context.err);
}

}  // namespace tavi::cli
