#include "PluginLoader.h"

#include <dlfcn.h>

namespace md::host {

PluginLoader::~PluginLoader()
{
    Unload();
}

bool PluginLoader::Load(const QString& libraryPath)
{
    Unload();
    m_library = dlopen(libraryPath.toLocal8Bit().constData(), RTLD_NOW | RTLD_LOCAL);
    if (!m_library) {
        m_error = QString::fromLocal8Bit(dlerror());
        return false;
    }
    auto create = reinterpret_cast<CreatePluginFunction>(dlsym(m_library, "CreatePlugin"));
    if (!create) {
        m_error = QStringLiteral("%1 has no CreatePlugin").arg(libraryPath);
        Unload();
        return false;
    }
    m_plugin = create();
    if (!m_plugin) {
        m_error = QStringLiteral("CreatePlugin of %1 returned nothing").arg(libraryPath);
        Unload();
        return false;
    }
    return true;
}

void PluginLoader::Unload()
{
    if (m_plugin)
        m_plugin->Release();
    m_plugin = nullptr;
    if (m_library)
        dlclose(m_library);
    m_library = nullptr;
}

} // namespace md::host
