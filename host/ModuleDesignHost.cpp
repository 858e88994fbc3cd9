#include "ModuleDesignHost.h"

#include "md/ContractIds.h"
#include "md/IVirtualCamera.h"

#include <QDir>

#include <cstring>

namespace md::host {

ModuleDesignHost::ModuleDesignHost(const QString& programFolder)
    : m_programFolder(programFolder),
      m_texts(programFolder, TextService::LanguageOf(programFolder)),
      m_chips(ChipRecordSet::Load(QDir(programFolder).filePath("ChipManager/chips.json"))),
      m_lights(LightRecordSet::Load(QDir(programFolder).filePath("Lightlibrary/lights.json"))),
      m_siblings(programFolder, m_notify)
{
    m_notify.Register(kHostTargetId, static_cast<INotifySink*>(this));
    m_notify.RegisterResolver(contract::kPluginId, [this] { return PluginSink(); });
}

INotifySink* ModuleDesignHost::PluginSink()
{
    void* sink = nullptr;
    if (!m_plugin || !m_plugin->QueryPluginInterface(contract::kRequestPanelObject, &sink))
        return nullptr;
    return static_cast<INotifySink*>(sink);
}

bool ModuleDesignHost::QueryService(const char* id, std::uint32_t code, void** out)
{
    if (!id || !out)
        return false;
    const auto is = [&](const char* serviceId, std::uint32_t serviceCode) {
        return std::strcmp(id, serviceId) == 0 && code == serviceCode;
    };
    void* found = nullptr;
    if (is(contract::kMultilingualId, contract::kMultilingualCode))
        found = static_cast<IMultilingualInterface*>(&m_texts);
    else if (is(contract::kNotifyServiceId, contract::kNotifyServiceCode))
        found = static_cast<INotifyService*>(&m_notify);
    else if (is(contract::kGlobalDataId, contract::kGlobalDataCode))
        found = static_cast<IGlobalDataInterface*>(&m_globalData);
    else if (is(contract::kConfigFileId, contract::kConfigFileCode))
        found = static_cast<IConfigFilebase*>(&m_config);
    else if (is(contract::kChipRecordSetId, contract::kChipRecordSetCode))
        found = static_cast<IChipManRecordSet*>(&m_chips);
    else if (is(contract::kLightRecordSetId, contract::kLightRecordSetCode))
        found = static_cast<ILightManRecordset*>(&m_lights);
    else if (is(kVirtualCameraId, kVirtualCameraCode) && m_camera.Available())
        found = static_cast<IVirtualCamera*>(&m_camera);
    else if (is(contract::kPluginId, contract::kNotifySinkCode))
        found = PluginSink();
    if (!found)
        return false;
    // Every service but the texts is released by the caller after use.
    auto* base = static_cast<IBaseInterface*>(found);
    if (found != static_cast<IMultilingualInterface*>(&m_texts))
        base->AddRef();
    *out = found;
    return true;
}

std::int32_t ModuleDesignHost::AttachPage(const char* pluginId, WindowHandle page, std::int32_t,
                                          std::int32_t, std::int32_t, std::int32_t)
{
    m_pages.push_back({QByteArray(pluginId ? pluginId : ""), page, false});
    return 0;
}

std::int32_t ModuleDesignHost::PageAttached(const char* pluginId)
{
    for (AttachedPage& page : m_pages)
        if (page.pluginId == QByteArray(pluginId ? pluginId : ""))
            page.confirmed = true;
    return 0;
}

std::int32_t ModuleDesignHost::OnNotify(std::uint32_t message, std::uintptr_t, std::intptr_t)
{
    if (message != contract::kMsgHostRefresh)
        return 0;
    ++m_refreshRequests;
    if (onRefresh)
        onRefresh();
    return 0;
}

} // namespace md::host
