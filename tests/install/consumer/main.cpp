// Uses each installed shared library once.
#include <cstdio>

#include "all_headers.h"

int main() {
  const veltrane::FixedLocaleProvider us(1033);
  const veltrane::clsFedTaxRules rules(us);
  const veltrane::Money fica =
      rules.GetSocialSecurityWithholding(veltrane::Money::Dollars(1000), veltrane::Money());
  veltrane::clsTransaction transaction;
  veltrane::clsLocIndepHotKeys hot_keys;
  std::printf("FICA %s, check %d, %zu hot keys\n", veltrane::FormatCurrency(fica).c_str(),
              transaction.CheckNumber(), hot_keys.hot_key_codes().size());
  return 0;
}
