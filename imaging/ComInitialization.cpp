#include "imaging/ComInitialization.h"

#include <objbase.h>

namespace Tesmo::Plugin::Imaging
{

ComInitialization::ComInitialization() : result(CoInitialize(nullptr))
{
}

ComInitialization::~ComInitialization()
{
    if (result == S_OK || result == S_FALSE)
    {
        CoUninitialize();
    }
}

} // namespace Tesmo::Plugin::Imaging
