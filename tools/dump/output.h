// Collects UTF-8 output and writes it to stdout byte for byte.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

#include "text/utf8.h"

namespace kontaktel {

class Output {
 public:
  Output& operator<<(std::wstring_view text) {
    buffer_ += WideToUtf8(text);
    return *this;
  }
  Output& operator<<(std::string_view text) {
    buffer_ += text;
    return *this;
  }
  Output& operator<<(const char* text) { return *this << std::string_view(text); }
  Output& operator<<(size_t number) {
    buffer_ += std::to_string(number);
    return *this;
  }
  void Flush() {
    std::fwrite(buffer_.data(), 1, buffer_.size(), stdout);
    std::fflush(stdout);
    buffer_.clear();
  }

 private:
  std::string buffer_;
};

}  // namespace kontaktel
