#include "imaging/colour/profile/ToneCurve.h"

#include "imaging/colour/profile/IccNumbers.h"

#include <algorithm>
#include <cmath>

namespace Tesmo::Plugin::Imaging
{

namespace
{

// How many s15.16 parameters each parametric function type takes, g first.
constexpr int parameterCounts[] = {1, 3, 4, 5, 7};

double Clip(double value)
{
    return std::isnan(value) ? 0.0 : std::clamp(value, 0.0, 1.0);
}

// A negative base has no real power; such a curve part gives 0, as engines make it.
double Power(double base, double exponent)
{
    return base > 0.0 ? std::pow(base, exponent) : 0.0;
}

} // namespace

bool ToneCurve::Read(const std::uint8_t* tag, std::size_t size)
{
    if (size < 12)
    {
        return false;
    }
    const std::uint32_t type = BigEndian32(tag);
    if (type == Signature("curv"))
    {
        const std::uint32_t count = BigEndian32(tag + 8);
        if (count > (size - 12) / 2)
        {
            return false;
        }
        if (count == 0)
        {
            kind = Kind::Identity;
            return true;
        }
        if (count == 1)
        {
            kind = Kind::Parametric;
            function = 0;
            gamma = BigEndian16(tag + 12) / 256.0;
            return true;
        }
        kind = Kind::Table;
        table.resize(count);
        for (std::uint32_t index = 0; index < count; ++index)
        {
            table[index] = BigEndian16(tag + 12 + index * 2);
        }
        return true;
    }
    if (type == Signature("para"))
    {
        const int kindOfFunction = BigEndian16(tag + 8);
        if (kindOfFunction > 4 || size < 12 + 4 * std::size_t(parameterCounts[kindOfFunction]))
        {
            return false;
        }
        double parameters[7] = {1.0, 1.0, 0.0, 0.0, 0.0, 0.0, 0.0};
        for (int index = 0; index < parameterCounts[kindOfFunction]; ++index)
        {
            parameters[index] = S15Fixed16(tag + 12 + 4 * index);
        }
        kind = Kind::Parametric;
        function = kindOfFunction;
        gamma = parameters[0];
        a = parameters[1];
        b = parameters[2];
        c = parameters[3];
        d = parameters[4];
        e = parameters[5];
        f = parameters[6];
        return true;
    }
    return false;
}

bool ToneCurve::ReadEntries(const std::uint8_t* entries, std::uint32_t count, unsigned int entryBytes)
{
    if (count < 2 || (entryBytes != 1 && entryBytes != 2))
    {
        return false;
    }
    kind = Kind::Table;
    table.resize(count);
    for (std::uint32_t index = 0; index < count; ++index)
    {
        table[index] = static_cast<std::uint16_t>(entryBytes == 1 ? entries[index] * 257u
                                                                  : BigEndian16(entries + 2 * index));
    }
    return true;
}

double ToneCurve::Evaluate(double x) const
{
    switch (kind)
    {
    case Kind::Identity:
        return Clip(x);
    case Kind::Table:
    {
        const double at = Clip(x) * double(table.size() - 1);
        const auto below = static_cast<std::size_t>(at);
        const std::size_t above = std::min(below + 1, table.size() - 1);
        const double rest = at - double(below);
        return Clip((table[below] * (1.0 - rest) + table[above] * rest) / 65535.0);
    }
    case Kind::Parametric:
        break;
    }
    switch (function)
    {
    case 0:
        return Clip(Power(x, gamma));
    case 1:
        return Clip(a != 0.0 && x >= -b / a ? Power(a * x + b, gamma) : 0.0);
    case 2:
        return Clip(a != 0.0 && x >= -b / a ? Power(a * x + b, gamma) + c : c);
    case 3:
        return Clip(x >= d ? Power(a * x + b, gamma) : c * x);
    default:
        return Clip(x >= d ? Power(a * x + b, gamma) + e : c * x + f);
    }
}

} // namespace Tesmo::Plugin::Imaging
