// The host's form and controls as the hot keys reach them: exactly the
// members the hot keys read or call, and nothing else.
//
// A control need not have every member: a member it lacks raises
// MissingMemberError (common/errors.h), which is what the defaults below do,
// so a host implements only the members its control has. The hot keys skip
// the one step that needed the member and go on.
//
// Ownership: the host owns every form, control, tab collection and tab.
// Pointers and references handed out here are borrowed; they stay valid as
// long as the host keeps the object they came from.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace veltrane {

// One tab of a tab strip.
class HostTab {
 public:
  virtual ~HostTab() = default;
  virtual std::string Caption() const = 0;
  // The tab strip shows this tab when set to true.
  virtual void SetSelected(bool selected) = 0;
};

// A tab strip's tabs, numbered from 1 to Count().
class HostTabs {
 public:
  virtual ~HostTabs() = default;
  virtual int Count() const = 0;
  // Raises std::out_of_range outside 1..Count().
  virtual HostTab& Item(int index) = 0;
};

class HostControl {
 public:
  virtual ~HostControl() = default;

  // The name of the control's class as the host reports it ("vtCmd", "Label", "TabStrip").
  virtual std::string TypeName() const = 0;

  virtual std::string Caption() const;
  virtual std::int16_t TabIndex() const;
  virtual std::string Tag() const;
  virtual bool Visible() const;
  virtual bool Enabled() const;
  // Moves the focus to the control; a control that cannot take it raises.
  virtual void SetFocus();
  virtual bool Locked() const;
  virtual std::int32_t ListCount() const;
  virtual std::int32_t listitemscount() const;
  virtual HostTabs& Tabs();
};

class HostForm {
 public:
  virtual ~HostForm() = default;
  // Every control of the form, in the form's collection order.
  virtual std::vector<HostControl*> Controls() = 0;
  // The control with the focus, or nullptr when none has it.
  virtual HostControl* ActiveControl() = 0;
};

}  // namespace veltrane
