#include "CModuleDesignUIPluginImpl.h"

#include <new>

extern "C" __attribute__((visibility("default"))) md::IBaseUIPlugin* CreatePlugin()
{
    return new (std::nothrow) md::CModuleDesignUIPluginImpl;
}
