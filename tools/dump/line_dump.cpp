#include "line_dump.h"

#include <optional>
#include <vector>

#include "text/text_util.h"
#include "vcard/line_split.h"
#include "vcard/property_line.h"

namespace kontaktel {

namespace {

template <typename Text>
std::wstring Join(const std::vector<Text>& items, std::wstring_view separator) {
  std::wstring joined;
  for (size_t i = 0; i < items.size(); ++i) {
    if (i > 0) joined += separator;
    joined += items[i];
  }
  return joined;
}

}  // namespace

void DumpLines(Output& out, std::wstring_view fileName, const std::wstring& text) {
  const LineList lines = UnfoldLines(SplitLines(text));
  out << "== " << fileName << ": " << lines.lines.size() << " logical lines\n";
  for (size_t i = 0; i < lines.lines.size(); ++i) {
    out << (i + 1) << "\t" << lines.lines[i] << "\n";
    const std::wstring_view trimmed = TrimSpace(lines.lines[i]);
    std::optional<PropertyLine> line = trimmed.empty() ? std::nullopt : ParsePropertyLine(trimmed);
    if (!line) {
      out << "\t(not a property line)\n";
      continue;
    }
    out << "\tname: " << line->name << "\n";
    if (!line->params.empty()) out << "\tparams: " << Join(line->params, L" | ") << "\n";
    if (line->name == L"TEL" || line->name == L"EMAIL") {
      out << "\ttypes: " << Join(CollectTypes(line->params), L", ") << "\n";
    }
    std::vector<std::wstring> flags;
    if (line->quotedPrintable) flags.push_back(L"quoted-printable");
    if (line->base64) flags.push_back(L"base64");
    if (line->valueIsUrl) flags.push_back(L"url");
    if (!flags.empty()) out << "\tflags: " << Join(flags, L" ") << "\n";
    if (!line->charset.empty()) out << "\tcharset: " << line->charset << "\n";
    // The lines a value takes in are shown with it, as the card reader sees them.
    const size_t first = i;
    std::wstring value(line->value);
    if (line->quotedPrintable) {
      ContinueQuotedPrintable(lines.lines, i, value);
    } else if (line->name == L"PHOTO" && !line->valueIsUrl) {
      ContinuePhoto(lines.lines, i, value);
    }
    for (size_t taken = first + 1; taken <= i; ++taken) {
      out << (taken + 1) << "\t" << lines.lines[taken] << "\n\t(taken in by line " << (first + 1)
          << ")\n";
    }
    out << "\tvalue: " << value << "\n";
  }
}

}  // namespace kontaktel
