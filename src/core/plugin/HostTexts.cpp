#include "plugin/HostTexts.h"

#include "plugin/HostLink.h"

namespace md {

std::u16string HostTexts::Text(std::string_view key) const
{
    return HostLink::LocalizedText(key);
}

} // namespace md
