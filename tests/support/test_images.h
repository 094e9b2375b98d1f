// Real images made with GDI+'s own encoders, for the photo tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kontaktel::test {

// A width x height image in the format of `mimeType` ("image/png",
// "image/jpeg", "image/gif", "image/bmp"): a left half of one colour and a
// right half of another. Empty when GDI+ is not running or cannot encode.
std::vector<uint8_t> EncodeImage(const wchar_t* mimeType, int width, int height);

// A two-colour GIF written here byte by byte: Wine's GIF encoder writes only
// a header.
std::vector<uint8_t> MakeGif(int width, int height);

std::string Base64(const std::vector<uint8_t>& bytes);

// A vCard 3.0 card with a name and an embedded photo.
std::string CardWithPhoto(const std::string& name, const std::vector<uint8_t>& photo);

}  // namespace kontaktel::test
