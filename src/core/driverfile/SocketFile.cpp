#include "core/driverfile/SocketFile.h"

#include "core/design/SocketDesign.h"
#include "core/driverfile/SocketSection.h"
#include "core/driverfile/VersionWords.h"
#include "core/io/ByteWriter.h"
#include "core/io/FileIo.h"
#include "core/io/Utf.h"
#include "core/platform/FileChooser.h"
#include "core/platform/Texts.h"

namespace md {

std::vector<std::uint8_t> SocketFile::Build(const SocketDesign& socket, const VersionWords& version)
{
    ByteWriter out;
    version.WriteHeader(out, kMark);
    SocketSection::WriteBody(socket, out);
    return out.Take();
}

int SocketFile::SaveWith(SocketDesign& socket, const Context& context, bool promptOverwrite)
{
    if (!socket.IsValid())
        return 1;
    std::filesystem::path path = socket.FilePath();
    if (path.empty()) {
        FileRequest request;
        request.title = context.texts.Text("ID_SAVE_SOCKET_FILE");
        request.filter = context.texts.Text("ID_SOCKET_FILE") + u"(.mjk)|*.mjk||";
        request.defaultExtension = u"mjk";
        request.defaultName = context.moduleName + u".mjk";
        request.promptOverwrite = promptOverwrite;
        request.mustExist = false;
        auto chosen = context.chooser.ChooseSave(request);
        if (!chosen)
            return -1;
        path = *chosen;
    }
    if (!fileio::WriteAtomic(path, Build(socket, context.version)))
        return 2;
    socket.SetFilePath(path);
    if (context.notify)
        context.notify();
    return 0;
}

int SocketFile::Save(SocketDesign& socket, const Context& context)
{
    switch (SaveWith(socket, context, false)) {
    case 1:
        return 3;
    case 2:
        return 2;
    default:
        return 0;
    }
}

int SocketFile::SaveAs(SocketDesign& socket, const Context& context)
{
    switch (SaveWith(socket, context, true)) {
    case 1:
        return 2;
    case 2:
        return 3;
    default:
        return 0;
    }
}

} // namespace md
