// kontaktel-dump: shows how the plugin's own code reads vCard files.
//   kontaktel-dump FILE...          a short summary of each card
//   kontaktel-dump --json FILE...   every field of every card as JSON, one
//                                   object per file with the code page it was
//                                   read in, with the details texts
//   kontaktel-dump --text [--ru] FILE...
//                                   each card's details as the viewer shows
//                                   them, in English or Russian
//   kontaktel-dump --lines FILE...  each logical line and its parsed parts
//   kontaktel-dump --count FILE...  the number of cards of each file
// Files are read as the viewer reads them, in pieces; --pieces N (before the
// other options) reads pieces of N bytes, which the tests use to cut files at
// every kind of place.
// Output is UTF-8. A file that cannot be read makes the exit status 1 (and is
// reported on stderr, or as {"file": NAME, "error": "unreadable"} in JSON); the
// other files are still dumped.
#include <cstdio>
#include <cwchar>
#include <memory>
#include <string>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "card_dump.h"
#include "line_dump.h"
#include "text/file_text.h"
#include "text/utf8.h"
#include "vcard/card_load.h"
#include "vcard/card_parser.h"

namespace {

using namespace kontaktel;

enum class Mode { kSummary, kJson, kLines, kText, kCount };

constexpr char kUsage[] =
    "usage: kontaktel-dump [--pieces N] [--json | --lines | --count | --text [--ru]] FILE...\n"
    "  (no option)  a short summary of each card\n"
    "  --json       every field of every card as JSON, with its details texts\n"
    "  --lines      each logical line and its parsed parts\n"
    "  --count      the number of cards of each file, one line per file\n"
    "  --text       each card's details as the viewer shows them (--ru: in Russian)\n"
    "  --pieces N   read files in pieces of N bytes (default: as the viewer does)\n";

// The file's cards as the viewer reads them, and the page its text was read
// in; nothing when the viewer would decline the file or a read fails.
bool LoadCards(const std::wstring& name, size_t pieceBytes, CardSet& cards, unsigned& codePage) {
  std::unique_ptr<CardLoad> load = CardLoad::Open(name.c_str(), kMaxFileSize, pieceBytes);
  if (!load) return false;
  while (!load->Done()) {
    CardLoad::Batch batch = load->Step();
    if (batch.replaces) cards = CardSet{};
    cards.Append(std::move(batch.cards));
  }
  codePage = load->TakeBytes().codePage;
  // A file whose text reads as nothing is declined as before.
  return !load->Failed() && codePage != 0;
}

int Run(std::vector<std::wstring> args) {
  size_t pieceBytes = CardLoad::kPieceBytes;
  if (args.size() >= 2 && args[0] == L"--pieces") {
    pieceBytes = static_cast<size_t>(std::wcstoul(args[1].c_str(), nullptr, 10));
    args.erase(args.begin(), args.begin() + 2);
    if (pieceBytes == 0) {
      std::fputs(kUsage, stderr);
      return 2;
    }
  }
  Mode mode = Mode::kSummary;
  if (!args.empty() && args[0] == L"--json") mode = Mode::kJson;
  if (!args.empty() && args[0] == L"--lines") mode = Mode::kLines;
  if (!args.empty() && args[0] == L"--text") mode = Mode::kText;
  if (!args.empty() && args[0] == L"--count") mode = Mode::kCount;
  if (mode != Mode::kSummary) args.erase(args.begin());
  bool russian = false;
  if (mode == Mode::kText && !args.empty() && args[0] == L"--ru") {
    russian = true;
    args.erase(args.begin());
  }
  if (args.empty() || (args[0].size() > 1 && args[0][0] == L'-' && args[0][1] == L'-')) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  Output out;
  JsonWriter json;
  int status = 0;
  for (const std::wstring& name : args) {
    // The lines are shown from the whole text; everything else from the
    // cards as the viewer reads them.
    FileText file;
    CardSet cards;
    const bool read = mode == Mode::kLines
                          ? !(file = LoadFileTextAndCodePage(name.c_str())).text.empty()
                          : LoadCards(name, pieceBytes, cards, file.codePage);
    if (!read) {
      status = 1;
      if (mode == Mode::kJson) {
        json.BeginObject();
        json.Key("file");
        json.String(name);
        json.Key("error");
        json.String(L"unreadable");
        json.EndObject();
        out << json.Take();
      } else {
        out.Flush();
        std::fprintf(stderr,
                     "kontaktel-dump: %s: cannot be read (missing, empty, over %u MiB or not "
                     "text)\n",
                     WideToUtf8(name).c_str(), static_cast<unsigned>(kMaxFileSize >> 20));
      }
      out.Flush();
      continue;
    }
    switch (mode) {
      case Mode::kLines: DumpLines(out, name, file.text); break;
      case Mode::kJson:
        WriteCardsJson(json, name, file.codePage, cards);
        out << json.Take();
        break;
      case Mode::kSummary: DumpCardSummary(out, name, cards); break;
      case Mode::kText: DumpCardDetails(out, name, cards, russian); break;
      case Mode::kCount: {
        const size_t count = cards.size();
        out << name << ": " << count << (count == 1 ? " card\n" : " cards\n");
        break;
      }
    }
    out.Flush();
  }
  return status;
}

int RunGuarded(std::vector<std::wstring> args) {
  try {
    return Run(std::move(args));
  } catch (const std::bad_alloc&) {
    std::fputs("kontaktel-dump: out of memory\n", stderr);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "kontaktel-dump: %s\n", e.what());
  }
  return 1;
}

}  // namespace

#ifdef _WIN32
int wmain(int argc, wchar_t** argv) {
  // UTF-8 goes out byte for byte; text mode would turn LF into CR LF.
  _setmode(_fileno(stdout), _O_BINARY);
  return RunGuarded(std::vector<std::wstring>(argv + 1, argv + argc));
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
  return RunGuarded(std::move(args));
}
#endif
