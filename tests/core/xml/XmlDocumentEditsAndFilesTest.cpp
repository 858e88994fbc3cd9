#include "core/parameters/TempProgramFolder.h"
#include "core/xml/XmlDocument.h"
#include "core/xml/XmlEscape.h"
#include "core/xml/XmlUtf8.h"

namespace md {
namespace {

using XmlDocumentEditsAndFilesTest = test::TempProgramFolder;

TEST_F(XmlDocumentEditsAndFilesTest, AddedElementsAndAttributesPatchTextAndIndex)
{
    XmlDocument doc(u"<module_ele></module_ele>");
    ASSERT_TRUE(doc.FindElement(u"module_ele") && doc.EnterElement());
    ASSERT_TRUE(doc.AddElement(u"first"));
    ASSERT_TRUE(doc.SetAttribute(u"ver", 1));
    ASSERT_TRUE(doc.SetAttribute(u"val", -5));
    ASSERT_TRUE(doc.AddElement(u"second", u"a<b&c>'\"", XmlDocument::kSpacedEmpty));
    ASSERT_TRUE(doc.AddElement(u"third", {}, XmlDocument::kSpacedEmpty));
    ASSERT_TRUE(doc.SetAttribute(u"v", u"<&>'\""));
    ASSERT_TRUE(doc.SetAttribute(u"v", 7)); // replaces the value in place
    EXPECT_EQ(doc.GetDocumentText(), u"<module_ele>\n<first ver=\"1\" val=\"-5\"/>\n"
                                     u"<second>a&lt;b&amp;c&gt;'\"</second>\n<third v=\"7\" />\n"
                                     u"</module_ele>");
    // Change an earlier element after later ones exist, then navigate the patched index.
    ASSERT_TRUE(doc.LeaveElement());
    ASSERT_TRUE(doc.SetAttribute(u"count", 3));
    ASSERT_TRUE(doc.EnterElement() && doc.FindElement(u"first"));
    ASSERT_TRUE(doc.SetAttribute(u"ver", 12345));
    ASSERT_TRUE(doc.FindElement(u"second"));
    EXPECT_EQ(doc.GetElementText(), u"a<b&c>'\"");
    ASSERT_TRUE(doc.FindElement(u"third"));
    EXPECT_EQ(doc.GetAttribute(u"v"), u"7");

    // The patched document parses to the same structure.
    XmlDocument fresh(doc.GetDocumentText());
    EXPECT_EQ(fresh.GetResult(), u"");
    ASSERT_EQ(fresh.Index().size(), doc.Index().size());
    ASSERT_TRUE(fresh.FindElement() && fresh.EnterElement() && fresh.FindElement(u"first"));
    EXPECT_EQ(fresh.GetAttribute(u"ver"), u"12345");
    EXPECT_EQ(fresh.GetAttribute(u"val"), u"-5");
}

TEST_F(XmlDocumentEditsAndFilesTest, AttributesAreAddedAfterUnquotedValues)
{
    // An unquoted value ends before the "/>" of an empty-element tag.
    XmlDocument doc(u"<a z=w/>");
    ASSERT_TRUE(doc.FindElement());
    EXPECT_EQ(doc.GetAttribute(u"z"), u"w");
    ASSERT_TRUE(doc.SetAttribute(u"v", 1));
    EXPECT_EQ(doc.GetDocumentText(), u"<a z=w v=\"1\"/>");
    ASSERT_TRUE(doc.SetAttribute(u"z", 2));
    EXPECT_EQ(doc.GetDocumentText(), u"<a z=\"2\" v=\"1\"/>");
    EXPECT_TRUE(XmlDocument().SetDocumentText(doc.GetDocumentText().c_str()));
}

TEST_F(XmlDocumentEditsAndFilesTest, AddElementOpensEmptyParentsAndWritesCData)
{
    XmlDocument doc;
    ASSERT_TRUE(doc.AddElement(u"root"));
    EXPECT_FALSE(doc.AddElement(u"second")); // one root only
    ASSERT_TRUE(doc.EnterElement());
    ASSERT_TRUE(doc.AddElement(u"text", u"x]]>y", XmlDocument::kCData));
    ASSERT_TRUE(doc.AddElement(u"open", {}, XmlDocument::kNoEndTag));
    EXPECT_EQ(doc.GetDocumentText(),
              u"<root>\n<text><![CDATA[x]]]]><![CDATA[>y]]></text>\n<open>\n</root>");
    ASSERT_TRUE(doc.FindElement() == false && doc.LeaveElement());
    ASSERT_TRUE(doc.EnterElement() && doc.FindElement(u"text"));
    EXPECT_EQ(doc.GetElementText(), u"x]]>y");
    EXPECT_FALSE(doc.AddElement(u"bad name"));
}

TEST_F(XmlDocumentEditsAndFilesTest, EscapingKeepsExistingReferencesOnlyWhenAsked)
{
    EXPECT_EQ(xmlescape::Escape(u"&amp; &x", true, 0), u"&amp;amp; &amp;x");
    EXPECT_EQ(xmlescape::Escape(u"&amp; &#1; &x &;", false, xmlescape::kKeepReferences),
              u"&amp; &#1; &amp;x &amp;;");
    EXPECT_EQ(xmlescape::Escape(u"'\"", false, 0), u"'\"");
    EXPECT_EQ(xmlescape::Escape(u"'\"", true, 0), u"&apos;&quot;");
}

TEST_F(XmlDocumentEditsAndFilesTest, Utf8DecodingReplacesBadSequencesAndStopsAtZero)
{
    const auto decode = [](std::string_view bytes) {
        return xmlutf8::Decode({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()});
    };
    EXPECT_EQ(decode("a\xC3\xA9\xE4\xB8\xAD\xF0\x9F\x98\x80"), u"a\u00E9\u4E2D\U0001F600");
    EXPECT_EQ(decode("\xF8x"), u"?x");       // invalid lead byte
    EXPECT_EQ(decode("\xE4\xB8(z"), u"?(z"); // missing continuation byte
    EXPECT_EQ(decode("a\xC0\x80z"), u"a");   // a decoded 0 ends the text
    EXPECT_EQ(decode(std::string("a\0b", 3)), u"a");
    EXPECT_EQ(decode("ab\xE4\xB8"), u"ab"); // cut off by the end of the data
    EXPECT_EQ(xmlutf8::Encode(u"\u00E9\U0001F600"), "\xC3\xA9\xF0\x9F\x98\x80");
    EXPECT_EQ(xmlutf8::Encode(std::u16string(u"a") + char16_t(0xD83D)), "a?");
}

TEST_F(XmlDocumentEditsAndFilesTest, LoadAndSaveReportByteAndCharacterCounts)
{
    XmlDocument doc;
    EXPECT_TRUE(doc.LoadFile(Write("doc.xml", "<a>\xE4\xB8\xAD\xFF</a>")));
    EXPECT_EQ(doc.GetResult(), u"11 bytes to 9 wide chars");
    ASSERT_TRUE(doc.FindElement());
    EXPECT_EQ(doc.GetElementText(), u"\u4E2D?");

    EXPECT_FALSE(doc.LoadFile(Write("doc.xml", "")));
    EXPECT_EQ(doc.GetResult(), u"0 bytes to 0 wide chars, Empty document");
    EXPECT_FALSE(doc.LoadFile(Write("doc.xml", "<a/><b/>")));
    EXPECT_EQ(doc.GetResult(), u"8 bytes to 8 wide chars, Root element has sibling");

    EXPECT_FALSE(doc.LoadFile(m_root / "missing.xml"));
    EXPECT_EQ(doc.GetResult(), u"No such file or directory");

    ASSERT_TRUE(doc.SetDocumentText(u"<a>\u4E2D\U0001F600</a>"));
    const auto saved = m_root / "saved.xml";
    ASSERT_TRUE(doc.SaveFile(saved));
    EXPECT_EQ(doc.GetResult(), u"10 wide chars to 14 bytes");
    EXPECT_EQ(Read("saved.xml"), "<a>\xE4\xB8\xAD\xF0\x9F\x98\x80</a>"); // no byte-order mark
    EXPECT_FALSE(doc.SaveFile(m_root / "no" / "such" / "folder.xml"));
    EXPECT_EQ(doc.GetResult(), u"No such file or directory");
}

} // namespace
} // namespace md
