#pragma once

#include <fstream>
#include <iostream>
#include <string>
#include <utility>
#include <vector>

// The main of a seed writer: writes each seed, named, into the folder its one argument
// names. 0 when every file was written, 1 when one was not, 2 for a wrong call.
inline int WriteSeedFiles(int argc, char** argv, const char* program,
                          const std::vector<std::pair<std::string, std::string>>& seeds)
{
    if (argc != 2)
    {
        std::cerr << "usage: " << program << " FOLDER\n";
        return 2;
    }
    for (const auto& [name, bytes] : seeds)
    {
        std::ofstream file(std::string(argv[1]) + "/" + name, std::ios::binary);
        if (!file.write(bytes.data(), static_cast<std::streamsize>(bytes.size())))
        {
            std::cerr << program << ": cannot write " << name << "\n";
            return 1;
        }
    }
    return 0;
}
