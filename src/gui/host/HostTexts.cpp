#include "gui/host/HostTexts.h"

#include "gui/host/HostLink.h"

namespace md {

std::u16string HostTexts::Text(std::string_view key) const
{
    return HostLink::LocalizedText(key);
}

} // namespace md
