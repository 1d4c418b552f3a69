// sample-maker: writes the samples the project ships to show what a host gets, into a
// folder: sample.gif, an animation of patches that only composing makes whole;
// orientation.tif, a photo stored in the eight ways a camera can hold it; colour.tif, the
// scene as sRGB and again as ProPhoto RGB with its profile, alike only when converted; and
// transparency.png, the scene with a transparent sky that hides stripes; and hdr.tif, the
// scene in linear light with SDR white at 2.5 and the sun a highlight. Written byte by
// byte by our own encoders, so the files are the same on every run and scripts/test.sh
// can check the committed copies against them. sticker.png is an animated PNG whose
// flying ball only composing shows, over a clear sky, with a grey default image.

#include "ColourSample.h"
#include "HdrSample.h"
#include "OrientedPhotos.h"
#include "SampleAnimation.h"
#include "StickerSample.h"
#include "TransparencySample.h"

#include <cstdio>
#include <string>

using namespace Tesmo;

namespace
{

bool WriteFile(const std::string& path, const std::string& bytes)
{
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr)
    {
        std::fprintf(stderr, "sample-maker: cannot create %s\n", path.c_str());
        return false;
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    if (std::fclose(file) != 0 || !written)
    {
        std::fprintf(stderr, "sample-maker: cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2)
    {
        std::fputs("usage: sample-maker FOLDER    (writes FOLDER/sample.gif, FOLDER/orientation.tif,\n"
                   "                              FOLDER/colour.tif, FOLDER/transparency.png, FOLDER/hdr.tif\n"
                   "                              and FOLDER/sticker.png)\n",
                   stderr);
        return 2;
    }
    const std::string folder = argv[1];
    const bool written =
        WriteFile(folder + "/sample.gif", PluginHost::EncodeGif(SampleMaker::SampleAnimation())) &&
        WriteFile(folder + "/orientation.tif", PluginHost::EncodeTiff(SampleMaker::OrientedPhotos())) &&
        WriteFile(folder + "/colour.tif", PluginHost::EncodeTiff(SampleMaker::ColourPages())) &&
        WriteFile(folder + "/transparency.png", PluginHost::EncodePng(SampleMaker::TransparentSky())) &&
        WriteFile(folder + "/hdr.tif", PluginHost::EncodeTiff({SampleMaker::HdrScene()})) &&
        WriteFile(folder + "/sticker.png", PluginHost::EncodeApng(SampleMaker::StickerSample()));
    return written ? 0 : 1;
}
