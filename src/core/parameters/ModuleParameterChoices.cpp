#include "core/parameters/ModuleParameterChoices.h"

#include <array>

namespace md::choices {

namespace {

constexpr std::array<Choice, 4> kModuleTypes = {{
    {0, "IDS_MODULE_FIRSETDLG_SIGLECOLOR"},
    {1, "IDS_MODULE_FIRSETDLG_FULLCOLOR"},
    {2, "IDS_MODULE_FIRSETDLG_DOUBLECOLOR"},
    {3, "IDS_MODULE_FIRSETDLG_VIRTUAL"},
}};

constexpr std::array<Choice, 5> kVirtualModes = {{
    {0, "IDS_MODULE_FIRSETDLG_VIRTUALMODE1"},
    {1, "IDS_MODULE_FIRSETDLG_VIRTUALMODE2"},
    {2, "IDS_MODULE_FIRSETDLG_VIRTUALMODE3"},
    {3, "IDS_MODULE_FIRSETDLG_VIRTUALMODE4"},
    {4, "IDS_MODULE_FIRSETDLG_VIRTUALMODE5"},
}};

constexpr std::array<Choice, 2> kSplitModes = {{
    {0, "IDS_MODULE_FIRSETDLG_HORZSPLIT"},
    {1, "IDS_MODULE_FIRSETDLG_VERTSPLIT"},
}};

constexpr std::array<Choice, 5> kDischarges = {{
    {0, "IDS_MODULE_FIRSETDLG_DISCHARGE_UP_DOWN_ROW"},
    {1, "IDS_MODULE_FIRSETDLG_DISCHARGE_UP_ROW"},
    {2, "IDS_MODULE_FIRSETDLG_DISCHARGE_DOWN_ROW"},
    {3, "IDS_MODULE_FIRSETDLG_DISCHARGE_ALWAYS_HIGH"},
    {4, "IDS_MODULE_FIRSETDLG_DISCHARGE_ALWAYS_LOW"},
}};

constexpr std::array<Choice, 2> kPolarities = {{
    {0, "IDS_MODULE_FIRSETDLG_LOW_POLAR"},
    {1, "IDS_MODULE_FIRSETDLG_HIGH_POLAR"},
}};

constexpr std::array<Choice, 4> kMultiClocks = {{
    {0, "IDC_BOX_SETTING_STATIC_DOUBLECLK_NONE"},
    {1, "IDC_BOX_SETTING_STATIC_DOUBLECLK_D_AS_ROUTE_TWO"},
    {2, "IDC_BOX_SETTING_STATIC_DOUBLECLK_DC_AS_ROUTE_TWO"},
    {3, "IDC_BOX_SETTING_STATIC_DOUBLECLK_DCB_AS_ROUTE_TWO"},
}};

// There is no label numbered 5: the sixth mode carries label 6, and so on.
constexpr std::array<Choice, 9> kGroupDataModes = {{
    {0, "IDC_BOX_SETTING_STATIC_GROUP_0_DATA_MODE"},
    {1, "IDC_BOX_SETTING_STATIC_GROUP_1_DATA_MODE"},
    {2, "IDC_BOX_SETTING_STATIC_GROUP_2_DATA_MODE"},
    {3, "IDC_BOX_SETTING_STATIC_GROUP_3_DATA_MODE"},
    {4, "IDC_BOX_SETTING_STATIC_GROUP_4_DATA_MODE"},
    {5, "IDC_BOX_SETTING_STATIC_GROUP_6_DATA_MODE"},
    {6, "IDC_BOX_SETTING_STATIC_GROUP_7_DATA_MODE"},
    {7, "IDC_BOX_SETTING_STATIC_GROUP_8_DATA_MODE"},
    {8, "IDC_BOX_SETTING_STATIC_GROUP_9_DATA_MODE"},
}};

constexpr std::array<Choice, 5> kDataLineTypes = {{
    {0, "IDC_BOX_SETTING_STATIC_DATLINE_TYPE_RGB_APART"},
    {4, "IDC_BOX_SETTING_STATIC_DATLINE_TYPE_THREE_COLOR_SERIES_1"},
    {5, "IDC_BOX_SETTING_STATIC_DATLINE_TYPE_THREE_COLOR_SERIES_8"},
    {6, "IDC_BOX_SETTING_STATIC_DATLINE_TYPE_THREE_COLOR_SERIES_16"},
    {7, "IDC_BOX_SETTING_STATIC_DATLINE_TYPE_THREE_COLOR_SERIES_24"},
}};

} // namespace

std::span<const Choice> ModuleTypes()
{
    return kModuleTypes;
}
std::span<const Choice> VirtualModes()
{
    return kVirtualModes;
}
std::span<const Choice> SplitModes()
{
    return kSplitModes;
}
std::span<const Choice> Discharges()
{
    return kDischarges;
}
std::span<const Choice> Polarities()
{
    return kPolarities;
}
std::span<const Choice> MultiClocks()
{
    return kMultiClocks;
}
std::span<const Choice> GroupDataModes()
{
    return kGroupDataModes;
}
std::span<const Choice> DataLineTypes()
{
    return kDataLineTypes;
}

int IndexOfValue(std::span<const Choice> list, std::int32_t value)
{
    for (std::size_t i = 0; i < list.size(); ++i)
        if (list[i].value == value)
            return static_cast<int>(i);
    return 0;
}

} // namespace md::choices
