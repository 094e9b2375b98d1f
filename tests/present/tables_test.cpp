// The core's small text functions checked row by row from the tables in
// tests/data/tables: FUNCTION|ARGUMENT...|EXPECTED, with \t, \r, \n, \| and
// \\ escapes, \uXXXX for other characters, \xHH for a file's bytes, and en or
// ru for a language.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <sstream>

#include "present/apple_labels.h"
#include "present/caption.h"
#include "present/email.h"
#include "present/labels.h"
#include "support/temp_file.h"
#include "present/card_match.h"
#include "text/case_fold.h"
#include "text/charset.h"
#include "text/code_page_guess.h"
#include "text/file_text.h"
#include "text/text_util.h"
#include "text/utf8.h"
#include "vcard/line_split.h"
#include "vcard/property_line.h"
#include "vcard/value_decode.h"

namespace kontaktel {
namespace {

using Args = std::vector<std::wstring>;

std::vector<std::wstring> Fields(const std::string& row) {
  std::vector<std::wstring> fields(1);
  std::string bytes;
  const auto flush = [&] {
    std::wstring text;
    Utf8ToWide(bytes.data(), bytes.size(), false, text);
    fields.back() += text;
    bytes.clear();
  };
  for (size_t i = 0; i < row.size(); ++i) {
    if (row[i] == '|') {
      flush();
      fields.emplace_back();
    } else if (row[i] != '\\' || i + 1 == row.size()) {
      bytes += row[i];
    } else if (row[++i] == 'u' || row[i] == 'x') {
      flush();
      const size_t digits = row[i] == 'u' ? 4 : 2;
      fields.back() += static_cast<wchar_t>(std::stoul(row.substr(i + 1, digits), nullptr, 16));
      i += digits;
    } else {
      bytes += row[i] == 't' ? '\t' : row[i] == 'r' ? '\r' : row[i] == 'n' ? '\n' : row[i];
    }
  }
  flush();
  return fields;
}

std::wstring Join(const std::vector<std::wstring>& items, const wchar_t* separator) {
  std::wstring text;
  for (size_t i = 0; i < items.size(); ++i) text += (i ? separator : L"") + items[i];
  return text;
}

std::wstring Hex(const std::vector<uint8_t>& bytes) {
  std::wstring text;
  for (const uint8_t byte : bytes) {
    wchar_t pair[4];
    swprintf(pair, 4, L"%02x", byte);
    text += (text.empty() ? L"" : L" ") + std::wstring(pair);
  }
  return text;
}

std::wstring YesNo(bool value) { return value ? L"yes" : L"no"; }

template <typename Texts>
std::wstring Slashed(const Texts& texts) {
  return Join(std::vector<std::wstring>(texts.begin(), texts.end()), L" / ");
}

template <typename Texts>
std::wstring Bracketed(const Texts& texts) {
  std::wstring text;
  for (const auto& item : texts) text += L"[" + std::wstring(item) + L"]";
  return text;
}

// What each table's function gives for its arguments, as text.
const std::map<std::string, std::function<std::wstring(const Args&)>> kFunctions = {
    {"field-label", [](const Args& a) { return FieldLabel(a[0], a[1] == L"ru"); }},
    {"type-label", [](const Args& a) { return TypeLabel(a[0], a[1] == L"ru"); }},
    {"caption", [](const Args& a) { return FormatPropertyCaption(a[0], a[1] == L"ru"); }},
    {"apple-label", [](const Args& a) { return std::wstring(UnwrapAppleLabel(a[0])); }},
    {"email", [](const Args& a) { return ExtractEmailAddress(a[0]); }},
    {"strip-group", [](const Args& a) { return StripGroup(a[0]); }},
    {"types",
     [](const Args& a) {
       const std::vector<std::wstring_view> params(a.begin(), a.end());
       return Join(CollectTypes(params), L",");
     }},
    {"charset", [](const Args& a) { return std::to_wstring(CharsetToCodePage(a[0])); }},
    {"space", [](const Args& a) { return YesNo(IsSpaceChar(a[0].at(0))); }},
    {"trim", [](const Args& a) { return std::wstring(TrimSpace(a[0])); }},
    {"upper", [](const Args& a) { return AsciiUpper(a[0]); }},
    {"strip-quotes", [](const Args& a) { return std::wstring(StripQuotes(a[0])); }},
    {"split", [](const Args& a) { return Slashed(SplitFields(a[0], L';')); }},
    {"unescape", [](const Args& a) { return UnescapeText(a[0]); }},
    {"split-escaped", [](const Args& a) { return Slashed(SplitEscaped(a[0])); }},
    {"decode", [](const Args& a) { return DecodeValue(a[0], a[1] == L"qp", a[2]); }},
    // quoted-printable read in the page the file was read in (the last argument)
    {"decode-in-page",
     [](const Args& a) { return DecodeValue(a[0], true, a[1], std::stoul(a[2])); }},
    {"qp-bytes", [](const Args& a) { return Hex(DecodeQuotedPrintable(a[0])); }},
    {"base64-bytes", [](const Args& a) { return Hex(DecodeBase64(a[0])); }},
    // a file's bytes (\xHH) read as text: marks, strict UTF-8, folds, CHARSET parameters
    {"file-text",
     [](const Args& a) {
       std::string bytes;
       for (const wchar_t c : a[0]) bytes += static_cast<char>(c);
       return DecodeFileText(bytes);
     }},
    {"file-page",
     [](const Args& a) {
       std::string bytes;
       for (const wchar_t c : a[0]) bytes += static_cast<char>(c);
       return std::to_wstring(DecodeFileTextAndCodePage(bytes).codePage);
     }},
    {"guess-page",
     [](const Args& a) {
       std::string bytes;
       for (const wchar_t c : a[0]) bytes += static_cast<char>(c);
       return std::to_wstring(GuessSingleByteCodePage(bytes));
     }},
    // each line in brackets
    {"split-lines", [](const Args& a) { return Bracketed(SplitLines(a[0])); }},
    {"unfold", [](const Args& a) { return Bracketed(UnfoldLines(SplitLines(a[0])).lines); }},
    {"lower", [](const Args& a) { return LowerForMatch(a[0]); }},
    // haystack, needle, "word" and "case" as the rules asked for
    {"contains",
     [](const Args& a) {
       return YesNo(TextContains(a[0], a[1], a[2].find(L"word") != std::wstring::npos,
                                 a[2].find(L"case") != std::wstring::npos));
     }},
    // prefix, NAME, the parameters, the value, then the flags (qp, b64, url) and the charset
    {"property",
     [](const Args& a) -> std::wstring {
       const std::optional<PropertyLine> line = ParsePropertyLine(a[0]);
       if (!line) return L"-";
       const std::vector<std::wstring> params(line->params.begin(), line->params.end());
       return std::wstring(line->rawPrefix) + L" / " + std::wstring(line->name) + L" / " +
              Join(params, L",") + L" / " + std::wstring(line->value) + L" /" +
              (line->quotedPrintable ? L" qp" : L"") + (line->base64 ? L" b64" : L"") +
              (line->valueIsUrl ? L" url" : L"") + L" / " + std::wstring(line->charset);
     }},
};

class Table : public ::testing::TestWithParam<const char*> {};

TEST_P(Table, RowsGiveTheirExpectedText) {
  std::istringstream rows(test::ReadFixture(std::string("tables/") + GetParam() + ".txt"));
  int checked = 0;
  for (std::string row; std::getline(rows, row);) {
    if (row.empty() || row[0] == '#') continue;
    std::vector<std::wstring> fields = Fields(row);
    const auto function = kFunctions.find(WideToUtf8(fields.front()));
    ASSERT_NE(function, kFunctions.end()) << row;
    const std::wstring expected = fields.back();
    fields.pop_back();
    fields.erase(fields.begin());
    EXPECT_EQ(WideToUtf8(function->second(fields)), WideToUtf8(expected)) << row;
    ++checked;
  }
  EXPECT_GT(checked, 0);
}

INSTANTIATE_TEST_SUITE_P(Core, Table, ::testing::Values("labels", "captions", "property-lines", "text", "values", "file-texts"));

}  // namespace
}  // namespace kontaktel
