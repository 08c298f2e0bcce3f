#pragma once
// Tests against the OneNote stand-in's demo store that import into its first section: its ID, its
// name and the OneNote link that leads to it, as the picker would hand them over.

#include "tests/standins/StandInFixture.h"

#include <string>

class DemoSectionTest : public StandInTest::StandInTest
{
protected:
    void SetUp() override
    {
        StandInTest::SetUp();
        auto application = Connect();
        sectionId_ = FirstId(Hierarchy(application, L"", ON16::hsSections), L"Section");
        sectionName_ = AttributeOf(Hierarchy(application, sectionId_, ON16::hsSelf), L"Section", L"name");
        BSTR link = nullptr;
        EXPECT_EQ(S_OK, application->GetHyperlinkToObject(_bstr_t(sectionId_.c_str()), _bstr_t(L""), &link));
        sectionLink_ = link ? link : L"";
        SysFreeString(link);
    }

    std::wstring sectionId_;
    std::wstring sectionName_;
    std::wstring sectionLink_;
};
