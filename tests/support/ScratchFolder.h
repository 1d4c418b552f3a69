#pragma once

#include <string>

namespace Tesmo::Tests
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

} // namespace Tesmo::Tests
