#pragma once

#include "md/IBaseUIPlugin.h"

#include <QString>

namespace md::host {

/// Loads the plug-in library with dlopen, creates its plug-in object and releases both.
class PluginLoader
{
public:
    static constexpr const char* kLibraryName = "libModuleDesignUIPlugin.so";

    PluginLoader() = default;
    ~PluginLoader();
    PluginLoader(const PluginLoader&) = delete;
    PluginLoader& operator=(const PluginLoader&) = delete;

    /// Loads the library and calls CreatePlugin; false with ErrorText() on failure.
    bool Load(const QString& libraryPath);
    /// Releases the plug-in object and unloads the library.
    void Unload();

    IBaseUIPlugin* Plugin() const { return m_plugin; }
    const QString& ErrorText() const { return m_error; }

private:
    void* m_library = nullptr;
    IBaseUIPlugin* m_plugin = nullptr;
    QString m_error;
};

} // namespace md::host
