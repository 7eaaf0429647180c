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

void MatchAgainst(benchmark::State& state, const char* filespec) {
  const auto& names = Names();
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(FileMatchesFilespec(names[i], filespec, false));
    if (++i == names.size()) i = 0;
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
}

}  // namespace

BENCHMARK_CAPTURE(MatchAgainst, all_files, "*.*");
BENCHMARK_CAPTURE(MatchAgainst, one_extension, "*.txt");
BENCHMARK_CAPTURE(MatchAgainst, pattern, "*report*.d?cx");
BENCHMARK_CAPTURE(MatchAgainst, exact_name, "report.txt");

BENCHMARK_MAIN();
