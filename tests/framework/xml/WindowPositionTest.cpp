// The window position element of the settings files.
#include "framework/xml/WindowPosition.h"
#include "tests/framework/xml/XmlTestText.h"

#include <gtest/gtest.h>

TEST(WindowPositionElement, NeverPlacedWindowWritesAnEmptyElement)
{
    const auto position = std::make_shared<WP::WindowPosition>();
    EXPECT_EQ(XmlTestText::Write(*position), L"<?xml version=\"1.0\" encoding=\"utf-16\"?>\r\n<WindowPosition />");
}

TEST(WindowPositionElement, WritesChangedValuesInOrderAndReadsThemBack)
{
    WP::WindowPosition position;
    position.x = -8;
    position.y = 0;
    position.width = 1024;
    position.height = 768;
    position.flags = 2;
    position.showCmd = 3;
    position.maxX = -1;
    const std::wstring text = XmlTestText::Write(position);
    EXPECT_NE(text.find(L"<WindowPosition x=\"-8\" y=\"0\" width=\"1024\" height=\"768\" flags=\"2\" showCmd=\"3\" "
                        L"maxX=\"-1\" />"),
              std::wstring::npos)
        << text;

    WP::WindowPosition read;
    ParseElement(read, text);
    EXPECT_EQ(XmlTestText::Write(read), text);
    EXPECT_EQ(read.minX, 0);
    EXPECT_EQ(read.maxX, -1);
}

TEST(WindowPositionElement, ReadsUnreadableNumbersAsZeroAndSkipsWhatItDoesNotKnow)
{
    WP::WindowPosition position;
    ParseElement(position, L"<WindowPosition x=\"abc\" showCmd=\"2\" extra=\"1\"><Child x=\"5\"/>text</WindowPosition>");
    EXPECT_EQ(position.x, 0);
    EXPECT_EQ(position.y, WP::WindowPosition::NotSet);
    EXPECT_EQ(position.showCmd, 2u);
    EXPECT_TRUE(position.read);
}
