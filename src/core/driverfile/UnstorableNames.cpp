#include "core/driverfile/UnstorableNames.h"

#include "core/design/LightImage.h"
#include "core/design/NewModuleInfoRecord.h"
#include "core/posix/CodePage.h"

namespace md {

std::vector<UnstorableName> FindUnstorableNames(const StoredNames& names, const CodePage& codePage)
{
    std::vector<UnstorableName> found;
    const auto check = [&](std::string_view field, const std::u16string& name) {
        if (std::u16string characters = codePage.Unstorable(name); !characters.empty())
            found.push_back({field, name, std::move(characters)});
    };
    const NewModuleInfoRecord& info = names.moduleInfo;
    check("ID_FIELD_MODULE_NAME", info.ModuleName());
    check("ID_FIELD_DRIVER_CHIP", info.driverChip.name);
    check("ID_FIELD_SCAN_CHIP", info.scanChip.name);
    for (const LightImage& image : names.lightPictures)
        check("ID_FIELD_LIGHT_PICTURE", image.name);
    check("ID_FIELD_CELL_BACKGROUND", names.cellBackground.name);
    check("ID_FIELD_BACKGROUND_PICTURE", names.backgroundPicture.name);
    return found;
}

} // namespace md
