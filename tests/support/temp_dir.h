#pragma once

#include <string>

namespace tavi::testing {

// A fresh folder under the system's temporary folder, removed with everything
// in it when the object goes away.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& path() const { return path_; }
  // path() + "/" + name.
  std::string Join(const std::string& name) const;

 private:
  std::string path_;
};

// Writes bytes to a file, replacing it. Fails the current test on error.
void WriteFile(const std::string& path, const std::string& bytes);
// The whole file, or "" when it cannot be read.
std::string ReadFile(const std::string& path);

}  // namespace tavi::testing
