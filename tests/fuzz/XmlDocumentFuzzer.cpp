// Feeds arbitrary bytes to the XML reader twice: as a UTF-8 file through LoadFile and as UTF-16
// text through SetDocumentText. Every document is walked completely; well-formed ones are also
// edited, and must stay well-formed with an index that agrees with a fresh parse.
#include "core/xml/XmlDocument.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

void Walk(md::XmlDocument& doc, int depth)
{
    int siblings = 0;
    while (doc.FindElement() && ++siblings < 4096) {
        (void)doc.GetElementText();
        (void)doc.GetAttribute(u"name");
        (void)doc.GetAttribute(u"val");
        if (depth < 64 && doc.EnterElement()) {
            Walk(doc, depth + 1);
            if (!doc.LeaveElement())
                std::abort();
        }
    }
}

void CheckIndex(const md::XmlDocument& doc)
{
    const std::u16string& text = doc.GetDocumentText();
    const auto& index = doc.Index();
    if (index.empty() || index[0].length != text.size())
        std::abort();
    for (std::size_t i = 1; i < index.size(); ++i) {
        const md::XmlElement& element = index[i];
        if (element.start >= text.size() || text[element.start] != u'<' ||
            element.End() > text.size())
            std::abort();
    }
}

void EditAndReparse(const std::u16string& text)
{
    md::XmlDocument doc(text);
    if (!doc.FindElement() || !doc.SetAttribute(u"val", -12) || !doc.EnterElement() ||
        !doc.AddElement(u"added") || !doc.SetAttribute(u"ver", 1) ||
        !doc.SetAttribute(u"quote", u"<\"&'>") || doc.GetAttribute(u"quote") != u"<\"&'>" ||
        !doc.AddElement(u"text", u"a]]>b<&", 0) || doc.GetElementText() != u"a]]>b<&")
        std::abort();
    CheckIndex(doc);
    md::XmlDocument fresh(doc.GetDocumentText());
    if (!fresh.FindElement() || !fresh.EnterElement())
        std::abort();
    if (fresh.Index().size() != doc.Index().size())
        std::abort();
}

int MemoryFile()
{
    static const int fd = memfd_create("xml-fuzz", 0);
    return fd;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const int fd = MemoryFile();
    if (fd >= 0 && ftruncate(fd, 0) == 0 &&
        pwrite(fd, data, size, 0) == static_cast<ssize_t>(size)) {
        md::XmlDocument doc;
        const bool wellFormed = doc.LoadFile("/proc/self/fd/" + std::to_string(fd));
        CheckIndex(doc);
        Walk(doc, 0);
        if (wellFormed)
            EditAndReparse(doc.GetDocumentText());
    }

    std::u16string wide(size / 2, u'\0');
    for (std::size_t i = 0; i < wide.size(); ++i)
        wide[i] = static_cast<char16_t>(data[2 * i] | (data[2 * i + 1] << 8));
    md::XmlDocument doc;
    const bool wellFormed = doc.SetDocumentText(wide.c_str());
    CheckIndex(doc);
    Walk(doc, 0);
    if (wellFormed)
        EditAndReparse(doc.GetDocumentText());
    return 0;
}
