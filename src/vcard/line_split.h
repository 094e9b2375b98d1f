// Splitting a file's text into logical lines.
#pragma once

#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "text/text_util.h"

namespace kontaktel {

// Logical lines after unfolding. Most lines are views into the file's text;
// a folded line is joined into `joined`, whose strings never move. The text
// passed to UnfoldLines must outlive the list.
struct LineList {
  std::vector<std::wstring_view> lines;
  std::deque<std::wstring> joined;

  LineList() = default;
  LineList(LineList&&) = default;
  LineList& operator=(LineList&&) = default;
  // Copying would leave the views pointing into the other list's strings.
  LineList(const LineList&) = delete;
  LineList& operator=(const LineList&) = delete;
};

// Cuts at CR and LF; a run of breaks counts as one, so blank lines vanish. Only
// a text that begins with a break yields an empty first line.
std::vector<std::wstring_view> SplitLines(std::wstring_view text);
template <TemporaryWstring T>
std::vector<std::wstring_view> SplitLines(T&& text) = delete;

// Joins each line that begins with a blank or a tab to the one before it,
// without that first character, and drops empty lines. A leading indented line
// with nothing before it stays a line of its own.
LineList UnfoldLines(const std::vector<std::wstring_view>& lines);

// UnfoldLines(SplitLines(text)) in one pass, without the list of raw lines.
LineList UnfoldText(std::wstring_view text);
template <TemporaryWstring T>
LineList UnfoldText(T&& text) = delete;

}  // namespace kontaktel
