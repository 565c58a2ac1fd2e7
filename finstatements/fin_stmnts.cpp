#include "finstatements/fin_stmnts.h"

#include <array>
#include <exception>

#include "common/date.h"
#include "common/errors.h"
#include "common/step.h"
#include "common/tax_names.h"
#include "common/text.h"
#include "fedtaxrules/fed_tax_rules.h"
#include "finstatements/fin_stmnts_impl.h"
#include "finstatements/journal_rows.h"
#include "finstatements/message_table.h"
#include "finstatements/sort_list_use.h"

namespace veltrane {
namespace {

constexpr std::string_view kSeparator = "------------";

// The number and description a failure is reported with.
std::string DescribeFailure(std::exception_ptr failure) {
  try {
    std::rethrow_exception(failure);
  } catch (const MissingMemberError& e) {
    return std::string("438: ") + e.what();
  } catch (const DatabaseError& e) {
    return std::string("3000: ") + e.what();
  } catch (const ConversionError& e) {
    return std::string("13: ") + e.what();
  } catch (const std::exception& e) {
    return std::string("5: ") + e.what();
  } catch (...) {
    return "5: unknown failure";
  }
}

void ReplaceAll(std::string& text, std::string_view marker, std::string_view with) {
  for (std::size_t at = 0; (at = text.find(marker, at)) != std::string::npos; at += with.size()) {
    text.replace(at, marker.size(), with);
  }
}

// The date of a period text in the "m/d/yy" form of query texts.
std::string SqlDate(const std::string& text) { return FormatSqlDate(ParseDate(text)); }

// The fields whose text makes a state tax configured.
struct StateTaxFields {
  std::string_view tax;
  std::array<const char*, 4> fields;
};
constexpr StateTaxFields kStateTaxes[] = {
    {kTaxSIT, {"SITRate", "SITMarried", "SITSingle", "SITHousehold"}},
    {kTaxSDI, {"SDIBase", "SDIWithholding", "SDIEmployerRate", "SDIEmployeeRate"}},
    {kTaxSUI, {"SUIBase", "SUIWithholding", "SUIEmployerRate", "SUIEmployeeRate"}},
};

}  // namespace

// The operations run on the inside, which holds all the state.
clsFinStmnts::clsFinStmnts(MessageBox* messages, const LocaleProvider& locale) noexcept
    : impl_(std::make_unique<Impl>(messages, locale)) {}

clsFinStmnts::~clsFinStmnts() = default;

void clsFinStmnts::Init(Database& pdb, SortList& plstSort, StatementListView& pvtLV) noexcept {
  impl_->Init(pdb, plstSort, pvtLV);
}

void clsFinStmnts::PopulateStatementTypes(StatementSelector& vtCboList) noexcept {
  impl_->PopulateStatementTypes(vtCboList);
}

void clsFinStmnts::DoStatement(std::string& strType, std::string& strAttendant,
                               std::string& strStart, std::string& strEnd) noexcept {
  impl_->DoStatement(strType, strAttendant, strStart, strEnd);
}

bool clsFinStmnts::IsCatalogueHeading(const std::string& entry) const noexcept {
  return impl_->IsCatalogueHeading(entry);
}

clsFinStmnts::Impl::Impl(MessageBox* messages, const LocaleProvider& locale) noexcept
    : messages_(messages), locale_provider_(locale), locale_(0) {
  RunStep([&] { locale_ = locale.UserDefaultLocale(); });
  summary_ = MessageEntry(0);
  detailed_ = MessageEntry(1);
  single_ = MessageEntry(2);
  married_ = MessageEntry(3);
  household_ = MessageEntry(4);
  other_taxes_ = MessageEntry(9);
}

void clsFinStmnts::Impl::Init(Database& pdb, SortList& plstSort,
                              StatementListView& pvtLV) noexcept {
  try {
    db_ = &pdb;
    sort_ = &plstSort;
    lv_ = &pvtLV;
    pvtLV.AddHeadings(std::string(MessageEntry(5)), 0.735, std::string(MessageEntry(6)), 1, 0.25);
    tax_settings_ = pdb.OpenRecordset("Tax Settings", RecordsetType::kTable);
    payment_journal_ = pdb.OpenRecordset("Payment Journal", RecordsetType::kTable);
  } catch (...) {
    const std::string text = FormatResMessage(7, DescribeFailure(std::current_exception()));
    if (messages_) {
      RunStep([&] {
        messages_->Show(text, std::string(MessageEntry(8)), MessageIcon::kExclamation,
                        MessageButtons::kOk);
      });
    }
  }
}

std::string clsFinStmnts::Impl::FormatResMessage(int entry, const std::string& inserted) {
  std::string text(MessageEntry(entry));
  ReplaceAll(text, "|0", inserted);
  ReplaceAll(text, "|1", "\r\n\r\n");
  ReplaceAll(text, "|2", "\r\n");
  return text;
}

std::string clsFinStmnts::Impl::BuildJournalQuery(const std::string& strAttendant,
                                                  const std::string& strStart,
                                                  const std::string& strEnd) const {
  std::string sql = "SELECT * FROM [Payment Journal] WHERE ";
  if (!IEquals(strAttendant, kAllAssistants)) sql += "payee='" + QuoteName(strAttendant) + "' AND ";
  if (!strStart.empty()) {
    sql += "[date] >=#" + SqlDate(strStart) + "# AND [date] <=#" + SqlDate(strEnd) + "# AND ";
  }
  return sql + "Void=False";
}

SortList& clsFinStmnts::Impl::Sort() const {
  if (!sort_) throw MissingMemberError("sort list");
  return *sort_;
}

const std::vector<JournalRow>& clsFinStmnts::Impl::JournalRows(const std::string& strAttendant,
                                                               const std::string& strStart,
                                                               const std::string& strEnd) const {
  if (!db_) throw DatabaseError("the statements have no database");
  std::string sql = BuildJournalQuery(strAttendant, strStart, strEnd);
  auto& known = statement_rows_;
  if (const auto found = known.find(sql); found != known.end()) return found->second;
  std::vector<JournalRow> rows = ReadJournalRows(*db_, sql);
  return known.emplace(std::move(sql), std::move(rows)).first->second;
}

void clsFinStmnts::Impl::ForgetStatementRows() const noexcept { statement_rows_.clear(); }

Recordset* clsFinStmnts::Impl::TaxSettingsRow() const {
  if (!tax_settings_ || tax_settings_->RecordCount() == 0) return nullptr;
  tax_settings_->MoveFirst();
  return tax_settings_.get();
}

std::unique_ptr<RateDictionary> clsFinStmnts::Impl::TaxRates() const {
  return clsFedTaxRules(locale_provider_).GetDictionaryOfTaxRates();
}

bool clsFinStmnts::Impl::StateTaxConfigured(std::string_view tax) const noexcept {
  bool configured = false;
  RunStep([&] {
    Recordset* settings = TaxSettingsRow();
    if (!settings) return;
    for (const StateTaxFields& state : kStateTaxes) {
      if (state.tax != tax) continue;
      for (const char* field : state.fields) {
        RunStep([&] { configured = configured || !settings->Field(field).ToText().empty(); });
      }
    }
  });
  return configured;
}

void clsFinStmnts::Impl::PopulateStatementTypes(StatementSelector& vtCboList) noexcept {
  const bool us = locale_ == kLocaleEnUs;
  const auto add = [&](std::string_view item) {
    RunStep([&] { vtCboList.AddItem(std::string(item)); });
  };
  bool other_taxes_header = false;
  const auto add_other_taxes_header = [&] {
    if (other_taxes_header) return;
    add(kSeparator);
    add(other_taxes_);
    add(kSeparator);
    other_taxes_header = true;
  };

  RunStep([&] { vtCboList.Clear(); });
  add(summary_);
  add(detailed_);
  if (us) {
    for (std::string_view item :
         {kSeparator, std::string_view("Tax Forms"), kSeparator,
          std::string_view("Form 1040 Schedule H"), std::string_view("Form 940EZ"),
          std::string_view("Form 940"), std::string_view("Form 941"), std::string_view("Form W-2"),
          std::string_view("Form W-3"), kSeparator, std::string_view("Federal Taxes"), kSeparator,
          kTaxSocSec, kTaxMedicare, kTaxFIT, kTaxFUTA, kTaxEIC}) {
      add(item);
    }
  }

  Recordset* settings = nullptr;
  RunStep([&] { settings = TaxSettingsRow(); });
  if (!settings) return;

  if (us) {
    for (const StateTaxFields& state : kStateTaxes) {
      if (StateTaxConfigured(state.tax)) {
        add_other_taxes_header();
        add(state.tax);
      }
    }
  }

  // Employer-defined withholdings, sorted; a name given twice is listed twice.
  std::string definitions;
  RunStep([&] { definitions = settings->Field("OtherWithholdings").ToText(); });
  RunStep([&] { Sort().Clear(); });
  for (const ListGroup& record : ReadList(definitions, kFieldSeparator, kTaxDefinitionFields)) {
    RunStep([&] { Sort().AddItem(record[0]); });
  }
  RunStep([&] {
    const std::vector<std::string> names = ListItems(Sort());
    if (!names.empty()) add_other_taxes_header();
    for (const std::string& name : names) add(name);
  });
  RunStep([&] { Sort().Clear(); });

  // Kinds of supplemental pay anywhere in the journal, void checks included.
  RunStep([&] {
    if (!payment_journal_ || payment_journal_->RecordCount() == 0) return;
    payment_journal_->MoveFirst();
    for (; !payment_journal_->IsEOF(); payment_journal_->MoveNext()) {
      std::string items;
      RunStep([&] { items = payment_journal_->Field("supplemental_pay_data").ToText(); });
      for (const ListGroup& item : ReadList(items, kSuppPaySeparator, kSuppPayFields)) {
        RunStep([&] { AddDistinct(Sort(), item[0]); });
      }
    }
    if (Sort().ListCount() > 0) {
      add(kSeparator);
      add(MessageEntry(10));
      add(kSeparator);
    }
    supplemental_names_ = ListItems(Sort());
    supplemental_names_.emplace_back();
    for (std::size_t i = 0; i + 1 < supplemental_names_.size(); ++i) add(supplemental_names_[i]);
  });

  RunStep([&] { vtCboList.ListIndex(0); });
}

void clsFinStmnts::Impl::DoStatement(std::string& strType, std::string& strAttendant,
                                     std::string& strStart, std::string& strEnd) noexcept {
  if (strAttendant.empty()) strAttendant = std::string(kAllAssistants);
  if (!lv_) return;

  // Fixed entries in the order they are matched; a null statement is one
  // this library does not write.
  using Show = void (Impl::*)(const std::string&, const std::string&, const std::string&);
  static const std::pair<std::string_view, Show> kFixed[] = {
      {"Summary", &Impl::ShowSummaryStatement},
      {"Detailed", &Impl::ShowDetailedStatement},
      {"Form 1040 Schedule H", &Impl::ShowScheduleH},
      {"Form 940EZ", &Impl::ShowForm940EZ},
      {"Form 940", &Impl::ShowForm940},
      {"Form 941", &Impl::ShowForm941},
      {"Form W-2", &Impl::ShowFormW2},
      {"Form W-3", &Impl::ShowFormW3},
      {kTaxMedicare, &Impl::ShowMedicareStatement},
      {kTaxSocSec, &Impl::ShowSocialSecurityStatement},
      {kTaxFIT, &Impl::ShowFITStatement},
      {kTaxFUTA, &Impl::ShowFUTAStatement},
      {kTaxEIC, &Impl::ShowEICStatement},
      {kTaxSIT, &Impl::ShowSITStatement},
      {kTaxSDI, &Impl::ShowSDIStatement},
      {kTaxSUI, &Impl::ShowSUIStatement},
  };
  // The rows read for this statement are let go when it is written.
  struct ForgetRows {
    const Impl& statements;
    ~ForgetRows() { statements.ForgetStatementRows(); }
  } forget{*this};

  const std::string& type = strType;
  for (const auto& entry : kFixed) {
    if (!IEquals(type, entry.first)) continue;
    // A plain variable: Clang 14 cannot capture a structured binding.
    const Show show = entry.second;
    if (show) RunStep([&] { (this->*show)(strAttendant, strStart, strEnd); });
    return;
  }

  if (type.empty() || IsCatalogueHeading(type)) return;
  // Any other entry names a kind of supplemental pay the last catalogue
  // found, or else an employer-defined withholding.
  bool supplemental = false;
  for (const std::string& name : supplemental_names_) {
    supplemental = supplemental || IEquals(type, name);
  }
  if (supplemental) {
    RunStep([&] { ShowSupplementalStatement(type, strAttendant, strStart, strEnd); });
  } else {
    RunStep([&] { ShowOtherWithholdingStatement(type, strAttendant, strStart, strEnd); });
  }
}

bool clsFinStmnts::Impl::IsCatalogueHeading(const std::string& entry) const noexcept {
  if (entry == kSeparator || IEquals(entry, other_taxes_) || IEquals(entry, MessageEntry(10)))
    return true;
  // The federal groups are in the catalogue only under US English.
  return locale_ == kLocaleEnUs && (IEquals(entry, "Federal Taxes") || IEquals(entry, "Tax Forms"));
}

}  // namespace veltrane
