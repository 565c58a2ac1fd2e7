// Input a person must fix, found before anything was stored.
//
// `field` is the input the fault is about, in household words ("rate",
// "from", "date"), or empty when it is about the request as a whole.
// `text` says what is wrong and how to fix it. Where it names an input it
// holds FieldRef(name) ("<from> is after <to>"), for each front end to put
// its own name of that input there (a flag, a field's label); a text that
// names none is about `field` alone, and a front end shows it as that
// field's ("'ten' is not an amount ..."), unless it has a remedy, which
// makes it a whole sentence of its own. A reference is marked with
// control characters, which a text typed by a person never carries into a
// fault (it is quoted with them written as \xNN), so it cannot be forged. The household layer never
// names a command, a flag or a page: `remedy` tells a front end where, in its own terms, the person
// can set the matter right.
#pragma once

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace veltrane::household {

enum class Remedy {
  kNone,
  kListAssistants,   // an unknown assistant: see who the assistants are
  kChangeAssistant,  // a name that is taken: change that assistant instead
  kSetPayPeriod,     // no pay period is set
  kVoidCheck,        // a day already paid: void check `check_id` to pay it again
  kVoidToChange,     // paid hours: void check `check_id` to change them
  kRecordHours,      // nothing to pay: record hours, or give hours or supplemental pay
  kListChecks,       // an unknown check: see the payment journal
  kListStatements,   // not a statement: see the catalogue
  kCreateDatabase,   // no database there: create one or name another
  kNameDatabase,     // a file that is not a payroll database: name the right one or create one
  kReplaceDatabase,  // a file is there already: it may be replaced, the old one kept
  kReopenDatabase,   // the file held open was removed or replaced: open it anew
};

class Fault : public std::runtime_error {
 public:
  Fault(std::string field, std::string text, Remedy remedy = Remedy::kNone,
        std::int64_t check_id = 0);

  const std::string& field() const { return field_; }
  const std::string& text() const { return text_; }
  Remedy remedy() const { return remedy_; }
  std::int64_t check_id() const { return check_id_; }

  // Whether the text names inputs rather than being about `field`.
  bool NamesFields() const;
  // The text with each reference to an input written as `name_of(name)`.
  std::string TextNaming(const std::function<std::string(std::string_view)>& name_of) const;

 private:
  std::string field_;
  std::string text_;
  Remedy remedy_;
  std::int64_t check_id_;
};

// How a fault's text names an input.
std::string FieldRef(std::string_view name);

}  // namespace veltrane::household
