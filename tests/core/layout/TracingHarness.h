#pragma once

#include "core/controller/CommandChannel.h"
#include "core/layout/LayoutModel.h"
#include "core/layout/LayoutSetup.h"
#include "core/layout/PointTracer.h"
#include "core/platform/Prompter.h"
#include "core/platform/Texts.h"
#include "core/support/FakePorts.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace md::test {

class RecordingPrompter final : public Prompter
{
public:
    PromptAnswer Ask(PromptButtons, const std::u16string& caption,
                     const std::u16string& text) override
    {
        asked.emplace_back(std::string(caption.begin(), caption.end()),
                           std::string(text.begin(), text.end()));
        return PromptAnswer::Ok;
    }
    std::vector<std::pair<std::string, std::string>> asked;
};

/// A lighting command decoded into its fields.
struct Lit
{
    std::uint32_t position = 0;
    std::uint32_t group = 0;
    std::uint32_t rows = 0;
    std::uint8_t byte0 = 0;
    std::uint8_t byte1 = 0;
};

inline Lit Decode(const CommandPair& pair)
{
    const auto& w = pair.word2;
    const std::uint32_t value =
        std::uint32_t{w[0]} << 24 | std::uint32_t{w[1]} << 16 | std::uint32_t{w[2]} << 8 | w[3];
    return {(value >> 16) & 0x3FF, value >> 26, (value >> 8) & 0xFF, pair.word1[0], pair.word1[1]};
}

inline LayoutSetup MakeSetup(std::uint16_t width, std::uint16_t height, std::uint16_t scanRows,
                             std::uint16_t groups, std::vector<std::uint16_t> colours = {0})
{
    LayoutSetup setup;
    setup.width = width;
    setup.height = height;
    setup.scanRows = scanRows;
    setup.dataGroups = groups;
    setup.channelColours = std::move(colours);
    setup.DeriveCounts();
    return setup;
}

/// A layout model with a tracer over it, its setup handed over and its window created.
struct TracingHarness
{
    explicit TracingHarness(LayoutSetup initial) : setup(std::move(initial))
    {
        model.Construct(setup.width, setup.height, {});
        channel.SetTap([this](const CommandPair& pair) { sent.push_back(pair); });
        tracer = std::make_unique<PointTracer>(model, channel, texts, prompter);
        tracer->SetSetup(&setup, true);
        tracer->Create();
    }

    void Click(const std::vector<std::pair<int, int>>& pixels)
    {
        for (const auto& [x, y] : pixels)
            tracer->Click(x, y);
    }
    Lit Last() const { return Decode(sent.back()); }

    LayoutSetup setup;
    LayoutModel model;
    CommandChannel channel;
    KeyTexts texts;
    RecordingPrompter prompter;
    std::vector<CommandPair> sent;
    std::unique_ptr<PointTracer> tracer;
};

/// The points of a scan row, as (x, y), in output order.
inline std::vector<std::pair<int, int>> Positions(const ScanRow& row)
{
    std::vector<std::pair<int, int>> out;
    for (const TracedPoint& p : row.points)
        out.emplace_back(p.x, p.y);
    return out;
}

inline std::vector<std::pair<int, int>> Line(int x0, int y0, int dx, int dy, int count)
{
    std::vector<std::pair<int, int>> pixels;
    for (int i = 0; i < count; ++i)
        pixels.emplace_back(x0 + i * dx, y0 + i * dy);
    return pixels;
}

} // namespace md::test
