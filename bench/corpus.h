// A deterministic generator of realistic vCard exports for benchmarks and
// tests: Apple-style 3.0 cards with item groups, folded lines and photos,
// phone-style 2.1 cards with quoted-printable Cyrillic, and 4.0 cards.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace kontaktel::bench {

struct CorpusOptions {
  uint64_t seed = 1;
  size_t targetBytes = 1 << 20;  // the file stops at the last card that fits
  bool photos = true;            // about one card in ten carries a Base64 JPEG
  // A phone's or cloud's export of an address book with pictures: every card
  // an Apple-style card with a photo of 15 to 25 KB.
  bool photoExport = false;
};

std::string GenerateCorpus(const CorpusOptions& options);

}  // namespace kontaktel::bench
