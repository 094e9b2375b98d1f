// kontaktel-bench: how fast the plugin reads files and filters their cards.
//   kontaktel-bench [--runs N] [--platform NAME] [--header] FILE...
//   kontaktel-bench --fresh parse|base FILE
//   kontaktel-bench --memory FILE
// For each file one table row: the file read as the viewer reads it, in pieces
// parsed as they come (min and median of N runs, MB/s); measured in the same runs as a baseline, reading the file and
// converting it from UTF-8 with the platform conversion alone; the ratio of
// the two minima; the peak memory while parsing (also as a multiple of the
// file size); the time to fold every card's texts once; and the filter time of
// one keystroke over all cards (median and maximum over a set of needles, each
// needle's time the median of N runs); and the time to render the details
// text of 1,000 cards.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#ifdef _WIN32
#include <windows.h>
// psapi.h needs the types of windows.h.
#include <psapi.h>
#endif

#include "present/card_match.h"
#include "present/details.h"
#include "text/file_text.h"
#include "text/platform.h"
#include "text/utf8.h"
#include "vcard/card_load.h"
#include "vcard/card_parser.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// What people type into the filter: names in both scripts, companies, cities,
// mail domains, number parts, type words, and prefixes of them as typed.
const std::vector<std::wstring>& FilterNeedles() {
  static const std::vector<std::wstring> needles{
      L"a",  L"an",   L"ann",   L"anna", L"mül",     L"smith",  L"peter",  L"и",
      L"ив", L"иван", L"ольга", L"acme", L"ромашка", L"berlin", L"москва", L"gmail",
      L"@",  L"+49",  L"555",   L"cell", L"work",    L"zq",     L"xyz"};
  return needles;
}

#ifdef _WIN32
// Under Wine, /proc/self would be opened by the wineserver and describe it, so
// the peak comes from the process's own counters (Wine fills them from the
// kernel's for this process). They cannot be reset, so each file is measured
// in a process of its own (scripts/bench does), and only in its first run.
long ReadPeakKib() {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)) return -1;
  return static_cast<long>(counters.PeakWorkingSetSize / 1024);
}

void ResetPeak() {}
#else
// Peak resident set in KiB; writing 5 to clear_refs starts a new peak.
long ReadPeakKib() {
  FILE* status = std::fopen("/proc/self/status", "r");
  if (status == nullptr) return -1;
  char line[256];
  long kib = -1;
  while (std::fgets(line, sizeof line, status)) {
    if (std::strncmp(line, "VmHWM:", 6) == 0) kib = std::strtol(line + 6, nullptr, 10);
  }
  std::fclose(status);
  return kib;
}

void ResetPeak() {
  if (FILE* refs = std::fopen("/proc/self/clear_refs", "w")) {
    std::fputs("5", refs);
    std::fclose(refs);
  }
}
#endif

std::wstring WidePath(const char* path) {
  std::wstring wide;
  kontaktel::Utf8ToWide(path, std::strlen(path), false, wide);
  return wide;
}

const char* BaseName(const char* path) {
  const char* name = path;
  for (const char* p = path; *p; ++p) {
    if (*p == '/' || *p == '\\') name = p + 1;
  }
  return name;
}

struct FilterTimes {
  double foldMs = 0;
  double medianMs = 0;
  double maxMs = 0;
};

FilterTimes TimeFilter(const kontaktel::CardSet& cards, int runs) {
  FilterTimes times;
  kontaktel::FilterState state;
  auto start = Clock::now();
  state.folded.Build(cards);
  times.foldMs = Seconds(start) * 1e3;
  std::vector<double> perNeedle;
  for (const std::wstring& needle : FilterNeedles()) {
    std::vector<double> samples;
    for (int run = 0; run < runs; ++run) {
      state.filterText = needle;
      start = Clock::now();
      kontaktel::RebuildVisibleList(cards, state);
      samples.push_back(Seconds(start) * 1e3);
    }
    perNeedle.push_back(Median(samples));
  }
  times.medianMs = Median(perNeedle);
  times.maxMs = *std::max_element(perNeedle.begin(), perNeedle.end());
  return times;
}

// Milliseconds to render the details text of 1,000 cards (both languages
// count as one rendering each): the median of `runs` passes over the cards.
double TimeRendering(const kontaktel::CardSet& cards, int runs) {
  if (cards.empty()) return 0;
  std::vector<double> samples;
  size_t sink = 0;
  for (int run = 0; run < runs; ++run) {
    const auto start = Clock::now();
    for (const kontaktel::Card& card : cards) {
      sink += kontaktel::RenderCardDetails(card, run % 2 == 1).size();
    }
    samples.push_back(Seconds(start) * 1e3 * 1000.0 / static_cast<double>(cards.size()));
  }
  if (sink == 0) std::fputs("", stdout);  // keeps the renderings from being optimised away
  return Median(samples);
}

// The file's cards as the viewer reads them; empty when it is declined.
kontaktel::CardSet LoadCards(const std::wstring& path) {
  kontaktel::CardSet cards;
  std::unique_ptr<kontaktel::CardLoad> load = kontaktel::CardLoad::Open(path.c_str());
  if (!load) return cards;
  while (!load->Done()) {
    kontaktel::CardLoad::Batch batch = load->Step();
    if (batch.replaces) cards = kontaktel::CardSet();
    cards.Append(std::move(batch.cards));
  }
  return cards;
}

// How the memory of a loaded file divides: the texts of its batches, the
// values decoded beside them, the records, and the filter's folded texts.
int PrintMemory(const char* file) {
  const kontaktel::CardSet cards = LoadCards(WidePath(file));
  kontaktel::FoldedCardTexts folded;
  folded.Build(cards);
  const kontaktel::CardSet::Memory memory = cards.MemoryUse();
  const double mib = 1048576.0;
  std::printf("%s: %zu cards in %zu batches; text %.1f MiB, photo lines %.1f MiB, decoded "
              "values %.1f MiB, records %.1f MiB, folded for the filter %.1f MiB\n",
              BaseName(file), cards.size(), cards.BatchCount(), memory.textBytes / mib,
              memory.photoBytes / mib, memory.arenaBytes / mib, memory.recordBytes / mib,
              folded.TextBytes() / mib);
  return 0;
}

// One load as the plugin meets it, in a process that has done nothing else:
// its heap is new, so every page the parse touches is faulted in. Prints the
// milliseconds and the peak memory in KiB; scripts/bench starts one process
// for the parse and one for the baseline.
int RunFresh(const char* what, const char* file) {
  const std::wstring path = WidePath(file);
  const auto start = Clock::now();
  size_t count = 0;
  if (std::strcmp(what, "parse") == 0) {
    // Loaded and folded for the filter, as the viewer has it once loaded.
    const kontaktel::CardSet cards = LoadCards(path);
    kontaktel::FoldedCardTexts folded;
    folded.Build(cards);
    count = cards.size() + (folded.TextBytes() == 0 ? 1 : 0);
  } else {
    std::string raw;
    if (!kontaktel::PlatformReadFile(path.c_str(), kontaktel::kMaxFileSize, raw)) return 1;
    const std::wstring converted = kontaktel::PlatformMultiByteToWide(
        raw.data(), raw.size(), kontaktel::kCodePageUtf8, false);
    count = converted.size();
  }
  const double ms = Seconds(start) * 1e3;
  std::printf("%.1f %ld %zu\n", ms, ReadPeakKib(), count);
  return 0;
}

void PrintHeader() {
  std::printf("%-16s %-8s %6s %6s %9s %9s %6s %8s %8s %5s %7s %5s %7s %7s %7s %8s\n", "file",
              "platform", "MiB", "cards", "parse min", "parse med", "MB/s", "base min", "base med",
              "ratio", "peakMiB", "xsize", "fold", "filt med", "filt max", "rend/1k");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 4 && std::strcmp(argv[1], "--fresh") == 0) return RunFresh(argv[2], argv[3]);
  if (argc == 3 && std::strcmp(argv[1], "--memory") == 0) return PrintMemory(argv[2]);
  int runs = 5;
  const char* platform = "";
  bool header = false;
  std::vector<const char*> files;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--runs") == 0 && i + 1 < argc) {
      runs = std::max(1, std::atoi(argv[++i]));
    } else if (std::strcmp(argv[i], "--platform") == 0 && i + 1 < argc) {
      platform = argv[++i];
    } else if (std::strcmp(argv[i], "--header") == 0) {
      header = true;
    } else {
      files.push_back(argv[i]);
    }
  }
  if (files.empty() && !header) {
    std::fputs("usage: kontaktel-bench [--runs N] [--platform NAME] [--header] FILE...\n", stderr);
    return 2;
  }
  if (header || *platform == '\0') PrintHeader();
  int status = 0;
  for (const char* file : files) {
    const std::wstring path = WidePath(file);
    std::vector<double> parse, baseline;
    size_t bytes = 0;
    long peakKib = -1;
    kontaktel::CardSet kept;
    // Baseline: the same read, and one platform UTF-8 conversion.
    auto runBaseline = [&] {
      const auto start = Clock::now();
      std::string raw;
      if (!kontaktel::PlatformReadFile(path.c_str(), kontaktel::kMaxFileSize, raw)) return false;
      std::wstring converted = kontaktel::PlatformMultiByteToWide(raw.data(), raw.size(),
                                                                  kontaktel::kCodePageUtf8, false);
      baseline.push_back(Seconds(start));
      bytes = raw.size();
      return !converted.empty() || bytes == 0;
    };
    auto runParse = [&] {
      ResetPeak();
      const auto start = Clock::now();
      kept = LoadCards(path);
      parse.push_back(Seconds(start));
    };
    for (int run = 0; run < runs; ++run) {
      // Each run starts with the cards of the run before freed, so that the
      // baseline and the parse find the heap alike. The first run parses
      // first: its peak is the parse's own, before any freed block lingers in
      // the heap (Windows' peak cannot be reset).
      kept = kontaktel::CardSet();
      if (run == 0) {
        runParse();
        peakKib = ReadPeakKib();
        kept = kontaktel::CardSet();
        if (!runBaseline()) break;
        runParse();  // the cards for the filter, and a second parse sample
      } else {
        if (!runBaseline()) break;
        runParse();
      }
    }
    if (parse.empty()) {
      std::fprintf(stderr, "kontaktel-bench: %s cannot be read\n", file);
      status = 1;
      continue;
    }
    const FilterTimes filter = TimeFilter(kept, runs);
    const double renderMs = TimeRendering(kept, runs);
    const double mib = bytes / 1048576.0;
    const double parseMin = *std::min_element(parse.begin(), parse.end());
    const double baseMin = *std::min_element(baseline.begin(), baseline.end());
    std::printf(
        "%-16s %-8s %6.2f %6zu %7.1fms %7.1fms %6.1f %6.1fms %6.1fms %5.2f %7.1f %5.1f %5.0fms "
        "%5.2fms %5.2fms %6.2fms\n",
        BaseName(file), *platform ? platform : "-", mib, kept.size(), parseMin * 1e3,
        Median(parse) * 1e3, bytes / 1e6 / parseMin, baseMin * 1e3, Median(baseline) * 1e3,
        parseMin / baseMin, peakKib / 1024.0, bytes > 0 ? peakKib * 1024.0 / bytes : 0.0,
        filter.foldMs, filter.medianMs, filter.maxMs, renderMs);
    std::fflush(stdout);
  }
  return status;
}
