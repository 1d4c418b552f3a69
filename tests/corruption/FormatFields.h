#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace Tesmo::Tests::Corruption
{

// Reads beyond the end as 0 and writes nothing there, so damaged files end every walk.
std::uint32_t Read(const std::string& bytes, std::size_t at, unsigned int size, bool bigEndian = false);
void Write(std::string& bytes, std::size_t at, unsigned int size, bool bigEndian, std::uint32_t value);
std::string Hex(std::uint32_t value);

// A header field, found by walking the file's structure the way its decoder does.
struct Field
{
    std::string name;
    std::size_t offset;
    unsigned int size;
    bool bigEndian;
};
using Fields = std::vector<Field>;

// The walkers, one a format. Each lists the header fields of a file of its format.
void BmpFields(Fields& fields, const std::string& bytes);
void IcoFields(Fields& fields, const std::string& bytes);
void PngFields(Fields& fields, const std::string& bytes);
void GifFields(Fields& fields, const std::string& bytes);
void TiffFields(Fields& fields, const std::string& bytes);
void JpegFields(Fields& fields, const std::string& bytes);

// Whether a whole PNG file starts at `at` (icons may hold one).
bool HoldsPng(const std::string& bytes, std::size_t at);

// A PNG decoder rejects a chunk whose CRC does not match before it reads the chunk:
// recomputed CRCs let a damaged header or pixel stream through to the later steps. Also
// reaches the PNG images inside an icon.
void ResealPngs(std::string& bytes);

} // namespace Tesmo::Tests::Corruption
