// The money of one paycheck: pay from hours and supplemental items, the
// withholding and liability record, the advance earned income credit and
// net pay.
#include <cstdint>

#include "common/amount_text.h"
#include "common/delimited_list.h"
#include "common/errors.h"
#include "common/step.h"
#include "common/tax_names.h"
#include "common/text.h"
#include "fedtaxrules/fed_tax_rules.h"
#include "paytransaction/record_access.h"
#include "paytransaction/transaction.h"

namespace veltrane {
namespace {

// One calculator of federal taxes serves every paycheck of the program; it
// reads the user's locale when first used.
const clsFedTaxRules& FederalRules() {
  static const clsFedTaxRules rules;
  return rules;
}

bool IsFederalTax(std::string_view name) {
  return IEquals(name, kTaxFIT) || IEquals(name, kTaxMedicare) || IEquals(name, kTaxSocSec) ||
         IEquals(name, kTaxFUTA);
}

}  // namespace

Money clsTransaction::GetGrossRegular() const noexcept {
  Money pay;
  RunStep([&] { pay = GetRegularRate().Times(GetRegularHours()); });
  return pay;
}

Money clsTransaction::GetGrossOvertime() const noexcept {
  Money pay;
  RunStep([&] { pay = GetOvertimeRate().Times(GetOvertimeHours()); });
  return pay;
}

Money clsTransaction::GetSupplementalTotal() const noexcept {
  Money total;
  for (const ListGroup& item : ReadList(supp_pay_, kSuppPaySeparator, kSuppPayFields)) {
    RunStep([&] { total += ParseAmount(item[1]); });
  }
  return total;
}

Money clsTransaction::ComputeTaxableGross() const noexcept {
  // With hours entered by hand the hour getters give the manual hours, so
  // one formula serves both ways of counting hours.
  Money gross;
  RunStep([&] { gross = GetGrossRegular() + GetGrossOvertime() + GetSupplementalTotal(); });
  return gross;
}

std::string clsTransaction::BuildTaxDefinitions() const noexcept {
  std::string list;
  RunStep([&] {
    if (!MoveToFirstRow(*tax_settings_)) return;
    Recordset& ts = *tax_settings_;
    const auto text = [&](const char* field) { return FieldOrNull(ts, field).ToText(); };
    list = text("OtherWithholdings");
    const auto append = [&](std::string_view name, const char* base, const char* employee_rate,
                            const char* employer_rate, const char* married, const char* single,
                            const char* household) {
      ListWriter w;
      w.Add(name).Add("").Add(base ? text(base) : "").Add(text(employee_rate));
      w.Add(employer_rate ? text(employer_rate) : "").Add(text(employee_rate));
      w.Add(text(married)).Add(text(single)).Add(text(household));
      list += w.text();
    };
    if (!text("SITRate").empty()) {
      append(kTaxSIT, nullptr, "SITRate", nullptr, "SITMarried", "SITSingle", "SITHousehold");
    }
    if (!text("SDIEmployeeRate").empty() || !text("SDIEmployerRate").empty()) {
      append(kTaxSDI, "SDIBase", "SDIEmployeeRate", "SDIEmployerRate", "SDIMarried", "SDISingle", "SDIHousehold");
    }
    if (!text("SUIEmployeeRate").empty() || !text("SUIEmployerRate").empty()) {
      append(kTaxSUI, "SUIBase", "SUIEmployeeRate", "SUIEmployerRate", "SUIMarried", "SUISingle", "SUIHousehold");
    }
  });
  return list;
}

std::string clsTransaction::WithholdingsAndLiabilities() noexcept {
  const clsFedTaxRules& fed = FederalRules();
  const auto definitions = ReadList(BuildTaxDefinitions(), kFieldSeparator, kTaxDefinitionFields);
  const std::string period = GetPayPeriodName();
  std::unique_ptr<OtherTaxRules> other;  // made at the first election that needs it
  std::string result;
  bool strict = false;  // from the first non-federal election on, a failure empties the record

  for (const ListGroup& election : ReadList(GetWithholdingElections(), kFieldSeparator, kElectionFields)) {
    const std::string& name = election[0];
    strict = strict || !IsFederalTax(name);
    const bool ok = RunStep([&] {
      ListWriter entry;
      if (IEquals(name, kTaxFIT)) {
        const auto exemptions = static_cast<std::int16_t>(ParseWholeNumber(election[2], INT16_MIN, INT16_MAX));
        entry.Add(kTaxFIT).Add(fed.GetFITWithholding(taxable_gross_, election[1], exemptions, period)).Add("0");
      } else if (IEquals(name, kTaxMedicare)) {
        entry.Add(kTaxMedicare)
            .Add(fed.GetMedicareWithholding(taxable_gross_, gross_pay_ytd_))
            .Add(fed.GetMedicareLiability(taxable_gross_, gross_pay_ytd_));
      } else if (IEquals(name, kTaxSocSec)) {
        entry.Add(kTaxSocSec)
            .Add(fed.GetSocialSecurityWithholding(taxable_gross_, gross_pay_ytd_))
            .Add(fed.GetSocialSecurityLiability(taxable_gross_, gross_pay_ytd_));
      } else if (IEquals(name, kTaxFUTA)) {
        entry.Add(kTaxFUTA).Add("0").Add(fed.GetFUTALiability(taxable_gross_, Value(gross_pay_ytd_)));
      } else {
        // "EIC" and taxes the employer has not configured have no definition.
        const ListGroup* definition = FindGroup(definitions, name);
        if (definition == nullptr) return;
        if (!other) other = other_taxes_();
        if (!other) throw ConversionError("no other-tax calculator");
        ListWriter record;
        for (const std::string& field : *definition) record.Add(field);
        other->LoadDefinition(record.text());
        result += other->GetWithholdingAndLiability(taxable_gross_, gross_pay_ytd_, election[1], Value(election[2]));
        return;
      }
      result += entry.text();
    });
    if (!ok && strict) return std::string();
  }
  return result;
}

Money clsTransaction::ComputeEICPayment() const noexcept {
  Money payment;
  RunStep([&] {
    if (!MoveToFirstRow(*tax_settings_)) return;
    bool limit_on = false;
    RunStep([&] { limit_on = tax_settings_->Field("EICReduce").ToBool(); });
    const auto elections = ReadList(GetWithholdingElections(), kFieldSeparator, kElectionFields);
    const ListGroup* eic = FindGroup(elections, kTaxEIC);
    if (eic == nullptr) return;
    if (!(*eic)[2].empty()) {
      RunStep([&] {
        const auto spouse = static_cast<std::uint8_t>(ParseWholeNumber((*eic)[2], 0, 255));
        payment = FederalRules().GetEICPayment(taxable_gross_, gross_pay_ytd_, GetEICPaidYTD(),
                                               GetPayPeriodName(), spouse);
      });
    }
    if (limit_on) payment = Min(payment, GetEICLimit());
  });
  return payment;
}

Money clsTransaction::GetEICLimit() const noexcept {
  Money limit;
  const auto add = [&](const std::string& amount) {
    if (!amount.empty()) RunStep([&] { limit += ParseAmount(amount); });
  };
  for (const ListGroup& entry : ReadList(record_, kFieldSeparator, kWithholdingFields)) {
    if (IContains(entry[0], kTaxFIT)) {
      add(entry[1]);
    } else if (IContains(entry[0], kTaxMedicare) || IContains(entry[0], kTaxSocSec)) {
      add(entry[1]);
      add(entry[2]);
    }
  }
  return limit;
}

Money clsTransaction::GetNetBeforeEIC() const noexcept {
  Money net = taxable_gross_;
  for (const ListGroup& entry : ReadList(record_, kFieldSeparator, kWithholdingFields)) {
    RunStep([&] { net -= ParseAmount(entry[1]); });
  }
  return net;
}

clsTransaction::CheckTotals clsTransaction::ComputeTotals() const noexcept {
  CheckTotals t;
  t.eic = ComputeEICPayment();
  const Money net_before_eic = GetNetBeforeEIC();
  RunStep([&] { t.gross_pay = taxable_gross_ + t.eic; });
  RunStep([&] { t.gross_pay_ytd = gross_pay_ytd_ + taxable_gross_ + t.eic; });
  RunStep([&] { t.net_pay = net_before_eic + t.eic; });
  RunStep([&] { t.net_pay_ytd = GetNetPayYTD() + net_before_eic + t.eic; });
  return t;
}

}  // namespace veltrane
