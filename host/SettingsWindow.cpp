#include "SettingsWindow.h"

#include "md/ISettingBase.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace md::host {

SettingsWindow::SettingsWindow(ISettingBase* page, QWidget* parent) : QDialog(parent), m_page(page)
{
    setObjectName("SettingsWindow");
    setWindowTitle(tr("Settings"));
    resize(900, 640);
    auto* layout = new QVBoxLayout(this);
    auto* body = new QHBoxLayout;
    auto* pages = new QListWidget(this);
    pages->setFixedWidth(170);
    const char16_t* title = page ? page->Title() : nullptr;
    pages->addItem(title && *title ? QString::fromUtf16(title) : tr("Module"));
    pages->setCurrentRow(0);
    body->addWidget(pages);
    m_pageArea = new QWidget(this);
    m_pageArea->setObjectName("SettingsPageArea");
    m_pageArea->setAttribute(Qt::WA_NativeWindow);
    body->addWidget(m_pageArea, 1);
    layout->addLayout(body, 1);
    auto* buttons = new QDialogButtonBox(
        QDialogButtonBox::Ok | QDialogButtonBox::Apply | QDialogButtonBox::Cancel, this);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(buttons->button(QDialogButtonBox::Apply), &QPushButton::clicked, this,
            [this] { ApplyPage(); });
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        if (ApplyPage() == 0)
            accept();
    });
    if (page && !page->IsAvailable()) {
        pages->item(0)->setFlags(Qt::NoItemFlags);
        buttons->button(QDialogButtonBox::Apply)->setEnabled(false);
    }
}

SettingsWindow::~SettingsWindow() = default;

void SettingsWindow::DetachPage()
{
    if (!m_page)
        return;
    m_page->ClosePendingWork();
    m_page->Hide();
    m_page = nullptr;
}

int SettingsWindow::ApplyPage()
{
    if (!m_page)
        return -1;
    const int status = m_page->Apply();
    if (status != 0)
        QMessageBox::warning(this, windowTitle(), tr("The settings could not be applied."));
    return status;
}

void SettingsWindow::PlacePage()
{
    if (!m_page || !m_shown)
        return;
    m_page->Move(0, 0, m_pageArea->width(), m_pageArea->height(), 1);
}

void SettingsWindow::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (m_page && !m_shown) {
        m_shown = m_page->Show(static_cast<WindowHandle>(m_pageArea->winId()), 0, 0,
                               m_pageArea->width(), m_pageArea->height()) == 0;
    }
    PlacePage();
}

void SettingsWindow::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    PlacePage();
}

} // namespace md::host
