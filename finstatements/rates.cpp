#include "finstatements/rates.h"

#include "common/display.h"
#include "common/step.h"

namespace veltrane {

Money Rates::Get(std::string_view key) const {
  Money value;
  RunStep([&] {
    if (const RateValue* v = table_ ? table_->Find(key) : nullptr) value = RateToMoney(*v);
  });
  return value;
}

std::string Rates::Percent(std::string_view key) const { return FormatPercent(Get(key).ToDouble()); }

bool SettingIsTrue(Recordset& settings, const char* field) noexcept {
  bool on = false;
  RunStep([&] { on = settings.Field(field).ToBool(); });
  return on;
}

}  // namespace veltrane
