#include "core/design/NewModuleInfoRecord.h"

namespace md {

std::u16string NewModuleInfoRecord::ModuleName() const
{
    std::u16string name;
    for (const auto& part : nameParts)
        name += part;
    return name;
}

void NewModuleInfoRecord::SetModuleName(const std::u16string& name)
{
    if (name.size() > nameParts.size() * kNamePartLength)
        return;
    for (std::size_t i = 0; i < nameParts.size(); ++i) {
        const std::size_t at = i * kNamePartLength;
        nameParts[i] = at < name.size() ? name.substr(at, kNamePartLength) : std::u16string();
    }
}

} // namespace md
