#include "hosting/ThrowIfFailed.h"

#include <cstdio>
#include <stdexcept>

namespace Tesmo::PluginHost
{

void ThrowIfFailed(HRESULT result, const char* what)
{
    if (FAILED(result))
    {
        char text[160];
        std::snprintf(text, sizeof text, "%s failed (0x%08lX)", what, static_cast<unsigned long>(result));
        throw std::runtime_error(text);
    }
}

void ThrowIfWin32Failed(LSTATUS error, const char* what)
{
    ThrowIfFailed(HRESULT_FROM_WIN32(error), what);
}

} // namespace Tesmo::PluginHost
