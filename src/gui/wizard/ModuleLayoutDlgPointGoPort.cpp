// The layout step's choice of the point-go test device's port and rate.
#include "gui/wizard/ModuleLayoutDlg.h"

#include "core/document/ModuleDesignDocument.h"
#include "core/io/Utf.h"
#include "core/layout/PointGo.h"
#include "core/layout/PointGoPort.h"
#include "core/layout/PointGoPortPresenter.h"
#include "core/layout/StatusBarInfo.h"
#include "core/parameters/RuntimeSettings.h"
#include "core/posix/IniProfile.h"
#include "gui/host/HostLink.h"
#include "gui/layout/PointGoPortDlg.h"

namespace md {

PointGoPortChoice ModuleLayoutDlg::ChosenPointGoPort() const
{
    return ChoosePointGoPort(
        PointGoProfile(IniProfile::DefaultPath()),
        RuntimeSettings::FromHost(HostLink::Services(), m_document.Folder().RunInfo()));
}

void ModuleLayoutDlg::RunPointGoPortDialog()
{
    const std::filesystem::path runInfo = m_document.Folder().RunInfo();
    // What the host offers beyond runinfo.ini (the reference host's virtual test device).
    std::string hostPort;
    if (const auto offered =
            HostLink::Services().ReadConfig("pointgo", "port", utf::ToUtf16(runInfo.string())))
        hostPort = utf::ToUtf8(*offered);
    if (hostPort == RuntimeSettings::FromFile(runInfo).PointGoPort())
        hostPort.clear();
    PointGoPortPresenter presenter(
        {m_ports.texts, [] { return ListSerialDevices(); },
         [this](const PointGoPortChoice& choice, std::u16string& reason) {
             return OpenPointGoPort(choice, m_ports.texts, reason);
         },
         [this] { m_document.PointGoLink().ClosePort(); },
         [this] {
             const SerialPort* port = m_document.PointGoLink().Port();
             return port ? port->Descriptor() : -1;
         }},
        PointGoProfile(IniProfile::DefaultPath()), ChosenPointGoPort(), hostPort,
        serialframes::BuildHandshake(m_document.Socket(), m_document.PointGoWords()));
    PointGoPortDlg dialog(presenter, m_ports.texts, this);
    dialog.exec();
    if (m_pointGo)
        m_status->SetStatusText(m_pointGo->StatusText());
}

} // namespace md
