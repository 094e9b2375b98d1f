// A file with given bytes in the temporary folder, removed again on scope exit.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace kontaktel::test {

class TempFile {
 public:
  explicit TempFile(std::string_view bytes, std::wstring_view suffix = L".vcf");
  ~TempFile();
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;
  const std::wstring& Path() const { return widePath_; }

 private:
  std::filesystem::path path_;
  std::wstring widePath_;
};

// Reads a fixture from tests/data.
std::string ReadFixture(std::string_view name);

}  // namespace kontaktel::test
