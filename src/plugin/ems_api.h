#ifndef TAVI_PLUGIN_EMS_API_H
#define TAVI_PLUGIN_EMS_API_H

/* The mail client's plug-in interface, as both sides see it: the records the
 * host and a plug-in exchange, the result codes, and the entry points a
 * plug-in module exports with C linkage. The host includes this header and
 * nothing else of the plug-in.
 *
 * Ownership: every text and icon cell a plug-in stores in a record is a block
 * the plug-in allocated for the host; the host reads it and hands it back to
 * ems_free. Texts the host passes in stay the host's. */

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Entry points are exported from the module; everything else stays inside. */
#define EMS_EXPORT __attribute__((visibility("default")))

/* Result codes of every entry point. */
enum {
  kEmsOk = 0,              /* success */
  kEmsUnknownFailure = 1,  /* the request could not be carried out */
  kEmsCannotTranslate = 2, /* the translator does not apply to that part */
  kEmsInvalidId = 3,       /* no menu item or translator with that id */
  kEmsRefused = 8,         /* the request is not possible in this host */
  kEmsTranslateNow = 10    /* the translator applies to that part */
};

/* An icon as the host draws it; the stand-in host knows icons by their
 * resource number. Handed over in a newly allocated cell. */
typedef uintptr_t EmsIconHandle;

/* What the host asks of a plug-in at start. */
typedef struct EmsPluginInfo {
  int32_t translator_count; /* out */
  int32_t attacher_count;   /* out */
  int32_t special_count;    /* out: Special-menu items */
  char* description;        /* out: the plug-in's name and version */
  int32_t id;               /* out: the plug-in's id */
  EmsIconHandle* icon;      /* out: a cell holding the plug-in's icon */
} EmsPluginInfo;

/* The host's mail configuration. */
typedef struct EmsMailConfig {
  const char* config_dir; /* the plug-in configuration folder, no trailing separator */
} EmsMailConfig;

/* One Special-menu item; the host fills `id`, the plug-in the rest. */
typedef struct EmsMenu {
  int32_t id;
  char* description;   /* out: the item's text */
  int32_t flags;       /* out */
  EmsIconHandle* icon; /* out: a cell holding the item's icon, or null */
} EmsMenu;

/* One message translator; the host fills `id`, the plug-in the rest. */
typedef struct EmsTranslator {
  int32_t id;
  int32_t type;        /* out */
  int32_t flags;       /* out */
  char* description;   /* out */
  EmsIconHandle* icon; /* out: a cell holding the translator's icon */
} EmsTranslator;

/* The message part a translator is offered. */
typedef struct EmsDataInfo {
  int32_t context;          /* where the part is (context bits) */
  const char* mime_type;    /* e.g. "text"; null reads as empty */
  const char* mime_subtype; /* e.g. "html"; null reads as empty */
} EmsDataInfo;

/* A MIME type a plug-in hands the host: one newly allocated block holding
 * the record and its texts, which the host gives back whole to ems_free. */
typedef struct EmsMimeType {
  const char* type;    /* e.g. "text" */
  const char* subtype; /* e.g. "plain" */
  const char* version; /* e.g. "1.0" */
} EmsMimeType;

/* The header lines of the message a part belongs to. */
typedef struct EmsHeaderData {
  const char* raw_headers; /* the header lines as the message holds them, without the empty line */
} EmsHeaderData;

/* A message part in a file, handed to a translator (in) or filled by it
 * (out). The host creates both files; the translator writes into the output
 * file, which it does not create. */
typedef struct EmsDataFile {
  int32_t context;        /* where the part is (context bits) */
  const char* file_name;  /* the part's file */
  EmsHeaderData* header;  /* in: the message's headers, or null when the host has none */
  EmsMimeType* mime_type; /* out: the result's MIME type, a newly allocated block, or null */
} EmsDataFile;

/* A translator's progress report to the host: percent done; non-zero asks
 * the translator to stop. */
typedef int32_t (*EmsProgressFn)(int32_t percent);

/* The entry points. `globals` is the host's and is passed through unread. */
typedef int32_t (*EmsPluginVersionFn)(int16_t* api_version);
typedef int32_t (*EmsPluginInitFn)(void* globals, int16_t api_version, EmsMailConfig* config,
                                   EmsPluginInfo* info);
typedef int32_t (*EmsPluginFinishFn)(void* globals);
typedef int32_t (*EmsPluginConfigFn)(void* globals, EmsMailConfig* config);
typedef int32_t (*EmsSpecialInfoFn)(void* globals, EmsMenu* menu);
typedef int32_t (*EmsSpecialHookFn)(void* globals, EmsMenu* menu);
typedef int32_t (*EmsTranslatorInfoFn)(void* globals, EmsTranslator* translator);
typedef int32_t (*EmsCanTranslateFn)(void* globals, EmsTranslator* translator, EmsDataInfo* data,
                                     int32_t* status);
typedef int32_t (*EmsTranslateFileFn)(void* globals, EmsTranslator* translator, EmsDataFile* in,
                                      EmsProgressFn progress, EmsDataFile* out);
typedef int32_t (*EmsFreeFn)(void* block);
/* Tavi's own exports. */
typedef int32_t (*TaviOpenNewsboardFn)(void* globals, int32_t reserved, const char* text,
                                       int32_t reserved_too);
/* designed: 1 for the waits a real host needs, 0 for none. A host that never
 * calls it gets the designed waits. */
typedef int32_t (*TaviUsePacingFn)(int32_t designed);

EMS_EXPORT int32_t ems_plugin_version(int16_t* api_version);
EMS_EXPORT int32_t ems_plugin_init(void* globals, int16_t api_version, EmsMailConfig* config,
                                   EmsPluginInfo* info);
EMS_EXPORT int32_t ems_plugin_finish(void* globals);
EMS_EXPORT int32_t ems_plugin_config(void* globals, EmsMailConfig* config);
EMS_EXPORT int32_t ems_special_info(void* globals, EmsMenu* menu);
EMS_EXPORT int32_t ems_special_hook(void* globals, EmsMenu* menu);
EMS_EXPORT int32_t ems_translator_info(void* globals, EmsTranslator* translator);
EMS_EXPORT int32_t ems_can_translate(void* globals, EmsTranslator* translator, EmsDataInfo* data,
                                     int32_t* status);
EMS_EXPORT int32_t ems_translate_file(void* globals, EmsTranslator* translator, EmsDataFile* in,
                                      EmsProgressFn progress, EmsDataFile* out);
EMS_EXPORT int32_t ems_free(void* block);
EMS_EXPORT int32_t tavi_OpenNewsboard(void* globals, int32_t reserved, const char* text,
                                      int32_t reserved_too);
EMS_EXPORT int32_t tavi_UsePacing(int32_t designed);

#ifdef __cplusplus
}
#endif

#endif /* TAVI_PLUGIN_EMS_API_H */
