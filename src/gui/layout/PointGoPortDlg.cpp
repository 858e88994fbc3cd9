#include "gui/layout/PointGoPortDlg.h"

#include "core/layout/PointGoPortPresenter.h"
#include "core/platform/Texts.h"
#include "gui/ui/ResourceId.h"
#include "md/OwnIds.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace md {

PointGoPortDlg::PointGoPortDlg(PointGoPortPresenter& presenter, const Texts& texts, QWidget* parent)
    : QDialog(parent), m_presenter(presenter), m_texts(texts)
{
    SetResourceId(this, own::kPointGoPortDialog);
    setWindowTitle(Text("IDS_MD_POINTGO_PORT_TITLE", u"Test device port"));

    m_ports = new QComboBox(this);
    SetResourceId(m_ports, own::kPointGoPortList);
    m_ports->setEditable(true);
    m_ports->setInsertPolicy(QComboBox::NoInsert);
    m_ports->setMinimumContentsLength(32);
    // The list shows each port with its note; the line keeps the bare path.
    connect(m_ports, &QComboBox::activated, this,
            [this](int index) { m_ports->setEditText(m_ports->itemData(index).toString()); });
    m_rescan = new QPushButton(Text("IDS_MD_POINTGO_RESCAN", u"Look again"), this);
    SetResourceId(m_rescan, own::kPointGoPortRescan);
    connect(m_rescan, &QPushButton::clicked, this, [this] {
        TakeChoice();
        m_presenter.Rescan();
        FillPorts();
    });
    m_bauds = new QComboBox(this);
    SetResourceId(m_bauds, own::kPointGoBaudList);
    m_test = new QPushButton(this);
    SetResourceId(m_test, own::kPointGoTestLink);
    connect(m_test, &QPushButton::clicked, this, &PointGoPortDlg::TestOrStop);
    m_outcome = new QLabel(this);
    SetResourceId(m_outcome, own::kPointGoTestOutcome);
    m_outcome->setWordWrap(true);
    m_outcome->setMinimumHeight(48);
    m_outcome->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* portRow = new QHBoxLayout;
    portRow->addWidget(m_ports, 1);
    portRow->addWidget(m_rescan);
    auto* form = new QFormLayout;
    form->addRow(Text("IDS_MD_POINTGO_PORT_LABEL", u"Port:"), portRow);
    form->addRow(Text("IDS_MD_POINTGO_BAUD_LABEL", u"Speed (baud):"), m_bauds);
    auto* testRow = new QHBoxLayout;
    testRow->addWidget(m_test);
    testRow->addStretch(1);
    auto* hint = new QLabel(Text("IDS_MD_POINTGO_PORT_HINT",
                                 u"The choice is kept for you and used before the host's and "
                                 u"the installation's settings."),
                            this);
    hint->setWordWrap(true);
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok =
        buttons->addButton(Text("IDS_MD_BUTTON_OK", u"OK"), QDialogButtonBox::AcceptRole);
    SetResourceId(ok, 1);
    ok->setDefault(true);
    QPushButton* cancel =
        buttons->addButton(Text("IDS_MD_BUTTON_CANCEL", u"Cancel"), QDialogButtonBox::RejectRole);
    SetResourceId(cancel, 2);
    connect(buttons, &QDialogButtonBox::accepted, this, &PointGoPortDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &PointGoPortDlg::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(testRow);
    layout->addWidget(m_outcome);
    layout->addWidget(hint);
    layout->addWidget(buttons);

    m_timer.setInterval(kStepMs);
    connect(&m_timer, &QTimer::timeout, this, &PointGoPortDlg::StepNow);
    FillPorts();
    FillBauds();
    EndTest();
}

PointGoPortDlg::~PointGoPortDlg()
{
    m_timer.stop();
    m_line.Stop();
}

QString PointGoPortDlg::Text(const char* key, const char16_t* fallback) const
{
    return QString::fromStdU16String(m_texts.TextOr(key, fallback));
}

void PointGoPortDlg::FillPorts()
{
    m_ports->clear();
    for (const PointGoPortPresenter::Entry& entry : m_presenter.Devices()) {
        const QString path = QString::fromStdString(entry.path);
        const QString note = QString::fromStdU16String(entry.note);
        m_ports->addItem(note.isEmpty() ? path : QStringLiteral("%1  (%2)").arg(path, note), path);
    }
    const QString chosen = QString::fromStdString(m_presenter.Port());
    m_ports->setCurrentIndex(m_ports->findData(chosen));
    m_ports->setEditText(chosen);
}

void PointGoPortDlg::FillBauds()
{
    for (int rate : PointGoBaudRates())
        m_bauds->addItem(QString::number(rate), rate);
    const int chosen = m_bauds->findData(m_presenter.Baud());
    m_bauds->setCurrentIndex(chosen >= 0 ? chosen : m_bauds->findData(pointgo::kDefaultBaud));
}

void PointGoPortDlg::TakeChoice()
{
    m_presenter.SetPort(m_ports->currentText().trimmed().toStdString());
    m_presenter.SetBaud(m_bauds->currentData().toInt());
}

void PointGoPortDlg::TestOrStop()
{
    if (m_presenter.Testing()) {
        m_presenter.StopTest();
        EndTest();
        return;
    }
    TakeChoice();
    if (!m_presenter.StartTest()) {
        ShowOutcome();
        return;
    }
    m_ports->setEnabled(false);
    m_rescan->setEnabled(false);
    m_bauds->setEnabled(false);
    m_test->setText(Text("IDS_MD_POINTGO_TEST_STOP", u"Stop test"));
    ShowOutcome();
    m_timer.start();
    StepNow();
}

void PointGoPortDlg::StepNow()
{
    if (!m_presenter.Step()) {
        EndTest();
        return;
    }
    m_line.Watch(m_presenter.Descriptor());
}

void PointGoPortDlg::EndTest()
{
    // The line is closed by now: stop watching its descriptor first.
    m_timer.stop();
    m_line.Stop();
    m_ports->setEnabled(true);
    m_rescan->setEnabled(true);
    m_bauds->setEnabled(true);
    m_test->setText(Text("IDS_MD_POINTGO_TEST_LINK", u"Test link"));
    ShowOutcome();
}

void PointGoPortDlg::ShowOutcome()
{
    QString colour;
    switch (m_presenter.Result()) {
    case PointGoPortPresenter::Outcome::Answered:
        colour = QStringLiteral("#1b5e20");
        break;
    case PointGoPortPresenter::Outcome::Failed:
        colour = QStringLiteral("#b71c1c");
        break;
    case PointGoPortPresenter::Outcome::None:
    case PointGoPortPresenter::Outcome::Running:
        break;
    }
    m_outcome->setStyleSheet(colour.isEmpty() ? QString()
                                              : QStringLiteral("color: %1;").arg(colour));
    m_outcome->setText(QString::fromStdU16String(m_presenter.OutcomeText()));
}

void PointGoPortDlg::accept()
{
    if (m_presenter.Testing()) {
        m_presenter.StopTest();
        EndTest();
    }
    TakeChoice();
    if (!m_presenter.Accept()) {
        ShowOutcome();
        return;
    }
    QDialog::accept();
}

void PointGoPortDlg::reject()
{
    m_presenter.StopTest();
    EndTest();
    QDialog::reject();
}

} // namespace md
