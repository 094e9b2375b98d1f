// kontaktel-fuzz-replay DIR: runs every file of DIR/<target>/ through that
// target, so that each input that once crashed stays tested on every build.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "fuzz_targets.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: kontaktel-fuzz-replay DIR\n", stderr);
    return 2;
  }
  const std::filesystem::path root = argv[1];
  size_t replayed = 0;
  for (const auto& target : kontaktel::fuzz::kTargets) {
    const std::filesystem::path folder = root / std::string(target.name);
    if (!std::filesystem::is_directory(folder)) continue;
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
      if (entry.is_regular_file()) files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    for (const auto& file : files) {
      std::ifstream in(file, std::ios::binary);
      const std::vector<char> bytes((std::istreambuf_iterator<char>(in)),
                                    std::istreambuf_iterator<char>());
      std::printf("%s %s\n", std::string(target.name).c_str(), file.filename().string().c_str());
      std::fflush(stdout);
      target.run(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
      ++replayed;
    }
  }
  std::printf("replayed %zu inputs\n", replayed);
  return replayed > 0 ? 0 : 1;
}
