#pragma once
// The PDF work is done by the Linux side's own PDF tools (poppler's pdfinfo and pdftoppm), run
// through the host's shell from inside Wine.

#include <string>

namespace WinRtStandIn
{
struct HostResult
{
    int exitCode = -1;
    std::string output; // standard output and error together
};

// The Unix path of a Windows path (any drive Wine maps); empty when Wine cannot map it.
std::string UnixPath(const std::wstring& windowsPath);

// The text single-quoted for the shell.
std::string ShellQuoted(const std::string& text);

// Runs the command with /bin/sh and waits for it.
HostResult RunHostCommand(const std::string& command);
} // namespace WinRtStandIn
