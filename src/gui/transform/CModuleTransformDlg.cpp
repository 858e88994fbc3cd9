#include "gui/transform/CModuleTransformDlg.h"

#include "gui/host/HostLink.h"
#include "gui/transform/CModuleTransformSaveParameterDlg.h"
#include "gui/transform/TransformGridModel.h"
#include "gui/ui/HostText.h"
#include "gui/ui/ResourceId.h"
#include "md/ContractIds.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>
#include <QWheelEvent>

namespace md {

namespace {

QPushButton* Button(QWidget* parent, int id, const QString& text)
{
    auto* button = new QPushButton(text, parent);
    SetResourceId(button, id);
    return button;
}

QTableView* Grid(QWidget* parent, QAbstractItemModel* model, const char* name)
{
    auto* grid = new QTableView(parent);
    grid->setObjectName(name);
    grid->setModel(model);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionMode(QAbstractItemView::NoSelection);
    grid->setStyleSheet("QTableView { background: #F0F0F0; }");
    for (QHeaderView* header : {grid->horizontalHeader(), grid->verticalHeader()}) {
        header->setSectionResizeMode(QHeaderView::Fixed);
        header->setMinimumSectionSize(1);
    }
    grid->horizontalHeader()->setDefaultSectionSize(40);
    grid->verticalHeader()->setDefaultSectionSize(20);
    return grid;
}

QComboBox* Combo(QWidget* parent, const char* name, QStringList items, int selected)
{
    auto* combo = new QComboBox(parent);
    combo->setObjectName(name);
    combo->setEditable(true);
    combo->addItems(items);
    combo->setCurrentIndex(selected);
    return combo;
}

QString Figures(std::uint32_t width, std::uint32_t height, std::size_t valid)
{
    return HostText("IDS_MD_TRANSFORM_FIGURES", QStringLiteral("%1 x %2, %3 LEDs, %4 valid"))
        .arg(width)
        .arg(height)
        .arg(std::uint64_t{width} * height)
        .arg(valid);
}

} // namespace

CModuleTransformDlg::CModuleTransformDlg(const std::filesystem::path& programFolder,
                                         QWidget* parent)
    : QDialog(parent), m_ports(programFolder / "runinfo.ini")
{
    SetResourceId(this, kResourceId);
    setWindowTitle(HostText("IDS_MODULE_UI_DIG_TRANSFORM_TITLE", QString::fromUtf8("模块转换")));
    resize(1000, 640);
    m_presenter = std::make_unique<TransformPresenter>(
        TransformPorts{m_ports.prompter, m_ports.texts, m_ports.chooser, m_ports.Files(),
                       ProgramFolder(programFolder),
                       [this]() -> std::optional<TransformSaveOptions> {
                           CModuleTransformSaveParameterDlg dialog(m_ports.chooser, this);
                           return dialog.Run();
                       },
                       [](const std::u16string& combined) {
                           if (!HostLink::Host() || !HostLink::HasNotifyService())
                               return false;
                           HostLink::Send(contract::kControllerSenderId, contract::kMsgSendCombined,
                                          1, reinterpret_cast<std::intptr_t>(combined.c_str()));
                           return true;
                       }});
    m_sourceModel = new TransformGridModel(m_presenter->Model(), false, this);
    m_resultModel = new TransformGridModel(m_presenter->Model(), true, this);
    BuildControls();
}

CModuleTransformDlg::~CModuleTransformDlg() = default;

void CModuleTransformDlg::BuildControls()
{
    auto* layout = new QVBoxLayout(this);
    auto* controls = new QGridLayout;
    auto* open = Button(this, kOpen, QStringLiteral("..."));
    m_mirrorX = new QCheckBox(
        HostText("IDS_MD_TRANSFORM_MIRROR_LEFT_RIGHT", QString::fromUtf8("左右镜像")), this);
    m_mirrorX->setObjectName("MirrorLeftRight");
    m_mirrorY = new QCheckBox(
        HostText("IDS_MD_TRANSFORM_MIRROR_UP_DOWN", QString::fromUtf8("上下镜像")), this);
    m_mirrorY->setObjectName("MirrorUpDown");
    m_zoomXOn = new QCheckBox(
        HostText("IDS_MD_TRANSFORM_ZOOM_HORIZONTAL", QString::fromUtf8("水平缩放")), this);
    m_zoomXOn->setObjectName("HorizontalZoomOn");
    m_zoomYOn = new QCheckBox(
        HostText("IDS_MD_TRANSFORM_ZOOM_VERTICAL", QString::fromUtf8("垂直缩放")), this);
    m_zoomYOn->setObjectName("VerticalZoomOn");
    m_angle = Combo(this, "Angle", {"0", "90", "180", "270"}, 0);
    m_zoomX = Combo(this, "HorizontalZoom", {"2", "4", "0.5", "0.25"}, 0);
    m_zoomY = Combo(this, "VerticalZoom", {"2", "4", "0.5", "0.25"}, 0);
    auto* transform =
        Button(this, kTransform, HostText("IDS_MD_TRANSFORM_RUN", QString::fromUtf8("转换")));
    auto* save = Button(this, kSave, HostText("IDS_MD_TRANSFORM_SAVE", QString::fromUtf8("保存")));
    auto* test = Button(this, kTest, HostText("IDS_MD_TRANSFORM_TEST", QString::fromUtf8("测试")));
    controls->addWidget(open, 0, 0);
    controls->addWidget(m_mirrorX, 0, 1);
    controls->addWidget(m_mirrorY, 0, 2);
    controls->addWidget(
        new QLabel(HostText("IDS_MD_TRANSFORM_ANGLE", QString::fromUtf8("角度 (0~360):")), this), 0,
        3);
    controls->addWidget(m_angle, 0, 4);
    controls->addWidget(transform, 0, 5);
    controls->addWidget(m_zoomXOn, 1, 1);
    controls->addWidget(m_zoomX, 1, 2);
    controls->addWidget(m_zoomYOn, 1, 3);
    controls->addWidget(m_zoomY, 1, 4);
    controls->addWidget(save, 1, 5);
    controls->addWidget(test, 1, 6);
    layout->addLayout(controls);

    auto* grids = new QHBoxLayout;
    m_sourceGrid = Grid(this, m_sourceModel, "SourceGrid");
    m_resultGrid = Grid(this, m_resultModel, "ResultGrid");
    for (QTableView* grid : {m_sourceGrid, m_resultGrid})
        grid->viewport()->installEventFilter(this);
    m_sourceFigures = new QLabel(this);
    m_resultFigures = new QLabel(this);
    const struct
    {
        QTableView* grid;
        QLabel* figures;
        int larger, smaller;
    } sides[] = {{m_sourceGrid, m_sourceFigures, kSourceLarger, kSourceSmaller},
                 {m_resultGrid, m_resultFigures, kResultLarger, kResultSmaller}};
    for (const auto& side : sides) {
        auto* column = new QVBoxLayout;
        auto* zoom = new QHBoxLayout;
        auto* larger = Button(this, side.larger,
                              HostText("IDS_MD_TRANSFORM_LARGER", QString::fromUtf8("放大")));
        auto* smaller = Button(this, side.smaller,
                               HostText("IDS_MD_TRANSFORM_SMALLER", QString::fromUtf8("缩小")));
        QTableView* grid = side.grid;
        connect(larger, &QPushButton::clicked, this, [grid] { ZoomGrid(grid, 1); });
        connect(smaller, &QPushButton::clicked, this, [grid] { ZoomGrid(grid, -1); });
        zoom->addWidget(side.figures, 1);
        zoom->addWidget(larger);
        zoom->addWidget(smaller);
        column->addLayout(zoom);
        column->addWidget(grid, 1);
        grids->addLayout(column);
    }
    layout->addLayout(grids, 1);

    connect(open, &QPushButton::clicked, this, [this] {
        if (m_presenter->Open())
            ShowSource();
    });
    connect(transform, &QPushButton::clicked, this, [this] {
        if (m_presenter->Transform(Settings()))
            ShowResult();
    });
    connect(save, &QPushButton::clicked, this, [this] { m_presenter->Save(); });
    connect(test, &QPushButton::clicked, this, [this] { m_presenter->Test(); });
    ShowSource();
}

TransformSettings CModuleTransformDlg::Settings() const
{
    TransformSettings settings;
    settings.mirrorLeftRight = m_mirrorX->isChecked();
    settings.mirrorUpDown = m_mirrorY->isChecked();
    settings.horizontalZoomOn = m_zoomXOn->isChecked();
    settings.verticalZoomOn = m_zoomYOn->isChecked();
    settings.angle = m_angle->currentText().toStdU16String();
    settings.horizontalZoom = m_zoomX->currentText().toStdU16String();
    settings.verticalZoom = m_zoomY->currentText().toStdU16String();
    return settings;
}

bool CModuleTransformDlg::OpenPath(const std::filesystem::path& path)
{
    if (!m_presenter->OpenPath(path))
        return false;
    ShowSource();
    return true;
}

void CModuleTransformDlg::ShowSource()
{
    m_sourceModel->Reset();
    m_resultModel->Reset();
    ShowResult();
}

void CModuleTransformDlg::ShowResult()
{
    m_resultModel->Reset();
    const ModuleTransform& t = m_presenter->Model();
    m_sourceFigures->setText(SourceFigures());
    m_resultFigures->setText(t.HasResult() ? ResultFigures() : QString());
}

QString CModuleTransformDlg::SourceFigures() const
{
    const ModuleTransform& t = m_presenter->Model();
    return Figures(t.SourceWidth(), t.SourceHeight(), t.SourcePoints().size());
}

QString CModuleTransformDlg::ResultFigures() const
{
    const ModuleTransform& t = m_presenter->Model();
    return Figures(t.ResultWidth(), t.ResultHeight(), t.ResultValidCount());
}

void CModuleTransformDlg::ZoomGrid(QTableView* grid, int step)
{
    // A grid of fewer than two rows or columns keeps its cells.
    if (grid->model()->rowCount() < 2 || grid->model()->columnCount() < 2)
        return;
    for (QHeaderView* header : {grid->horizontalHeader(), grid->verticalHeader()}) {
        const int size = std::max(1, header->defaultSectionSize() + step);
        header->setDefaultSectionSize(size);
    }
}

bool CModuleTransformDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Wheel) {
        auto* wheel = static_cast<QWheelEvent*>(event);
        if (wheel->modifiers() & Qt::ControlModifier) {
            QTableView* grid = watched == m_sourceGrid->viewport() ? m_sourceGrid : m_resultGrid;
            ZoomGrid(grid, wheel->angleDelta().y() > 0 ? 1 : -1);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace md
