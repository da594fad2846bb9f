// The plug-in module as the host sees it: C entry points that never let an
// exception reach the host. Allocation failures are provoked through the
// program's own operator new, which the module's code calls too.

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "plugin/ems_api.h"
#include "support/temp_dir.h"

namespace {

std::atomic<bool> g_allocations_fail{false};

}  // namespace

// The replacement pair allocates with malloc and frees with free, which the
// compiler cannot see through.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

void* operator new(std::size_t size) {
  if (g_allocations_fail) throw std::bad_alloc();
  if (void* block = std::malloc(size == 0 ? 1 : size)) return block;
  throw std::bad_alloc();
}
void operator delete(void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }

namespace {

// Makes every allocation fail while it lives.
class FailingAllocations {
 public:
  FailingAllocations() { g_allocations_fail = true; }
  ~FailingAllocations() { g_allocations_fail = false; }
  FailingAllocations(const FailingAllocations&) = delete;
  FailingAllocations& operator=(const FailingAllocations&) = delete;
};

class EntryPointsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    module_ = dlopen(TAVI_MODULE_PATH, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(module_, nullptr) << dlerror();
  }
  void TearDown() override {
    if (module_ != nullptr) dlclose(module_);
  }
  template <typename Function>
  Function Find(const char* name) {
    return reinterpret_cast<Function>(dlsym(module_, name));
  }

  void* module_ = nullptr;
  tavi::testing::TempDir config_;
};

TEST_F(EntryPointsTest, RunningOutOfMemoryIsAFailureResultNotAnException) {
  const auto init = Find<EmsPluginInitFn>("ems_plugin_init");
  const auto translator_info = Find<EmsTranslatorInfoFn>("ems_translator_info");
  const auto special_hook = Find<EmsSpecialHookFn>("ems_special_hook");
  const auto finish = Find<EmsPluginFinishFn>("ems_plugin_finish");
  ASSERT_TRUE(init && translator_info && special_hook && finish);

  EmsMailConfig config{config_.path().c_str()};
  EmsPluginInfo info{};
  EmsTranslator translator{};
  translator.id = 1;
  EmsMenu menu{};
  menu.id = 1;
  std::int32_t failed_init = 0;
  {
    const FailingAllocations failing;
    failed_init = init(nullptr, 7, &config, &info);
  }
  EXPECT_EQ(failed_init, kEmsUnknownFailure);

  ASSERT_EQ(init(nullptr, 7, &config, &info), kEmsOk);
  std::int32_t translator_result = 0;
  std::int32_t hook_result = 0;
  {
    const FailingAllocations failing;
    translator_result = translator_info(nullptr, &translator);
    hook_result = special_hook(nullptr, &menu);
  }
  EXPECT_EQ(translator_result, kEmsUnknownFailure);
  EXPECT_EQ(hook_result, kEmsUnknownFailure);
  EXPECT_EQ(finish(nullptr), kEmsOk);
  const auto free_block = Find<EmsFreeFn>("ems_free");
  for (void* block :
       {static_cast<void*>(info.description), static_cast<void*>(info.icon),
        static_cast<void*>(translator.description), static_cast<void*>(translator.icon)})
    free_block(block);
}

}  // namespace
