#pragma once

#include <objbase.h>

namespace Tesmo::PluginHost
{

// A host thread's own COM apartment, joined with the concurrency model the host chooses
// and left when the object goes, only if joining succeeded. What the plug-in does with
// COM inside a call is its own business; this is the host's side of the boundary.
class ComApartment
{
public:
    explicit ComApartment(DWORD model) : result(CoInitializeEx(nullptr, model)) {}
    virtual ~ComApartment()
    {
        if (SUCCEEDED(result))
        {
            CoUninitialize();
        }
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

    HRESULT Result() const { return result; }

private:
    HRESULT result;
};

} // namespace Tesmo::PluginHost
