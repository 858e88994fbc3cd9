#pragma once

#include <string>

namespace md {

/// New GUID texts ("XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX", upper-case hex); empty on failure.
class Guids
{
public:
    virtual ~Guids() = default;
    virtual std::string NewGuid() = 0;
};

} // namespace md
