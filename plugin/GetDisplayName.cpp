#include "plugin/WicImagePlugin.h"

#include "text/TextConversion.h"
#include "utilities/ConfigFile.h"

#include <cstdio>
#include <string>

using Tesmo::Plugin::Text::ToNarrow;
using Tesmo::Plugin::Utilities::ConfigFile;

extern "C" int __cdecl GetDisplayName(char* buffer, unsigned int bufferSize)
{
    if (buffer == nullptr)
    {
        return -1;
    }

    try
    {
        const ConfigFile config;
        std::wstring name;
        if (!config.ReadDisplayName(name) || name.size() >= bufferSize)
        {
            return -1;
        }
        // A unit whose low byte is zero ends the narrowed text there.
        const std::string narrowName = ToNarrow(name);
        sprintf_s(buffer, bufferSize, "%s", narrowName.c_str());
        return 0;
    }
    catch (...)
    {
        // Out of memory for the module's own strings; nothing may reach the host.
        return -1;
    }
}
