// Replays the committed inputs of one fuzz target (FUZZ_TARGET_NAME): its
// seed corpus, fuzz/corpus/<target>/, and the inputs that once found a
// fault, fuzz/regressions/<target>/. A broken property ends the program;
// the last "replaying" line on standard error names the input.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "fuzz/fuzz_target.h"

namespace veltrane::fuzz {
namespace {

std::vector<std::filesystem::path> InputsIn(const std::filesystem::path& folder) {
  std::vector<std::filesystem::path> inputs;
  if (!std::filesystem::is_directory(folder)) return inputs;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    if (entry.is_regular_file()) inputs.push_back(entry.path());
  }
  std::sort(inputs.begin(), inputs.end());
  return inputs;
}

TEST(FUZZ_SUITE, EverySeedAndRegressionInputHoldsItsProperties) {
  const std::filesystem::path fuzz_folder(FUZZ_FOLDER);
  std::vector<std::filesystem::path> inputs = InputsIn(fuzz_folder / "corpus" / FUZZ_TARGET_NAME);
  ASSERT_FALSE(inputs.empty()) << "no seed corpus for " << FUZZ_TARGET_NAME;
  const auto regressions = InputsIn(fuzz_folder / "regressions" / FUZZ_TARGET_NAME);
  inputs.insert(inputs.end(), regressions.begin(), regressions.end());

  for (const auto& path : inputs) {
    std::ifstream in(path, std::ios::binary);
    const std::vector<char> bytes{std::istreambuf_iterator<char>(in), {}};
    std::fprintf(stderr, "replaying %s\n", path.c_str());
    FuzzOne(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
  }
}

}  // namespace
}  // namespace veltrane::fuzz
