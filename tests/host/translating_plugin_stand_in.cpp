// The least plug-in that offers a translator the host can run: the entry
// points every plug-in must have, one translator described, and
// ems_translate_file, which fails whatever it is given.
// Its texts are its own and stay: its ems_free hands nothing back.

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

int32_t ems_translator_info(void*, EmsTranslator* translator) {
  static char description[] = "Stand-in translator";
  translator->description = description;
  return kEmsOk;
}

int32_t ems_translate_file(void*, EmsTranslator*, EmsDataFile*, EmsProgressFn, EmsDataFile*) {
  return kEmsUnknownFailure;
}

}  // extern "C"
