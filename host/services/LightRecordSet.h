#pragma once

#include "md/ILightManRecordset.h"

#include <QString>
#include <QVector>

namespace md::host {

/// The host's light (LED package) library, read from "Lightlibrary/lights.json".
class LightRecordSet final : public ILightManRecordset
{
public:
    struct Light
    {
        std::u16string name;     ///< also the picture's file name in "Lightlibrary"
        std::int32_t width = 0;  ///< tenths of a millimetre
        std::int32_t height = 0; ///< tenths of a millimetre
        std::int32_t colour = 0; ///< 0 red, 1 green, 2 blue
        std::uint16_t code = 0;
    };

    static QVector<Light> Load(const QString& path);
    explicit LightRecordSet(QVector<Light> lights) : m_lights(std::move(lights)) {}

    std::uint32_t AddRef() override { return ++m_references; }
    std::uint32_t Release() override { return m_references > 0 ? --m_references : 0; }
    bool First() override;
    bool Next() override;
    const char16_t* Name() override;
    std::int32_t Width() override;
    std::int32_t Height() override;
    std::int32_t Colour() override;
    std::uint16_t Code() override;

    std::uint32_t OutstandingReferences() const { return m_references; }

private:
    const Light* Current() const;

    QVector<Light> m_lights;
    qsizetype m_position = -1;
    std::uint32_t m_references = 0;
};

} // namespace md::host
