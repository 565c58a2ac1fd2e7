#include "hotkeymap/host_form.h"

#include "common/errors.h"

namespace veltrane {

std::string HostControl::Caption() const { throw MissingMemberError("Caption"); }
std::int16_t HostControl::TabIndex() const { throw MissingMemberError("TabIndex"); }
std::string HostControl::Tag() const { throw MissingMemberError("Tag"); }
bool HostControl::Visible() const { throw MissingMemberError("Visible"); }
bool HostControl::Enabled() const { throw MissingMemberError("Enabled"); }
void HostControl::SetFocus() { throw MissingMemberError("SetFocus"); }
bool HostControl::Locked() const { throw MissingMemberError("Locked"); }
std::int32_t HostControl::ListCount() const { throw MissingMemberError("ListCount"); }
std::int32_t HostControl::listitemscount() const { throw MissingMemberError("listitemscount"); }
HostTabs& HostControl::Tabs() { throw MissingMemberError("Tabs"); }

}  // namespace veltrane
