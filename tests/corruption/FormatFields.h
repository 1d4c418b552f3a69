#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
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

struct FieldAt
{
    const char* name;
    std::size_t offset;
    unsigned int size;
};

void Add(Fields& fields, const std::string& prefix, std::size_t base, bool bigEndian,
         std::initializer_list<FieldAt> table);

// The walkers, one a format. Each lists the header fields of a file of its format.
void BmpFields(Fields& fields, const std::string& bytes);
void IcoFields(Fields& fields, const std::string& bytes);
void PngFields(Fields& fields, const std::string& bytes);
void GifFields(Fields& fields, const std::string& bytes);
void TiffFields(Fields& fields, const std::string& bytes);
void JpegFields(Fields& fields, const std::string& bytes);

// The pieces an icon is made of: a BMP info header, or a whole PNG file at `at`.
void BmpInfoFields(Fields& fields, const std::string& prefix, std::size_t at);
bool HoldsPng(const std::string& bytes, std::size_t at);
void PngFieldsAt(Fields& fields, const std::string& prefix, const std::string& bytes, std::size_t at);

} // namespace Tesmo::Tests::Corruption
