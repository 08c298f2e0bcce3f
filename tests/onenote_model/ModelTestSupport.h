#pragma once
// Writing and reading single elements of the model in tests, and checking what they write against
// OneNote's published schema inside the smallest page that may hold them.

#include "framework/xml/XmlDocument.h"
#include "onenote_model/OneNoteModel.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>

namespace ModelTest
{
// The identifier OneNote gives an object that has none yet.
inline const std::wstring ZeroGuid = L"{00000000-0000-0000-0000-000000000000}";

// The element as the writer puts it out, without XML declaration or indentation.
std::wstring Write(const ChildElement& element);

// The same without the namespace declaration, which writers place differently among the
// attributes: what tests compare with their expectations.
std::wstring Written(const ChildElement& element);

// The attributes a group writes, as they stand in a start tag (each with its leading blank).
std::wstring WriteAttributesOf(void (*write)(const void* group, IXmlWriter* writer), const void* group);

// A new X filled from text (a document without declaration whose root is the element).
template <typename X>
std::shared_ptr<X> Read(std::wstring_view text)
{
    auto element = std::make_shared<X>();
    ParseElement(*element, text);
    return element;
}

// Read from text, then written again (without namespace declaration).
template <typename X>
std::wstring RoundTrip(std::wstring_view text)
{
    return Written(*Read<X>(text));
}

// A fixture document: the element with the namespace declaration, attributes and content.
std::wstring Doc(std::wstring_view localName, std::wstring_view attributes = {}, std::wstring_view content = {});

// A table row of a round-trip test: what is read, and what is written back.
struct RoundTripCase
{
    const char* what;
    std::wstring input;
    std::wstring expected;
};

template <typename X>
void ExpectRoundTrips(std::initializer_list<RoundTripCase> cases)
{
    for (const RoundTripCase& c : cases)
        EXPECT_EQ(RoundTrip<X>(c.input), c.expected) << c.what;
}

// Where in a page an element may stand: on the page itself, as the content of a paragraph, or
// among the children of a paragraph before its content.
enum class Place
{
    Page,
    ParagraphContent,
    ParagraphChild,
    // A block of paragraphs directly in an outline.
    OutlineBlock,
    // A paragraph or HTML block among the children of a block.
    BlockChild,
};

// The start tag of a OneNote element with the namespace declaration, as tests write fixtures.
std::wstring Tag(std::wstring_view localName, std::wstring_view attributes = {});

// Success when the element, written on its own, is valid at that place of a minimal page.
testing::AssertionResult IsValidInPage(const ChildElement& element, Place place);

// Success when a page with these attributes on its start tag, holding an outline with these
// attributes on its own, is valid (for the attribute groups of pages and outlines).
testing::AssertionResult IsValidPageWithAttributes(std::wstring_view pageAttributes, std::wstring_view outlineAttributes);

// Success when the element, written as a whole document, is valid (for pages and the elements of
// the hierarchy, which may each be the root of what OneNote hands out).
testing::AssertionResult IsValidDocument(const ChildElement& element);
} // namespace ModelTest

template <typename Group>
std::wstring WriteGroup(const Group& group)
{
    return ModelTest::WriteAttributesOf(
        [](const void* g, IXmlWriter* writer) { static_cast<const Group*>(g)->WriteAttributes(writer); }, &group);
}
