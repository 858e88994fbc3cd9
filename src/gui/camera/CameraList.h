#pragma once

#include "core/platform/FrameSource.h"

#include <QString>

#include <functional>
#include <memory>
#include <vector>

namespace md {

class HostServices;

/// The cameras the tracing can watch the module through: the host's virtual camera first when
/// the host offers one, then every webcam Qt Multimedia finds. Empty on a machine without any,
/// and the caller says so with NoCameraText.
class CameraList
{
public:
    struct Entry
    {
        QString name;
        bool isVirtual = false;
        /// Makes the source (not started).
        std::function<std::unique_ptr<FrameSource>()> open;
    };

    static std::vector<Entry> Available(HostServices& host);
    /// What the caller says when the list is empty, in the host's language.
    static QString NoCameraText();
};

} // namespace md
