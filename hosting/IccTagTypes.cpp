#include "hosting/IccTagTypes.h"

#include "hosting/BigEndian.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace Tesmo::PluginHost
{

namespace
{

std::string TypeStart(const char (&signature)[5])
{
    std::string out;
    BigEndian::Put32(out, IccSignature(signature));
    BigEndian::Put32(out, 0); // reserved
    return out;
}

void PutS15Fixed16(std::string& out, double value)
{
    BigEndian::Put32(out, static_cast<std::uint32_t>(static_cast<std::int32_t>(std::lround(value * 65536.0))));
}

std::uint16_t ToU16(double fraction)
{
    return static_cast<std::uint16_t>(std::lround(std::clamp(fraction, 0.0, 1.0) * 65535.0));
}

// How many parameters each of the 'para' functions takes.
constexpr std::array<std::size_t, 5> parametricCounts{1, 3, 4, 5, 7};

} // namespace

IccToneCurve IccToneCurve::Identity()
{
    return {};
}

IccToneCurve IccToneCurve::Gamma(double gamma)
{
    return {Kind::Gamma, gamma, {}, 0, {}};
}

IccToneCurve IccToneCurve::Sampled(std::vector<std::uint16_t> samples)
{
    return {Kind::Sampled, 1.0, std::move(samples), 0, {}};
}

IccToneCurve IccToneCurve::Sampled(unsigned int count, const std::function<double(double)>& curve)
{
    std::vector<std::uint16_t> samples;
    for (unsigned int at = 0; at < count; ++at)
    {
        samples.push_back(ToU16(curve(count > 1 ? at / double(count - 1) : 0.0)));
    }
    return Sampled(std::move(samples));
}

IccToneCurve IccToneCurve::Parametric(unsigned int function, std::vector<double> parameters)
{
    if (function >= parametricCounts.size() || parameters.size() != parametricCounts[function])
    {
        throw std::invalid_argument("a parametric curve is type 0 to 4 with 1, 3, 4, 5 or 7 parameters");
    }
    return {Kind::Parametric, 1.0, {}, function, std::move(parameters)};
}

IccToneCurve IccToneCurve::Srgb()
{
    return Parametric(3, {2.4, 1.0 / 1.055, 0.055 / 1.055, 1.0 / 12.92, 0.04045});
}

std::string IccXyzType(const Xyz& xyz)
{
    std::string out = TypeStart("XYZ ");
    for (const double value : {xyz.x, xyz.y, xyz.z})
    {
        PutS15Fixed16(out, value);
    }
    return out;
}

std::string IccCurveType(const IccToneCurve& curve)
{
    if (curve.kind == IccToneCurve::Kind::Parametric)
    {
        std::string out = TypeStart("para");
        BigEndian::Put16(out, curve.function);
        BigEndian::Put16(out, 0); // reserved
        for (const double parameter : curve.parameters)
        {
            PutS15Fixed16(out, parameter);
        }
        return out;
    }
    std::string out = TypeStart("curv");
    switch (curve.kind)
    {
    case IccToneCurve::Kind::Gamma:
        BigEndian::Put32(out, 1);
        BigEndian::Put16(out, static_cast<unsigned int>(std::lround(curve.gamma * 256.0)) & 0xFFFF); // u8Fixed8
        break;
    case IccToneCurve::Kind::Sampled:
        BigEndian::Put32(out, static_cast<std::uint32_t>(curve.samples.size()));
        for (const std::uint16_t sample : curve.samples)
        {
            BigEndian::Put16(out, sample);
        }
        break;
    default:
        BigEndian::Put32(out, 0);
        break;
    }
    return out;
}

std::string IccMatrixType(const Matrix3& matrix)
{
    std::string out = TypeStart("sf32");
    for (const auto& row : matrix)
    {
        for (const double value : row)
        {
            PutS15Fixed16(out, value);
        }
    }
    return out;
}

std::string IccTextType(const std::string& text, IccVersion version)
{
    if (version == IccVersion::V2_1)
    {
        return TypeStart("text") + text + '\0';
    }
    std::string out = TypeStart("mluc");
    BigEndian::Put32(out, 1);  // one record
    BigEndian::Put32(out, 12); // of 12 bytes
    out += "enUS";
    BigEndian::Put32(out, static_cast<std::uint32_t>(text.size() * 2));
    BigEndian::Put32(out, 28); // the string follows the record
    for (const char c : text)
    {
        BigEndian::Put16(out, static_cast<unsigned char>(c)); // UTF-16BE, ASCII only
    }
    return out;
}

std::string IccDescriptionType(const std::string& text, IccVersion version)
{
    if (version != IccVersion::V2_1)
    {
        return IccTextType(text, version);
    }
    std::string out = TypeStart("desc");
    BigEndian::Put32(out, static_cast<std::uint32_t>(text.size() + 1));
    out += text + '\0';
    BigEndian::Put32(out, 0); // no Unicode language
    BigEndian::Put32(out, 0); // nor Unicode text
    BigEndian::Put16(out, 0); // no ScriptCode code
    out += '\0';              // nor ScriptCode text,
    out.append(67, '\0');     // whose 67 bytes are there all the same
    return out;
}

std::string IccLut16Type(unsigned int inputs, unsigned int outputs, unsigned int gridPoints,
                         const IccGridFunction& function)
{
    if (inputs < 1 || inputs > 15 || outputs < 1 || outputs > 15 || gridPoints < 2 || gridPoints > 255)
    {
        throw std::invalid_argument("a lut16 table has 1 to 15 channels each way and 2 to 255 grid points");
    }
    constexpr unsigned int curveEntries = 256;
    std::string out = TypeStart("mft2");
    out += {static_cast<char>(inputs), static_cast<char>(outputs), static_cast<char>(gridPoints), '\0'};
    for (int at = 0; at < 9; ++at)
    {
        PutS15Fixed16(out, at % 4 == 0 ? 1.0 : 0.0); // identity matrix
    }
    BigEndian::Put16(out, curveEntries);
    BigEndian::Put16(out, curveEntries);
    const auto putIdentityCurves = [&](unsigned int channels)
    {
        for (unsigned int channel = 0; channel < channels; ++channel)
        {
            for (unsigned int at = 0; at < curveEntries; ++at)
            {
                BigEndian::Put16(out, at * 257);
            }
        }
    };
    putIdentityCurves(inputs);

    std::size_t points = 1;
    for (unsigned int input = 0; input < inputs; ++input)
    {
        points *= gridPoints;
    }
    std::vector<double> at(inputs);
    for (std::size_t point = 0; point < points; ++point)
    {
        std::size_t rest = point;
        for (unsigned int input = inputs; input-- > 0; rest /= gridPoints)
        {
            at[input] = double(rest % gridPoints) / (gridPoints - 1);
        }
        const std::vector<double> values = function(at);
        if (values.size() != outputs)
        {
            throw std::invalid_argument("a lut16 grid function gives one value per output channel");
        }
        for (const double value : values)
        {
            BigEndian::Put16(out, ToU16(value));
        }
    }
    putIdentityCurves(outputs);
    return out;
}

std::array<double, 3> Lut16FromLab(const Lab& lab)
{
    return {lab.l * 652.80 / 65535.0, (lab.a + 128.0) * 256.0 / 65535.0, (lab.b + 128.0) * 256.0 / 65535.0};
}

Lab Lut16ToLab(const std::vector<double>& encoded)
{
    return {encoded.at(0) * 65535.0 / 652.80, encoded.at(1) * 65535.0 / 256.0 - 128.0,
            encoded.at(2) * 65535.0 / 256.0 - 128.0};
}

} // namespace Tesmo::PluginHost
