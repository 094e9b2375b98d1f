// A file's bytes kept beside its decoded text, and where a slice of the text
// stands in them: what a card's "own bytes" are.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace kontaktel {

// The bytes of a file and the code page its text was read in (FileText).
struct FileBytes {
  std::string bytes;
  unsigned codePage = 0;
  // The file was strict UTF-8 and its bytes were not kept: the text encodes
  // back to exactly the bytes it was read from.
  bool textIsUtf8 = false;
};

// The bytes that the text from `begin` to `end` was decoded from. Both ends
// must stand at line starts (or at the ends of the text), which is where cards
// begin and end. Line breaks are the landmarks: every CR and LF of the text
// comes from one CR or LF of the file, in every decoding the reader does
// (single-byte pages one to one, double-byte pages whose second bytes are
// never CR or LF, UTF-16 by 16-bit units), except the folds that a UTF-8 file
// cut inside a character and that reading joined. Nothing when the landmarks
// of text and bytes do not agree, so the answer is exact or none.
std::optional<std::string_view> SourceBytes(const FileBytes& file, std::wstring_view text,
                                            size_t begin, size_t end);
// The same over a piece of a file's bytes and the text read from it; only the
// piece at the file's start may begin with a byte-order mark.
std::optional<std::string_view> SourceBytes(std::string_view bytes, unsigned codePage,
                                            bool fileStart, std::wstring_view text, size_t begin,
                                            size_t end);

}  // namespace kontaktel
