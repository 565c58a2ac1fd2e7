// Replays the committed inputs of the fuzz target linked with it, named by
// the program's one argument: its seed corpus, fuzz/corpus/<target>/, and
// the inputs that once found a fault, fuzz/regressions/<target>/. A broken
// property ends the program; the last "replaying" line on standard error
// names the input.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "fuzz/fuzz_target.h"

namespace veltrane::fuzz {
namespace {

std::string target_name;

std::vector<std::filesystem::path> InputsIn(const std::filesystem::path& folder) {
  std::vector<std::filesystem::path> inputs;
  if (!std::filesystem::is_directory(folder)) return inputs;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    if (entry.is_regular_file()) inputs.push_back(entry.path());
  }
  std::sort(inputs.begin(), inputs.end());
  return inputs;
}

TEST(Replay, EverySeedAndRegressionInputHoldsItsProperties) {
  ASSERT_FALSE(target_name.empty()) << "name the fuzz target on the command line";
  const std::filesystem::path fuzz_folder(FUZZ_FOLDER);
  std::vector<std::filesystem::path> inputs = InputsIn(fuzz_folder / "corpus" / target_name);
  ASSERT_FALSE(inputs.empty()) << "no seed corpus for " << target_name;
  const auto regressions = InputsIn(fuzz_folder / "regressions" / target_name);
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

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (argc > 1) veltrane::fuzz::target_name = argv[1];
  return RUN_ALL_TESTS();
}
