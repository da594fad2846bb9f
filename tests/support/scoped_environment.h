#pragma once

// Environment variables set for one test and put back afterwards.

#include <optional>
#include <string>

namespace tavi::testing {

// Sets (or, with nullopt, unsets) the variable `name` for as long as it
// lives, then restores what was there.
class ScopedEnvironmentVariable {
 public:
  ScopedEnvironmentVariable(std::string name, const std::optional<std::string>& value);
  ~ScopedEnvironmentVariable();
  ScopedEnvironmentVariable(const ScopedEnvironmentVariable&) = delete;
  ScopedEnvironmentVariable& operator=(const ScopedEnvironmentVariable&) = delete;

 private:
  std::string name_;
  std::optional<std::string> saved_;
};

}  // namespace tavi::testing
