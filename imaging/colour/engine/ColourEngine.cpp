#include "imaging/colour/engine/ColourEngine.h"

#include <string>
#include <vector>

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

// Larger than any profile of sRGB.
constexpr LONGLONG largestStandardProfile = 1 << 20;

bool ReadProfileFile(const wchar_t* path, std::vector<std::uint8_t>& bytes)
{
    const HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                    nullptr);
    if (file == INVALID_HANDLE_VALUE)
    {
        return false;
    }
    LARGE_INTEGER size{};
    DWORD read = 0;
    bool whole = GetFileSizeEx(file, &size) && size.QuadPart > 0 && size.QuadPart <= largestStandardProfile;
    if (whole)
    {
        bytes.resize(static_cast<std::size_t>(size.QuadPart));
        whole = ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) && read == bytes.size();
    }
    CloseHandle(file);
    return whole;
}

} // namespace

ColourEngine::ColourEngine(const std::uint8_t* bytes, std::size_t size, std::vector<std::uint8_t> target)
    : targetBytes(std::move(target))
{
    // Ready() tells: the transform is made last, only when everything before it was.
    if (Load())
    {
        Open(bytes, size);
    }
}

ColourEngine::~ColourEngine()
{
    if (transform != nullptr)
    {
        deleteTransform(transform);
    }
    if (target != nullptr)
    {
        closeProfile(target);
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
    if (embedded == nullptr)
    {
        return false;
    }
    if (targetBytes.empty())
    {
        wchar_t srgbPath[MAX_PATH] = {};
        DWORD pathBytes = sizeof(srgbPath);
        if (!standardProfile(nullptr, srgbColourSpace, srgbPath, &pathBytes))
        {
            return false;
        }
        srgbPath[MAX_PATH - 1] = L'\0';
        // Read here and handed over from memory: Wine's engine keeps a handle of every
        // profile it opens by name past its closing.
        if (!ReadProfileFile(srgbPath, targetBytes))
        {
            return false;
        }
    }
    PROFILE fromTarget{PROFILE_MEMBUFFER, targetBytes.data(), static_cast<DWORD>(targetBytes.size())};
    target = openProfile(&fromTarget, PROFILE_READ, FILE_SHARE_READ, OPEN_EXISTING);
    if (target == nullptr)
    {
        return false;
    }
    HPROFILE profiles[] = {embedded, target};
    DWORD intent = INTENT_PERCEPTUAL;
    transform = createTransform(profiles, 2, &intent, 1, BEST_MODE, INDEX_DONT_CARE);
    return transform != nullptr;
}

bool ColourEngine::Convert(COLOR* colours, DWORD count, COLORTYPE inputType, COLOR* converted) const
{
    return transform != nullptr && translate(transform, colours, count, inputType, converted, COLOR_RGB);
}

} // namespace Tesmo::Plugin::Imaging
