#include "gui/panel/ModuleDesignToolbarDlg.h"

#include "gui/panel/ToolbarOverflowButton.h"
#include "gui/ui/HostText.h"
#include "gui/ui/ImageButton.h"
#include "gui/ui/NativeParent.h"
#include "gui/ui/ProgramFolderLocator.h"
#include "gui/ui/ResourceId.h"

#include <QIcon>
#include <QPainter>

namespace md {

ModuleDesignToolbarDlg::ModuleDesignToolbarDlg(ToolbarModel& model, QWidget* parent)
    : QWidget(parent), m_model(model),
      m_buffer(ToolbarModel::kBufferWidth, ToolbarModel::kBufferHeight)
{
    m_model.SetListener([this](ToolbarModel::Change change, const std::string& key) {
        OnModelChanged(change, key);
    });
    SetResourceId(this, kResourceId);
    m_buffer.fill(QColor::fromRgb(ToolbarModel::kBackground));
    m_overflow = new ToolbarOverflowButton(this);
    m_overflow->hide();
    QWidget::hide();
}

ModuleDesignToolbarDlg::~ModuleDesignToolbarDlg()
{
    m_model.SetListener(nullptr);
}

std::int32_t ModuleDesignToolbarDlg::Show(WindowHandle parent, std::int32_t x, std::int32_t y,
                                          std::int32_t width, std::int32_t height)
{
    if (parent == 0)
        return -1;
    if (!m_window.Attached()) {
        if (!m_window.Attach(parent))
            return -1;
        setGeometry(x, y, width, height);
        QWidget::show();
        BuildButtons();
        LayoutButtons();
        update();
    } else if (!isVisible()) {
        QWidget::show();
        setGeometry(x, y, width, height);
    }
    return 0;
}

std::int32_t ModuleDesignToolbarDlg::Move(std::int32_t x, std::int32_t y, std::int32_t width,
                                          std::int32_t height, std::uint8_t repaint)
{
    m_window.Place(x, y, width, height, repaint != 0);
    return 0;
}

std::int32_t ModuleDesignToolbarDlg::Hide()
{
    return m_window.Hide() ? 1 : 0;
}

bool ModuleDesignToolbarDlg::IsVisible()
{
    return m_window.Visible();
}

void ModuleDesignToolbarDlg::DestroyWindow()
{
    if (!m_window.Attached())
        return;
    m_window.Detach();
    m_overflow->Offer({});
    m_overflow->hide();
    for (auto& [key, buttons] : m_buttons)
        qDeleteAll(buttons);
    m_buttons.clear();
    m_built = false;
}

void ModuleDesignToolbarDlg::OnModelChanged(ToolbarModel::Change change, const std::string& key)
{
    switch (change) {
    case ToolbarModel::Change::Groups:
        if (m_built) {
            // Rebuild that group's buttons in place. The old ones go once control is back in
            // the event loop: the change may come from a click on one of them.
            for (ImageButton* button : m_buttons[key]) {
                button->hide();
                button->setObjectName(QString());
                button->deleteLater();
            }
            m_buttons.erase(key);
            m_built = false;
            BuildButtons();
        }
        LayoutButtons();
        break;
    case ToolbarModel::Change::Current:
        LayoutButtons();
        break;
    case ToolbarModel::Change::Enabled: {
        const ToolbarModel::Group* group = m_model.Current();
        auto it = group ? m_buttons.find(group->key) : m_buttons.end();
        if (it != m_buttons.end())
            for (std::size_t i = 0; i < group->buttons.size() && i < it->second.size(); ++i)
                it->second[i]->setEnabled(group->buttons[i].enabled);
        break;
    }
    }
}

void ModuleDesignToolbarDlg::BuildButtons()
{
    if (m_built || !m_window.Attached())
        return;
    const auto folder = LocateProgramFolder().PluginData();
    for (const ToolbarModel::Group& group : m_model.Groups()) {
        if (m_buttons.count(group.key))
            continue;
        std::vector<ImageButton*>& built = m_buttons[group.key];
        for (const ToolbarButton& entry : group.buttons) {
            const QString path = QString::fromStdString((folder / entry.image).string());
            auto* button = new ImageButton(path, ToolbarModel::kButtonSize, this);
            SetResourceId(button, static_cast<int>(entry.command));
            button->setIcon(QIcon(path)); // for the overflow menu
            const QString fallback = QString::fromStdU16String(entry.tooltip);
            button->setToolTip(
                entry.tooltipKey.empty() ? fallback : HostText(entry.tooltipKey.c_str(), fallback));
            button->setText(button->toolTip());
            button->setEnabled(entry.enabled);
            const std::uint32_t command = entry.command;
            connect(button, &QAbstractButton::clicked, this, [this, command] {
                m_model.Click(command);
                FocusHostMainWindow();
            });
            button->hide();
            built.push_back(button);
        }
    }
    m_built = true;
}

void ModuleDesignToolbarDlg::LayoutButtons()
{
    const ToolbarModel::Group* current = m_model.Current();
    for (auto& [key, buttons] : m_buttons) {
        const bool isCurrent = current && key == current->key;
        if (!isCurrent)
            for (ImageButton* button : buttons)
                button->hide();
    }
    if (!current || !m_buttons.count(current->key)) {
        m_overflow->Offer({});
        m_overflow->hide();
        return;
    }
    const auto& buttons = m_buttons[current->key];
    const StripLayout layout = m_model.Layout(width(), height());
    for (const ButtonPlacement& place : layout.shown) {
        if (place.index >= buttons.size())
            continue;
        buttons[place.index]->move(place.x, place.y);
        buttons[place.index]->show();
    }
    std::vector<QAbstractButton*> rest;
    for (std::size_t i = layout.overflowFrom; i < buttons.size(); ++i) {
        buttons[i]->hide();
        rest.push_back(buttons[i]);
    }
    m_overflow->Offer(rest);
    m_overflow->setGeometry(layout.overflowX, layout.overflowY, ToolbarModel::kOverflowWidth,
                            ToolbarModel::kButtonSize);
    m_overflow->setVisible(layout.overflow);
    m_overflow->raise();
}

void ModuleDesignToolbarDlg::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), QColor::fromRgb(ToolbarModel::kBackground));
    painter.drawPixmap(0, 0, m_buffer);
}

void ModuleDesignToolbarDlg::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    LayoutButtons();
}

} // namespace md
