// Built against a header written by `mdrtool export-map --format cpp`: checks every pixel of
// the header's tables against the CSV export of the same module (argument 1). Exit 0 when
// they agree, 1 with the first difference otherwise.
#include MODULE_MAP_HEADER

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Row
{
    int group, channel, scanRow, position, x, y, kind;
};

} // namespace

int main(int argc, char** argv)
{
    using namespace led_module_map;
    static_assert(WireIndex(-1, 0) == -1 && WireIndex(kWidth, 0) == -1);
    if (argc != 2)
        return 2;
    std::ifstream csv(argv[1]);
    std::string line;
    std::getline(csv, line); // the header line
    std::vector<Row> rows;
    int scanRows = 0, rowLength = 0;
    while (std::getline(csv, line)) {
        Row r{};
        char c;
        std::istringstream in(line);
        in >> r.group >> c >> r.channel >> c >> r.scanRow >> c >> r.position >> c >> r.x >> c >>
            r.y >> c >> r.kind;
        rows.push_back(r);
        scanRows = std::max(scanRows, r.scanRow + 1);
        rowLength = std::max(rowLength, r.position);
    }
    // The wire index of each pixel that the CSV wires on channel 0 (the first on the wire wins).
    std::map<int, int> expected;
    for (const Row& r : rows) {
        if (r.channel != 0 || r.kind == 4)
            continue;
        const int wire = (r.group * scanRows + r.scanRow) * rowLength + r.position - 1;
        const int pixel = r.y * kWidth + r.x;
        if (!expected.count(pixel) || wire < expected[pixel])
            expected[pixel] = wire;
    }
    int checked = 0;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            const int pixel = y * kWidth + x;
            const int want = expected.count(pixel) ? expected[pixel] : -1;
            if (WireIndex(x, y) != want) {
                std::printf("pixel (%d, %d): header %d, csv %d\n", x, y, WireIndex(x, y), want);
                return 1;
            }
            if (want >= 0 && kWireToPixel[want] != pixel) {
                std::printf("wire %d: header pixel %d, csv pixel %d\n", want, kWireToPixel[want],
                            pixel);
                return 1;
            }
            ++checked;
        }
    std::printf("%d pixels agree\n", checked);
    return checked == kWidth * kHeight ? 0 : 1;
}
