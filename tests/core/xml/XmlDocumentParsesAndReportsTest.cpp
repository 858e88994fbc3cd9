#include "core/xml/XmlDocument.h"

#include <gtest/gtest.h>

namespace md {
namespace {

std::u16string ResultOf(std::u16string_view text)
{
    XmlDocument doc(text);
    return doc.GetResult();
}

TEST(XmlDocumentParsesAndReportsTest, WellFormedDocumentsAreNavigatedByName)
{
    XmlDocument doc;
    ASSERT_TRUE(doc.SetDocumentText(u"<?xml version=\"1.0\"?>\n<!DOCTYPE main [<!ENTITY x \">\">]>"
                                    u"<!-- lib --><main><chip name=\"Scan\"><item/></chip>"
                                    u"<chip name='a&amp;b'><item>1</item><item>2</item></chip>"
                                    u"</main>"));
    EXPECT_EQ(doc.GetResult(), u"");
    EXPECT_FALSE(doc.FindElement(u"chip")); // only the root is at the top level
    ASSERT_TRUE(doc.FindElement(u"main"));
    EXPECT_FALSE(doc.LeaveElement());
    ASSERT_TRUE(doc.EnterElement());
    ASSERT_TRUE(doc.FindElement(u"chip"));
    EXPECT_EQ(doc.GetAttribute(u"name"), u"Scan");
    ASSERT_TRUE(doc.FindElement(u"chip"));
    EXPECT_EQ(doc.GetAttribute(u"name"), u"a&b");
    EXPECT_EQ(doc.GetAttribute(u"missing"), u"");
    EXPECT_FALSE(doc.FindElement(u"chip"));
    EXPECT_EQ(doc.GetAttribute(u"name"), u"a&b"); // a failed search keeps the position
    ASSERT_TRUE(doc.EnterElement());
    ASSERT_TRUE(doc.FindElement());
    ASSERT_TRUE(doc.FindElement());
    EXPECT_EQ(doc.GetElementText(), u"2");
    EXPECT_FALSE(doc.FindElement());
    ASSERT_TRUE(doc.LeaveElement());
    EXPECT_EQ(doc.GetTagName(), u"chip");
    ASSERT_TRUE(doc.LeaveElement());
    EXPECT_EQ(doc.GetTagName(), u"main");
    EXPECT_FALSE(doc.LeaveElement());
}

TEST(XmlDocumentParsesAndReportsTest, StructureMessagesNameTagsAndOffsets)
{
    EXPECT_EQ(ResultOf(u"<a><b></c></a>"),
              u"End tag 'c' at offset 6 does not match start tag 'b' at offset 3, "
              u"End tag 'a' at offset 10 does not match start tag 'b' at offset 3");
    EXPECT_EQ(ResultOf(u"<a></a></b>"), u"No start tag for end tag 'b' at offset 7");
    EXPECT_EQ(ResultOf(u"<a><b>"),
              u"Element 'b' at offset 3 not ended, Element 'a' at offset 0 not ended");
    EXPECT_EQ(ResultOf(u"<a/><b/>"), u"Root element has sibling");
    EXPECT_EQ(ResultOf(u"<!-- only -->"), u"No root element");
    EXPECT_EQ(ResultOf(u""), u"Empty document");
    // An end tag naming an outer element closes the inner one unended.
    XmlDocument doc(u"<a><b><c/></a>");
    EXPECT_EQ(doc.GetResult(),
              u"End tag 'a' at offset 10 does not match start tag 'b' at offset 3");
}

TEST(XmlDocumentParsesAndReportsTest, LexicalMessagesAndWellFormedness)
{
    EXPECT_EQ(ResultOf(u"<a>< </a>"), u"Incorrect tag name character at offset 3");
    EXPECT_EQ(ResultOf(u"<a><! x></a>"), u"Incorrect ! tag at offset 3");
    EXPECT_EQ(ResultOf(u"<a><!-x></a>"), u"Incorrect comment tag at offset 3");
    EXPECT_EQ(ResultOf(u"<a></></a>"), u"Incorrect tag at offset 3");
    EXPECT_EQ(ResultOf(u"<a><!-- x</a>"), u"Comment at offset 3 unterminated, "
                                          u"Element 'a' at offset 0 not ended");
    EXPECT_EQ(ResultOf(u"<a><![CDATA[x</a>"), u"CDATA Section at offset 3 unterminated, "
                                              u"Element 'a' at offset 0 not ended");
    EXPECT_EQ(ResultOf(u"<?xml <a/>"), u"Processing instruction at offset 0 unterminated, "
                                       u"No root element");
    EXPECT_EQ(ResultOf(u"<!DOCTYPE a [ > <a/>"), u"Doctype at offset 0 unterminated, "
                                                 u"No root element");
    EXPECT_EQ(ResultOf(u"<a x='>"), u"Element tag at offset 0 unterminated");
    EXPECT_EQ(ResultOf(u"<a></a"), u"Element end tag at offset 3 unterminated, "
                                   u"Element 'a' at offset 0 not ended");
    EXPECT_EQ(ResultOf(u"<a/><"), u"tag at offset 4 unterminated");

    XmlDocument doc;
    EXPECT_FALSE(doc.SetDocumentText(u"<a>< </a>"));
    EXPECT_FALSE(doc.SetDocumentText(u"<a/><b/>"));
    EXPECT_FALSE(doc.SetDocumentText(nullptr));
    EXPECT_EQ(doc.GetResult(), u"Empty document");
    EXPECT_TRUE(doc.SetDocumentText(u"  <a x=\">\"/>  "));
    EXPECT_EQ(doc.GetResult(), u"");
}

TEST(XmlDocumentParsesAndReportsTest, FaultyDocumentsStayNavigable)
{
    XmlDocument doc(u"<main><chip><item>7</item><item>8</main>");
    EXPECT_NE(doc.GetResult(), u"");
    ASSERT_TRUE(doc.FindElement(u"main"));
    ASSERT_TRUE(doc.EnterElement());
    ASSERT_TRUE(doc.FindElement(u"chip"));
    ASSERT_TRUE(doc.EnterElement());
    ASSERT_TRUE(doc.FindElement(u"item"));
    EXPECT_EQ(doc.GetElementText(), u"7");
    EXPECT_TRUE(doc.FindElement(u"item"));
}

TEST(XmlDocumentParsesAndReportsTest, ElementTextJoinsCDataAndResolvesReferences)
{
    XmlDocument doc(u"<r><a>x<![CDATA[<&amp;]]><!-- no -->y&lt;<![CDATA[]]></a><b/>"
                    u"<c>&#65;&#x42;&#0;&#99999999;&bogus;&amp &<d/></c>"
                    u"<e>&am<![CDATA[p;]]></e><f>&#9;&#x1F600;</f><g><!x></g></r>");
    ASSERT_TRUE(doc.FindElement(u"r") && doc.EnterElement());
    ASSERT_TRUE(doc.FindElement(u"a"));
    EXPECT_EQ(doc.GetElementText(), u"x<&amp;y<");
    ASSERT_TRUE(doc.FindElement(u"b"));
    EXPECT_EQ(doc.GetElementText(), u"");
    ASSERT_TRUE(doc.FindElement(u"c")); // has a child element: no text
    EXPECT_EQ(doc.GetElementText(), u"");
    ASSERT_TRUE(doc.FindElement(u"e")); // a reference split by CDATA is not one
    EXPECT_EQ(doc.GetElementText(), u"&amp;");
    ASSERT_TRUE(doc.FindElement(u"f"));
    EXPECT_EQ(doc.GetElementText(), u"\t&#x1F600;"); // the ';' lies beyond seven characters

    ASSERT_TRUE(doc.FindElement(u"g")); // "<!" and a keyword is a DOCTYPE, no text
    EXPECT_EQ(doc.GetElementText(), u"");

    XmlDocument refs(u"<c>&#65;&#x42;&#0;&#99999999;&bogus;&amp &</c>");
    ASSERT_TRUE(refs.FindElement());
    EXPECT_EQ(refs.GetElementText(), u"AB&#0;&#99999999;&bogus;&amp &");
}

} // namespace
} // namespace md
