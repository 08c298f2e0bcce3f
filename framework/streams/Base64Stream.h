#pragma once
// A stream whose bytes are the decoding of a base64 text held in memory (images carried in XML).

#include "framework/streams/StreamBase.h"

#include <memory>
#include <string>

class Base64Stream : public StreamBase
{
public:
    Base64Stream();
    // Characters outside the base64 alphabet (line breaks, blanks) are left out.
    explicit Base64Stream(const std::wstring& text);
    explicit Base64Stream(const std::shared_ptr<const std::wstring>& text);

    STDMETHODIMP Read(void* buffer, ULONG count, ULONG* read) override;
    STDMETHODIMP Write(const void* buffer, ULONG count, ULONG* written) override;
    STDMETHODIMP Seek(LARGE_INTEGER offset, DWORD origin, ULARGE_INTEGER* newPosition) override;
    STDMETHODIMP Stat(STATSTG* stat, DWORD) override { return StatOfSize(stat, size_); }
    STDMETHODIMP Clone(IStream** clone) override;

    // The base64 text of what the stream holds (written groups never carry "=").
    std::wstring Text() const { return *text_; }

private:
    std::shared_ptr<std::wstring> text_; // shared with clones
    ULONG position_ = 0;
    ULONG size_ = 0; // decoded bytes
};
