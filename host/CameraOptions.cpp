#include "CameraOptions.h"

#include <QCommandLineParser>
#include <QStringList>

#include <cmath>

namespace md::host {

namespace {
const QString kView = QStringLiteral("camera-view");
const QString kLatency = QStringLiteral("camera-latency");
const QString kSimulated = QStringLiteral("camera-simulated");
constexpr double kMostAngle = 60.0;
constexpr int kMostLatencyMs = 5000;
} // namespace

void CameraOptions::AddTo(QCommandLineParser& parser)
{
    const VirtualCamera::Settings defaults;
    parser.addOption(QCommandLineOption(
        kView,
        QStringLiteral("The virtual camera's view of the module: tilt and turn in degrees "
                       "(default %1,%2; each within ±%3).")
            .arg(defaults.tiltDegrees)
            .arg(defaults.turnDegrees)
            .arg(kMostAngle),
        QStringLiteral("TILT,TURN")));
    parser.addOption(QCommandLineOption(
        kLatency,
        QStringLiteral("How long the virtual camera's frames lag behind the module, in "
                       "milliseconds (default %1).")
            .arg(defaults.latencyMs),
        QStringLiteral("MS"), QString::number(defaults.latencyMs)));
    parser.addOption(QCommandLineOption(
        kSimulated, QStringLiteral("The virtual camera runs on simulated time: the plug-in takes "
                                   "its frames one after another without waiting for them.")));
}

std::optional<VirtualCamera::Settings> CameraOptions::Read(const QCommandLineParser& parser,
                                                           QString* error)
{
    auto fail = [error](const QString& why) -> std::optional<VirtualCamera::Settings> {
        if (error)
            *error = why;
        return std::nullopt;
    };
    VirtualCamera::Settings settings;
    if (parser.isSet(kView)) {
        const QStringList parts = parser.value(kView).split(QLatin1Char(','));
        bool tiltOk = false, turnOk = false;
        const double tilt = parts.size() == 2 ? parts[0].trimmed().toDouble(&tiltOk) : 0;
        const double turn = parts.size() == 2 ? parts[1].trimmed().toDouble(&turnOk) : 0;
        if (!tiltOk || !turnOk || std::abs(tilt) > kMostAngle || std::abs(turn) > kMostAngle)
            return fail(QStringLiteral("--camera-view takes TILT,TURN in degrees, each within "
                                       "±%1 (for example 10,-15), not \"%2\"")
                            .arg(kMostAngle)
                            .arg(parser.value(kView)));
        settings.tiltDegrees = tilt;
        settings.turnDegrees = turn;
    }
    bool latencyOk = false;
    const int latency = parser.value(kLatency).trimmed().toInt(&latencyOk);
    if (!latencyOk || latency < 0 || latency > kMostLatencyMs)
        return fail(QStringLiteral("--camera-latency takes milliseconds from 0 to %1, not \"%2\"")
                        .arg(kMostLatencyMs)
                        .arg(parser.value(kLatency)));
    settings.latencyMs = latency;
    settings.simulated = parser.isSet(kSimulated);
    return settings;
}

} // namespace md::host
