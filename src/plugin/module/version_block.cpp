// The module's version block, read back from the module file at start for
// the plug-in's description.

#include "platform/module_version.h"
#include "version.h"

#define TAVI_TEXT_OF(token) #token
#define TAVI_NUMBER_TEXT(number) TAVI_TEXT_OF(number)
// "major, minor, patch, 0", the form hosts show for a module's version.
#define TAVI_PRODUCT_VERSION           \
  TAVI_NUMBER_TEXT(TAVI_VERSION_MAJOR) \
  ", " TAVI_NUMBER_TEXT(TAVI_VERSION_MINOR) ", " TAVI_NUMBER_TEXT(TAVI_VERSION_PATCH) ", 0"

namespace {

// Key and value texts, each ended by its NUL (the last by the literal's own).
// clang-format off
TAVI_VERSION_BLOCK_SECTION const char kVersionBlock[] =
    "ProductName\0" TAVI_PRODUCT_NAME "\0"
    "ProductVersion\0" TAVI_PRODUCT_VERSION;
// clang-format on

}  // namespace
