// Operations absorb failures step by step: a step that raises (a Null
// converted to a number, a failed query, a missing member) is skipped, the
// value it would have set keeps its default, and the next step runs.
#pragma once

#include <utility>

namespace veltrane {

// Runs one step; returns false when it failed and was skipped.
template <class F>
bool RunStep(F&& step) noexcept {
  try {
    std::forward<F>(step)();
    return true;
  } catch (...) {
    return false;
  }
}

}  // namespace veltrane
