#include "SiblingComponents.h"

#include "HubFileWriter.h"
#include "md/ContractIds.h"
#include "md/SocketRequest.h"
#include "services/NotifyService.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace md::host {

/// Adapts one component's handler to the notification sink interface.
class SiblingComponents::Sink final : public INotifySink
{
public:
    using Handler = std::function<std::int32_t(std::uint32_t, std::uintptr_t, std::intptr_t)>;
    explicit Sink(Handler handler) : m_handler(std::move(handler)) {}
    std::uint32_t AddRef() override { return 1; }
    std::uint32_t Release() override { return 1; }
    std::int32_t OnNotify(std::uint32_t message, std::uintptr_t wParam,
                          std::intptr_t lParam) override
    {
        return m_handler(message, wParam, lParam);
    }

private:
    Handler m_handler;
};

SiblingComponents::SiblingComponents(const QString& programFolder, NotifyService& notify)
    : m_programFolder(programFolder), m_notify(notify)
{
    m_socket = new Sink([this](std::uint32_t message, std::uintptr_t wParam, std::intptr_t) {
        return message == contract::kMsgSocketRequest ? OnSocketRequest(wParam) : 0;
    });
    m_loader = new Sink([this](std::uint32_t message, std::uintptr_t wParam, std::intptr_t) {
        return message == contract::kMsgLoadCombined ? OnLoadRequest(wParam) : 0;
    });
    m_sender = new Sink([this](std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
        return message == contract::kMsgSendCombined ? OnSend(wParam, lParam) : 0;
    });
    m_notify.Register(contract::kSocketComponentId, m_socket);
    m_notify.Register(contract::kControllerLoaderId, m_loader);
    m_notify.Register(contract::kControllerSenderId, m_sender);
}

SiblingComponents::~SiblingComponents()
{
    m_notify.Unregister(contract::kSocketComponentId);
    m_notify.Unregister(contract::kControllerLoaderId);
    m_notify.Unregister(contract::kControllerSenderId);
    delete m_socket;
    delete m_loader;
    delete m_sender;
}

QString SiblingComponents::HubPath() const
{
    return QDir(m_programFolder).filePath("temp/zt5HUB.HDR");
}

void SiblingComponents::Tell(const QString& text)
{
    if (onEvent)
        onEvent(text);
}

std::int32_t SiblingComponents::OnSocketRequest(std::uintptr_t wParam)
{
    const auto* request = reinterpret_cast<const SocketRequest*>(wParam);
    if (!request) {
        Tell(QStringLiteral("socket request without a record"));
        return -1;
    }
    m_socketRequests.push_back(*request);
    std::size_t length = 0;
    while (length < SocketRequest::kPathCapacity && request->path[length] != 0)
        ++length;
    const QString socketPath = QDir::fromNativeSeparators(
        QString::fromUtf16(request->path, static_cast<qsizetype>(length)));
    const QString error = HubFileWriter::Convert(socketPath, HubPath());
    Tell(error.isEmpty() ? QStringLiteral("socket component: wrote %1 (LED unit %2, %3 lines, "
                                          "%4 groups)")
                               .arg(HubPath())
                               .arg(request->ledUnit)
                               .arg(request->lineCount)
                               .arg(request->groupCount)
                         : QStringLiteral("socket component: %1").arg(error));
    return error.isEmpty() ? 0 : -1;
}

std::int32_t SiblingComponents::OnLoadRequest(std::uintptr_t wParam)
{
    ++m_loadRequests;
    Tell(QStringLiteral("controller loader: load request %1").arg(wParam));
    return 0;
}

QString SiblingComponents::ModuleSize(const QString& combined)
{
    // ".MHR", the driver entry's name and length, then the driver file: its 16-byte header
    // and the module information section (36-byte id, pins, scan rows, width, height).
    QFile file(combined);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.read(4096);
    auto u16 = [&](qsizetype at) {
        return at + 2 <= bytes.size() ? int(quint8(bytes[at])) | int(quint8(bytes[at + 1])) << 8
                                      : -1;
    };
    if (!bytes.startsWith(".MHR"))
        return {};
    const int nameLength = u16(4);
    const qsizetype driver = 4 + 2 + nameLength + 4;
    const int width = u16(driver + 16 + 36 + 4);
    const int height = u16(driver + 16 + 36 + 6);
    if (nameLength < 0 || width < 0 || height < 0 || bytes.mid(driver, 4) != ".MDR")
        return {};
    return QStringLiteral("%1 x %2").arg(width).arg(height);
}

std::int32_t SiblingComponents::OnSend(std::uintptr_t wParam, std::intptr_t lParam)
{
    const auto* path = reinterpret_cast<const char16_t*>(lParam);
    const QString file = path ? QString::fromUtf16(path) : QString();
    m_sentFiles << file;
    m_sendParams.push_back(wParam);
    const QString size = ModuleSize(file);
    Tell(QStringLiteral("controller sender: load %1%2 (0x%3)")
             .arg(QFileInfo(file).fileName(),
                  size.isEmpty() ? QString() : QStringLiteral(", module ") + size)
             .arg(wParam, 8, 16, QLatin1Char('0')));
    return 0;
}

} // namespace md::host
