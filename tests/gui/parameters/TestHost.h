#pragma once

#include "core/io/IniFile.h"
#include "core/io/Utf.h"
#include "md/ContractIds.h"
#include "md/IConfigFilebase.h"
#include "md/IGlobalDataInterface.h"
#include "md/IHost.h"
#include "md/IMultilingualInterface.h"
#include "md/INotifyService.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
#endif

namespace md::test {

/// A host as the plug-in's views see it. Its texts are their keys, or those of a shipped
/// language file once `UseLanguage` names one; its ini values come from the file asked for;
/// its notification service records every message and answers `cellCount`; its global data
/// service answers `flags` and is there only once they are set.
class TestHost : public IHost,
                 IMultilingualInterface,
                 INotifyService,
                 IConfigFilebase,
                 IGlobalDataInterface
{
public:
    void UseLanguage(const std::string& language)
    {
        texts =
            IniFile::Load(std::filesystem::path(MD_SOURCE_DATA_DIR) / "lang" / (language + ".ini"));
    }

    std::uint32_t AddRef() override { return 0; }
    std::uint32_t Release() override { return 0; }
    bool QueryService(const char* id, std::uint32_t, void** out) override
    {
        if (std::strcmp(id, contract::kMultilingualId) == 0)
            *out = static_cast<IMultilingualInterface*>(this);
        else if (std::strcmp(id, contract::kNotifyServiceId) == 0)
            *out = static_cast<INotifyService*>(this);
        else if (std::strcmp(id, contract::kConfigFileId) == 0)
            *out = static_cast<IConfigFilebase*>(this);
        else if (std::strcmp(id, contract::kGlobalDataId) == 0 && flags)
            *out = static_cast<IGlobalDataInterface*>(this);
        else
            return false;
        return true;
    }
    std::int32_t Reserved3() override { return 0; }
    std::int32_t AttachPage(const char* plugin, WindowHandle page, std::int32_t, std::int32_t,
                            std::int32_t, std::int32_t) override
    {
        attached = plugin;
        attachedPage = page;
        return 0;
    }
    std::int32_t PageAttached(const char*) override { return 0; }
    std::int32_t Reserved6() override { return 0; }
    std::int32_t Reserved7() override { return 0; }
    const char* GetNotifyTarget() override { return "host"; }

    bool GetText(const char* section, const char* key, char16_t* buffer,
                 std::uint32_t capacity) override
    {
        if (!texts)
            return Copy(utf::FromAscii(key), buffer, capacity);
        const auto value = texts->Value(section, key);
        return value && Copy(utf::ToUtf16(*value), buffer, capacity);
    }
    std::int32_t Reserved2() override { return 0; }
    std::int32_t Send(const char* target, std::uint32_t message, std::uintptr_t,
                      std::intptr_t) override
    {
        sent.push_back(std::string(target) + ":" + std::to_string(message));
        return cellCount;
    }
    std::int32_t Reserved4() override { return 0; }
    std::int32_t Reserved5() override { return 0; }
    std::uint32_t Flags() override { return *flags; }
    bool ReadString(const char* section, const char* key, char16_t* buffer, std::uint32_t capacity,
                    const char16_t* path) override
    {
        const auto value = IniFile::Load(utf::ToUtf8(path)).Value(section, key);
        return value && Copy(utf::ToUtf16(*value), buffer, capacity);
    }

    std::optional<IniFile> texts;
    std::string attached;
    WindowHandle attachedPage = 0;
    std::vector<std::string> sent;
    std::int32_t cellCount = 0;
    std::optional<std::uint32_t> flags;

private:
    static bool Copy(const std::u16string& text, char16_t* buffer, std::uint32_t capacity)
    {
        if (text.size() >= capacity)
            return false;
        std::copy(text.begin(), text.end(), buffer);
        buffer[text.size()] = 0;
        return true;
    }
};

} // namespace md::test

#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif
