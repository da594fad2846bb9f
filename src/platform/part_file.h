#pragma once

// A part file: the file a download writes into before the document is whole.
// It lies beside its target, named "<target>.part<process id>-<n>", so that
// no reader of the target ever sees half a document and leftovers of a killed
// run can be recognised and removed. Committing puts it in the target's place
// at once; a part file that is never committed is removed when it goes, so a
// failed download leaves no file and an existing target untouched.
//
// A part file belongs to the thread that uses it.

#include <cstddef>
#include <string>
#include <string_view>

namespace tavi::platform {

class PartFile {
 public:
  // Creates a new, empty part file beside `target` (the target's folder must
  // exist). When it cannot be created, IsOpen() is false and error() holds
  // the errno value.
  explicit PartFile(const std::string& target);
  // Removes the part file unless it was committed.
  ~PartFile();
  PartFile(const PartFile&) = delete;
  PartFile& operator=(const PartFile&) = delete;

  bool IsOpen() const { return fd_ >= 0; }
  // The errno value of the latest failure; 0 before any.
  int error() const { return error_; }
  // The part file's own path ("" when it could not be created).
  const std::string& path() const { return path_; }

  // Appends `bytes`. False (errno in error()) when they cannot all be written
  // or the file is not open.
  bool Write(std::string_view bytes);

  // Closes the file and moves it onto the target, replacing any file there.
  // False (errno in error(), the target untouched) when either step fails;
  // the part file is then removed when the object goes.
  bool Commit();

 private:
  static constexpr int kNoFile = -1;

  bool Fail(int error);

  std::string target_;
  std::string path_;
  int fd_ = kNoFile;
  int error_ = 0;
  bool committed_ = false;
};

// Deletes every part file in `folder` (not in its subfolders): the regular
// files whose names end in ".part<digits>-<digits>", which downloads of a
// killed run leave behind. The caller makes sure that no download into that
// folder is under way.
void RemovePartFileLeftovers(const std::string& folder);

}  // namespace tavi::platform
