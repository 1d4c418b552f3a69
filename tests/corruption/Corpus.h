#pragma once

#include "corruption/FormatFields.h"
#include "support/CaseNames.h"

#include <cstddef>
#include <span>
#include <string>
#include <vector>

namespace Tesmo::Tests::Corruption
{

// A valid file the damaged ones are derived from.
struct SourceImage : NamedCase
{
    const wchar_t* fileName; // with the extension the format's files have
    void (*fields)(Fields& fields, const std::string& bytes);
    std::string (*make)();
};

// Every format once; a source's position here seeds its mutations.
std::span<const SourceImage> SourceImages();

// LastFrame counts the second call, made for files that report 2 to 64 frames.
enum Kind
{
    Truncation, Flip, Burst, FieldValue, OtherFormat, LastFrame, LeftOut
};
const char* KindName(Kind kind);

struct Mutation
{
    Kind kind;
    std::string label;
    std::string bytes;
};

// The same corpus on every run: cut short, bytes flipped, every header field set to
// values that overflow, and every other source under this one's name.
std::vector<Mutation> Mutations(const SourceImage& source);

} // namespace Tesmo::Tests::Corruption
