#pragma once

#include "md/INotifySink.h"

namespace md {

#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
#endif

/// The design panel's operations, called by the host's menus and toolbar.
class IDesignUIPlugin : public INotifySink
{
public:
    virtual std::int32_t NewDesign() = 0;                                // 3
    virtual std::int32_t OpenDesign(const char16_t* path) = 0;           // 4
    virtual std::int32_t SaveDesign() = 0;                               // 5
    virtual std::int32_t SaveSocketOrDriverFile() = 0;                   // 6
    virtual std::int32_t SaveDesignChecked() = 0;                        // 7
    virtual std::int32_t ForwardZoomIn() = 0;                            // 8: command 5123
    virtual std::int32_t ForwardZoomOut() = 0;                           // 9: command 5122
    virtual std::int32_t ForwardRepeat() = 0;                            // 10: command 5138
    virtual std::int32_t ForwardWithArgument(std::int32_t argument) = 0; // 11: command 5142
    /// 1 while the open design has unsaved changes, else 0 (message 6 follows each flip).
    virtual std::int32_t HasUnsavedChanges() = 0;                // 12
    virtual std::uint32_t QueryView(std::uint32_t argument) = 0; // 13
    virtual const char16_t* DocumentName() = 0;                  // 14
    virtual bool IsDesignOpen() = 0;                             // 15
};

#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

} // namespace md
