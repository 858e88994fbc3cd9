#include "PictureInput.h"

#include "ToolSupport.h"

#include "core/io/PngDecoder.h"

#include <QImage>

#include <algorithm>
#include <cstring>

namespace md::mdrtool {

namespace {

bool Starts(const std::vector<std::uint8_t>& bytes, std::initializer_list<std::uint8_t> mark)
{
    return bytes.size() >= mark.size() && std::equal(mark.begin(), mark.end(), bytes.begin());
}

} // namespace

std::optional<CameraFrame> ReadPicture(const std::string& path, std::string& error)
{
    const auto bytes = ReadInput(path, error);
    if (!bytes)
        return std::nullopt;
    CameraFrame frame;
    if (Starts(*bytes, {0x89, 'P', 'N', 'G'})) {
        const auto image = PngDecoder::Decode(*bytes);
        if (!image) {
            error = path + ": a damaged PNG picture";
            return std::nullopt;
        }
        frame.width = image->Width();
        frame.height = image->Height();
        frame.rgb.reserve(std::size_t(frame.width) * std::size_t(frame.height) * 3);
        const auto& rgba = image->Bytes();
        for (std::size_t i = 0; i + 3 < rgba.size(); i += 4)
            frame.rgb.insert(frame.rgb.end(), rgba.begin() + std::ptrdiff_t(i),
                             rgba.begin() + std::ptrdiff_t(i + 3));
    } else if (Starts(*bytes, {0xFF, 0xD8, 0xFF})) {
        QImage image;
        if (!image.loadFromData(bytes->data(), int(bytes->size()), "JPEG") || image.isNull()) {
            error = path + ": a damaged JPEG picture";
            return std::nullopt;
        }
        image = image.convertToFormat(QImage::Format_RGB888);
        frame.width = image.width();
        frame.height = image.height();
        frame.rgb.resize(std::size_t(frame.width) * std::size_t(frame.height) * 3);
        const std::size_t row = std::size_t(frame.width) * 3;
        for (int y = 0; y < frame.height; ++y)
            std::memcpy(frame.rgb.data() + std::size_t(y) * row, image.constScanLine(y), row);
    } else {
        error = path + ": not a PNG or JPEG picture";
        return std::nullopt;
    }
    if (frame.Empty()) {
        error = path + ": an empty picture";
        return std::nullopt;
    }
    frame.captured = std::chrono::steady_clock::now();
    return frame;
}

} // namespace md::mdrtool
