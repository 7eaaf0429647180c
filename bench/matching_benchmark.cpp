// How long one name takes to be matched against a file specification.
//   matching_benchmark [--benchmark_filter=...]

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "targets/matching.h"

namespace {

const std::vector<std::string>& Names() {
  static const std::vector<std::string> names = {
      "report.txt",     "Quarterly Report 2024.DOCX",
      "a.b.c.d",        "README",
      ".profile",       "photo_0001.JPG",
      "notes.TXT.bak",  "été-à-paris.txt",
      "archive.tar.gz", "x",
      "Makefile",       "data-2024-12-06.csv",
  };
  return names;
}

// Names beyond ASCII, in Latin, Cyrillic, Greek and CJK letters: the matcher's slower way.
const std::vector<std::string>& UnicodeNames() {
  static const std::vector<std::string> names = {
      "Кот.txt",         "ЖУРНАЛ-2024.LOG", "Žena.txt", "Σοφία.doc",
      "ÉTÉ À PARIS.TXT", "日本語.txt",      "Ώρα.pdf",  "кот и пёс.txt",
  };
  return names;
}

void Match(benchmark::State& state, const std::vector<std::string>& names, const char* filespec) {
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(FileMatchesFilespec(names[i], filespec, false));
    if (++i == names.size()) i = 0;
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
}

void MatchAgainst(benchmark::State& state, const char* filespec) {
  Match(state, Names(), filespec);
}

void MatchUnicodeAgainst(benchmark::State& state, const char* filespec) {
  Match(state, UnicodeNames(), filespec);
}

}  // namespace

BENCHMARK_CAPTURE(MatchAgainst, all_files, "*.*");
BENCHMARK_CAPTURE(MatchAgainst, one_extension, "*.txt");
BENCHMARK_CAPTURE(MatchAgainst, pattern, "*report*.d?cx");
BENCHMARK_CAPTURE(MatchAgainst, exact_name, "report.txt");
BENCHMARK_CAPTURE(MatchUnicodeAgainst, all_files, "*.*");
BENCHMARK_CAPTURE(MatchUnicodeAgainst, pattern, "кот*.t?t");

BENCHMARK_MAIN();
