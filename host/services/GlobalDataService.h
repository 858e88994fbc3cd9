#pragma once

#include "md/IGlobalDataInterface.h"

namespace md::host {

/// The host's global flags word (bit 1: settings are locked).
class GlobalDataService final : public IGlobalDataInterface
{
public:
    std::uint32_t AddRef() override { return ++m_references; }
    std::uint32_t Release() override { return m_references > 0 ? --m_references : 0; }
    std::int32_t Reserved2() override { return 0; }
    std::int32_t Reserved3() override { return 0; }
    std::int32_t Reserved4() override { return 0; }
    std::int32_t Reserved5() override { return 0; }
    std::int32_t Reserved6() override { return 0; }
    std::uint32_t Flags() override { return m_flags; }

    void SetFlags(std::uint32_t flags) { m_flags = flags; }
    /// Lookups minus releases: zero when every lookup was released.
    std::uint32_t OutstandingReferences() const { return m_references; }

private:
    std::uint32_t m_flags = 0;
    std::uint32_t m_references = 0;
};

} // namespace md::host
