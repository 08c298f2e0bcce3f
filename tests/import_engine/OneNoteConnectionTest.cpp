#include "tests/import_engine/EngineTestSupport.h"

namespace EngineTest
{
namespace
{
class OneNoteConnection : public EngineTest
{
};

TEST_F(OneNoteConnection, ConnectsToTheRegisteredOneNote)
{
    ON16::ApplicationPtr application;
    ASSERT_EQ(CreateOneNoteApplication(application), S_OK);
    ASSERT_TRUE(application);
    _bstr_t xml;
    EXPECT_EQ(GetHierarchyWithRetry(*application, L"", ON16::hsNotebooks, xml), S_OK);
}

TEST_F(OneNoteConnection, OneNoteNotInstalledLeavesNoApplication)
{
    ON16::ApplicationPtr application = Application();
    ASSERT_TRUE(application);
    WriteScenario("create 0x80040154\n");
    EXPECT_EQ(CreateOneNoteApplication(application), REGDB_E_CLASSNOTREG);
    EXPECT_FALSE(application);
    EXPECT_TRUE(Calls().empty());
}

TEST_F(OneNoteConnection, OneNoteThatDoesNotStartFailsAtRunning)
{
    WriteScenario("olerun 0x80080005\n");
    ON16::ApplicationPtr application;
    EXPECT_EQ(CreateOneNoteApplication(application), CO_E_SERVER_EXEC_FAILURE);
    EXPECT_FALSE(application);
    EXPECT_TRUE(Calls().empty());
}

TEST_F(OneNoteConnection, ARunFailureIsOnlyOleRuns)
{
    // Creating alone still gives the application, as a server that is slow to come up would.
    WriteScenario("olerun 0x80080005\n");
    IUnknown* created = nullptr;
    ASSERT_EQ(CoCreateInstance(ON16::CLSID_Application, nullptr, CLSCTX_ALL, IID_IUnknown,
                               reinterpret_cast<void**>(&created)),
              S_OK);
    const _com_ptr_t<_com_IIID<IUnknown, &IID_IUnknown>> unknown(created, false);
    EXPECT_EQ(OleRun(unknown), CO_E_SERVER_EXEC_FAILURE);
    ON16::ApplicationPtr application;
    EXPECT_EQ(unknown->QueryInterface(__uuidof(ON16::IApplication), reinterpret_cast<void**>(&application)), S_OK);
    EXPECT_TRUE(application);
}
} // namespace
} // namespace EngineTest
