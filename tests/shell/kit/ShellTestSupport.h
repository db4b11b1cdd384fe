#pragma once
// Temporary program folders and small file helpers for the shell tests.
#include <filesystem>
#include <fstream>
#include <set>
#include <string>

#include "TestSupport.h"
#include "plat/String.h"

namespace shelltest {

using testsupport::TempDir;

inline void WriteBytes(const std::string& path, const std::string& bytes)
{
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

inline std::string ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Every path below root (relative, folders marked with a trailing "/").
inline std::set<std::string> Tree(const std::string& root)
{
    std::set<std::string> out;
    for (const auto& e : std::filesystem::recursive_directory_iterator(root)) {
        std::string rel = std::filesystem::relative(e.path(), root).string();
        out.insert(e.is_directory() ? rel + "/" : rel);
    }
    return out;
}

} // namespace shelltest
