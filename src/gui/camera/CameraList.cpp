#include "gui/camera/CameraList.h"

#include "core/platform/HostServices.h"
#include "gui/camera/QtCameraSource.h"
#include "gui/ui/HostText.h"

#include <QCameraDevice>
#include <QMediaDevices>

namespace md {

std::vector<CameraList::Entry> CameraList::Available(HostServices& host)
{
    std::vector<Entry> cameras;
    if (const std::unique_ptr<FrameSource> virtualCamera = host.VirtualCamera())
        cameras.push_back({QString::fromStdU16String(virtualCamera->Name()), true,
                           [&host] { return host.VirtualCamera(); }});
    for (const QCameraDevice& device : QMediaDevices::videoInputs()) {
        cameras.push_back({device.description(), false, [device]() -> std::unique_ptr<FrameSource> {
                               return std::make_unique<QtCameraSource>(device);
                           }});
    }
    return cameras;
}

QString CameraList::NoCameraText()
{
    return HostText("IDS_MD_NO_CAMERA", QStringLiteral("No camera is present."));
}

} // namespace md
