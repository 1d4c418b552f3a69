#include "hosting/FailureReport.h"

#include "hosting/FailureMessages.h"

#include <algorithm>
#include <iterator>

namespace Tesmo::PluginHost
{

namespace
{

// In the order of failureMessages.
constexpr const char* stepsInPlainWords[] = {
    "creating the WIC imaging factory",
    "opening the file: finding a WIC decoder for its contents",
    "counting the frames",
    "fetching the frame",
    "reading the frame size",
    "creating the pixel-format converter",
    "setting up the conversion to 24-bit RGB",
    "copying the pixels as 24-bit RGB",
};
static_assert(std::size(stepsInPlainWords) == std::size(failureMessages));

} // namespace

std::string FailingStep(const std::vector<std::wstring>& messages)
{
    for (const std::wstring& message : messages)
    {
        const auto found = std::find(std::begin(failureMessages), std::end(failureMessages), message);
        if (found != std::end(failureMessages))
        {
            return stepsInPlainWords[found - std::begin(failureMessages)];
        }
    }
    // The plug-in refuses a null path or output pointer without a message.
    return messages.empty() ? "none named: the plug-in sent no message"
                            : "none named: the message is not the plug-in's";
}

std::string OutputsWritten(const ImageDataCall& call)
{
    std::vector<std::string> written;
    const auto add = [&written](const char* name, unsigned int value) {
        if (value != ImageDataCall::unwritten)
        {
            written.push_back(std::string(name) + " " + std::to_string(value));
        }
    };
    add("frameCount", call.frameCount);
    add("width", call.width);
    add("height", call.height);
    if (call.pixels != ImageDataCall::UnwrittenPointer())
    {
        written.push_back(call.pixels == nullptr ? "pixels null" : "pixels (a buffer, freed)");
    }
    add("byteCount", call.byteCount);
    std::string text;
    for (const std::string& output : written)
    {
        text += (text.empty() ? "" : ", ") + output;
    }
    return text.empty() ? "none" : text;
}

} // namespace Tesmo::PluginHost
