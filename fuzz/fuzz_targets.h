// The fuzz targets as plain functions, so that libFuzzer drives them in the
// clang build and the test suite replays the saved inputs on every platform.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace kontaktel::fuzz {

// File bytes -> DecodeFileText -> UnfoldText -> ParseCards -> matching.
int FuzzParse(const uint8_t* data, size_t size);

// The value decoders, charset conversion and property-line parsing.
int FuzzDecode(const uint8_t* data, size_t size);

// Captions from raw prefixes, label unwrapping, the image-data test and
// e-mail discovery on arbitrary text.
int FuzzCaption(const uint8_t* data, size_t size);

using Target = int (*)(const uint8_t* data, size_t size);

struct NamedTarget {
  std::string_view name;  // also the folder of its seeds and regressions
  Target run;
};

// Every target; a new one (captions, details rendering) is added here and gets
// a folder under fuzz/regressions of the same name.
inline constexpr NamedTarget kTargets[] = {
    {"parse", &FuzzParse},
    {"decode", &FuzzDecode},
    {"caption", &FuzzCaption},
};

// Stops the run loudly: libFuzzer and the replay both report an abort.
[[noreturn]] void Fail(const char* what);

}  // namespace kontaktel::fuzz
