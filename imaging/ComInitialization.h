#pragma once

#include <windows.h>

namespace Tesmo::Plugin::Imaging
{

// COM initialised on the calling thread for the lifetime of the object. CoUninitialize
// balances only an initialisation that counted (S_OK or S_FALSE): when the thread
// already belongs to a multithreaded apartment, CoInitialize fails and the thread's
// apartment is left exactly as the host set it up.
class ComInitialization
{
public:
    ComInitialization();
    virtual ~ComInitialization();
    ComInitialization(const ComInitialization&) = delete;
    ComInitialization& operator=(const ComInitialization&) = delete;

    HRESULT Result() const { return result; }

private:
    HRESULT result;
};

} // namespace Tesmo::Plugin::Imaging
