#include "gui/design/CCellDesignCtrl.h"

#include "core/design/CellDesignPresenter.h"
#include "gui/design/CellCanvas.h"
#include "gui/ui/HostText.h"
#include "gui/ui/ResourceId.h"

#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace md {

namespace {

QString ToQString(const std::u16string& text)
{
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

std::u16string ToU16(const QString& text)
{
    return std::u16string(reinterpret_cast<const char16_t*>(text.utf16()),
                          static_cast<std::size_t>(text.size()));
}

QString SizeLinePrompt()
{
    return HostText("IDS_MD_CELL_LIGHT_SIZE", QStringLiteral("灯大小信息:"));
}

struct LightRow
{
    int list;
    int add;
    int sizeLine;
    const char* addKey;
    const char* addText;
};
constexpr std::array<LightRow, 3> kLightRows{{
    {20011, 20034, 20049, "IDS_MD_CELL_ADD_RED", "添加红灯"},
    {20014, 20042, 20050, "IDS_MD_CELL_ADD_GREEN", "添加绿灯"},
    {20017, 20044, 20051, "IDS_MD_CELL_ADD_BLUE", "添加蓝灯"},
}};

} // namespace

CCellDesignCtrl::CCellDesignCtrl(CellDesignPresenter& presenter, QWidget* parent)
    : QDialog(parent), m_presenter(presenter)
{
    SetResourceId(this, kResourceId);
    setWindowTitle(HostText("IDS_MD_CELL_TITLE", QStringLiteral("模块最小单元设计")));
    Build();
}

CCellDesignCtrl::~CCellDesignCtrl()
{
    qApp->removeEventFilter(this);
}

void CCellDesignCtrl::Build()
{
    auto* frame = new QGroupBox(
        HostText("IDS_MD_CELL_CANVAS", QStringLiteral("单元虚拟大小256X256像素")), this);
    SetResourceId(frame, 20040);
    frame->setFixedSize(CellDesign::kCanvasSize + 10, CellDesign::kCanvasSize + 20);
    m_canvas = new CellCanvas(m_presenter, frame);
    m_canvas->move(5, 15);
    connect(m_canvas, &CellCanvas::Drawn, this, &CCellDesignCtrl::UpdateInfo);

    auto* side = new QVBoxLayout;
    auto* sizeRow = new QHBoxLayout;
    sizeRow->addWidget(
        new QLabel(HostText("IDS_MD_CELL_SIZE_MM", QStringLiteral("实际大小(mm) ")), this));
    m_cellSize = new QLineEdit(QStringLiteral("10.0"), this);
    SetResourceId(m_cellSize, 20036);
    m_cellSize->setMaxLength(4);
    connect(m_cellSize, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (m_presenter.EditCellSize(ToU16(text)))
            Redraw(true);
    });
    sizeRow->addWidget(m_cellSize);
    side->addLayout(sizeRow);

    for (int colour = 0; colour < 3; ++colour) {
        const LightRow& row = kLightRows[static_cast<std::size_t>(colour)];
        auto* list = new QComboBox(this);
        SetResourceId(list, row.list);
        list->setMinimumContentsLength(16);
        auto* add = new QPushButton(HostText(row.addKey, QString::fromUtf8(row.addText)), this);
        SetResourceId(add, row.add);
        auto* line = new QLabel(SizeLinePrompt(), this);
        SetResourceId(line, row.sizeLine);
        m_lights[static_cast<std::size_t>(colour)] = list;
        m_sizeLines[static_cast<std::size_t>(colour)] = line;
        connect(list, &QComboBox::currentIndexChanged, this, [this, colour, list, line](int) {
            if (list->currentIndex() < 0)
                return;
            if (auto text = m_presenter.SizeLine(colour, ToU16(list->currentText())))
                line->setText(ToQString(*text));
        });
        connect(add, &QPushButton::clicked, this, [this, colour] { AddLight(colour); });
        auto* pick = new QHBoxLayout;
        pick->addWidget(list, 1);
        pick->addWidget(add);
        side->addLayout(pick);
        side->addWidget(line);
    }

    auto* browse = new QPushButton(HostText("IDS_MD_CELL_BROWSE", QStringLiteral("浏览...")), this);
    SetResourceId(browse, 3);
    connect(browse, &QPushButton::clicked, this, [this] {
        if (!m_presenter.ChooseBackground())
            return;
        m_canvas->RebuildBackgrounds();
        Redraw(true);
    });
    side->addWidget(browse, 0, Qt::AlignLeft);

    auto* info = new QGridLayout;
    const std::array<std::pair<QString, int>, 4> fields{{
        {HostText("IDS_MD_CELL_LED_TOTAL", QStringLiteral("灯总数:")), 20062},
        {HostText("IDS_MD_CELL_REAL_SIZE", QStringLiteral("实际大小:")), 20070},
        {HostText("IDS_MD_CELL_PIXEL_SIZE", QStringLiteral("像素大小:")), 20072},
        {HostText("IDS_MD_CELL_POSITION", QStringLiteral("位置:")), 20075},
    }};
    std::array<QLabel*, 4> values{};
    for (int i = 0; i < 4; ++i) {
        info->addWidget(new QLabel(fields[i].first, this), i, 0);
        values[i] = new QLabel(this);
        SetResourceId(values[i], fields[i].second);
        info->addWidget(values[i], i, 1);
    }
    m_total = values[0];
    m_size = values[1];
    m_pixels = values[2];
    m_position = values[3];
    side->addLayout(info);
    side->addStretch(1);

    auto* buttons = new QHBoxLayout;
    auto button = [this, buttons](int id, const QString& text) {
        auto* pushButton = new QPushButton(text, this);
        SetResourceId(pushButton, id);
        buttons->addWidget(pushButton);
        return pushButton;
    };
    connect(button(4, HostText("IDS_MD_CELL_DELETE", QStringLiteral("删除(&Del)"))),
            &QPushButton::clicked, this, [this] {
                if (m_presenter.Delete())
                    Redraw();
            });
    connect(button(5, HostText("IDS_MD_CELL_MERGE", QStringLiteral("合并"))), &QPushButton::clicked,
            this, [this] {
                if (m_presenter.Merge())
                    Redraw();
            });
    connect(button(6, HostText("IDS_MD_CELL_SPLIT", QStringLiteral("分开"))), &QPushButton::clicked,
            this, [this] {
                if (m_presenter.Split())
                    Redraw();
            });
    m_infoButton = button(7, HostText("ID_SHOW_LIGHT_INFO", QStringLiteral("显示灯信息")));
    connect(m_infoButton, &QPushButton::clicked, this, [this] { HandleKey(Qt::Key_F4, {}); });
    buttons->addStretch(1);
    QPushButton* ok = button(1, HostText("IDS_MD_CELL_OK", QStringLiteral("确定(&A)")));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &CCellDesignCtrl::accept);
    connect(button(2, HostText("IDS_MD_CELL_EXIT", QStringLiteral("退出(&E)"))),
            &QPushButton::clicked, this, &CCellDesignCtrl::reject);

    auto* top = new QHBoxLayout;
    top->addWidget(frame, 0, Qt::AlignTop);
    top->addLayout(side, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(buttons);
}

int CCellDesignCtrl::Run()
{
    Prepare();
    return exec();
}

void CCellDesignCtrl::Prepare()
{
    m_presenter.Open();
    const auto names = m_presenter.LightNames();
    for (std::size_t colour = 0; colour < 3; ++colour) {
        QComboBox* list = m_lights[colour];
        const QSignalBlocker blocker(list);
        list->clear();
        for (const std::u16string& name : names[colour])
            list->addItem(ToQString(name));
        list->setCurrentIndex(-1);
        m_sizeLines[colour]->setText(SizeLinePrompt());
    }
    {
        const QSignalBlocker blocker(m_cellSize);
        m_cellSize->setText(ToQString(m_presenter.CellSizeText()));
    }
    m_canvas->Pictures().Clear();
    m_canvas->RebuildBackgrounds();
    Redraw();
}

void CCellDesignCtrl::AddLight(int colour)
{
    QComboBox* list = m_lights[static_cast<std::size_t>(colour)];
    std::optional<std::u16string> selected;
    if (list->currentIndex() >= 0)
        selected = ToU16(list->currentText());
    if (m_presenter.AddLight(colour, selected))
        Redraw();
}

void CCellDesignCtrl::Redraw(bool plain)
{
    m_infoButton->setText(ToQString(m_presenter.InfoButtonText()));
    m_canvas->Redraw(plain);
}

void CCellDesignCtrl::UpdateInfo()
{
    const CellInfoTexts info = m_presenter.Info();
    m_total->setText(ToQString(info.total));
    m_size->setText(ToQString(info.size));
    m_pixels->setText(ToQString(info.pixels));
    m_position->setText(ToQString(info.position));
}

void CCellDesignCtrl::accept()
{
    if (!m_presenter.Confirm())
        return;
    QDialog::accept();
}

void CCellDesignCtrl::reject()
{
    // Exit, Escape and the close box all drop the design.
    m_presenter.Exit();
    m_canvas->Pictures().Clear();
    QDialog::reject();
}

void CCellDesignCtrl::showEvent(QShowEvent* event)
{
    // Keys are watched application-wide so that they act whichever control has the focus.
    qApp->installEventFilter(this);
    QDialog::showEvent(event);
}

void CCellDesignCtrl::hideEvent(QHideEvent* event)
{
    qApp->removeEventFilter(this);
    QDialog::hideEvent(event);
}

bool CCellDesignCtrl::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType())
        return false;
    auto* widget = static_cast<QWidget*>(watched);
    // Only the first receiver counts: a key that a control ignores travels on to its parents.
    QWidget* focus = QApplication::focusWidget();
    const bool first = focus ? widget == focus : widget == this;
    if (!first || (widget != this && !isAncestorOf(widget)))
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    return HandleKey(key->key(), key->modifiers());
}

bool CCellDesignCtrl::HandleKey(int key, Qt::KeyboardModifiers modifiers)
{
    CellDesign& design = m_presenter.Model();
    const bool ctrl = modifiers.testFlag(Qt::ControlModifier);
    switch (key) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down: {
        const CellMove move = key == Qt::Key_Left    ? CellMove::Left
                              : key == Qt::Key_Right ? CellMove::Right
                              : key == Qt::Key_Up    ? CellMove::Up
                                                     : CellMove::Down;
        if (design.Move(move))
            Redraw();
        return false; // the focused control still gets the key
    }
    case Qt::Key_Delete:
        if (m_presenter.Delete())
            Redraw();
        return false;
    case Qt::Key_F4:
        if (design.CurrentSlot() == 0)
            return false;
        m_presenter.ToggleInfo();
        Redraw();
        return true;
    case Qt::Key_C:
        if (!ctrl || design.CurrentSlot() == 0)
            return false;
        m_presenter.Copy();
        return true;
    case Qt::Key_V:
        if (!ctrl || design.CurrentSlot() == 0)
            return false;
        m_presenter.Paste();
        Redraw();
        return true;
    default:
        return false;
    }
}

} // namespace md
