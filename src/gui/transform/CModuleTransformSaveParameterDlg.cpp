#include "gui/transform/CModuleTransformSaveParameterDlg.h"

#include "core/platform/FileChooser.h"
#include "gui/platform/QtPrompter.h"
#include "gui/ui/HostText.h"
#include "gui/ui/ResourceId.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace md {

CModuleTransformSaveParameterDlg::CModuleTransformSaveParameterDlg(FileChooser& chooser,
                                                                   QWidget* parent)
    : QDialog(parent), m_chooser(chooser)
{
    SetResourceId(this, kResourceId);
    setWindowTitle(HostText("IDS_MODULE_UI_DIG_SP_TITLE", QString::fromUtf8("保存")));
    auto* grid = new QGridLayout(this);
    m_combine = new QCheckBox(HostText("IDS_MODULE_UI_DIG_SP_MODULE_AND_HUB_COMBINE_FILE",
                                       QString::fromUtf8("保存MHR文件 (模块与HUB组合文件)")),
                              this);
    m_combine->setObjectName("CombineFile");
    m_hub = new QLineEdit(this);
    m_hub->setObjectName("HubFile");
    m_hub->setReadOnly(true);
    m_browse = new QPushButton(QStringLiteral("..."), this);
    m_browse->setObjectName("BrowseHub");
    m_browse->setEnabled(false);
    grid->addWidget(m_combine, 0, 0, 1, 3);
    grid->addWidget(new QLabel(HostText("IDS_MODULE_UI_DIG_SP_HDR_FILE",
                                        QString::fromUtf8("HDR文件 (转接板HUB文件)")),
                               this),
                    1, 0);
    grid->addWidget(m_hub, 1, 1);
    grid->addWidget(m_browse, 1, 2);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(HostText("IDS_MODULE_UI_DIG_SP_OK", tr("OK")), QDialogButtonBox::AcceptRole);
    buttons->addButton(HostText("IDS_MODULE_UI_DIG_SP_CANCEL", tr("Cancel")),
                       QDialogButtonBox::RejectRole);
    grid->addWidget(buttons, 2, 0, 1, 3);
    connect(m_combine, &QCheckBox::toggled, m_browse, &QWidget::setEnabled);
    connect(m_browse, &QPushButton::clicked, this, [this] {
        FileRequest request;
        request.filter = u"HUB files (.HDR)|*.HDR||";
        request.defaultExtension = u"HDR";
        request.mustExist = true;
        if (const auto path = m_chooser.ChooseOpen(request))
            m_hub->setText(QString::fromStdString(path->string()));
    });
    connect(buttons, &QDialogButtonBox::accepted, this, &CModuleTransformSaveParameterDlg::Confirm);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void CModuleTransformSaveParameterDlg::Confirm()
{
    if (m_combine->isChecked() && !QFileInfo::exists(m_hub->text())) {
        QtPrompter(this).Ask(
            PromptButtons::Ok, HostText("IDS_MODULE_UI_DIG_SP_BOX_TITLE_ERROR").toStdU16String(),
            HostText("IDS_MODULE_UI_DIG_SP_BOX_LABEL_HDR_NO_EXIST").toStdU16String());
        return;
    }
    accept();
}

std::optional<TransformSaveOptions> CModuleTransformSaveParameterDlg::Run()
{
    if (exec() != QDialog::Accepted)
        return std::nullopt;
    return TransformSaveOptions{m_combine->isChecked(), m_hub->text().toStdString()};
}

} // namespace md
