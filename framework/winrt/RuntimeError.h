#pragma once
// A failure reported by the Windows Runtime, as an exception that carries its HRESULT.

#include <windows.h>

#include <stdexcept>

namespace WinRt
{
class RuntimeError : public std::runtime_error
{
public:
    explicit RuntimeError(HRESULT code) : std::runtime_error("Windows Runtime failure"), code_(code) {}
    HRESULT code() const noexcept { return code_; }

private:
    HRESULT code_;
};

// Raises a RuntimeError for a failed HRESULT; does nothing on success.
inline void ThrowIfRuntimeFailed(HRESULT hr)
{
    if (FAILED(hr))
        throw RuntimeError(hr);
}
} // namespace WinRt
