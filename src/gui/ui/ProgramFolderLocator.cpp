#include "gui/ui/ProgramFolderLocator.h"

#include <QCoreApplication>

#include <cstdlib>

namespace md {

ProgramFolder LocateProgramFolder()
{
    if (const char* forced = std::getenv("MD_PROGRAM_FOLDER"); forced && *forced)
        return ProgramFolder(forced);
    return ProgramFolder(QCoreApplication::applicationDirPath().toStdString());
}

} // namespace md
