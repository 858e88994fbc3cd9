// Feeds arbitrary bytes to the layout section reader; a section that reads must write, and what
// it writes must read again.
#include "core/io/ByteReader.h"
#include "core/io/ByteWriter.h"
#include "core/layout/LayoutArchive.h"
#include "core/posix/CodePage.h"

#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const md::CodePage codePage;
    md::ByteReader in(std::span<const std::uint8_t>(data, size));
    md::LayoutDesign design;
    std::string error;
    if (!md::ReadLayoutSection(in, design, codePage, error))
        return 0;
    md::ByteWriter out;
    if (!md::WriteLayoutSection(design, out, codePage))
        std::abort();
    md::ByteReader again(out.Data());
    md::LayoutDesign reread;
    if (!md::ReadLayoutSection(again, reread, codePage, error) || !(reread == design))
        std::abort();
    return 0;
}
