// Small text helpers shared by the parser and the presentation.
#pragma once

#include <concepts>
#include <string>
#include <string_view>
#include <vector>

namespace kontaktel {

// White space as the C runtime's iswspace sees it in the default locale. Below
// U+0100 the class is fixed here, because msvcrt and Wine disagree on U+0085.
bool IsSpaceChar(wchar_t c);

// The text without white space at either end. The view points into `text`.
std::wstring_view TrimSpace(std::wstring_view text);
// The view-returning helpers refuse temporary strings, whose views would dangle.
template <typename T>
concept TemporaryWstring = std::same_as<T, std::wstring>;
template <TemporaryWstring T>
std::wstring_view TrimSpace(T&& text) = delete;

// a-z become A-Z; every other character stays, so non-ASCII names never match
// an upper-case ASCII literal by accident.
std::wstring AsciiUpper(std::wstring_view text);
bool StartsWith(std::wstring_view text, std::wstring_view prefix);

// AsciiUpper(text) == upperLiteral, and its prefix form, without building the
// upper-case copy: names, parameters and keywords compare this way.
bool EqualsAsciiUpper(std::wstring_view text, std::wstring_view upperLiteral);
bool StartsWithAsciiUpper(std::wstring_view text, std::wstring_view upperLiteral);

// Removes one pair of surrounding double quotes; a lone quote stays.
std::wstring_view StripQuotes(std::wstring_view text);
template <TemporaryWstring T>
std::wstring_view StripQuotes(T&& text) = delete;

// Cuts at every separator and keeps empty segments: "a;;b;" gives a, "", b, "".
// An empty text gives one empty segment. The views point into `text`.
std::vector<std::wstring_view> SplitFields(std::wstring_view text, wchar_t separator);
template <TemporaryWstring T>
std::vector<std::wstring_view> SplitFields(T&& text, wchar_t separator) = delete;

}  // namespace kontaktel
