// kontaktel-dump: shows how the plugin's own code reads vCard files.
//   kontaktel-dump FILE...   each logical line and its parsed parts; lines that
//                            a quoted-printable value or photo data takes in
//                            are shown with the line that takes them
// Output is UTF-8. A file that cannot be read is reported on stderr and makes
// the exit status 1; the other files are still shown.
#include <cstdio>
#include <string>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "text/file_text.h"
#include "text/text_util.h"
#include "text/utf8.h"
#include "vcard/line_split.h"
#include "vcard/property_line.h"

namespace {

using namespace kontaktel;

class Output {
 public:
  Output& operator<<(std::wstring_view text) {
    buffer_ += WideToUtf8(text);
    return *this;
  }
  Output& operator<<(const char* text) {
    buffer_ += text;
    return *this;
  }
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

std::wstring Join(const std::vector<std::wstring>& items, std::wstring_view separator) {
  std::wstring joined;
  for (size_t i = 0; i < items.size(); ++i) {
    if (i > 0) joined += separator;
    joined += items[i];
  }
  return joined;
}

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
    if (line->quotedPrintable) {
      ContinueQuotedPrintable(lines.lines, i, line->value);
    } else if (line->name == L"PHOTO" && !line->valueIsUrl) {
      ContinuePhoto(lines.lines, i, line->value);
    }
    for (size_t taken = first + 1; taken <= i; ++taken) {
      out << (taken + 1) << "\t" << lines.lines[taken] << "\n\t(taken in by line " << (first + 1)
          << ")\n";
    }
    out << "\tvalue: " << line->value << "\n";
  }
}

int Run(const std::vector<std::wstring>& args) {
  if (args.empty()) {
    std::fputs("usage: kontaktel-dump FILE...\n", stderr);
    return 2;
  }
  Output out;
  int status = 0;
  for (const std::wstring& name : args) {
    const std::wstring text = LoadFileText(name.c_str());
    if (text.empty()) {
      out.Flush();
      std::fprintf(stderr, "kontaktel-dump: %s: cannot be read as vCard text\n",
                   WideToUtf8(name).c_str());
      status = 1;
      continue;
    }
    DumpLines(out, name, text);
    out.Flush();
  }
  return status;
}

}  // namespace

#ifdef _WIN32
int wmain(int argc, wchar_t** argv) {
  // UTF-8 goes out byte for byte; text mode would turn LF into CR LF.
  _setmode(_fileno(stdout), _O_BINARY);
  return Run(std::vector<std::wstring>(argv + 1, argv + argc));
}
#else
int main(int argc, char** argv) {
  std::vector<std::wstring> args;
  for (int i = 1; i < argc; ++i) {
    std::wstring arg;
    const std::string bytes(argv[i]);
    kontaktel::Utf8ToWide(bytes.data(), bytes.size(), false, arg);
    args.push_back(arg);
  }
  return Run(args);
}
#endif
