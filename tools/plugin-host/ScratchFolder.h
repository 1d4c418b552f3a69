#pragma once

#include <string>

namespace Tesmo::PluginHost
{

// A fresh, empty folder under the temporary directory, removed with all it holds when
// the object goes.
class ScratchFolder
{
public:
    ScratchFolder();
    virtual ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::wstring& Path() const { return path; }
    std::wstring operator/(const std::wstring& name) const { return path + L"\\" + name; }
    // Writes a file of exactly these bytes in the folder and returns its path.
    std::wstring Write(const std::wstring& name, const std::string& bytes) const;

private:
    std::wstring path;
};

void WriteFileBytes(const std::wstring& path, const std::string& bytes);
// The UTF-16LE bytes of text, without a byte-order mark or terminator.
std::string Utf16Bytes(const std::wstring& text);
// Writes UTF-16LE text with a byte-order mark, as the profile reader takes it.
void WriteUtf16File(const std::wstring& path, const std::wstring& text);
std::wstring FolderOfThisProgram();

} // namespace Tesmo::PluginHost
