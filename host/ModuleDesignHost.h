#pragma once

#include "components/SiblingComponents.h"
#include "md/IBaseUIPlugin.h"
#include "md/IHost.h"
#include "services/ChipRecordSet.h"
#include "services/ConfigFileService.h"
#include "services/GlobalDataService.h"
#include "services/LightRecordSet.h"
#include "services/NotifyService.h"
#include "services/TextService.h"
#include "services/VirtualCameraService.h"

#include <QByteArray>
#include <QString>
#include <QVector>

#include <memory>

namespace md::host {

/// The host object handed to the plug-in: it answers service lookups by id and request code,
/// routes notifications and records the settings pages the plug-in attaches.
class ModuleDesignHost final : public IHost, public INotifySink
{
public:
    /// The id under which the host itself receives notifications (GetNotifyTarget).
    static constexpr const char* kHostTargetId = "E3A1C6B2-5D47-4F0E-9B8A-2C6D4E1F7A90";

    explicit ModuleDesignHost(const QString& programFolder);

    // IHost (slots 0 and 1 shared with INotifySink: one object, the host owns it)
    std::uint32_t AddRef() override { return 1; }
    std::uint32_t Release() override { return 1; }
    bool QueryService(const char* id, std::uint32_t code, void** out) override;
    std::int32_t Reserved3() override { return 0; }
    std::int32_t AttachPage(const char* pluginId, WindowHandle page, std::int32_t, std::int32_t,
                            std::int32_t, std::int32_t) override;
    std::int32_t PageAttached(const char* pluginId) override;
    std::int32_t Reserved6() override { return 0; }
    std::int32_t Reserved7() override { return 0; }
    const char* GetNotifyTarget() override { return kHostTargetId; }

    // INotifySink: the host's own target (message 6 asks it to refresh its view of the panel).
    std::int32_t OnNotify(std::uint32_t message, std::uintptr_t wParam,
                          std::intptr_t lParam) override;

    /// The loaded plug-in, whose panel answers notifications sent to the plug-in's own id.
    void SetPlugin(IBaseUIPlugin* plugin) { m_plugin = plugin; }
    IBaseUIPlugin* Plugin() const { return m_plugin; }

    const QString& ProgramFolder() const { return m_programFolder; }
    TextService& Texts() { return m_texts; }
    NotifyService& Notify() { return m_notify; }
    GlobalDataService& GlobalData() { return m_globalData; }
    ChipRecordSet& Chips() { return m_chips; }
    LightRecordSet& Lights() { return m_lights; }
    SiblingComponents& Siblings() { return m_siblings; }
    ConfigFileService& Config() { return m_config; }
    VirtualCameraService& Camera() { return m_camera; }

    struct AttachedPage
    {
        QByteArray pluginId;
        WindowHandle window = 0;
        bool confirmed = false; ///< PageAttached followed
    };
    const QVector<AttachedPage>& AttachedPages() const { return m_pages; }
    int RefreshRequests() const { return m_refreshRequests; }

    /// Called for each refresh request (message 6).
    std::function<void()> onRefresh;

private:
    INotifySink* PluginSink();

    QString m_programFolder;
    TextService m_texts;
    NotifyService m_notify;
    GlobalDataService m_globalData;
    ConfigFileService m_config;
    ChipRecordSet m_chips;
    LightRecordSet m_lights;
    SiblingComponents m_siblings;
    VirtualCameraService m_camera;
    IBaseUIPlugin* m_plugin = nullptr;
    QVector<AttachedPage> m_pages;
    int m_refreshRequests = 0;
};

} // namespace md::host
