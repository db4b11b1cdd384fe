#pragma once
// Temporary program folders and small file helpers for the shell tests.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>

#include "plat/String.h"

namespace shelltest {

// A fresh folder under the system's temporary folder, removed again on destruction.
class TempDir {
public:
    TempDir()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "shellcore-XXXXXX").string();
        path_ = ::mkdtemp(pattern.data()) ? pattern : std::string();
    }
    ~TempDir()
    {
        std::error_code ec;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all, ec);
        std::filesystem::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }
    plat::String upath() const { return plat::Utf8ToString(path_); }
    std::string operator/(const std::string& rel) const { return path_ + "/" + rel; }

private:
    std::string path_;
};

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
