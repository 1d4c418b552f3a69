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
    typeUndefined = 7,
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

void PadToWord(std::string& out)
{
    if (out.size() % 2 != 0)
    {
        out += '\0';
    }
}

// A directory's entries, counted as they are added; ascending tag order is the caller's
// to keep.
struct Entries
{
    unsigned int count = 0;
    std::string bytes;

    // One value: a SHORT sits in the first two of the entry's four bytes.
    void Add(unsigned int tag, FieldType type, unsigned int value)
    {
        Add(tag, type, 1, type == typeShort ? value & 0xFFFF : value);
    }

    // A count, and four bytes that hold the values or the values' offset.
    void Add(unsigned int tag, FieldType type, unsigned int count, unsigned int fourBytes)
    {
        Put16(bytes, tag);
        Put16(bytes, type);
        Put32(bytes, count);
        Put32(bytes, fourBytes);
        ++this->count;
    }
};

// Values of four bytes or fewer sit in their entry, first byte first; longer ones go at
// the end of the file so far, and their entry holds the offset.
unsigned int PlaceValues(std::string& out, const std::string& values, bool onWordBoundary)
{
    if (values.size() <= 4)
    {
        unsigned int fourBytes = 0;
        for (std::size_t at = values.size(); at-- > 0;)
        {
            fourBytes = fourBytes << 8 | static_cast<unsigned char>(values[at]);
        }
        return fourBytes;
    }
    if (onWordBoundary)
    {
        PadToWord(out);
    }
    const unsigned int at = Offset(out);
    out += values;
    return at;
}

unsigned int ColourSamples(TiffColour colour)
{
    switch (colour)
    {
    case TiffColour::Rgb:
        return 3;
    case TiffColour::Cmyk:
        return 4;
    default:
        return 1;
    }
}

// Where a page's directory starts, and where its link to the next directory is, to be
// filled in once that one is written.
struct Directory
{
    unsigned int at;
    std::size_t linkAt;
};

// The page's pixels and the values too long for their entries, then its directory.
// BitsPerSample's values follow the pixels directly, so that an 8-bit RGB page keeps the
// bytes the committed samples were written with; the colour map and the profile start on
// word boundaries, as TIFF expects of values.
Directory PutPage(std::string& out, const TiffPage& page)
{
    const unsigned int samplesPerPixel = ColourSamples(page.colour) + (page.alpha != TiffAlpha::None ? 1 : 0);
    const std::size_t rowBytes = (std::size_t{page.width} * samplesPerPixel * page.bitsPerSample + 7) / 8;
    if (page.samples.size() != rowBytes * page.height)
    {
        throw std::invalid_argument("a TIFF page needs height rows of the bytes its width and samples take");
    }
    const bool hasColourMap = page.colour == TiffColour::Palette;
    if (hasColourMap && (page.bitsPerSample > 16 || page.colourMap.size() != std::size_t{3} << page.bitsPerSample))
    {
        throw std::invalid_argument("a TIFF palette page needs 3 x 2^bits colour map values");
    }
    const unsigned int pixelsAt = Offset(out);
    out += page.samples;

    std::string bits;
    for (unsigned int sample = 0; sample < samplesPerPixel; ++sample)
    {
        Put16(bits, page.bitsPerSample);
    }
    const unsigned int bitsValue = PlaceValues(out, bits, false);
    const bool hasSampleFormat = page.sampleFormat != TiffSampleFormat::Unsigned;
    std::string sampleFormats;
    for (unsigned int sample = 0; sample < samplesPerPixel; ++sample)
    {
        Put16(sampleFormats, static_cast<unsigned int>(page.sampleFormat));
    }
    const unsigned int sampleFormatValue = hasSampleFormat ? PlaceValues(out, sampleFormats, true) : 0;
    std::string colourMap;
    for (const std::uint16_t value : page.colourMap)
    {
        Put16(colourMap, value);
    }
    const unsigned int colourMapAt = hasColourMap ? PlaceValues(out, colourMap, true) : 0;
    const unsigned int profileValue = PlaceValues(out, page.iccProfile, true);
    PadToWord(out); // a directory starts on a word boundary

    Entries entries; // in ascending tag order
    entries.Add(256, typeLong, page.width);                              // ImageWidth
    entries.Add(257, typeLong, page.height);                             // ImageLength
    entries.Add(258, typeShort, samplesPerPixel, bitsValue);             // BitsPerSample
    entries.Add(259, typeShort, 1);                                      // Compression: none
    entries.Add(262, typeShort, static_cast<unsigned int>(page.colour)); // PhotometricInterpretation
    entries.Add(273, typeLong, pixelsAt);                                // StripOffsets
    if (page.orientation)
    {
        const bool isLong = page.orientation->type == TiffOrientation::Type::Long;
        entries.Add(274, isLong ? typeLong : typeShort, page.orientation->value); // Orientation
    }
    entries.Add(277, typeShort, samplesPerPixel);                               // SamplesPerPixel
    entries.Add(278, typeLong, page.height);                                    // RowsPerStrip: one strip
    entries.Add(279, typeLong, static_cast<unsigned int>(page.samples.size())); // StripByteCounts
    entries.Add(284, typeShort, 1);                                             // PlanarConfiguration: chunky
    if (hasColourMap)
    {
        entries.Add(320, typeShort, static_cast<unsigned int>(page.colourMap.size()), colourMapAt); // ColorMap
    }
    if (page.alpha != TiffAlpha::None)
    {
        entries.Add(338, typeShort, static_cast<unsigned int>(page.alpha)); // ExtraSamples
    }
    if (hasSampleFormat)
    {
        entries.Add(339, typeShort, samplesPerPixel, sampleFormatValue); // SampleFormat
    }
    if (!page.iccProfile.empty()) // ICC profile
    {
        entries.Add(34675, typeUndefined, static_cast<unsigned int>(page.iccProfile.size()), profileValue);
    }

    const unsigned int directoryAt = Offset(out);
    Put16(out, entries.count);
    out += entries.bytes;
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
