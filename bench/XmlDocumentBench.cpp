// Parse time of XmlDocument against pugixml on the same 1 MB and 10 MB documents, and the cost
// of FindElement over a fixed number of siblings in a small and a large document. Ratios are
// printed after the run.
#include "BenchSupport.h"
#include "core/io/Utf.h"
#include "core/xml/XmlDocument.h"

#include <benchmark/benchmark.h>

#ifdef MD_HAVE_PUGIXML
#include <pugixml.hpp>
#endif

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

namespace {

/// The least a parse or a load of a file reaches, in MB/s of the document.
constexpr double kParseFloorMBps = 10;

/// A chip-library-like document of about the given size: groups of items with attributes,
/// texts, a comment and a CDATA section now and then. The first group has `siblings` items.
std::string MakeDocument(std::size_t bytes, int siblings = 64)
{
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<main>\n";
    int group = 0;
    while (xml.size() < bytes) {
        xml += "  <chip name=\"group" + std::to_string(group) + "\" kind='driver'>\n";
        const int items = group == 0 ? siblings : 20;
        for (int i = 0; i < items; ++i) {
            xml += "    <item id=\"" + std::to_string(i) + "\">";
            xml += "<Specification lang_zh-cn=\"\xE8\x8A\xAF\xE7\x89\x87" + std::to_string(i) +
                   "\" lang_en-us=\"Chip " + std::to_string(i) + "\">Chip &amp; co</Specification>";
            xml += "<Type>" + std::to_string(i % 7) + "</Type><Polarity>10</Polarity>";
            if (i % 10 == 0)
                xml += "<!-- spare --><Note><![CDATA[a < b]]></Note>";
            xml += "<last/></item>\n";
        }
        xml += "  </chip>\n";
        ++group;
    }
    xml += "</main>\n";
    return xml;
}

const std::string& Document(int megabytes)
{
    static std::map<int, std::string> documents;
    auto& doc = documents[megabytes];
    if (doc.empty())
        doc = MakeDocument(static_cast<std::size_t>(megabytes) << 20);
    return doc;
}

std::filesystem::path DocumentFile(int megabytes)
{
    const auto path =
        std::filesystem::temp_directory_path() /
        ("md-bench-" + std::to_string(::getpid()) + "-" + std::to_string(megabytes) + ".xml");
    if (!std::filesystem::exists(path))
        std::ofstream(path, std::ios::binary) << Document(megabytes);
    return path;
}

void XmlDocumentParse(benchmark::State& state)
{
    const std::u16string text = md::utf::ToUtf16(Document(static_cast<int>(state.range(0))));
    for (auto _ : state) {
        md::XmlDocument doc(text); // the text with its length, as pugixml gets it
        benchmark::DoNotOptimize(doc.GetResult());
    }
    md::bench::BytesPerSecond(state, "bytes_per_second", double(text.size()), kParseFloorMBps);
}

void XmlDocumentLoadFile(benchmark::State& state)
{
    const auto path = DocumentFile(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        md::XmlDocument doc;
        benchmark::DoNotOptimize(doc.LoadFile(path));
    }
    md::bench::BytesPerSecond(state, "bytes_per_second", double(std::filesystem::file_size(path)),
                              kParseFloorMBps);
}

#ifdef MD_HAVE_PUGIXML
void PugiParse(benchmark::State& state)
{
    const std::string& text = Document(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        pugi::xml_document doc;
        benchmark::DoNotOptimize(doc.load_buffer(text.data(), text.size()));
    }
    md::bench::BytesPerSecond(state, "bytes_per_second", double(text.size()), kParseFloorMBps);
}

void PugiLoadFile(benchmark::State& state)
{
    const auto path = DocumentFile(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        pugi::xml_document doc;
        benchmark::DoNotOptimize(doc.load_file(path.c_str()));
    }
    md::bench::BytesPerSecond(state, "bytes_per_second", double(std::filesystem::file_size(path)),
                              kParseFloorMBps);
}
#endif

/// Walks the 64 items of the first group, in a document of range(0) kilobytes.
void FindAmongSiblings(benchmark::State& state)
{
    const std::size_t bytes = static_cast<std::size_t>(state.range(0)) << 10;
    md::XmlDocument doc(md::utf::ToUtf16(MakeDocument(bytes)));
    doc.FindElement(u"main");
    for (auto _ : state) {
        doc.EnterElement();
        doc.FindElement(u"chip");
        doc.EnterElement();
        int found = 0;
        while (doc.FindElement(u"item"))
            ++found;
        benchmark::DoNotOptimize(found);
        doc.LeaveElement();
        doc.LeaveElement(); // back on "main"
        if (found != 64) {
            state.SkipWithError("not every sibling found");
            break;
        }
    }
    // Each sibling is at least looked at.
    md::bench::TimePerItem(state, "time_per_sibling", 64, 0.5);
}

/// Keeps the mean time per iteration of every run, for the ratios.
class RatioReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        // The median of the repetitions is the figure compared.
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median")
                m_times[run.run_name.function_name +
                        (run.run_name.args.empty() ? "" : "/" + run.run_name.args)] =
                    run.GetAdjustedCPUTime();
        ConsoleReporter::ReportRuns(runs);
    }
    void PrintRatio(const std::string& label, const std::string& a, const std::string& b) const
    {
        const auto x = m_times.find(a);
        const auto y = m_times.find(b);
        if (x != m_times.end() && y != m_times.end() && y->second > 0)
            std::printf("%-48s %6.2f\n", label.c_str(), x->second / y->second);
    }

private:
    std::map<std::string, double> m_times;
};

} // namespace

BENCHMARK(XmlDocumentParse)
    ->Arg(1)
    ->Arg(10)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly();
BENCHMARK(XmlDocumentLoadFile)
    ->Arg(1)
    ->Arg(10)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly();
#ifdef MD_HAVE_PUGIXML
BENCHMARK(PugiParse)
    ->Arg(1)
    ->Arg(10)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly();
BENCHMARK(PugiLoadFile)
    ->Arg(1)
    ->Arg(10)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly();
#endif
BENCHMARK(FindAmongSiblings)
    ->Arg(10)
    ->Arg(10 << 10)
    ->Unit(benchmark::kNanosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly();

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\nRatios of median CPU time over 5 repetitions:\n");
    for (const char* size : {"1", "10"}) {
        const std::string mb = std::string("/") + size;
        reporter.PrintRatio(std::string("parse ") + size + " MB, XmlDocument / pugixml",
                            "XmlDocumentParse" + mb, "PugiParse" + mb);
        reporter.PrintRatio(std::string("load file ") + size + " MB, XmlDocument / pugixml",
                            "XmlDocumentLoadFile" + mb, "PugiLoadFile" + mb);
    }
    reporter.PrintRatio("FindElement x64 siblings, 10 MB / 10 KB document",
                        "FindAmongSiblings/10240", "FindAmongSiblings/10");
    for (int mb : {1, 10})
        std::filesystem::remove(DocumentFile(mb));
    benchmark::Shutdown();
    return 0;
}
