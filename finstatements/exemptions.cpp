// The wage base of a state tax or employer-defined withholding, lowered by
// the exemption allowances the employees claim on their elections of it.
#include "common/amount_text.h"
#include "common/database.h"
#include "common/delimited_list.h"
#include "common/errors.h"
#include "common/step.h"
#include "common/tax_names.h"
#include "common/text.h"
#include "finstatements/fin_stmnts_impl.h"
#include "finstatements/message_table.h"
#include "finstatements/tax_definition.h"

namespace veltrane {

Money clsFinStmnts::Impl::AdjustBaseForExemptions(const std::vector<std::string>& definition,
                                                  Money base, const std::string& strAttendant,
                                                  const std::string& strStart,
                                                  const std::string& strEnd) const noexcept {
  std::string tax;
  Money adjusted = base;
  const bool done = RunStep([&] {
    if (definition.size() < kTaxDefinitionFields) throw ConversionError("not a tax definition");
    tax = definition[kDefName];
    if (!db_) throw DatabaseError("the statements have no database");

    // The allowance a payee's election of the tax earns: the allowance of
    // its filing status times its number (a byte; empty is 0).
    const auto allowance_of = [&](const std::string& elections) {
      const std::vector<ListGroup> groups = ReadList(elections, kFieldSeparator, kElectionFields);
      const ListGroup* election = FindGroup(groups, tax);
      if (!election) return Money();
      const std::string& filing = (*election)[1];
      const std::int64_t number =
          (*election)[2].empty() ? 0 : ParseWholeNumber((*election)[2], 0, 255);
      if (filing.empty()) return Money();
      const std::string* field = IEquals(filing, married_)     ? &definition[kDefMarried]
                                 : IEquals(filing, single_)    ? &definition[kDefSingle]
                                 : IEquals(filing, household_) ? &definition[kDefHousehold]
                                                               : nullptr;
      if (!field || field->empty()) return Money();
      return Product(ParseAmount(*field), Money::Dollars(number));
    };

    std::vector<std::string> payees;
    if (IEquals(strAttendant, kAllAssistants)) {
      payees = GetPayeeList(strStart, strEnd);
      payees.pop_back();  // the spare slot
    } else {
      payees.push_back(strAttendant);
    }
    const std::unique_ptr<Recordset> assistants =
        db_->OpenRecordset("Assistants", RecordsetType::kDynaset);
    Money allowances;
    for (const std::string& payee : payees) {
      assistants->FindFirst("name='" + QuoteName(payee) + "'");
      if (assistants->NoMatch()) throw DatabaseError("no Assistants row for " + payee);
      allowances += allowance_of(assistants->Field("Withholdings").ToText());
    }
    assistants->Close();
    adjusted = base - allowances;
  });
  if (!done) {
    adjusted = base;
    if (messages_) {
      RunStep([&] {
        messages_->Show(FormatResMessage(43, tax), std::string(MessageEntry(44)),
                        MessageIcon::kExclamation, MessageButtons::kOk);
      });
    }
  }
  return adjusted;
}

}  // namespace veltrane
