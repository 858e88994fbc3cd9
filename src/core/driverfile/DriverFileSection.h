#pragma once

#include <cstddef>
#include <string>

namespace md {

class ByteReader;
class ByteWriter;

/// One section of a driver file, written and read on the container's open archive. Each owner
/// (module information, socket, layout, background) supplies one.
class DriverFileSection
{
public:
    virtual ~DriverFileSection() = default;
    /// Appends the section; false with a one-line reason when it cannot be written.
    virtual bool Write(ByteWriter& out, std::string& error) = 0;
    /// Reads the section at the reader's position; false with a one-line reason on failure.
    virtual bool Read(ByteReader& in, std::string& error) = 0;
    /// About the bytes Write will append, so that the container makes room once; 0 when small.
    virtual std::size_t SizeHint() const { return 0; }
};

} // namespace md
