#include "gui/layout/CAdvancedEPModeMsgDlg.h"

#include "gui/ui/ResourceId.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace md {

namespace {

QString ToQString(const std::u16string& text)
{
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

CAdvancedEPModeMsgDlg::CAdvancedEPModeMsgDlg(PointTracer& tracer, const Texts& texts,
                                             QWidget* parent)
    : QDialog(parent), m_presenter(tracer, texts)
{
    SetResourceId(this, ScanRowLengthPresenter::kDialogId);
    setWindowTitle(ToQString(m_presenter.Title()));
    auto* label = new QLabel(ToQString(m_presenter.Label()), this);
    SetResourceId(label, ScanRowLengthPresenter::kLabelId);
    m_field = new QLineEdit(QString::number(m_presenter.Initial()), this);
    SetResourceId(m_field, ScanRowLengthPresenter::kFieldId);
    auto* ok = new QPushButton(ToQString(m_presenter.OkText()), this);
    auto* cancel = new QPushButton(ToQString(m_presenter.CancelText()), this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* grid = new QGridLayout(this);
    grid->addWidget(label, 0, 0);
    grid->addWidget(m_field, 0, 1);
    grid->addWidget(ok, 1, 0);
    grid->addWidget(cancel, 1, 1);
}

void CAdvancedEPModeMsgDlg::accept()
{
    // An integer field: text that holds no number leaves the dialog open.
    if (!m_presenter.Accept(m_field->text().toStdString()))
        return;
    QDialog::accept();
}

} // namespace md
