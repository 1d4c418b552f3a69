#pragma once

#include "support/DecoderRegistration.h"

#include <windows.h>

#include <string>
#include <vector>

namespace Tesmo::Tests
{

// HKEY_CLASSES_ROOT of this process, redirected to an empty scratch key under
// HKEY_CURRENT_USER for as long as the object lives. The destructor restores the real
// root and deletes the scratch tree, also when the test has failed. Only one may exist at
// a time.
class ScratchClassesRoot
{
public:
    ScratchClassesRoot();
    virtual ~ScratchClassesRoot();
    ScratchClassesRoot(const ScratchClassesRoot&) = delete;
    ScratchClassesRoot& operator=(const ScratchClassesRoot&) = delete;

    // Creates the decoder category's instance list as needed.
    void Register(const DecoderRegistration& decoder) const;

private:
    // Creates the key (and any missing on the way) relative to the redirected root and
    // returns it open; the caller closes it.
    HKEY CreateKey(const std::wstring& keyPath) const;

    std::wstring scratchPath; // under HKEY_CURRENT_USER
    HKEY scratchRoot = nullptr;
    // The keys Register made, deleted by name before the tree: Wine's tree walk asks its
    // server about twice as often per key.
    mutable std::vector<std::wstring> registeredKeys;
};

} // namespace Tesmo::Tests
