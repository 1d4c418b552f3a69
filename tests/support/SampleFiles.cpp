#include "support/SampleFiles.h"

#include "hosting/AnsiPath.h"
#include "hosting/TiffEncoder.h"
#include "hosting/WicEncoder.h"
#include "support/Animations.h"
#include "support/BitmapFiles.h"
#include "support/EncoderFrames.h"
#include "support/ProfiledFiles.h"

#include <wincodec.h>

using Tesmo::PluginHost::AnsiPath;
using Tesmo::PluginHost::EncodeWithWic;

namespace Tesmo::Tests
{

std::vector<SampleRequest> WriteSampleFiles(const ScratchFolder& folder)
{
    const auto save = [&](const wchar_t* name, const std::string& bytes) {
        return AnsiPath(folder.Write(name, bytes));
    };
    const Picture rgb = PatternPicture(37, 23, 1);
    const Picture rgba = PatternPicture(16, 9, 2, true);
    const std::string bmp = save(L"rgb.bmp", Bmp24(rgb));
    const std::string png = save(L"rgba.png", EncodeWithWic(GUID_ContainerFormatPng, {AsBgra32(rgba)}));
    const std::string gif = save(L"frames.gif", EncodeWithWic(GUID_ContainerFormatGif,
                                                             {AsIndexed8(PatternIndexed(20, 11, 16, 3)),
                                                              AsIndexed8(PatternIndexed(20, 11, 64, 4)),
                                                              AsIndexed8(PatternIndexed(20, 11, 200, 5))}));
    const std::string tiff = save(L"pages.tif", EncodeWithWic(GUID_ContainerFormatTiff,
                                                             {AsBgr24(rgb), AsGray8(PatternPicture(5, 7, 6))}));
    const std::string jpeg = save(L"photo.jpg", EncodeWithWic(GUID_ContainerFormatJpeg, {AsBgr24(GradientPicture(64, 48))}));
    const std::string animation = save(L"animation.gif", PluginHost::EncodeGif(PatchAnimation()));
    const PluginHost::TiffOrientation clockwise{6};
    const PluginHost::TiffOrientation mirrored{2, PluginHost::TiffOrientation::Type::Long};
    const std::string photo = save(L"photo.tif", PluginHost::EncodeTiff({{37, 23, rgb.Rgb(), clockwise},
                                                                        {16, 9, rgba.Rgb(), mirrored}}));

    // Colour through a profile by tables and through the colour engine, alpha over white,
    // and a turn, together.
    PluginHost::TiffPage profiled{16, 9, {}, clockwise};
    profiled.alpha = PluginHost::TiffAlpha::Unassociated;
    profiled.iccProfile = ProfileBytes(PluginHost::MatrixProfile(PluginHost::AdobeRgbSpace()));
    for (const Rgba& pixel : rgba.pixels)
    {
        profiled.samples += {static_cast<char>(pixel.r), static_cast<char>(pixel.g), static_cast<char>(pixel.b),
                             static_cast<char>(pixel.a)};
    }
    const std::string colour = save(L"colour.tif", PluginHost::EncodeTiff({profiled}));
    const std::string cmyk = save(L"cmyk.tif", TiffRow(PluginHost::TiffColour::Cmyk, PluginHost::TiffAlpha::None,
                                                       {0, 0, 0, 0, 255, 0, 0, 0, 0, 0, 0, 128},
                                                       ProfileBytes(PluginHost::NaiveCmykProfile())));

    // Linear light above SDR white, tone mapped, and turned.
    std::vector<float> bright;
    for (const Rgba& pixel : rgb.pixels)
    {
        bright.insert(bright.end(), {pixel.r / 20.0f, pixel.g / 60.0f, pixel.b / 100.0f});
    }
    const std::string hdr = save(L"hdr.tif", FloatTiff(rgb.width, PluginHost::TiffColour::Rgb,
                                                       PluginHost::TiffAlpha::None, bright, clockwise));

    // An animated PNG: a hidden default image, blend over, dispose background and previous.
    const std::string sticker =
        save(L"sticker.png", PluginHost::EncodeApng(LetterAnimation(
                                 3, "KKKKKK", false,
                                 {LetterFrame(0, 0, 3, "RR.GGB"), LetterFrame(1, 0, 2, "Y.", 2, 1),
                                  LetterFrame(0, 1, 2, "CM", 1, 1), LetterFrame(2, 0, 1, "W")})));

    const std::string fullPng = EncodeWithWic(GUID_ContainerFormatPng, {AsBgr24(rgb)});
    return {{bmp, 0, true},  {png, 0, true},  {gif, 0, true},  {gif, 1, true},
            {gif, 2, true},  {tiff, 0, true}, {tiff, 1, true}, {jpeg, 0, true},
            // Frames of an animation composed from different starting frames.
            {animation, 0, true}, {animation, 1, true}, {animation, 2, true}, {animation, 3, true},
            {animation, 4, true},
            // Pages of a photo turned upright as their tags say.
            {photo, 0, true}, {photo, 1, true},
            // Colour, alpha and the turn.
            {colour, 0, true}, {cmyk, 0, true, false}, {hdr, 0, true},
            // Frames of an animated PNG, each drawn from frame 0.
            {sticker, 1, true}, {sticker, 3, true},
            // Requests that fail: a missing file, not an image, a frame past the end, data cut short.
            {AnsiPath(folder / L"missing.png"), 0, false},
            {save(L"text.gif", "not an image"), 0, false},
            {gif, 3, false}, {sticker, 4, false},
            {save(L"cut.png", fullPng.substr(0, fullPng.size() * 2 / 3)), 0, false}};
}

} // namespace Tesmo::Tests
