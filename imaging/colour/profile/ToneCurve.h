#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace Tesmo::Plugin::Imaging
{

// One channel's tone curve from an ICC profile: device value to linear light, both 0 to 1.
// A 'curv' tag is the identity (no entries), a plain gamma (one u8.8 entry) or a table of
// evenly spaced samples read with linear interpolation; a 'para' tag is one of ICC's five
// parametric functions. Results are clipped to 0 to 1, as colour engines clip them.
class ToneCurve
{
public:
    // Reads the curve from a tag's bytes; false when they hold no curve this reader knows,
    // or claim more entries than they hold.
    bool Read(const std::uint8_t* tag, std::size_t size);
    // The curve as count evenly spaced big-endian entries of one byte (0 to 255) or two (0
    // to 65535), as a table's input curves hold them; false for fewer than two.
    bool ReadEntries(const std::uint8_t* entries, std::uint32_t count, unsigned int entryBytes);

    double Evaluate(double value) const;

private:
    enum class Kind
    {
        Identity,
        Parametric,
        Table,
    };
    Kind kind = Kind::Identity;
    int function = 0;    // ICC's parametric function type, 0 to 4 (a gamma is type 0)
    double gamma = 1.0;  // g
    double a = 1.0, b = 0.0, c = 0.0, d = 0.0, e = 0.0, f = 0.0;
    std::vector<std::uint16_t> table;
};

} // namespace Tesmo::Plugin::Imaging
