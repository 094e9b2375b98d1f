#include "support/temp_file.h"

#include "text/utf8.h"

#include <atomic>
#include <cstdint>
#include <fstream>
#include <sstream>
#include <stdexcept>

#ifndef KONTAKTEL_TEST_DATA
#error "KONTAKTEL_TEST_DATA must name the fixture folder"
#endif

namespace kontaktel::test {

namespace {
std::atomic<unsigned> counter{0};
}

TempFile::TempFile(std::string_view bytes, std::wstring_view suffix) {
  const unsigned id = counter++;
  const std::wstring name = L"kontaktel-test-" + std::to_wstring(id) + L"-" +
                           std::to_wstring(reinterpret_cast<uintptr_t>(this) & 0xFFFFFF) +
                           std::wstring(suffix);
#ifdef _WIN32
  path_ = std::filesystem::temp_directory_path() / name;
  widePath_ = path_.wstring();
#else
  // The C locale cannot convert non-ASCII wide names; the core reads paths as UTF-8.
  const std::string folder = std::filesystem::temp_directory_path().string();
  path_ = folder + "/" + WideToUtf8(name);
  widePath_ = std::wstring(folder.begin(), folder.end()) + L"/" + name;
#endif
  std::ofstream out(path_, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write temporary file");
}

TempFile::~TempFile() {
  std::error_code ignored;
  std::filesystem::remove(path_, ignored);
}

std::string ReadFixture(std::string_view name) {
  std::ifstream in(std::filesystem::path(KONTAKTEL_TEST_DATA) / name, std::ios::binary);
  if (!in) throw std::runtime_error("missing fixture " + std::string(name));
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

}  // namespace kontaktel::test
