#include "hosting/TiffEncoder.h"

#include "hosting/LittleEndian.h"

#include <stdexcept>

namespace Tesmo::PluginHost
{

namespace
{

enum FieldType : unsigned int
{
    typeShort = 3,
    typeLong = 4,
};

void Patch32(std::string& out, std::size_t at, unsigned int value)
{
    std::string bytes;
    Put32(bytes, value);
    out.replace(at, 4, bytes);
}

unsigned int Offset(const std::string& out)
{
    if (out.size() > 0xFFFFFFFFu)
    {
        throw std::length_error("a TIFF file holds at most 4 GB");
    }
    return static_cast<unsigned int>(out.size());
}

// One directory entry whose value fits in its four bytes: a SHORT sits in the first two.
void PutEntry(std::string& out, unsigned int tag, FieldType type, unsigned int count, unsigned int value)
{
    Put16(out, tag);
    Put16(out, type);
    Put32(out, count);
    if (type == typeShort && count == 1)
    {
        Put16(out, value);
        Put16(out, 0);
    }
    else
    {
        Put32(out, value);
    }
}

// Where a page's directory starts, and where its link to the next directory is, to be
// filled in once that one is written.
struct Directory
{
    unsigned int at;
    std::size_t linkAt;
};

// The page's pixels and bits per sample, then its directory.
Directory PutPage(std::string& out, const TiffPage& page)
{
    if (page.rgb.size() != std::size_t{page.width} * page.height * 3)
    {
        throw std::invalid_argument("a TIFF page needs width x height x 3 bytes");
    }
    const unsigned int pixelsAt = Offset(out);
    out += page.rgb;
    const unsigned int bitsAt = Offset(out);
    for (int sample = 0; sample < 3; ++sample)
    {
        Put16(out, 8);
    }
    if (out.size() % 2 != 0)
    {
        out += '\0'; // a directory starts on a word boundary
    }

    const unsigned int directoryAt = Offset(out);
    Put16(out, page.orientation ? 11 : 10); // entries, in ascending tag order
    PutEntry(out, 256, typeLong, 1, page.width);               // ImageWidth
    PutEntry(out, 257, typeLong, 1, page.height);              // ImageLength
    PutEntry(out, 258, typeShort, 3, bitsAt);                  // BitsPerSample: 8, 8, 8
    PutEntry(out, 259, typeShort, 1, 1);                       // Compression: none
    PutEntry(out, 262, typeShort, 1, 2);                       // PhotometricInterpretation: RGB
    PutEntry(out, 273, typeLong, 1, pixelsAt);                 // StripOffsets
    if (page.orientation)
    {
        const bool isLong = page.orientation->type == TiffOrientation::Type::Long;
        PutEntry(out, 274, isLong ? typeLong : typeShort, 1, page.orientation->value); // Orientation
    }
    PutEntry(out, 277, typeShort, 1, 3);                       // SamplesPerPixel
    PutEntry(out, 278, typeLong, 1, page.height);              // RowsPerStrip: one strip
    PutEntry(out, 279, typeLong, 1, static_cast<unsigned int>(page.rgb.size())); // StripByteCounts
    PutEntry(out, 284, typeShort, 1, 1);                       // PlanarConfiguration: chunky
    const std::size_t linkAt = out.size();
    Put32(out, 0); // the last directory links to none
    return {directoryAt, linkAt};
}

} // namespace

std::string EncodeTiff(const std::vector<TiffPage>& pages)
{
    std::string out = "II";
    Put16(out, 42);
    std::size_t linkAt = out.size(); // the header's link to the first directory
    Put32(out, 0);
    for (const TiffPage& page : pages)
    {
        const Directory directory = PutPage(out, page);
        Patch32(out, linkAt, directory.at);
        linkAt = directory.linkAt;
    }
    return out;
}

} // namespace Tesmo::PluginHost
