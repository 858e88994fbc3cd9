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
    check("IDS_MD_FIELD_MODULE_NAME", info.ModuleName());
    check("IDS_MD_FIELD_DRIVER_CHIP", info.driverChip.name);
    check("IDS_MD_FIELD_SCAN_CHIP", info.scanChip.name);
    for (const LightImage& image : names.lightPictures)
        check("IDS_MD_FIELD_LIGHT_PICTURE", image.name);
    check("IDS_MD_FIELD_CELL_BACKGROUND", names.cellBackground.name);
    check("IDS_MD_FIELD_BACKGROUND_PICTURE", names.backgroundPicture.name);
    return found;
}

} // namespace md
