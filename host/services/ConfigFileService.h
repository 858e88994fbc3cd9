#pragma once

#include "md/IConfigFilebase.h"

namespace md::host {

/// Reads values of ini files named by path.
class ConfigFileService final : public IConfigFilebase
{
public:
    std::uint32_t AddRef() override { return 1; }
    std::uint32_t Release() override { return 1; }
    std::int32_t Reserved2() override { return 0; }
    std::int32_t Reserved3() override { return 0; }
    std::int32_t Reserved4() override { return 0; }
    std::int32_t Reserved5() override { return 0; }
    std::int32_t Reserved6() override { return 0; }
    /// False when the file or the key is missing; the buffer then holds an empty text.
    bool ReadString(const char* section, const char* key, char16_t* buffer, std::uint32_t capacity,
                    const char16_t* path) override;
};

} // namespace md::host
