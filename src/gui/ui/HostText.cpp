#include "gui/ui/HostText.h"

#include "gui/host/HostLink.h"

namespace md {

QString HostText(const char* key, const QString& fallback)
{
    const std::u16string text = HostLink::LocalizedText(key);
    if (text.empty())
        return fallback;
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace md
