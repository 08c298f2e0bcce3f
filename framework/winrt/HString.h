#pragma once
// An owner of a Windows Runtime string (HSTRING), and the text of one.

#include <windows.h>
#include <hstring.h>
#include <winstring.h>

#include <string>
#include <utility>

namespace WinRt
{
class HString
{
public:
    HString() noexcept = default;
    // A copy of text; raises a _com_error when the string cannot be made.
    explicit HString(const std::wstring& text);
    HString(const HString&) = delete;
    HString& operator=(const HString&) = delete;
    HString(HString&& other) noexcept : value_(std::exchange(other.value_, nullptr)) {}
    HString& operator=(HString&& other) noexcept
    {
        reset(std::exchange(other.value_, nullptr));
        return *this;
    }
    ~HString() { reset(); }

    HSTRING get() const noexcept { return value_; }
    // For calls that hand out a string through an out-parameter; frees what was held.
    HSTRING* put() noexcept
    {
        reset();
        return &value_;
    }
    void reset(HSTRING value = nullptr) noexcept;
    std::wstring Text() const { return TextOf(value_); }

    // The characters of a string that someone else owns (null is the empty string).
    static std::wstring TextOf(HSTRING value);

private:
    HSTRING value_ = nullptr;
};
} // namespace WinRt
