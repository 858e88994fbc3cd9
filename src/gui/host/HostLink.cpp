#include "gui/host/HostLink.h"

#include "gui/camera/VirtualCameraSource.h"
#include "md/ContractIds.h"
#include "md/IChipManRecordSet.h"
#include "md/IConfigFilebase.h"
#include "md/IGlobalDataInterface.h"
#include "md/ILightManRecordset.h"
#include "md/IMultilingualInterface.h"
#include "md/INotifyService.h"
#include "md/INotifySink.h"

#include <array>

namespace md {

namespace {

IHost* g_host = nullptr;

/// Looks up a service and releases it when the lookup goes out of scope.
template <typename Interface>
class ServiceLookup
{
public:
    ServiceLookup(const char* id, std::uint32_t code, bool release = true) : m_release(release)
    {
        void* out = nullptr;
        if (g_host && g_host->QueryService(id, code, &out))
            m_service = static_cast<Interface*>(out);
    }
    ~ServiceLookup()
    {
        if (m_service && m_release)
            m_service->Release();
    }
    ServiceLookup(const ServiceLookup&) = delete;
    ServiceLookup& operator=(const ServiceLookup&) = delete;

    Interface* operator->() const { return m_service; }
    explicit operator bool() const { return m_service != nullptr; }

private:
    Interface* m_service = nullptr;
    bool m_release = true;
};

std::u16string FromBuffer(const char16_t* buffer, std::size_t capacity)
{
    std::size_t length = 0;
    while (length < capacity && buffer[length] != 0)
        ++length;
    return {buffer, length};
}

} // namespace

IHost* HostLink::Host()
{
    return g_host;
}

void HostLink::SetHost(IHost* host)
{
    g_host = host;
}

std::u16string HostLink::LocalizedText(std::string_view key)
{
    // The text service is not released after use.
    ServiceLookup<IMultilingualInterface> texts(contract::kMultilingualId,
                                                contract::kMultilingualCode, false);
    if (!texts)
        return {};
    std::array<char16_t, contract::kTextCapacity> buffer{};
    const std::string keyText(key);
    if (!texts->GetText(contract::kTextSection, keyText.c_str(), buffer.data(),
                        static_cast<std::uint32_t>(buffer.size())))
        return {};
    return FromBuffer(buffer.data(), buffer.size());
}

std::optional<std::int32_t> HostLink::Send(const char* target, std::uint32_t message,
                                           std::uintptr_t wParam, std::intptr_t lParam)
{
    ServiceLookup<INotifyService> notify(contract::kNotifyServiceId, contract::kNotifyServiceCode);
    if (!notify)
        return std::nullopt;
    return notify->Send(target, message, wParam, lParam);
}

std::optional<std::int32_t> HostLink::NotifySelf(std::uint32_t message, std::uintptr_t wParam,
                                                 std::intptr_t lParam)
{
    ServiceLookup<INotifySink> sink(contract::kPluginId, contract::kNotifySinkCode);
    if (!sink)
        return std::nullopt;
    return sink->OnNotify(message, wParam, lParam);
}

bool HostLink::HasNotifyService()
{
    ServiceLookup<INotifyService> notify(contract::kNotifyServiceId, contract::kNotifyServiceCode);
    return static_cast<bool>(notify);
}

std::optional<std::uint32_t> HostLink::GlobalFlags()
{
    ServiceLookup<IGlobalDataInterface> data(contract::kGlobalDataId, contract::kGlobalDataCode);
    if (!data)
        return std::nullopt;
    return data->Flags();
}

std::optional<std::u16string> HostLink::ReadConfig(const char* section, const char* key,
                                                   const std::u16string& path)
{
    ServiceLookup<IConfigFilebase> config(contract::kConfigFileId, contract::kConfigFileCode);
    if (!config)
        return std::nullopt;
    std::array<char16_t, contract::kConfigCapacity> buffer{};
    if (!config->ReadString(section, key, buffer.data(), static_cast<std::uint32_t>(buffer.size()),
                            path.c_str()))
        return std::nullopt;
    return FromBuffer(buffer.data(), buffer.size());
}

std::vector<HostChip> HostLink::Chips()
{
    std::vector<HostChip> chips;
    ServiceLookup<IChipManRecordSet> records(contract::kChipRecordSetId,
                                             contract::kChipRecordSetCode);
    if (!records)
        return chips;
    for (bool more = records->First(); more; more = records->Next()) {
        const char16_t* name = records->Name();
        chips.push_back({name ? std::u16string(name) : std::u16string(), records->Kind(),
                         records->ChipType(), records->Value()});
    }
    return chips;
}

std::vector<HostLight> HostLink::Lights()
{
    std::vector<HostLight> lights;
    ServiceLookup<ILightManRecordset> records(contract::kLightRecordSetId,
                                              contract::kLightRecordSetCode);
    if (!records)
        return lights;
    for (bool more = records->First(); more; more = records->Next()) {
        const char16_t* name = records->Name();
        lights.push_back({name ? std::u16string(name) : std::u16string(), records->Width(),
                          records->Height(), records->Colour(), records->Code()});
    }
    return lights;
}

void HostLink::NotifyDesignChanged()
{
    IHost* host = Host();
    if (!host)
        return;
    if (const char* target = host->GetNotifyTarget())
        Send(target, contract::kMsgHostRefresh, 0, 0);
}

namespace {

/// The core's port over the process's host link.
class HostLinkServices final : public HostServices
{
public:
    bool CanNotify() const override { return HostLink::Host() && HostLink::HasNotifyService(); }
    std::optional<std::int32_t> Send(const char* target, std::uint32_t message,
                                     std::uintptr_t wParam, std::intptr_t lParam) override
    {
        return HostLink::Send(target, message, wParam, lParam);
    }
    std::optional<std::int32_t> NotifySelf(std::uint32_t message, std::uintptr_t wParam,
                                           std::intptr_t lParam) override
    {
        return HostLink::NotifySelf(message, wParam, lParam);
    }
    std::optional<std::u16string> ReadConfig(const char* section, const char* key,
                                             const std::u16string& path) const override
    {
        return HostLink::Host() ? HostLink::ReadConfig(section, key, path) : std::nullopt;
    }
    std::unique_ptr<FrameSource> VirtualCamera() override
    {
        if (!VirtualCameraSource::Offered(HostLink::Host()))
            return nullptr;
        return std::make_unique<VirtualCameraSource>(HostLink::Host());
    }
};

} // namespace

HostServices& HostLink::Services()
{
    static HostLinkServices services;
    return services;
}

} // namespace md
