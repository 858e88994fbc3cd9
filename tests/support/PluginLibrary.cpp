#include "support/PluginLibrary.h"

#include <dlfcn.h>

namespace md::test {

std::string PluginLibrary::Path()
{
    return std::string(MD_PROGRAM_DIR) + "/libModuleDesignUIPlugin.so";
}

PluginLibrary::PluginLibrary()
{
    m_handle = dlopen(Path().c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!m_handle)
        m_error = dlerror();
}

PluginLibrary::~PluginLibrary()
{
    if (m_handle)
        dlclose(m_handle);
}

void* PluginLibrary::Symbol(const char* name) const
{
    return m_handle ? dlsym(m_handle, name) : nullptr;
}

IBaseUIPlugin* PluginLibrary::Create() const
{
    auto create = reinterpret_cast<CreatePluginFunction>(Symbol("CreatePlugin"));
    return create ? create() : nullptr;
}

} // namespace md::test
