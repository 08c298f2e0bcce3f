#include "framework/com/ComError.h"
#include "framework/com/Dispatch.h"
#include "framework/log/Log.h"
#include "tests/framework/log/LogReading.h"
#include "tests/support/TestPaths.h"

#include <gtest/gtest.h>

#include <stdexcept>

// A callback interface of the kind OneNote calls late-bound.
struct ITestCallback : IDispatch
{
    virtual HRESULT STDMETHODCALLTYPE Ping(long value) = 0;
};
__CRT_UUID_DECL(ITestCallback, 0x5c3e1a47, 0x2b9d, 0x4e61, 0x8f, 0x0a, 0x7d, 0x2c, 0x9b, 0x4e, 0x6a, 0x13)

namespace
{
class TestCallback : public Dispatch<ITestCallback>
{
public:
    explicit TestCallback(bool* destroyed = nullptr) : destroyed_(destroyed) {}
    ~TestCallback() override
    {
        if (destroyed_)
            *destroyed_ = true;
    }

    STDMETHODIMP Ping(long value) override
    {
        last = value;
        return S_OK;
    }

    long last = 0;
    int registrations = 0;

protected:
    void RegisterMembers() override
    {
        ++registrations;
        RegisterMember(L"Ping", 7, [this](DISPPARAMS* params, VARIANT* result) {
            if (!params || params->cArgs != 1)
                _com_issue_error(DISP_E_BADPARAMCOUNT);
            _variant_t argument(params->rgvarg[0]);
            Ping(static_cast<long>(argument));
            if (result)
            {
                VariantInit(result);
                result->vt = VT_I4;
                result->lVal = last * 2;
            }
        });
        RegisterMember(L"Fail", 8, [](DISPPARAMS*, VARIANT*) { ThrowComError(0x80042005, L"gone"); });
        RegisterMember(L"Throw", 9, [](DISPPARAMS*, VARIANT*) { throw std::runtime_error("broken"); });
    }

private:
    bool* destroyed_;
};

_COM_SMARTPTR_TYPEDEF(ITestCallback, __uuidof(ITestCallback));
_COM_SMARTPTR_TYPEDEF(IUnknown, IID_IUnknown);

class DispatchTest : public testing::Test
{
protected:
    void SetUp() override
    {
        logPath_ = TestPaths::OutputFile(L".log").wstring();
        ASSERT_TRUE(OpenLogFile(logPath_));
    }
    void TearDown() override { CloseLogFile(); }

    std::vector<std::wstring> LogMessages() const
    {
        std::vector<std::wstring> messages;
        for (const auto& line : LogReading::Lines(LogReading::Text(logPath_)))
            messages.push_back(LogReading::Message(line));
        return messages;
    }

    HRESULT InvokeByName(IDispatch* dispatch, const wchar_t* name, DISPPARAMS* params, VARIANT* result)
    {
        LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
        DISPID id = DISPID_UNKNOWN;
        const HRESULT hr = dispatch->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
        if (FAILED(hr))
            return hr;
        return dispatch->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, params, result, nullptr,
                                nullptr);
    }

    std::wstring logPath_;
};
} // namespace

TEST_F(DispatchTest, CountsReferencesAndDiesAtTheLastRelease)
{
    bool destroyed = false;
    const long before = g_liveComObjects;
    auto* object = new TestCallback(&destroyed);
    EXPECT_EQ(g_liveComObjects, before + 1);

    IDispatch* dispatch = nullptr;
    ASSERT_EQ(object->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch)), S_OK);
    EXPECT_EQ(dispatch, static_cast<IDispatch*>(object));
    EXPECT_EQ(object->AddRef(), 3u);
    EXPECT_EQ(object->Release(), 2u);
    EXPECT_EQ(dispatch->Release(), 1u);
    EXPECT_FALSE(destroyed);

    void* unrelated = reinterpret_cast<void*>(1);
    EXPECT_EQ(object->QueryInterface(IID_IStream, &unrelated), E_NOINTERFACE);
    EXPECT_EQ(unrelated, nullptr);

    EXPECT_EQ(object->Release(), 0u);
    EXPECT_TRUE(destroyed);
    EXPECT_EQ(g_liveComObjects, before);
}

TEST_F(DispatchTest, AnswersItsOwnInterfaceAndIUnknownAsTheSameObject)
{
    ITestCallbackPtr callback(new TestCallback, false);
    IUnknownPtr unknown(callback);
    ITestCallbackPtr again(unknown);
    EXPECT_EQ(static_cast<ITestCallback*>(again), static_cast<ITestCallback*>(callback));
    UINT count = 5;
    EXPECT_EQ(callback->GetTypeInfoCount(&count), S_OK);
    EXPECT_EQ(count, 0u);
    ITypeInfo* typeInfo = nullptr;
    EXPECT_EQ(callback->GetTypeInfo(0, 0, &typeInfo), E_NOTIMPL);
}

TEST_F(DispatchTest, CallsAMemberByNameWithItsArgumentsAndLogsTheCall)
{
    ITestCallbackPtr callback(new TestCallback, false);
    _variant_t argument(21L);
    DISPPARAMS params{&argument.GetVARIANT(), nullptr, 1, 0};
    _variant_t result;
    ASSERT_EQ(InvokeByName(callback, L"Ping", &params, &result), S_OK);
    EXPECT_EQ(static_cast<TestCallback*>(static_cast<ITestCallback*>(callback))->last, 21);
    EXPECT_EQ(static_cast<long>(result), 42);

    const auto messages = LogMessages();
    ASSERT_EQ(messages.size(), 3u);
    EXPECT_EQ(messages[0], L"GetIDsOfNames: Ping");
    EXPECT_EQ(messages[1], L"Invoking: Ping");
    EXPECT_EQ(messages[2], L"Success: Ping");
}

TEST_F(DispatchTest, UnknownSecondNameFailsAfterLoggingBothNames)
{
    auto* object = new TestCallback;
    ITestCallbackPtr callback(object, false);
    LPOLESTR names[] = {const_cast<LPOLESTR>(L"Fail"), const_cast<LPOLESTR>(L"Nope")};
    DISPID ids[2] = {-5, -5};
    EXPECT_EQ(callback->GetIDsOfNames(IID_NULL, names, 2, 0, ids), DISP_E_UNKNOWNNAME);
    EXPECT_EQ(ids[0], 8);
    EXPECT_EQ(callback->GetIDsOfNames(IID_NULL, names, 1, 0, ids), S_OK);
    EXPECT_EQ(object->registrations, 1);

    const auto messages = LogMessages();
    ASSERT_EQ(messages.size(), 3u);
    EXPECT_EQ(messages[0], L"GetIDsOfNames: Fail");
    EXPECT_EQ(messages[1], L"GetIDsOfNames: Nope - Unknown dispid!");
}

TEST_F(DispatchTest, MemberRaisingAComErrorReturnsItsCode)
{
    ITestCallbackPtr callback(new TestCallback, false);
    DISPPARAMS none{};
    EXPECT_EQ(InvokeByName(callback, L"Fail", &none, nullptr), static_cast<HRESULT>(0x80042005));
    const auto messages = LogMessages();
    ASSERT_FALSE(messages.empty());
    EXPECT_EQ(messages.back(), L"ERROR: Fail");
}

TEST_F(DispatchTest, MemberThrowingAnythingElseIsNeverReportedAsSuccess)
{
    ITestCallbackPtr callback(new TestCallback, false);
    DISPPARAMS none{};
    EXPECT_EQ(InvokeByName(callback, L"Throw", &none, nullptr), E_FAIL);
    EXPECT_EQ(InvokeByName(callback, L"Ping", &none, nullptr), DISP_E_BADPARAMCOUNT);
    const auto messages = LogMessages();
    ASSERT_GE(messages.size(), 2u);
    EXPECT_EQ(messages[2], L"ERROR: Throw: broken");
    EXPECT_EQ(messages.back(), L"ERROR: Ping");
}

TEST_F(DispatchTest, UnknownDispatchIdIsABadIndex)
{
    ITestCallbackPtr callback(new TestCallback, false);
    DISPPARAMS none{};
    EXPECT_EQ(callback->Invoke(99, IID_NULL, 0, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr),
              DISP_E_BADINDEX);
    const auto messages = LogMessages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], L"Invoking:  - Unknown dispid!");
}

TEST_F(DispatchTest, ClassWithoutMembersAnswersNoName)
{
    struct Empty : Dispatch<ITestCallback>
    {
        STDMETHODIMP Ping(long) override { return S_OK; }
    };
    ITestCallbackPtr callback(new Empty, false);
    LPOLESTR names[] = {const_cast<LPOLESTR>(L"Ping")};
    DISPID id = 0;
    EXPECT_EQ(callback->GetIDsOfNames(IID_NULL, names, 1, 0, &id), DISP_E_UNKNOWNNAME);
    EXPECT_EQ(callback->GetIDsOfNames(IID_NULL, names, 0, 0, &id), S_OK);
}
