#include "core/io/ProgramFolder.h"

namespace md {

bool ProgramFolder::EnsureTemp() const
{
    std::error_code ec;
    std::filesystem::create_directories(Temp(), ec);
    return std::filesystem::is_directory(Temp(), ec);
}

} // namespace md
