#include "core/parameters/ChipLibrary.h"

#include "core/io/NumberText.h"
#include "core/io/Utf.h"
#include "core/xml/XmlDocument.h"

#include <string>

namespace md {

namespace {

/// Reads the decimal text of the next child element of that name; the default when missing.
void ReadNumber(XmlDocument& doc, std::u16string_view element, std::int32_t& field)
{
    if (doc.FindElement(element))
        field = numbertext::LeadingInteger(doc.GetElementText());
}

} // namespace

std::filesystem::path ChipLibrary::PathIn(const std::filesystem::path& programFolder)
{
    return programFolder / "Modules" / "ModuleDesignUIPlugin" / "ChipLib.xml";
}

ChipLibrary ChipLibrary::Load(const std::filesystem::path& path,
                              std::u16string_view languageAttribute)
{
    ChipLibrary library;
    XmlDocument doc;
    // A damaged library would read as a short one (a truncated file loses its driver chips):
    // it is not used at all, and the failure says where it broke.
    if (!doc.LoadFile(path)) {
        library.m_failure = utf::ToUtf16(path.string());
        if (const std::size_t line = doc.FaultLine(); line != 0)
            library.m_failure += u", line " + utf::FromAscii(std::to_string(line));
        library.m_failure += u": " + doc.GetResult();
        return library;
    }
    if (!doc.FindElement(u"main") || !doc.EnterElement()) {
        library.m_failure = utf::ToUtf16(path.string()) + u": no \"main\" element";
        return library;
    }
    while (doc.FindElement(u"chip")) {
        const bool scan = doc.GetAttribute(u"name") == u"Scan";
        if (!doc.EnterElement())
            break;
        while (doc.FindElement(u"item")) {
            doc.EnterElement();
            ChipRecord chip;
            chip.isScan = scan ? 1 : 0;
            if (doc.FindElement(u"Specification")) {
                chip.name = doc.GetAttribute(languageAttribute);
                if (chip.name.empty())
                    chip.name = doc.GetElementText();
            }
            if (!chip.name.empty()) {
                ReadNumber(doc, u"Type", chip.type);
                ReadNumber(doc, u"Polarity", chip.polarity);
                if (!scan)
                    ReadNumber(doc, u"MaxScans", chip.maxScans);
                library.m_records.push_back(std::move(chip));
            }
            doc.LeaveElement();
        }
        doc.LeaveElement();
    }
    return library;
}

std::vector<ChipRecord> ChipLibrary::Select(bool scan) const
{
    std::vector<ChipRecord> chips;
    for (const ChipRecord& chip : m_records)
        if ((chip.isScan != 0) == scan)
            chips.push_back(chip);
    return chips;
}

const ChipRecord* ChipLibrary::Find(std::u16string_view name, bool scan) const
{
    for (const ChipRecord& chip : m_records)
        if ((chip.isScan != 0) == scan && chip.name == name)
            return &chip;
    return nullptr;
}

bool ChipLibrary::SetPolarity(std::u16string_view name, bool scan, std::int32_t polarity)
{
    for (ChipRecord& chip : m_records)
        if ((chip.isScan != 0) == scan && chip.name == name) {
            chip.polarity = polarity;
            return true;
        }
    return false;
}

} // namespace md
