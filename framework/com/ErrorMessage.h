#pragma once
// The text of a COM error as the user sees it and the log records it.

#include <comdef.h>

#include <string>

// OneNote's own text for one of its automation error codes (0x80042000 to 0x80042030), or null.
const wchar_t* FindOneNoteErrorText(HRESULT hr);

// OneNote's codes get their fixed text (after the error's description, when it carries one);
// other codes their description, else the system's message for the code.
std::wstring GetErrorMessage(const _com_error& error);

// OneNote's text for its codes, else "HRESULT: " and the code in hexadecimal.
std::wstring GetErrorMessage(HRESULT hr);

// The system's message for hr without its final line break; for codes the system has no text of,
// "IDispatch error #n" (codes of the IDispatch range) or "Unknown error 0x...".
std::wstring GetSystemErrorMessage(HRESULT hr);
