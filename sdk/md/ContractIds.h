#pragma once

#include <cstdint>

/// Ids, request codes and message numbers shared by the plug-in, the host and the tests.
namespace md::contract {

inline constexpr const char* kPluginId = "7B466530-8CCF-4c48-AB8A-0F8F1F0E0C71";
inline constexpr const char* kTextSection = "ModuleDesignUIPlugin";

// Request codes of QueryPluginInterface.
inline constexpr std::uint32_t kRequestSettings = 4097;
inline constexpr std::uint32_t kRequestPanel = 0x08000001;
inline constexpr std::uint32_t kRequestToolbar = 0x08000002;
inline constexpr std::uint32_t kRequestPanelObject = 0xFF800001;

// Host services: id and request code.
inline constexpr const char* kMultilingualId = "2D5BF83A-F6FE-42e8-8FCD-3FA4770B3C51";
inline constexpr std::uint32_t kMultilingualCode = 1;
inline constexpr const char* kNotifyServiceId = "9E00A4D5-3048-43e6-83AA-6F424EFE5265";
inline constexpr std::uint32_t kNotifyServiceCode = 0xFF800000;
inline constexpr std::uint32_t kNotifySinkCode = 0xFF800001;
inline constexpr const char* kGlobalDataId = "7BC95C79-CB06-476f-9D25-58AB80255D0A";
inline constexpr std::uint32_t kGlobalDataCode = 1;
inline constexpr const char* kConfigFileId = "F7A5CEAE-ED56-494c-8BEB-DB04B4CC0CD2";
inline constexpr std::uint32_t kConfigFileCode = 0x1000;
inline constexpr const char* kChipRecordSetId = "A1DFACC4-844C-4a89-97BE-59E89B87B811";
inline constexpr std::uint32_t kChipRecordSetCode = 0xFF80000A;
inline constexpr const char* kLightRecordSetId = "8929C4C1-3EB5-4554-8283-ED1B79E7A138";
inline constexpr std::uint32_t kLightRecordSetCode = 0xFF80000B;

// Sibling components addressed through the notification service.
inline constexpr const char* kSocketComponentId = "9CFB152C-A681-4084-9D7F-D99AA2265B45";
inline constexpr const char* kControllerLoaderId = "724CC796-340C-4f7a-9362-5D3A48F6B500";
inline constexpr const char* kControllerSenderId = "C81E004A-AE93-43a0-8B75-358576608381";

// Global data flags.
inline constexpr std::uint32_t kGlobalFlagSettingsLocked = 2;

// Capacities of the text buffers the plug-in passes.
inline constexpr std::uint32_t kTextCapacity = 520;
inline constexpr std::uint32_t kConfigCapacity = 260;

// Notification messages.
inline constexpr std::uint32_t kMsgHostRefresh = 6;
inline constexpr std::uint32_t kMsgShowSocketView = 2;
inline constexpr std::uint32_t kMsgShowLayoutView = 3;
inline constexpr std::uint32_t kMsgShowBackground = 4;
inline constexpr std::uint32_t kMsgAskSave = 5;
inline constexpr std::uint32_t kMsgCellDesign = 0x11;
inline constexpr std::uint32_t kMsgWizardHandOver = 0x12;
inline constexpr std::uint32_t kMsgSocketRequest = 0x13;
inline constexpr std::uint32_t kMsgLoadCombined = 0x16; ///< to the controller loader, wParam 1
inline constexpr std::uint32_t kMsgSendCombined = 0x17; ///< to the controller sender: the file
inline constexpr std::uint32_t kMsgModuleRange = 0x21;
inline constexpr std::uint32_t kMsgWriteDriverFile = 145;
inline constexpr std::uint32_t kMsgReadDriverFile = 146;
inline constexpr std::uint32_t kMsgWriteBlockFile = 147;

// The controller command area.
inline constexpr const char* kCommandAreaName = "/ExecutePointShareData.MAP";
inline constexpr std::uint32_t kCommandAreaSize = 32;
inline constexpr int kStartWithoutCommandArea = 152;

// The host marks its main window with this property so plug-in pages can find it.
inline constexpr const char* kMainWindowProperty = "TESSEL:{FEB24CB7-DA53-4779-A209-68707D72E217}";

} // namespace md::contract
