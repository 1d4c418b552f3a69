#include "corruption/OutcomeReport.h"

#include <sstream>

namespace Tesmo::Tests::Corruption
{

std::string OutcomeReport::Text(const char* label, std::size_t caseCount, std::size_t stride) const
{
    std::ostringstream report;
    report << label << ": " << caseCount << " cases, " << (caseCount + stride - 1) / stride
           << " run; calls by how they ended:";
    for (const auto& [kind, count] : cases)
    {
        report << "\n  " << KindName(kind) << " " << count;
        const char* separator = ": ";
        if (const auto ended = calls.find(kind); ended != calls.end())
        {
            for (const auto& [step, number] : ended->second)
            {
                report << separator << StepName(step) << " " << number;
                separator = ", ";
            }
        }
    }
    return report.str();
}

} // namespace Tesmo::Tests::Corruption
