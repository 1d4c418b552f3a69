// Windows bitmaps and the icons made of them (or of PNG files).

#include "corruption/FormatFields.h"

namespace Tesmo::Tests::Corruption
{

void BmpInfoFields(Fields& fields, const std::string& prefix, std::size_t at)
{
    Add(fields, prefix, at, false,
        {{"header size", 0, 4}, {"width", 4, 4}, {"height", 8, 4}, {"planes", 12, 2}, {"bit count", 14, 2},
         {"compression", 16, 4}, {"image size", 20, 4}, {"colours used", 32, 4}});
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

} // namespace Tesmo::Tests::Corruption
