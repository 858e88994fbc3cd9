#pragma once

#include "core/design/BackgroundDesign.h"
#include "core/design/NewModuleInfoRecord.h"
#include "core/design/SocketDesign.h"
#include "core/driverfile/DriverFile.h"
#include "core/layout/LayoutDesign.h"

#include <filesystem>
#include <span>

namespace md {

class Clock;
class CodePage;
class Guids;
class PictureCodec;

/// What reading and writing a design's driver file needs from around it.
struct DesignFilePorts
{
    const CodePage& codePage;
    const PictureCodec& codec;
    Guids& guids;
    const Clock& clock;
    VersionWords version;
    /// Reading a socket checks each pin's type picture (a missing one leaves the pin
    /// unassigned); off, the stored codes are taken as they are.
    bool socketPictures = true;
};

/// A driver file's four sections as read, held apart until they replace an open design's.
struct DesignParts
{
    NewModuleInfoRecord moduleInfo;
    SocketDesign socket;
    LayoutDesign layout;
    BackgroundDesign background;
};

/// A design's four parts as a module driver file.
class DesignPartsFile
{
public:
    /// The driver file of the four parts; nothing when a section cannot be written (result
    /// says which).
    static std::optional<std::vector<std::uint8_t>>
    Build(DesignParts& parts, const DesignFilePorts& ports, DriverFile::Result& result);
    /// Writes the four parts atomically (temporary file renamed over the target).
    static DriverFile::Result Write(const std::filesystem::path& path, DesignParts& parts,
                                    const DesignFilePorts& ports);
    /// Parses a driver file's bytes into the parts; see Read.
    static DriverFile::Result Parse(std::span<const std::uint8_t> bytes, DesignParts& parts,
                                    const DesignFilePorts& ports);
    /// Reads and checks every section; parts is only meaningful when the result is ok. The
    /// socket reads with the picture folder parts.socket already has.
    static DriverFile::Result Read(const std::filesystem::path& path, DesignParts& parts,
                                   const DesignFilePorts& ports);
};

} // namespace md
