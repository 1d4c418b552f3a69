#include "imaging/ColourEngine.h"

#include <string>

namespace Tesmo::Plugin::Imaging
{

namespace
{

// LCS_sRGB ('sRGB'), which the header spells as a character constant of four characters.
constexpr DWORD srgbColourSpace = 0x73524742;

template <class Function>
bool Find(HMODULE library, const char* name, Function& function)
{
    function = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library, name)));
    return function != nullptr;
}

} // namespace

ColourEngine::ColourEngine(const std::uint8_t* bytes, std::size_t size)
{
    if (!Load() || !Open(bytes, size))
    {
        transform = nullptr;
    }
}

ColourEngine::~ColourEngine()
{
    if (transform != nullptr)
    {
        deleteTransform(transform);
    }
    if (srgb != nullptr)
    {
        closeProfile(srgb);
    }
    if (embedded != nullptr)
    {
        closeProfile(embedded);
    }
    if (library != nullptr)
    {
        FreeLibrary(library);
    }
}

// From the system folder by its full path: a DLL of that name beside the host must not
// be loaded in its place.
bool ColourEngine::Load()
{
    wchar_t folder[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
    {
        return false;
    }
    library = LoadLibraryW((std::wstring(folder, length) + L"\\mscms.dll").c_str());
    return library != nullptr && Find(library, "OpenColorProfileW", openProfile) &&
           Find(library, "CloseColorProfile", closeProfile) &&
           Find(library, "CreateMultiProfileTransform", createTransform) &&
           Find(library, "DeleteColorTransform", deleteTransform) && Find(library, "TranslateColors", translate) &&
           Find(library, "GetStandardColorSpaceProfileW", standardProfile);
}

bool ColourEngine::Open(const std::uint8_t* bytes, std::size_t size)
{
    if (size > MAXDWORD)
    {
        return false;
    }
    PROFILE fromMemory{PROFILE_MEMBUFFER, const_cast<std::uint8_t*>(bytes), static_cast<DWORD>(size)};
    embedded = openProfile(&fromMemory, PROFILE_READ, FILE_SHARE_READ, OPEN_EXISTING);

    wchar_t srgbPath[MAX_PATH] = {};
    DWORD pathBytes = sizeof(srgbPath);
    if (embedded == nullptr || !standardProfile(nullptr, srgbColourSpace, srgbPath, &pathBytes))
    {
        return false;
    }
    srgbPath[MAX_PATH - 1] = L'\0';
    PROFILE fromFile{PROFILE_FILENAME, srgbPath, static_cast<DWORD>((wcslen(srgbPath) + 1) * sizeof(wchar_t))};
    srgb = openProfile(&fromFile, PROFILE_READ, FILE_SHARE_READ, OPEN_EXISTING);
    if (srgb == nullptr)
    {
        return false;
    }
    HPROFILE profiles[] = {embedded, srgb};
    DWORD intent = INTENT_PERCEPTUAL;
    transform = createTransform(profiles, 2, &intent, 1, BEST_MODE, INDEX_DONT_CARE);
    return transform != nullptr;
}

bool ColourEngine::ToSrgb(COLOR* colours, DWORD count, COLORTYPE inputType, COLOR* srgbColours) const
{
    return transform != nullptr && translate(transform, colours, count, inputType, srgbColours, COLOR_RGB);
}

} // namespace Tesmo::Plugin::Imaging
