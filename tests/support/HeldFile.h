#pragma once
// A file that another program holds open for reading, as a backup, a virus scanner or a
// synchronisation does: a process of its own (file_holder.exe of the build), which the owner starts
// and ends.

#include "framework/Owners.h"

#include <windows.h>

#include <chrono>
#include <filesystem>

namespace Harness
{
class HeldFile
{
public:
    enum class Sharing
    {
        None, // no other program may open the file
        Read, // others may read it, but not write, replace or remove it
    };

    // Holds file once this returns; letGoAfter is how long the holder keeps it after LetGo. Throws
    // when the holder cannot be started or cannot open the file.
    HeldFile(const std::filesystem::path& file, Sharing sharing,
             std::chrono::milliseconds letGoAfter = std::chrono::milliseconds(0));
    // Lets go of the file and waits for the holder to end; ends it when it does not.
    ~HeldFile();
    HeldFile(const HeldFile&) = delete;
    HeldFile& operator=(const HeldFile&) = delete;

    // Tells the holder to let go letGoAfter from now; returns at once.
    void LetGo();
    // Whether the holder has let go (and ended) within timeout.
    bool WaitUntilLetGo(std::chrono::milliseconds timeout = std::chrono::seconds(10)) const;

private:
    Owners::KernelHandle ready_;
    Owners::KernelHandle letGo_;
    Owners::KernelHandle process_;
};
} // namespace Harness
