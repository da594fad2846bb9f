#pragma once

// The message translator "Get the Full Article" as the host learns of it:
// its description, and whether it applies to a message part.

#include <cstdint>

#include "plugin/ems_api.h"

namespace tavi {

// Fills the record of the translator it names: type, flags, a new block with
// the description and a new icon cell. kEmsOk (and nothing filled) without a
// record; kEmsInvalidId for an id other than 1.
std::int32_t FillTranslatorInfo(EmsTranslator* translator);

// Whether the translator applies to the part: kEmsTranslateNow when the
// part's context bits share a bit with the translator's flags and its MIME
// type and subtype equal the translator's ("text", "html"; case counts);
// kEmsCannotTranslate otherwise or when a record is missing; kEmsInvalidId
// for an id other than 1.
std::int32_t CanTranslate(const EmsTranslator* translator, const EmsDataInfo* data);

}  // namespace tavi
