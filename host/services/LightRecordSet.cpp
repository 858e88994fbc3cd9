#include "services/LightRecordSet.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace md::host {

QVector<LightRecordSet::Light> LightRecordSet::Load(const QString& path)
{
    QVector<Light> lights;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return lights;
    for (const QJsonValue& entry : QJsonDocument::fromJson(file.readAll()).array()) {
        const QJsonObject light = entry.toObject();
        lights.push_back({light.value("name").toString().toStdU16String(),
                          light.value("width").toInt(), light.value("height").toInt(),
                          light.value("colour").toInt(),
                          static_cast<std::uint16_t>(light.value("code").toInt())});
    }
    return lights;
}

const LightRecordSet::Light* LightRecordSet::Current() const
{
    return m_position >= 0 && m_position < m_lights.size() ? &m_lights[m_position] : nullptr;
}

bool LightRecordSet::First()
{
    m_position = 0;
    return Current() != nullptr;
}

bool LightRecordSet::Next()
{
    if (m_position < m_lights.size())
        ++m_position;
    return Current() != nullptr;
}

const char16_t* LightRecordSet::Name()
{
    return Current() ? Current()->name.c_str() : u"";
}
std::int32_t LightRecordSet::Width()
{
    return Current() ? Current()->width : 0;
}
std::int32_t LightRecordSet::Height()
{
    return Current() ? Current()->height : 0;
}
std::int32_t LightRecordSet::Colour()
{
    return Current() ? Current()->colour : 0;
}
std::uint16_t LightRecordSet::Code()
{
    return Current() ? Current()->code : 0;
}

} // namespace md::host
