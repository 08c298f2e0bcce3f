#pragma once
// What every message box asks of the program: the captions of its buttons and the custom colours
// of the colour dialog. A program installs one provider at start-up; a box may be given another.

#include <windows.h>

#include <memory>
#include <string>

class IMessageBoxDataProvider
{
public:
    virtual ~IMessageBoxDataProvider() = default;
    // The caption of a button id (0 Yes, 1 No, 2 OK, 3 Continue, 4 Cancel).
    virtual std::wstring GetButtonText(int id) = 0;
    // 16 colours that the colour dialog offers as custom colours, or null.
    virtual COLORREF* GetCustomColors() { return nullptr; }
    // The colour dialog returned a colour: the custom colours may have been changed.
    virtual void OnCustomColorsChanged() {}
};

class DefaultMessageBoxDataProvider : public IMessageBoxDataProvider
{
public:
    // "&Yes", "&No", "&OK", "&Continue", "&Cancel"; empty for any other id.
    std::wstring GetButtonText(int id) override;
};

// The provider of every box that is not given its own; replaces the one installed before.
void InstallMessageBoxDataProvider(std::shared_ptr<IMessageBoxDataProvider> provider);
// The installed provider, or a DefaultMessageBoxDataProvider while none is installed.
IMessageBoxDataProvider& GetMessageBoxDataProvider();
