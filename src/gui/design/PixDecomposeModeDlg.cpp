#include "gui/design/PixDecomposeModeDlg.h"

#include "gui/ui/HostText.h"
#include "gui/ui/ResourceId.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QFrame>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>

namespace md {

namespace {
constexpr int kPicture = 64;
constexpr int kStep = 75;
constexpr int kLeft = 20;
constexpr int kRowHeight = 100;
constexpr std::array<const char*, 3> kPrefixes{"R_", "G_", "B_"};
} // namespace

PixDecomposeModeDlg::PixDecomposeModeDlg(ProgramFolder folder, QWidget* parent)
    : QDialog(parent), m_folder(std::move(folder))
{
    SetResourceId(this, kResourceId);
    setWindowTitle(HostText("IDS_MD_DECOMPOSE_TITLE", QStringLiteral("像素分解模式")));
    const int width = kLeft * 2 + kStep * (PixelDecomposition::kModeCount - 1) + kPicture;
    const int rowsBottom = 10 + 3 * kRowHeight;
    setFixedSize(width, rowsBottom + 50);

    for (int colour = 0; colour < 3; ++colour) {
        auto* group = new QButtonGroup(this);
        group->setExclusive(true);
        m_groups[static_cast<std::size_t>(colour)] = group;
        const int top = 10 + colour * kRowHeight;
        for (int mode = 0; mode < PixelDecomposition::kModeCount; ++mode) {
            const PixelDecomposition::Mode& info = PixelDecomposition::ModeInfo(mode);
            auto* picture = new QLabel(this);
            picture->setGeometry(kLeft + mode * kStep, top, kPicture, kPicture);
            m_pictures[static_cast<std::size_t>(colour)][static_cast<std::size_t>(mode)] = picture;
            auto* radio =
                new QRadioButton(QString::fromLatin1(kPrefixes[static_cast<std::size_t>(colour)]) +
                                     QString::fromLatin1(info.label),
                                 this);
            SetResourceId(radio, info.buttons[static_cast<std::size_t>(colour)]);
            radio->setGeometry(kLeft + mode * kStep, top + kPicture + 4, kStep - 4, 22);
            group->addButton(radio, mode);
        }
        connect(group, &QButtonGroup::idClicked, this,
                [this, colour](int mode) { m_choice.Choose(colour, mode); });
    }

    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    line->setGeometry(kLeft, rowsBottom, width - 2 * kLeft, 2);
    auto* ok = new QPushButton(HostText("IDS_MD_BUTTON_OK", QStringLiteral("确定")), this);
    SetResourceId(ok, 1);
    ok->setDefault(true);
    ok->setGeometry(width - kLeft - 2 * 90 - 10, rowsBottom + 12, 90, 26);
    connect(ok, &QPushButton::clicked, this, &PixDecomposeModeDlg::accept);
    auto* cancel = new QPushButton(HostText("IDS_MD_BUTTON_CANCEL", QStringLiteral("取消")), this);
    SetResourceId(cancel, 2);
    cancel->setGeometry(width - kLeft - 90, rowsBottom + 12, 90, 26);
    connect(cancel, &QPushButton::clicked, this, &PixDecomposeModeDlg::reject);
}

void PixDecomposeModeDlg::LoadPictures()
{
    for (int colour = 0; colour < 3; ++colour)
        for (int mode = 0; mode < PixelDecomposition::kModeCount; ++mode) {
            const char* file =
                PixelDecomposition::ModeInfo(mode).pictures[static_cast<std::size_t>(colour)];
            // A missing picture leaves its square white.
            QImage square(kPicture, kPicture, QImage::Format_RGB32);
            square.fill(Qt::white);
            const QImage picture(QString::fromStdString((m_folder.PluginData() / file).string()));
            if (!picture.isNull()) {
                QPainter painter(&square);
                painter.setRenderHint(QPainter::SmoothPixmapTransform);
                painter.drawImage(QRect(0, 0, kPicture, kPicture), picture);
            }
            m_pictures[static_cast<std::size_t>(colour)][static_cast<std::size_t>(mode)]->setPixmap(
                QPixmap::fromImage(square));
        }
    m_picturesLoaded = true;
}

int PixDecomposeModeDlg::Run()
{
    if (!m_picturesLoaded)
        LoadPictures();
    m_before = m_choice.Modes();
    for (int colour = 0; colour < 3; ++colour)
        m_groups[static_cast<std::size_t>(colour)]
            ->button(m_choice.CheckedMode(colour))
            ->setChecked(true);
    return exec();
}

void PixDecomposeModeDlg::accept()
{
    m_choice.Confirm();
    QDialog::accept();
}

void PixDecomposeModeDlg::reject()
{
    m_choice.SetModes(m_before);
    QDialog::reject();
}

} // namespace md
