// kontaktel-corpus: writes a generated vCard export for benchmarks.
//   kontaktel-corpus OUT.vcf SIZE_BYTES [--no-photos | --photo-export] [--seed N]
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "corpus.h"

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fputs("usage: kontaktel-corpus OUT.vcf SIZE_BYTES [--no-photos | --photo-export] [--seed N]\n", stderr);
    return 2;
  }
  kontaktel::bench::CorpusOptions options;
  char* end = nullptr;
  options.targetBytes = std::strtoull(argv[2], &end, 10);
  if (*end != '\0' || options.targetBytes == 0) {
    std::fprintf(stderr, "kontaktel-corpus: not a size in bytes: %s\n", argv[2]);
    return 2;
  }
  for (int i = 3; i < argc; ++i) {
    if (std::strcmp(argv[i], "--photo-export") == 0) {
      options.photoExport = true;
    } else if (std::strcmp(argv[i], "--no-photos") == 0) {
      options.photos = false;
    } else if (std::strcmp(argv[i], "--seed") == 0 && i + 1 < argc) {
      options.seed = std::strtoull(argv[++i], nullptr, 10);
    } else {
      std::fprintf(stderr, "kontaktel-corpus: unknown option %s\n", argv[i]);
      return 2;
    }
  }
  const std::string corpus = kontaktel::bench::GenerateCorpus(options);
  FILE* file = std::fopen(argv[1], "wb");
  if (file == nullptr) {
    std::fprintf(stderr, "kontaktel-corpus: cannot write %s\n", argv[1]);
    return 1;
  }
  const bool written = std::fwrite(corpus.data(), 1, corpus.size(), file) == corpus.size();
  if (std::fclose(file) != 0 || !written) {
    std::fprintf(stderr, "kontaktel-corpus: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
