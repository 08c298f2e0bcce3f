#include "framework/ui/dialogs/MessageBoxDataProvider.h"

#include <utility>

namespace
{
// Installed at start-up, before any box is shown, on the UI thread that shows them all.
std::shared_ptr<IMessageBoxDataProvider>& Installed()
{
    static std::shared_ptr<IMessageBoxDataProvider> provider;
    return provider;
}
} // namespace

std::wstring DefaultMessageBoxDataProvider::GetButtonText(int id)
{
    switch (id)
    {
    case 0: return L"&Yes";
    case 1: return L"&No";
    case 2: return L"&OK";
    case 3: return L"&Continue";
    case 4: return L"&Cancel";
    default: return {};
    }
}

void InstallMessageBoxDataProvider(std::shared_ptr<IMessageBoxDataProvider> provider)
{
    Installed() = std::move(provider);
}

IMessageBoxDataProvider& GetMessageBoxDataProvider()
{
    // A box shown before the program installed its provider still gets readable captions.
    static DefaultMessageBoxDataProvider fallback;
    const std::shared_ptr<IMessageBoxDataProvider>& provider = Installed();
    return provider ? *provider : fallback;
}
