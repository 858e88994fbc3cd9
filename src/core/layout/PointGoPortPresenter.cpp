#include "core/layout/PointGoPortPresenter.h"

#include "core/io/Utf.h"
#include "core/platform/Texts.h"
#include "core/posix/PosixSerialPort.h"

#include <algorithm>

namespace md {

namespace {

/// The text with %1, %2, ... replaced by the values in order.
std::u16string Fill(std::u16string text, std::initializer_list<std::u16string> values)
{
    char16_t marker = u'1';
    for (const std::u16string& value : values) {
        const std::u16string place = {u'%', marker++};
        for (auto at = text.find(place); at != std::u16string::npos;
             at = text.find(place, at + value.size()))
            text.replace(at, place.size(), value);
    }
    return text;
}

std::u16string Number(std::size_t value)
{
    return utf::ToUtf16(std::to_string(value));
}

/// The handshake of a design without socket pins: no scan rows to announce, no pins.
serialframes::Handshake EmptyHandshake()
{
    serialframes::Handshake frame{};
    frame[0] = pointgo::kHandshake;
    frame[1] = 1;
    return frame;
}

} // namespace

PointGoPortPresenter::PointGoPortPresenter(Ports ports, PointGoProfile profile,
                                           PointGoPortChoice current, std::string hostPort,
                                           std::optional<serialframes::Handshake> handshake)
    : m_ports(std::move(ports)), m_profile(std::move(profile)), m_current(std::move(current)),
      m_hostPort(std::move(hostPort)), m_handshake(handshake), m_port(m_current.port),
      m_baud(m_current.baud)
{
    Rescan();
}

PointGoPortPresenter::~PointGoPortPresenter()
{
    StopTest();
}

std::u16string PointGoPortPresenter::Text(const char* key, const char16_t* fallback) const
{
    return m_ports.texts.TextOr(key, fallback);
}

void PointGoPortPresenter::Rescan()
{
    const std::u16string inUse = Text("IDS_MD_POINTGO_PORT_IN_USE", u"in use");
    m_devices.clear();
    if (m_ports.scan)
        for (const SerialDevice& device : m_ports.scan())
            m_devices.push_back({device.path, device.busy ? inUse : u"", device.busy});
    auto find = [this](const std::string& path) {
        return std::find_if(m_devices.begin(), m_devices.end(),
                            [&](const Entry& entry) { return entry.path == path; });
    };
    if (!m_hostPort.empty()) {
        // The host's own device (the reference host's virtual one is a pseudo-terminal that no
        // scan of serial names finds).
        const std::u16string host = Text("IDS_MD_POINTGO_PORT_HOST", u"the host's test device");
        auto entry = find(m_hostPort);
        if (entry == m_devices.end()) {
            const bool busy =
                PosixSerialPort::Probe(m_hostPort) == PosixSerialPort::Availability::Busy;
            m_devices.push_back({m_hostPort, busy ? host + u", " + inUse : host, busy});
        } else {
            entry->note = entry->note.empty() ? host : host + u", " + entry->note;
        }
    }
    if (!m_port.empty() && find(m_port) == m_devices.end())
        m_devices.push_back({m_port, Text("IDS_MD_POINTGO_PORT_MISSING", u"not found"), false});
}

bool PointGoPortPresenter::StartTest()
{
    if (m_exchange)
        return false;
    if (m_port.empty()) {
        Fail(Text("IDS_MD_POINTGO_NO_PORT_CHOSEN", u"Choose a port first."));
        return false;
    }
    // The design's own connection is left alone: a point-go advance may be waiting on it, and
    // a handshake on its line would send the device back to its first LED.
    if (m_ports.designLine && IsLineAt(m_ports.designLine(), m_port)) {
        Fail(Fill(Text("IDS_MD_POINTGO_TEST_HELD",
                       u"Point-go of this design is connected through %1, so Test link leaves "
                       u"that line alone: a hardware start shakes hands on it anew. Test link "
                       u"can test any other port."),
                  {utf::ToUtf16(m_port)}));
        return false;
    }
    std::u16string reason;
    std::unique_ptr<SerialPort> port =
        m_ports.open ? m_ports.open({m_port, m_baud, true}, reason) : nullptr;
    if (!port) {
        Fail(reason);
        return false;
    }
    m_link.SetPort(std::move(port));
    m_exchange = std::make_unique<PointGoExchange>(m_link, std::vector<std::uint16_t>{}, 0,
                                                   m_handshake.value_or(EmptyHandshake()));
    m_outcome = Outcome::Running;
    m_outcomeText = Fill(Text("IDS_MD_POINTGO_TEST_RUNNING",
                              u"Waiting for the test device on %1 to answer the handshake…"),
                         {utf::ToUtf16(m_port)});
    return true;
}

bool PointGoPortPresenter::Step()
{
    if (!m_exchange)
        return false;
    if (m_exchange->Step() == PointGoExchange::State::Running)
        return true;
    Finish();
    return false;
}

void PointGoPortPresenter::StopTest()
{
    if (!m_exchange)
        return;
    m_exchange->Cancel();
    Finish();
}

int PointGoPortPresenter::Descriptor() const
{
    return m_exchange ? m_exchange->Descriptor() : -1;
}

void PointGoPortPresenter::Finish()
{
    const std::u16string port = utf::ToUtf16(m_port);
    const std::u16string baud = Number(static_cast<std::size_t>(m_baud));
    switch (m_exchange->Current()) {
    case PointGoExchange::State::Done: {
        const bool indexed = m_link.Advance() == SerialPointGoLink::AdvanceKind::Indexed;
        m_outcome = Outcome::Answered;
        m_outcomeText =
            Fill(Text("IDS_MD_POINTGO_TEST_ANSWERED",
                      u"The test device on %1 answered at %2 baud: %3 data lines, %4."),
                 {port, baud, Number(m_link.Lines().lengths.size()),
                  indexed ? Text("IDS_MD_POINTGO_ADVANCE_INDEXED", u"indexed advance")
                          : Text("IDS_MD_POINTGO_ADVANCE_ONE_BYTE", u"one-byte advance")});
        break;
    }
    case PointGoExchange::State::Cancelled:
        m_outcome = Outcome::None;
        m_outcomeText = Text("IDS_MD_POINTGO_TEST_STOPPED", u"The test was stopped.");
        break;
    case PointGoExchange::State::Failed:
    case PointGoExchange::State::Running:
        switch (m_exchange->Why()) {
        case PointGoExchange::Failure::NoAnswer:
            Fail(Fill(Text("IDS_MD_POINTGO_TEST_SILENT",
                           u"Nothing answered on %1 at %2 baud: check the port, the rate, the "
                           u"cable and the device's power."),
                      {port, baud}));
            break;
        case PointGoExchange::Failure::BadReply:
            Fail(Fill(Text("IDS_MD_POINTGO_TEST_REFUSED",
                           u"A device on %1 answered but refused the handshake or sent a reply "
                           u"that cannot be used: check the socket design and the rate."),
                      {port}));
            break;
        case PointGoExchange::Failure::WriteFailed:
            Fail(Text("IDS_MD_POINTGO_WRITE_FAILED",
                      u"Nothing could be written to the serial line."));
            break;
        case PointGoExchange::Failure::None:
        case PointGoExchange::Failure::NoPort:
        case PointGoExchange::Failure::LineGone:
            Fail(Text("IDS_MD_POINTGO_LINE_GONE",
                      u"The serial line is gone (was the adapter unplugged?). It is opened "
                      u"afresh on the next start."));
            break;
        }
        break;
    }
    m_exchange.reset();
    m_link.ClosePort();
}

void PointGoPortPresenter::Fail(std::u16string text)
{
    m_outcome = Outcome::Failed;
    m_outcomeText = std::move(text);
}

bool PointGoPortPresenter::Accept()
{
    StopTest();
    if (m_port.empty()) {
        Fail(Text("IDS_MD_POINTGO_NO_PORT_CHOSEN", u"Choose a port first."));
        return false;
    }
    const auto rates = PointGoBaudRates();
    if (std::find(rates.begin(), rates.end(), m_baud) == rates.end()) {
        Fail(Fill(Text("IDS_MD_POINTGO_BAD_BAUD", u"%1 baud is not a rate a serial line offers."),
                  {Number(static_cast<std::size_t>(std::max(m_baud, 0)))}));
        return false;
    }
    if (!m_profile.Save(m_port, m_baud)) {
        Fail(Fill(Text("IDS_MD_POINTGO_PROFILE_UNWRITABLE", u"The choice could not be kept in %1."),
                  {utf::ToUtf16(m_profile.Path().string())}));
        return false;
    }
    if ((m_port != m_current.port || m_baud != m_current.baud) && m_ports.releaseLink)
        m_ports.releaseLink();
    return true;
}

} // namespace md
