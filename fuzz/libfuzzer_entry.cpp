// libFuzzer's entry point for the target linked with it.
#include "fuzz/fuzz_target.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return veltrane::fuzz::FuzzOne(data, size);
}
