#pragma once

#include "design/BackgroundDesign.h"
#include "design/NewModuleInfoRecord.h"
#include "design/SocketDesign.h"
#include "driverfile/DriverFile.h"
#include "layout/LayoutDesign.h"
#include "layout/LayoutRange.h"

#include <filesystem>

namespace md {

class Clock;
class CodePage;
class Guids;
class ModuleDesignDocument;
class PictureCodec;

/// What reading and writing a design's driver file needs from around it.
struct DesignFilePorts
{
    const CodePage& codePage;
    const PictureCodec& codec;
    Guids& guids;
    const Clock& clock;
    VersionWords version;
};

/// A driver file's four sections as read, held apart until they replace the open design's.
struct DesignParts
{
    NewModuleInfoRecord moduleInfo;
    SocketDesign socket;
    LayoutDesign layout;
    BackgroundDesign background;
};

/// Reading and writing a design as a module driver file.
class DesignFile
{
public:
    /// The range of a whole W x H module: origin 0, every pixel inside, no split.
    static LayoutRange WholeModule(std::uint32_t width, std::uint32_t height);

    /// The document's layout section for a range, taken from its grid (an empty layout when it
    /// has none). The grid and its layout result stay as they are.
    static LayoutDesign CaptureLayout(ModuleDesignDocument& document, const LayoutRange& range);

    /// The open design's parts for a save: module information, socket, the whole layout and
    /// the background.
    static DesignParts PartsOf(ModuleDesignDocument& document);

    /// Writes the four parts atomically (temporary file renamed over the target).
    static DriverFile::Result Write(const std::filesystem::path& path, DesignParts& parts,
                                    const DesignFilePorts& ports);
    /// Reads and checks every section; parts is only meaningful when the result is ok. The
    /// socket reads over a copy of the document's socket, so it keeps the picture folder.
    static DriverFile::Result Read(const std::filesystem::path& path, DesignParts& parts,
                                   const DesignFilePorts& ports);
};

} // namespace md
