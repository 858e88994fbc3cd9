#pragma once

#include "core/platform/Guids.h"

namespace md {

/// Random (version 4) GUIDs from std::random_device.
class RandomGuids final : public Guids
{
public:
    std::string NewGuid() override;
};

} // namespace md
