#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace md {

class CodePage;
struct LightImage;
struct NewModuleInfoRecord;

/// A name of a design that the code page of its driver file cannot hold in full.
struct UnstorableName
{
    std::string_view field; ///< the text key of the field ("IDS_MD_FIELD_MODULE_NAME", ...)
    std::u16string name;
    std::u16string characters; ///< the characters that would be written as '?'

    bool operator==(const UnstorableName&) const = default;
};

/// The names a driver file stores in its code page.
struct StoredNames
{
    const NewModuleInfoRecord& moduleInfo;
    const std::vector<LightImage>& lightPictures;
    const LightImage& cellBackground;
    const LightImage& backgroundPicture;
};

/// Every stored name (module name, chip names, light and background picture names) that would
/// lose characters, in the order of the file.
std::vector<UnstorableName> FindUnstorableNames(const StoredNames& names, const CodePage& codePage);

} // namespace md
