// kontaktel-bench: how fast the plugin reads files.
//   kontaktel-bench [--runs N] FILE...
// For each file: LoadFileText + ParseCards (min and median of N runs, MB/s),
// and, measured in the same run as a baseline, reading the file and converting
// it from UTF-8 with the platform conversion alone; then their ratio and the
// peak resident memory while parsing.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "text/file_text.h"
#include "text/platform.h"
#include "text/utf8.h"
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

// Peak resident set in KiB from /proc (Wine maps the path to its own process).
// Writing 5 to clear_refs starts a new peak where the kernel allows it.
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

std::wstring WidePath(const char* path) {
  std::wstring wide;
  kontaktel::Utf8ToWide(path, std::strlen(path), false, wide);
  return wide;
}

}  // namespace

int main(int argc, char** argv) {
  int runs = 5;
  std::vector<const char*> files;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--runs") == 0 && i + 1 < argc) {
      runs = std::max(1, std::atoi(argv[++i]));
    } else {
      files.push_back(argv[i]);
    }
  }
  if (files.empty()) {
    std::fputs("usage: kontaktel-bench [--runs N] FILE...\n", stderr);
    return 2;
  }
  std::printf("%-28s %9s %8s %10s %10s %9s %10s %10s %6s %10s\n", "file", "MiB", "cards", "parse min",
              "parse med", "MB/s", "base min", "base med", "ratio", "peak MiB");
  int status = 0;
  for (const char* file : files) {
    const std::wstring path = WidePath(file);
    std::vector<double> parse, baseline;
    size_t cards = 0, bytes = 0;
    long peakKib = -1;
    for (int run = 0; run < runs; ++run) {
      // Baseline: the same read, and one platform UTF-8 conversion.
      auto start = Clock::now();
      std::string raw;
      if (!kontaktel::PlatformReadFile(path.c_str(), kontaktel::kMaxFileSize, raw)) break;
      const std::wstring converted =
          kontaktel::PlatformMultiByteToWide(raw.data(), raw.size(), kontaktel::kCodePageUtf8, false);
      baseline.push_back(Seconds(start));
      bytes = raw.size();
      raw = std::string();
      if (converted.empty() && bytes > 0) break;

      ResetPeak();
      const long before = ReadPeakKib();
      start = Clock::now();
      const kontaktel::CardSet set = kontaktel::ParseCards(kontaktel::LoadFileText(path.c_str()));
      parse.push_back(Seconds(start));
      const long after = ReadPeakKib();
      cards = set.size();
      if (before >= 0 && after >= 0) peakKib = std::max(peakKib, after);
    }
    if (parse.empty()) {
      std::fprintf(stderr, "kontaktel-bench: %s cannot be read\n", file);
      status = 1;
      continue;
    }
    const double mib = bytes / 1048576.0;
    const double parseMin = *std::min_element(parse.begin(), parse.end());
    const double baseMin = *std::min_element(baseline.begin(), baseline.end());
    const char* name = std::strrchr(file, '/') ? std::strrchr(file, '/') + 1 : file;
    std::printf("%-28s %9.2f %8zu %8.1fms %8.1fms %9.1f %8.1fms %8.1fms %6.2f %10.1f\n", name, mib,
                cards, parseMin * 1e3, Median(parse) * 1e3, bytes / 1e6 / parseMin, baseMin * 1e3,
                Median(baseline) * 1e3, parseMin / baseMin, peakKib / 1024.0);
  }
  return status;
}
