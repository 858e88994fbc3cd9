// Feeds arbitrary bytes to the socket file (.mjk) reader: a socket that reads must write back
// to bytes that read to the same socket.

#include "core/design/SocketDesign.h"
#include "core/driverfile/FileInspector.h"
#include "core/driverfile/SocketFile.h"
#include "core/driverfile/SocketSection.h"
#include "core/io/ByteReader.h"
#include "core/io/ByteWriter.h"
#include "core/posix/CodePage.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

namespace {

constexpr std::size_t kHeader = 16; // ".MJK" and three version words

bool ReadSocket(std::span<const std::uint8_t> body, md::SocketDesign& socket)
{
    md::ByteReader in(body);
    std::string error;
    return md::SocketSection(socket, nullptr).Read(in, error);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const md::CodePage codePage;
    const std::span<const std::uint8_t> bytes(data, size);
    std::string json;
    std::string error;
    md::FileInspector(codePage).Describe(bytes, json, error);
    if (size < kHeader)
        return 0;
    md::SocketDesign socket;
    if (!ReadSocket(bytes.subspan(kHeader), socket))
        return 0;
    md::ByteWriter out;
    md::SocketSection::WriteBody(socket, out);
    md::SocketDesign again;
    if (!ReadSocket(out.Data(), again) || again.PinCount() != socket.PinCount() ||
        again.ScanRows() != socket.ScanRows())
        std::abort();
    for (std::size_t i = 0; i < socket.Pins().size(); ++i)
        if (again.Pins()[i].code != socket.Pins()[i].code)
            std::abort();
    return 0;
}
