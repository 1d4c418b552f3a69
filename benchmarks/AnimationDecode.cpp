#include "AnimationDecode.h"

#include "AlternatingRuns.h"
#include "Contenders.h"
#include "hosting/AnsiPath.h"

#include <cstdio>
#include <stdexcept>
#include <string>

namespace Tesmo::Benchmarks
{

namespace
{

class AnimationTimer
{
public:
    AnimationTimer(const PluginHost::PluginLibrary& plugin, const AnimationImage& animation, WorkerThread& pluginThread,
                   WorkerThread& bareThread, const PluginHost::BareWicDecoder& bare)
        : plugin(plugin), animation(animation), narrowPath(PluginHost::AnsiPath(animation.path)),
          pluginThread(pluginThread), bareThread(bareThread), bare(bare)
    {
    }

    // Names the animation and what each contender hands over for its last frame. A plug-in
    // that gave less than the screen would be timed doing another job: told to keep WIC's
    // raw frames by a settings file beside it, say.
    void PrintHeading() const
    {
        const unsigned int last = animation.frameCount - 1;
        FrameSize ours, theirs;
        pluginThread.Run([&] { ours = DecodeWithPlugin(plugin, narrowPath, last); });
        bareThread.Run([&] { theirs = DecodeWithBareWic(bare, animation.path, last); });
        if (ours.width != animation.width || ours.height != animation.height)
        {
            throw std::runtime_error("the plug-in did not compose the last frame of an animation on its screen");
        }
        std::printf("  %ls, %u x %u, %.1f KB: frame %u is %u x %u from the plug-in, %u x %u from bare WIC\n",
                    animation.label.c_str(), animation.width, animation.height, animation.fileBytes / 1024.0, last,
                    ours.width, ours.height, theirs.width, theirs.height);
    }

    void TimeFrame(unsigned int frameIndex) const
    {
        TimeAndPrint("frame " + std::to_string(frameIndex), frameIndex, frameIndex + 1);
    }

    // One call per frame, from the first to the last, as a host playing the animation.
    void TimeEveryFrameInTurn() const
    {
        TimeAndPrint("frames 0-" + std::to_string(animation.frameCount - 1) + " in turn", 0, animation.frameCount);
    }

private:
    void TimeAndPrint(const std::string& label, unsigned int firstFrame, unsigned int endFrame) const
    {
        const auto [ours, theirs] = TimeAlternating(
            [&] {
                pluginThread.Run([&] {
                    for (unsigned int frame = firstFrame; frame < endFrame; ++frame)
                    {
                        DecodeWithPlugin(plugin, narrowPath, frame);
                    }
                });
            },
            [&] {
                bareThread.Run([&] {
                    for (unsigned int frame = firstFrame; frame < endFrame; ++frame)
                    {
                        DecodeWithBareWic(bare, animation.path, frame);
                    }
                });
            });
        std::printf("    %-20s %10.3f (%9.3f-%10.3f) %9.3f (%8.3f-%9.3f) %7.2f %11.3f ms\n", label.c_str(),
                    ours.median, ours.minimum, ours.maximum, theirs.median, theirs.minimum, theirs.maximum,
                    ours.median / theirs.median, ours.median - theirs.median);
    }

    const PluginHost::PluginLibrary& plugin;
    const AnimationImage& animation;
    const std::string narrowPath;
    WorkerThread& pluginThread;
    WorkerThread& bareThread;
    const PluginHost::BareWicDecoder& bare;
};

} // namespace

void MeasureAnimationDecode(const PluginHost::PluginLibrary& plugin, const Animations& animations,
                            WorkerThread& pluginThread, WorkerThread& bareThread,
                            const PluginHost::BareWicDecoder& bare)
{
    std::printf("\nAnimation: plug-in composing frame k on the screen, on a thread with no COM; bare WIC\n"
                "handing over frame k's own rectangle, with one reused factory\n");
    std::printf("    %-20s %33s %30s %7s %14s\n", "frames", "plug-in ms (min-max)", "bare ms (min-max)", "ratio",
                "overhead");

    const AnimationTimer delta(plugin, animations.delta, pluginThread, bareThread, bare);
    delta.PrintHeading();
    for (const unsigned int frame : {0u, animations.delta.frameCount / 2, animations.delta.frameCount - 1})
    {
        delta.TimeFrame(frame);
    }
    delta.TimeEveryFrameInTurn();

    const AnimationTimer tiny(plugin, animations.tinyFrames, pluginThread, bareThread, bare);
    tiny.PrintHeading();
    tiny.TimeFrame(animations.tinyFrames.frameCount - 1);
}

} // namespace Tesmo::Benchmarks
