#include "corruption/FormatFields.h"

#include <initializer_list>
#include <sstream>

namespace Tesmo::Tests::Corruption
{

namespace
{

struct FieldAt
{
    const char* name;
    std::size_t offset;
    unsigned int size;
};

void Add(Fields& fields, const std::string& prefix, std::size_t base, bool bigEndian,
         std::initializer_list<FieldAt> table)
{
    for (const FieldAt& field : table)
    {
        fields.push_back({prefix + field.name, base + field.offset, field.size, bigEndian});
    }
}

// A BMP info header: the rest of a BMP file, or an icon's DIB.
void BmpInfoFields(Fields& fields, const std::string& prefix, std::size_t at)
{
    Add(fields, prefix, at, false,
        {{"header size", 0, 4}, {"width", 4, 4}, {"height", 8, 4}, {"planes", 12, 2}, {"bit count", 14, 2},
         {"compression", 16, 4}, {"image size", 20, 4}, {"colours used", 32, 4}});
}

// A whole PNG file at `at`: on its own, or inside an icon.
void PngFieldsAt(Fields& fields, const std::string& prefix, const std::string& bytes, std::size_t at)
{
    for (std::size_t chunk = at + 8; chunk + 12 <= bytes.size(); chunk += 12 + Read(bytes, chunk, 4, true))
    {
        const std::string type = bytes.substr(chunk + 4, 4);
        Add(fields, prefix + type + " ", chunk, true, {{"length", 0, 4}});
        if (type == "IHDR")
        {
            Add(fields, prefix, chunk, true,
                {{"width", 8, 4}, {"height", 12, 4}, {"bit depth", 16, 1}, {"colour type", 17, 1},
                 {"interlace", 20, 1}});
        }
        // An animation's records: where a changed number breaks the animation, or moves a
        // frame.
        if (type == "acTL")
        {
            Add(fields, prefix, chunk, true, {{"num_frames", 8, 4}});
        }
        if (type == "fcTL" || type == "fdAT")
        {
            Add(fields, prefix + type + " ", chunk, true, {{"sequence", 8, 4}});
        }
        if (type == "fcTL")
        {
            Add(fields, prefix + "fcTL ", chunk, true,
                {{"width", 12, 4}, {"height", 16, 4}, {"x", 20, 4}, {"y", 24, 4}, {"dispose", 32, 1},
                 {"blend", 33, 1}});
        }
        if (type == "IEND")
        {
            break;
        }
    }
}

std::size_t GifColourTableSize(const std::string& bytes, std::size_t flagsAt)
{
    const std::uint32_t flags = Read(bytes, flagsAt, 1);
    return flags & 0x80 ? 3u << ((flags & 7) + 1) : 0;
}

std::uint32_t Crc32(const char* data, std::size_t size)
{
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < size; ++i)
    {
        crc ^= static_cast<unsigned char>(data[i]);
        for (int bit = 0; bit < 8; ++bit)
        {
            crc = crc >> 1 ^ (0xEDB88320u & (0u - (crc & 1)));
        }
    }
    return ~crc;
}

} // namespace

std::uint32_t Read(const std::string& bytes, std::size_t at, unsigned int size, bool bigEndian)
{
    std::uint32_t value = 0;
    for (unsigned int i = 0; i < size && at + i < bytes.size(); ++i)
    {
        value |= std::uint32_t{static_cast<unsigned char>(bytes[at + i])} << 8 * (bigEndian ? size - 1 - i : i);
    }
    return value;
}

void Write(std::string& bytes, std::size_t at, unsigned int size, bool bigEndian, std::uint32_t value)
{
    for (unsigned int i = 0; i < size && at + i < bytes.size(); ++i)
    {
        bytes[at + i] = static_cast<char>(value >> 8 * (bigEndian ? size - 1 - i : i));
    }
}

std::string Hex(std::uint32_t value)
{
    std::ostringstream text;
    text << "0x" << std::hex << std::uppercase << value;
    return text.str();
}

void BmpFields(Fields& fields, const std::string&)
{
    Add(fields, "", 0, false, {{"file size", 2, 4}, {"pixel offset", 10, 4}});
    BmpInfoFields(fields, "", 14);
}

void IcoFields(Fields& fields, const std::string& bytes)
{
    Add(fields, "", 0, false, {{"image count", 4, 2}});
    for (std::uint32_t image = 0; image < Read(bytes, 4, 2); ++image)
    {
        const std::string prefix = "image " + std::to_string(image) + " ";
        Add(fields, prefix + "entry ", 6 + 16 * image, false,
            {{"width", 0, 1}, {"height", 1, 1}, {"colours", 2, 1}, {"planes", 4, 2}, {"bit count", 6, 2},
             {"byte count", 8, 4}, {"offset", 12, 4}});
        const std::uint32_t data = Read(bytes, 6 + 16 * image + 12, 4);
        if (HoldsPng(bytes, data))
        {
            PngFieldsAt(fields, prefix, bytes, data);
        }
        else
        {
            BmpInfoFields(fields, prefix, data);
        }
    }
}

void PngFields(Fields& fields, const std::string& bytes)
{
    PngFieldsAt(fields, "", bytes, 0);
}

void GifFields(Fields& fields, const std::string& bytes)
{
    Add(fields, "screen ", 0, false, {{"width", 6, 2}, {"height", 8, 2}, {"flags", 10, 1}});
    int frame = 0;
    for (std::size_t at = 13 + GifColourTableSize(bytes, 10); at < bytes.size(); ++at)
    {
        if (bytes[at] == 0x2C)
        {
            const std::string prefix = "frame " + std::to_string(frame++) + " ";
            Add(fields, prefix, at, false,
                {{"left", 1, 2}, {"top", 3, 2}, {"width", 5, 2}, {"height", 7, 2}, {"flags", 9, 1}});
            at += 10 + GifColourTableSize(bytes, at + 9);
            Add(fields, prefix, at, false, {{"code size", 0, 1}, {"first block length", 1, 1}});
            at += 1;
        }
        else if (bytes[at] == 0x21)
        {
            Add(fields, "extension " + Hex(Read(bytes, at + 1, 1)) + " ", at, false, {{"block length", 2, 1}});
            at += 2;
        }
        else
        {
            break; // the trailer
        }
        while (at < bytes.size() && bytes[at] != 0)
        {
            at += 1 + Read(bytes, at, 1);
        }
    }
}

void TiffFields(Fields& fields, const std::string& bytes)
{
    const bool big = bytes[0] == 'M';
    Add(fields, "", 0, big, {{"first page offset", 4, 4}});
    std::size_t page = Read(bytes, 4, 4, big);
    for (int index = 0; page != 0 && page < bytes.size() && index < 16; ++index)
    {
        const std::string prefix = "page " + std::to_string(index) + " ";
        const std::uint32_t count = Read(bytes, page, 2, big);
        Add(fields, prefix, page, big, {{"entry count", 0, 2}});
        for (std::size_t entry = page + 2; entry < page + 2 + 12 * count; entry += 12)
        {
            // A single SHORT sits in the first two bytes of the value slot.
            const bool oneShort = Read(bytes, entry + 2, 2, big) == 3 && Read(bytes, entry + 4, 4, big) == 1;
            Add(fields, prefix + "tag " + std::to_string(Read(bytes, entry, 2, big)) + " ", entry, big,
                {{"count", 4, 4}, {"value", 8, oneShort ? 2u : 4u}});
        }
        Add(fields, prefix, page + 2 + 12 * count, big, {{"next page offset", 0, 4}});
        page = Read(bytes, page + 2 + 12 * count, 4, big);
    }
}

void JpegFields(Fields& fields, const std::string& bytes)
{
    for (std::size_t at = 2; at + 4 <= bytes.size() && bytes[at] == '\xFF'; at += 2 + Read(bytes, at + 2, 2, true))
    {
        const std::uint32_t marker = Read(bytes, at + 1, 1);
        Add(fields, "marker " + Hex(marker) + " ", at, true, {{"length", 2, 2}});
        if (marker >= 0xC0 && marker <= 0xC2)
        {
            Add(fields, "frame ", at, true,
                {{"precision", 4, 1}, {"height", 5, 2}, {"width", 7, 2}, {"components", 9, 1}});
            for (std::uint32_t component = 0; component < Read(bytes, at + 9, 1); ++component)
            {
                Add(fields, "component " + std::to_string(component) + " ", at + 3 * component, true,
                    {{"sampling", 11, 1}, {"table", 12, 1}});
            }
        }
        if (marker == 0xDA)
        {
            Add(fields, "scan ", at, true, {{"components", 4, 1}});
            break; // entropy-coded data follows
        }
    }
}

bool HoldsPng(const std::string& bytes, std::size_t at)
{
    return at < bytes.size() && bytes.compare(at, 4, "\x89PNG") == 0;
}

void ResealPngs(std::string& bytes)
{
    for (std::size_t png = bytes.find("\x89PNG"); png != std::string::npos; png = bytes.find("\x89PNG", png + 1))
    {
        for (std::size_t chunk = png + 8, length = 0; chunk + 12 <= bytes.size(); chunk += 12 + length)
        {
            length = Read(bytes, chunk, 4, true);
            if (length > bytes.size() - chunk - 12)
            {
                break;
            }
            Write(bytes, chunk + 8 + length, 4, true, Crc32(bytes.data() + chunk + 4, length + 4));
            if (bytes.compare(chunk + 4, 4, "IEND") == 0)
            {
                break;
            }
        }
    }
}

} // namespace Tesmo::Tests::Corruption
