#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <vector>

namespace md {

class FileChooser;
class SocketDesign;
class Texts;
struct VersionWords;

/// The socket file (.mjk) and the two ways the panel saves it.
class SocketFile
{
public:
    static constexpr const char* kMark = ".MJK";

    /// ".MJK", three version words, then the socket section's bytes.
    static std::vector<std::uint8_t> Build(const SocketDesign& socket, const VersionWords& version);

    /// What a save needs from around it.
    struct Context
    {
        FileChooser& chooser;
        const Texts& texts;
        VersionWords const& version;
        std::u16string moduleName;    ///< default file name when no path is stored
        std::function<void()> notify; ///< notification 6 to the host's notify target
    };

    /// Save without overwrite prompt: 0 done or cancelled, 3 invalid socket, 2 write failed.
    static int Save(SocketDesign& socket, const Context& context);
    /// Save with overwrite prompt: 0 done or cancelled, 2 invalid socket, 3 write failed.
    static int SaveAs(SocketDesign& socket, const Context& context);

private:
    /// 0 done, -1 cancelled, 1 invalid, 2 write failed.
    static int SaveWith(SocketDesign& socket, const Context& context, bool promptOverwrite);
};

} // namespace md
