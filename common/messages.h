// Message boxes: the few failures a user must see go through this interface,
// never to a terminal from inside a library. Hosts supply the real one.
#pragma once

#include <string>

namespace veltrane {

enum class MessageIcon { kNone, kCritical, kQuestion, kExclamation, kInformation };
enum class MessageButtons { kOk, kOkCancel, kYesNo, kYesNoCancel, kRetryCancel };
enum class MessageResult { kOk, kCancel, kYes, kNo, kRetry };

class MessageBox {
 public:
  virtual ~MessageBox() = default;
  // Shows the message and returns the button the user pressed.
  virtual MessageResult Show(const std::string& text, const std::string& title, MessageIcon icon,
                             MessageButtons buttons) = 0;
};

}  // namespace veltrane
