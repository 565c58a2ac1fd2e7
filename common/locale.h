// The user's locale identifier. The federal computations and statements
// work only under 1033 (English, United States).
#pragma once

#include <cstdint>

namespace veltrane {

inline constexpr std::uint32_t kLocaleEnUs = 1033;

class LocaleProvider {
 public:
  virtual ~LocaleProvider() = default;
  virtual std::uint32_t UserDefaultLocale() const = 0;
};

// Reads LC_ALL, then LC_MESSAGES, then LANG: "en_US..." is 1033, and so are
// "C", "POSIX" and no setting at all; any other locale is 0.
class PosixLocaleProvider final : public LocaleProvider {
 public:
  std::uint32_t UserDefaultLocale() const override;
};

class FixedLocaleProvider final : public LocaleProvider {
 public:
  explicit FixedLocaleProvider(std::uint32_t id) : id_(id) {}
  std::uint32_t UserDefaultLocale() const override { return id_; }

 private:
  std::uint32_t id_;
};

// The process-wide POSIX provider; it lives for the whole program.
const LocaleProvider& DefaultLocaleProvider();

}  // namespace veltrane
