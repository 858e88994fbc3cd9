#pragma once

#include "core/platform/Texts.h"

namespace md {

/// Texts from the host's multilingual service.
class HostTexts final : public Texts
{
public:
    std::u16string Text(std::string_view key) const override;
};

} // namespace md
