#pragma once

#include "hosting/ComApartment.h"
#include "hosting/ImageDataCall.h"
#include "support/BareWicBytes.h"
#include "support/Animations.h"
#include "support/CaseNames.h"
#include "support/FailureMessages.h"
#include "support/PixelsMatch.h"
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

// Every frame of an animation (file, written as name) against its expected picture in
// colour letters (support/Animations.h), rows of width, with the settings file when not
// null: each call succeeds without a message, counts the frames listed, and has the
// picture's size and pixels; the index past them fails at the frame step.
inline void ExpectLetterFrames(const wchar_t* name, const std::string& file, unsigned int width,
                               const std::vector<const char*>& frames, const wchar_t* settings)
{
    const ScratchFolder folder;
    const std::string path = PluginHost::AnsiPath(folder.Write(name, file));
    PluginCopy plugin;
    if (settings != nullptr)
    {
        plugin.WriteSettings(settings);
    }
    for (unsigned int frame = 0; frame < frames.size(); ++frame)
    {
        const PluginHost::ImageDataCall call(plugin.Load(), path, frame);
        ASSERT_EQ(call.result, 0) << "frame " << frame;
        EXPECT_TRUE(call.messages.empty()) << "frame " << frame;
        EXPECT_EQ(call.frameCount, frames.size());
        EXPECT_EQ(call.width, width) << "frame " << frame;
        EXPECT_TRUE(PixelsMatch(call.Bytes(), Letters(width, frames[frame]))) << "frame " << frame;
    }
    const PluginHost::ImageDataCall past(plugin.Load(), path, static_cast<unsigned int>(frames.size()));
    EXPECT_EQ(past.result, -1);
    EXPECT_EQ(past.messages, std::vector<std::wstring>{frameFailed});
}

} // namespace Tesmo::Tests
