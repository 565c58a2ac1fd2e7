// The fuzz targets. Each target is one source file defining FuzzOne, which
// runs one input through the code under test and checks what must hold for
// every input. It is called by libFuzzer in the fuzzing build and by the
// replay test of the ordinary build, over the committed inputs.
//
// A broken property ends the process through Require; so does any exception
// other than the ConversionError a reader raises for text it refuses.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace veltrane::fuzz {

// Runs one input; always answers 0.
int FuzzOne(const std::uint8_t* data, std::size_t size);

// Ends the process with a report naming the property and the input part
// that broke it (non-printable bytes escaped) unless `holds`.
void Require(bool holds, std::string_view property, std::string_view input = {});

inline std::string_view AsText(const std::uint8_t* data, std::size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

// The input split at '\n' into `count` fields: missing fields are empty and
// the last one takes the rest of the input.
std::vector<std::string_view> SplitFields(std::string_view input, std::size_t count);

}  // namespace veltrane::fuzz
