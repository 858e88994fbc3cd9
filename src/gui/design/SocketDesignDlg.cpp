#include "gui/design/SocketDesignDlg.h"

#include "core/design/SocketToolbarState.h"
#include "core/driverfile/SocketFile.h"
#include "core/driverfile/SocketSection.h"
#include "core/driverfile/VersionWords.h"
#include "core/panel/ToolbarModel.h"
#include "gui/design/NewFrameInfoDlg.h"
#include "gui/design/NewModuleInfo.h"
#include "gui/host/HostLink.h"
#include "gui/host/HostTexts.h"
#include "gui/platform/QtFileChooser.h"
#include "gui/platform/QtPictureCodec.h"
#include "gui/ui/HostText.h"
#include "gui/ui/ProgramFolderLocator.h"
#include "gui/ui/ResourceId.h"

#include <QImage>
#include <QKeyEvent>

namespace md {

namespace {

const QtPictureCodec& Codec()
{
    static const QtPictureCodec codec;
    return codec;
}

} // namespace

SocketDesignDlg::SocketDesignDlg(QWidget* parent)
    : SocketDesignDlg(*new SocketDesign, nullptr, nullptr, parent)
{
    m_ownSocket.reset(&m_socket);
}

SocketDesignDlg::SocketDesignDlg(SocketDesign& socket, const NewModuleInfoRecord* info,
                                 ToolbarModel* toolbar, QWidget* parent)
    : QWidget(parent), m_socket(socket), m_info(info), m_toolbar(toolbar),
      m_texts(std::make_unique<HostTexts>())
{
    SetResourceId(this, kResourceId);
    setWindowTitle(HostText("ID_SOCKET_DESIGN"));
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, QColor::fromRgb(NewFrameInfoDlg::kBackground));
    setPalette(palette);
    m_socket.SetPictureFolder(LocateProgramFolder().PluginData());
    m_frame = new NewFrameInfoDlg(m_socket, this);
    m_frame->hide();
}

SocketDesignDlg::~SocketDesignDlg() {}

const NewModuleInfoRecord* SocketDesignDlg::ModuleInfo() const
{
    return m_info;
}

void SocketDesignDlg::NewSocket(std::uint16_t pinCount, std::uint16_t scanRows)
{
    int boxWidth = SocketDesign::kPinBox, boxHeight = SocketDesign::kPinBox;
    const QImage frame(
        QString::fromStdString((m_socket.PictureFolder() / "frame_background.bmp").string()));
    if (!frame.isNull()) {
        boxWidth = frame.width();
        boxHeight = frame.height();
    }
    m_socket.NewSocket(pinCount, scanRows, boxWidth, boxHeight);
    m_frame->ReloadPictures();
    PlaceFrame();
    m_frame->show();
    SetMode(5);
}

void SocketDesignDlg::ShowLoaded()
{
    m_frame->ReloadPictures();
    PlaceFrame();
    m_frame->setVisible(m_socket.PinCount() > 0);
    m_frame->update();
}

void SocketDesignDlg::PlaceFrame()
{
    m_frame->resize(m_socket.FrameWidth(), m_socket.FrameHeight());
    m_frame->move(std::max(0, (width() - m_frame->width()) / 2), 0);
}

void SocketDesignDlg::resizeEvent(QResizeEvent*)
{
    PlaceFrame();
}

void SocketDesignDlg::SetMode(int mode)
{
    setVisible(mode != 0);
    UpdateToolbar(mode != 0);
}

void SocketDesignDlg::Reset()
{
    m_socket.LayOut(0, 0, SocketDesign::kPinBox, SocketDesign::kPinBox);
    m_socket.SetDocumentState(SocketDesign::None);
    m_socket.SetFilePath({});
    m_frame->hide();
    UpdateToolbar(false);
}

void SocketDesignDlg::UpdateToolbar(bool shown)
{
    if (!m_toolbar)
        return;
    const NewModuleInfoRecord* info = ModuleInfo();
    const SocketToolbarState state =
        shown && info ? SocketToolbarState::ForModule(info->scanChip.chipType, info->scanRows)
                      : SocketToolbarState::AllDisabled();
    for (std::uint32_t i = 0; i < state.enabled.size(); ++i)
        m_toolbar->EnableButton(SocketDesign::kFirstTypeCommand + i, state.enabled[i]);
}

void SocketDesignDlg::OnCommand(std::uint32_t command)
{
    if (m_socket.Command(command))
        m_frame->update();
}

bool SocketDesignDlg::OnKey(int qtKey)
{
    SocketDesign::Key key;
    switch (qtKey) {
    case Qt::Key_Left:
        key = SocketDesign::Key::Left;
        break;
    case Qt::Key_Right:
        key = SocketDesign::Key::Right;
        break;
    case Qt::Key_Up:
        key = SocketDesign::Key::Up;
        break;
    case Qt::Key_Down:
        key = SocketDesign::Key::Down;
        break;
    default:
        return false;
    }
    m_socket.MoveSelection(key);
    m_frame->update();
    return true;
}

std::unique_ptr<DriverFileSection> SocketDesignDlg::Section()
{
    return std::make_unique<SocketSection>(m_socket, &Codec());
}

int SocketDesignDlg::Save(bool promptOverwrite)
{
    if (!m_chooser) {
        m_ownChooser = std::make_unique<QtFileChooser>(this);
        m_chooser = m_ownChooser.get();
    }
    const NewModuleInfoRecord* info = ModuleInfo();
    const VersionWords version =
        VersionWords::FromRunInfo(HostLink::Services(), LocateProgramFolder().RunInfo());
    const SocketFile::Context context{*m_chooser, *m_texts, version,
                                      info ? info->ModuleName() : std::u16string(),
                                      HostLink::NotifyDesignChanged};
    return promptOverwrite ? SocketFile::SaveAs(m_socket, context)
                           : SocketFile::Save(m_socket, context);
}

int SocketDesignDlg::SaveSocketFile()
{
    return Save(false);
}

int SocketDesignDlg::SaveSocketFileAs()
{
    return Save(true);
}

} // namespace md
