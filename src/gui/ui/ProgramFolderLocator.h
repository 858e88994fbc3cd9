#pragma once

#include "core/io/ProgramFolder.h"

namespace md {

/// The program folder of the running host: the folder of its executable, or the folder named by
/// the environment variable MD_PROGRAM_FOLDER when set (tests and tools point it at a copy).
ProgramFolder LocateProgramFolder();

} // namespace md
