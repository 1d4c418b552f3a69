// Writes IccProfileFuzz's seed corpus: a profile of every kind the tests' builders write
// (hosting/IccProfileBuilders.h), each curve form, both versions, table-based RGB and CMYK,
// and the damaged ones the tests embed, one file each into the folder named. Beside them in
// the committed corpus lie four table-based profiles of the kinds the builders do not write
// (lut8-*.icc and lut-a-to-b-*.icc: lut8 and lutAToB tables, the latter with parametric,
// gamma and sampled A curves), made by hand once. The corpus
// committed in tests/fuzz/corpus/icc-profile/ was written by it (with the fuzzer's
// findings beside it):
//     build/fuzz/IccProfileSeeds tests/fuzz/corpus/icc-profile

#include "hosting/IccProfileBuilders.h"
#include "SeedFiles.h"

#include <algorithm>
#include <cmath>
#include <random>
#include <string>
#include <utility>
#include <vector>

using namespace Tesmo::PluginHost;

namespace
{

std::string Encode(const IccProfileToEncode& profile)
{
    return EncodeIccProfile(profile);
}

// One tone curve for all three channels of sRGB's colorants.
std::string CurvedSrgb(const IccToneCurve& curve, IccVersion version = IccVersion::V2_1)
{
    return Encode(MatrixProfile("curve", D50Colorants(SrgbSpace()), curve, version));
}

std::vector<std::pair<std::string, std::string>> Seeds()
{
    std::vector<std::pair<std::string, std::string>> seeds;
    const auto add = [&](const std::string& name, std::string bytes) { seeds.emplace_back(name + ".icc", std::move(bytes)); };
    add("srgb-v2", Encode(MatrixProfile(SrgbSpace())));
    add("srgb-v4", Encode(MatrixProfile(SrgbSpace(), IccVersion::V4_3)));
    add("adobe-rgb", Encode(MatrixProfile(AdobeRgbSpace())));
    add("prophoto", Encode(MatrixProfile(ProPhotoSpace())));
    add("display-p3-v4", Encode(MatrixProfile(DisplayP3Space(), IccVersion::V4_3)));
    RgbColorants swapped = D50Colorants(SrgbSpace());
    std::swap(swapped.red, swapped.green);
    add("swapped-red-green", Encode(MatrixProfile("swapped", swapped, IccToneCurve::Srgb())));
    add("linear-rgb", CurvedSrgb(IccToneCurve::Gamma(1.0)));
    add("identity-curve", CurvedSrgb(IccToneCurve::Identity()));
    add("sampled-curve", CurvedSrgb(IccToneCurve::Sampled(1024, [](double x) { return std::pow(x, 2.2); })));
    add("two-point-curve", CurvedSrgb(IccToneCurve::Sampled({0, 65535})));
    add("parametric-0", CurvedSrgb(IccToneCurve::Parametric(0, {2.2}), IccVersion::V4_3));
    add("parametric-1", CurvedSrgb(IccToneCurve::Parametric(1, {2.2, 1.1, -0.1})));
    add("parametric-2", CurvedSrgb(IccToneCurve::Parametric(2, {2.2, 1.1, -0.1, 0.05})));
    add("parametric-4", CurvedSrgb(IccToneCurve::Parametric(4, {2.4, 0.9, 0.05, 0.07, 0.04, 0.01, 0.02})));
    add("linear-grey", Encode(GreyProfile("grey", IccToneCurve::Gamma(1.0))));
    add("srgb-grey", Encode(GreyProfile("grey", IccToneCurve::Srgb(), IccVersion::V4_3)));
    add("table-rgb-17", Encode(TableProfile("table", SrgbLabConversion(), 17)));
    add("table-rgb-3-v4", Encode(TableProfile("table", SrgbLabConversion(), 3, IccSignature("mntr"), IccVersion::V4_3)));
    add("naive-cmyk-9", Encode(NaiveCmykProfile()));
    add("naive-cmyk-3-v4", Encode(NaiveCmykProfile(3, IccVersion::V4_3)));
    add("swapped-inks-cmyk-5", Encode(NaiveCmykProfile(5, IccVersion::V2_1, true)));
    IccProfileToEncode lab = MatrixProfile(SrgbSpace());
    lab.colourSpace = IccSignature("Lab ");
    add("lab-colour-space", Encode(lab));
    IccProfileToEncode link = MatrixProfile(AdobeRgbSpace());
    link.deviceClass = IccSignature("link");
    add("device-link-class", Encode(link));

    add("curve-per-channel", Encode(MatrixProfile("curves", D50Colorants(SrgbSpace()),
                                                  {IccToneCurve::Gamma(1.0), IccToneCurve::Srgb(), IccToneCurve::Gamma(2.0)})));

    // Damaged as the tests damage them, and cut short.
    const std::string linear = CurvedSrgb(IccToneCurve::Gamma(1.0));
    add("damaged-length-past-end", DamagedIccProfile(linear, IccDamage::LengthPastTheEnd));
    add("damaged-tag-outside", DamagedIccProfile(linear, IccDamage::TagOutside));
    add("damaged-tag-end-outside", DamagedIccProfile(linear, IccDamage::TagEndOutside));
    add("damaged-tag-count", DamagedIccProfile(linear, IccDamage::TagCountPastTheTable));
    add("damaged-cut", linear.substr(0, linear.size() / 2));
    std::string sampled = CurvedSrgb(IccToneCurve::Sampled(1024, [](double x) { return x * x; }));
    sampled[sampled.size() - 2051] = '\x7F'; // the last curve's count past its entries
    add("damaged-curve-count", sampled);
    std::mt19937 random(28);
    std::string noise(600, '\0');
    std::generate(noise.begin(), noise.end(), [&] { return static_cast<char>(random()); });
    add("random-bytes", noise);
    return seeds;
}

} // namespace

int main(int argc, char** argv)
{
    return WriteSeedFiles(argc, argv, "IccProfileSeeds", Seeds());
}
