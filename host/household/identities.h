// The numbers and codes that go onto the W-2 and W-3, checked where a
// person enters them and stored in one form. An empty text is allowed: the
// employer may not have the number yet, and it can be given later.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace veltrane::household {

// Nine digits, with or without the dashes; not area 000, 666 or 900-999,
// group 00 or serial 0000. Stored as "123-45-6789".
std::string ReadSsn(std::string_view field, std::string_view text);
// Two and seven digits, with or without the dash. Stored as "12-3456789".
std::string ReadEmployerId(std::string_view field, std::string_view text);
// Five digits, or five and four. Stored as "12345" or "12345-6789".
std::string ReadZip(std::string_view field, std::string_view text);
// A US postal code of a state, district, territory or military post, any
// letter case. Stored in capitals.
std::string ReadState(std::string_view field, std::string_view text);

// Why a stored number could not go onto a form: "is missing" or "'x' is
// not valid ..."; nullopt when it can. For rows stored before the numbers
// were checked.
std::optional<std::string> SsnProblem(std::string_view stored);
std::optional<std::string> EmployerIdProblem(std::string_view stored);

}  // namespace veltrane::household
