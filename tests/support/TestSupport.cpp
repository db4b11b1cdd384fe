#include "TestSupport.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace testsupport {

namespace fs = std::filesystem;

TempDir::TempDir()
{
    std::string pattern = (fs::temp_directory_path() / "configurator-test-XXXXXX").string();
    if (::mkdtemp(pattern.data()))
        path_ = pattern;
    else
        ADD_FAILURE() << "cannot make a temporary folder under " << fs::temp_directory_path();
}

TempDir::~TempDir()
{
    if (path_.empty())
        return;
    // Tests make entries read-only to provoke write errors; give them back first.
    std::error_code ec;
    for (fs::recursive_directory_iterator it(path_, fs::directory_options::skip_permission_denied, ec), end;
         !ec && it != end; it.increment(ec)) {
        if (!it->is_symlink(ec))
            fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
    }
    fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(path_, ec);
}

std::string Picture_Dir()
{
    const char* dir = std::getenv("TEST_PICTURES");
    if (!dir || !*dir)
        return {};
    fs::create_directories(dir);
    std::string path = dir;
    if (path.back() != '/')
        path += '/';
    return path;
}

void Use_Offscreen_Platform()
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("QT_ENABLE_HIGHDPI_SCALING", "0", 1);
    setenv("QT_FONT_DPI", "96", 1);
}

} // namespace testsupport
