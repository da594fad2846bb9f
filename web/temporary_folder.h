#pragma once

// A fresh folder under the system's temporary folder ($TMPDIR, else /tmp),
// for work whose files must not outlive the program: a demo's data folder,
// a document that the tavi command's inspect downloads.

#include <string>
#include <string_view>

namespace tavi::web {

class TemporaryFolder {
 public:
  // Makes the folder, named `prefix` followed by six random characters
  // ("tavi-demo-" gives "tavi-demo-a1B2c3").
  explicit TemporaryFolder(std::string_view prefix);
  // Removes the folder with all it holds.
  ~TemporaryFolder();
  TemporaryFolder(const TemporaryFolder&) = delete;
  TemporaryFolder& operator=(const TemporaryFolder&) = delete;

  // "" when no folder could be made.
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

}  // namespace tavi::web
