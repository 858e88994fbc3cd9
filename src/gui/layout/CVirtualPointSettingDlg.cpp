#include "gui/layout/CVirtualPointSettingDlg.h"

#include "gui/ui/HostText.h"
#include "gui/ui/ResourceId.h"

#include <QGridLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>

namespace md {

CVirtualPointSettingDlg::CVirtualPointSettingDlg(PointTracer& tracer, QWidget* parent)
    : QDialog(parent), m_presenter(tracer)
{
    SetResourceId(this, VirtualPointPresenter::kDialogId);
    setWindowTitle(HostText("IDS_MD_VIRTUAL_POINT_TITLE", QStringLiteral("模块虚点设置")));
    m_offered = m_presenter.Offer();
    auto* position = new QLineEdit(QString::number(m_presenter.Position()), this);
    auto* count = new QLineEdit(QString::number(m_presenter.Count()), this);
    m_number = new QLineEdit(QStringLiteral("0"), this);
    // Digits only, whatever the locale: a German one would take "1.000" and the number read 0.
    auto* digits = new QIntValidator(0, 65535, m_number);
    QLocale plain = QLocale::c();
    plain.setNumberOptions(QLocale::RejectGroupSeparator);
    digits->setLocale(plain);
    m_number->setValidator(digits);
    position->setReadOnly(true);
    count->setReadOnly(true);
    SetResourceId(position, VirtualPointPresenter::kPositionId);
    SetResourceId(count, VirtualPointPresenter::kCountId);
    SetResourceId(m_number, VirtualPointPresenter::kNumberId);
    auto* insert =
        new QPushButton(HostText("IDS_MD_VIRTUAL_POINT_INSERT", QStringLiteral("插入")), this);
    auto* cancel = new QPushButton(HostText("IDS_MD_BUTTON_CANCEL", QStringLiteral("取消")), this);
    insert->setDefault(true);
    connect(insert, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* grid = new QGridLayout(this);
    grid->addWidget(position, 0, 0);
    grid->addWidget(count, 0, 1);
    grid->addWidget(m_number, 1, 0, 1, 2);
    grid->addWidget(insert, 2, 0);
    grid->addWidget(cancel, 2, 1);
}

void CVirtualPointSettingDlg::accept()
{
    m_presenter.Accept(m_number->text().toUInt());
    QDialog::accept();
}

} // namespace md
