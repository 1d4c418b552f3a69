#include "corruption/FormatFields.h"

namespace Tesmo::Tests::Corruption
{

bool HoldsPng(const std::string& bytes, std::size_t at)
{
    return at < bytes.size() && bytes.compare(at, 4, "\x89PNG") == 0;
}

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
        if (type == "IEND")
        {
            break;
        }
    }
}

void PngFields(Fields& fields, const std::string& bytes)
{
    PngFieldsAt(fields, "", bytes, 0);
}

} // namespace Tesmo::Tests::Corruption
