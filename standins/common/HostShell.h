#pragma once
// The Linux side's own tools run from inside Wine through the host's /bin/sh: the Windows Runtime
// stand-in hands its PDF work to poppler this way, and the tests their schema checks to libxml2.

#include <string>

namespace HostShell
{
struct Result
{
    int exitCode = -1;
    std::string output; // standard output and standard error, as the command wrote them
};

// The Unix path of a Windows path (any drive Wine maps); empty when Wine cannot map it.
std::string UnixPath(const std::wstring& windowsPath);

// The text single-quoted for the shell.
std::string Quoted(const std::string& text);

// Runs the command line with /bin/sh and waits until it has ended. Wine hands a Unix program's
// exit code not back, so the shell writes it to a file beside the output.
Result Run(const std::string& command);
} // namespace HostShell
