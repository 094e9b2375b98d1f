// A small JSON writer (RFC 8259, UTF-8) for the dump program: objects, arrays,
// strings from wide text, numbers and null, indented two blanks a level.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace kontaktel {

class JsonWriter {
 public:
  void BeginObject() { Open('{'); }
  void EndObject() { Close('}'); }
  void BeginArray() { Open('['); }
  void EndArray() { Close(']'); }
  // Inside an object every value follows a Key.
  void Key(std::string_view key);
  void String(std::wstring_view text);
  void Number(size_t number);
  void Bool(bool value);
  void Null();

  // The text written so far; the writer starts afresh.
  std::string Take();

 private:
  void Open(char bracket);
  void Close(char bracket);
  void BeforeValue();
  void NewLine();

  std::string out_;
  std::vector<bool> hasItems_;  // one entry per open object or array
  bool afterKey_ = false;
};

// A wide text as a JSON string literal: UTF-8, with a lone surrogate written as
// a \uXXXX escape.
std::string JsonQuote(std::wstring_view text);

}  // namespace kontaktel
