// The least plug-in that exports the translation entry point: the entry
// points every plug-in must have, doing nothing, and ems_translate_file,
// which only has to be there for the host to offer translators.

#include "plugin/ems_api.h"

extern "C" {

int32_t ems_plugin_version(int16_t* api_version) {
  *api_version = 4;
  return kEmsOk;
}

int32_t ems_plugin_init(void*, int16_t, EmsMailConfig*, EmsPluginInfo* info) {
  info->translator_count = 1;
  return kEmsOk;
}

int32_t ems_plugin_finish(void*) { return kEmsOk; }

int32_t ems_free(void*) { return kEmsOk; }

__attribute__((visibility("default"))) int32_t ems_translate_file() { return kEmsUnknownFailure; }

}  // extern "C"
