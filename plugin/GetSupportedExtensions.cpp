#include "plugin/WicImagePlugin.h"

#include "text/TextConversion.h"
#include "utilities/ConfigFile.h"
#include "utilities/DecoderInfo.h"
#include "utilities/Wic.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

using Tesmo::Plugin::Text::ToLowerAscii;
using Tesmo::Plugin::Text::ToNarrow;
using Tesmo::Plugin::Text::ToWide;
using Tesmo::Plugin::Utilities::ConfigFile;
using Tesmo::Plugin::Utilities::DecoderInfo;
using Tesmo::Plugin::Utilities::Wic;

namespace
{

// Every decoder's list behind a comma of its own: the built-in list first, then the
// registry's decoders, then those only WIC's enumerator reports.
std::wstring AllRegisteredExtensions()
{
    Wic wic;
    wic.EnumerateDecoders();
    wic.AddEnumeratedDecoders();
    std::wstring all;
    DecoderInfo decoder;
    for (std::size_t index = 0; wic.CopyDecoder(index, decoder); ++index)
    {
        all += L",";
        all += decoder.fileExtensions;
    }
    return all;
}

// Every comma ends a token, so empty tokens come out like any other; text after the last
// comma is a token only when there is some.
std::vector<std::string> SplitAtCommas(const std::string& text)
{
    std::vector<std::string> tokens;
    std::string::size_type start = 0;
    for (std::string::size_type comma = text.find(','); comma != std::string::npos; comma = text.find(',', start))
    {
        tokens.push_back(text.substr(start, comma - start));
        start = comma + 1;
    }
    if (start < text.size())
    {
        tokens.push_back(text.substr(start));
    }
    return tokens;
}

// The extension without its dot, or nothing when the token is not one. Tokens are not
// trimmed: a blank before the dot disqualifies it, a blank after it stays part of it.
std::optional<std::wstring> ExtensionOf(const std::string& token)
{
    // Widening reads up to the first NUL, so a registry unit with a zero low byte ends
    // the extension there.
    const std::wstring lowered = ToWide(ToLowerAscii(token).c_str());
    if (lowered.size() < 2 || lowered.front() != L'.')
    {
        return std::nullopt;
    }
    return lowered.substr(1);
}

// Sorted by UTF-16 unit, repeats removed.
std::vector<std::wstring> IncludedExtensions(const std::wstring& registered, const ConfigFile& config)
{
    // Narrowed before splitting: a unit whose low byte is a comma separates tokens too.
    std::vector<std::wstring> extensions;
    for (const std::string& token : SplitAtCommas(ToNarrow(registered)))
    {
        const std::optional<std::wstring> extension = ExtensionOf(token);
        if (extension && !config.IsExtensionExcluded(*extension))
        {
            extensions.push_back(*extension);
        }
    }
    std::sort(extensions.begin(), extensions.end());
    extensions.erase(std::unique(extensions.begin(), extensions.end()), extensions.end());
    return extensions;
}

std::string JoinWithCommas(const std::vector<std::wstring>& extensions)
{
    std::string joined;
    for (std::size_t index = 0; index < extensions.size(); ++index)
    {
        if (index > 0)
        {
            joined += ',';
        }
        joined += ToNarrow(extensions[index]);
    }
    return joined;
}

// The host frees the list with the runtime's free, so it must come from the same
// runtime's malloc.
char* CopyForHost(const std::string& text)
{
    const std::size_t bytes = text.size() + 1;
    char* buffer = static_cast<char*>(std::malloc(bytes));
    if (buffer != nullptr)
    {
        std::memset(buffer, 0, bytes);
        std::memcpy(buffer, text.data(), text.size());
    }
    return buffer;
}

} // namespace

extern "C" char* __cdecl GetSupportedExtensions()
{
    try
    {
        const std::wstring registered = AllRegisteredExtensions();
        const ConfigFile config;
        return CopyForHost(JoinWithCommas(IncludedExtensions(registered, config)));
    }
    catch (...)
    {
        // Out of memory for the module's own strings; nothing may reach the host.
        return nullptr;
    }
}
