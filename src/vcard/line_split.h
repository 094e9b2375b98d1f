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

// About the number of raw lines of a text, counted fast: an upper bound on its
// logical lines.
size_t EstimateLines(std::wstring_view text);

// The logical lines of a text one at a time, as UnfoldText gives them,
// without a list of them: a line that is not folded is a view into the text,
// a folded one is joined into a buffer of the reader's. The continuation
// rules look one line ahead with Peek and take it in with Advance. Raw
// offsets tell where lines stand in the text as written.
class LineReader {
 public:
  explicit LineReader(std::wstring_view text) : text_(text) {}
  template <TemporaryWstring T>
  explicit LineReader(T&& text) = delete;

  // Moves to the next logical line; false at the end of the text.
  bool Next();
  // The current line; valid until the next call of Next.
  std::wstring_view Line() const { return current_.line; }
  // Where the current line begins in the text, and where the last line taken
  // in (the current one, or the last one Advance took) ends.
  size_t LineStart() const { return current_.start; }
  size_t TakenEnd() const { return takenEnd_; }

  // The line after the last one taken in, without taking it; false at the
  // end. Valid until the next Peek, Advance or Next.
  bool Peek(std::wstring_view& next);
  // Takes in the line Peek gave.
  void Advance();

  // Whether a line read or peeked so far ran into the end of the text, so
  // that more text after it could still have changed it.
  bool ReachedEnd() const { return reachedEnd_; }

 private:
  struct Found {
    std::wstring_view line;
    size_t start = 0;
    size_t end = 0;  // after the last character of its last raw line
    bool joined = false;
  };
  // The logical line that begins at or after `from`, joined into `buffer`
  // when it is folded; false at the end of the text.
  bool Scan(size_t from, Found& found, std::wstring& buffer) const;

  std::wstring_view text_;
  Found current_;
  Found peeked_;
  bool hasPeeked_ = false;
  mutable bool reachedEnd_ = false;
  size_t takenEnd_ = 0;
  std::wstring currentBuffer_;
  std::wstring peekedBuffer_;
};

}  // namespace kontaktel
