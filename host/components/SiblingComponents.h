#pragma once

#include "md/INotifySink.h"
#include "md/SocketRequest.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

namespace md::host {

class NotifyService;

/// The host's components beside the plug-in that the wizard addresses through the notification
/// service: the socket component (turns the socket file into the HUB file), the controller
/// loader and the controller sender (takes the combined file to send to the controller).
class SiblingComponents
{
public:
    SiblingComponents(const QString& programFolder, NotifyService& notify);
    ~SiblingComponents();

    /// The HUB file the socket component writes.
    QString HubPath() const;
    /// Files the controller sender was asked to load, oldest first.
    const QStringList& SentFiles() const { return m_sentFiles; }
    /// The wParam of each send request, oldest first.
    const std::vector<std::uintptr_t>& SendParams() const { return m_sendParams; }
    int LoadRequests() const { return m_loadRequests; }
    /// Every socket request as it arrived, oldest first.
    const std::vector<SocketRequest>& SocketRequests() const { return m_socketRequests; }
    /// "W x H" of the module in a combined file, empty when it cannot be read.
    static QString ModuleSize(const QString& combined);
    /// Told about everything the components do (the monitor shows it).
    std::function<void(const QString&)> onEvent;

private:
    class Sink;
    std::int32_t OnSocketRequest(std::uintptr_t wParam);
    std::int32_t OnLoadRequest(std::uintptr_t wParam);
    std::int32_t OnSend(std::uintptr_t wParam, std::intptr_t lParam);
    void Tell(const QString& text);

    QString m_programFolder;
    NotifyService& m_notify;
    Sink* m_socket;
    Sink* m_loader;
    Sink* m_sender;
    QStringList m_sentFiles;
    std::vector<std::uintptr_t> m_sendParams;
    std::vector<SocketRequest> m_socketRequests;
    int m_loadRequests = 0;
};

} // namespace md::host
