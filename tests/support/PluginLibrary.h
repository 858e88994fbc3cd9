#pragma once

#include "md/IBaseUIPlugin.h"

#include <string>

namespace md::test {

/// The built plug-in library, opened with dlopen as the host opens it.
class PluginLibrary
{
public:
    PluginLibrary();
    ~PluginLibrary();
    PluginLibrary(const PluginLibrary&) = delete;
    PluginLibrary& operator=(const PluginLibrary&) = delete;

    static std::string Path();
    bool IsLoaded() const { return m_handle != nullptr; }
    const std::string& Error() const { return m_error; }
    void* Symbol(const char* name) const;
    /// A new plug-in object from CreatePlugin.
    IBaseUIPlugin* Create() const;

private:
    void* m_handle = nullptr;
    std::string m_error;
};

/// Calls slot `slot` of an interface object through its vtable, the way a separately built
/// host does, independent of our own headers' declaration order.
template <typename Result, typename... Args>
Result CallSlot(void* object, int slot, Args... args)
{
    using Fn = Result (*)(void*, Args...);
    void** vtable = *static_cast<void***>(object);
    return reinterpret_cast<Fn>(vtable[slot])(object, args...);
}

} // namespace md::test
