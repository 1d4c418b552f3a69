#pragma once

#include "hosting/ComApartment.h"
#include "hosting/ImageDataCall.h"
#include "support/BareWicBytes.h"
#include "support/CaseNames.h"
#include "support/PluginCopy.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace Tesmo::Tests
{

// A file the test writes byte by byte, the settings file beside the plug-in, and each
// frame's expected picture as the literal R, G, B bytes a viewer shows, worked out
// independently of the code under test (an empty frame: bare WIC's own bytes, the stored
// picture).
struct ViewerCase : NamedCase
{
    std::string (*file)();
    std::vector<std::vector<int>> frames;
    const wchar_t* settings = nullptr; // none when null
    int tolerance = 0;                 // largest difference allowed per byte
};

inline void ExpectViewerFrames(const ViewerCase& testCase)
{
    const ScratchFolder folder;
    const std::wstring path = folder.Write(L"picture.img", testCase.file());
    PluginCopy plugin;
    if (testCase.settings != nullptr)
    {
        plugin.WriteSettings(testCase.settings);
    }
    const PluginHost::ComApartment com(COINIT_APARTMENTTHREADED); // bare WIC's, on this thread
    for (unsigned int index = 0; index < testCase.frames.size(); ++index)
    {
        const PluginHost::ImageDataCall call(plugin.Load(), PluginHost::AnsiPath(path), index);
        ASSERT_EQ(call.result, 0) << "frame " << index;
        EXPECT_TRUE(call.messages.empty()) << "frame " << index;
        const std::string bytes = call.Bytes();
        const std::vector<int>& expected = testCase.frames[index];
        if (expected.empty())
        {
            EXPECT_EQ(bytes, BareWicBytes(path, index)) << "frame " << index;
            continue;
        }
        ASSERT_EQ(bytes.size(), expected.size()) << "frame " << index;
        for (std::size_t at = 0; at < expected.size(); ++at)
        {
            EXPECT_NEAR(static_cast<unsigned char>(bytes[at]), expected[at], testCase.tolerance)
                << "frame " << index << " pixel " << at / 3 << " channel " << "RGB"[at % 3];
        }
    }
}

} // namespace Tesmo::Tests
