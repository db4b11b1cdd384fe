// Every reader of the program against hostile files: a link to /dev/zero, a named pipe, a
// folder, a sparse 10 GiB file, an unreadable file, and files just under and just over the
// reader's cap. Each case runs the reader in a child process (hostile_reader) under an
// address-space limit of 100 MiB (plus the file itself when it must be read whole) and a
// time limit, so that a regression fails here instead of taking the machine.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "ImageTestKit.h"
#include "TestSupport.h"
#include "plat/Files.h"

namespace {

namespace fs = std::filesystem;
using namespace image_test;

constexpr std::int64_t kBaseLimit = 100 * plat::kMiB;

int Sh(const std::string& cmd) { return std::system(cmd.c_str()); }

bool Have(const char* tool) { return Sh(std::string("command -v ") + tool + " >/dev/null 2>&1") == 0; }

void Write(const fs::path& path, const std::string& bytes)
{
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

// A throw-away folder any user may enter and write (the unreadable case runs its child as
// an unprivileged user when the tests run as the superuser).
class Folder {
public:
    Folder() { ::chmod(path_.c_str(), 0777); }
    const fs::path& path() const { return path_; }

private:
    testsupport::TempDir dir_;
    fs::path path_{dir_.native()};
};

struct Reader {
    const char* name;     // hostile_reader's reader
    const char* file;     // the file the cases are made of, inside the folder
    std::int64_t cap;
    std::string content;  // a valid file of this kind
    const char* good;     // outcome when the file is read
    const char* refused;  // outcome when it is refused: a prefix, the reason follows
};

struct Case {
    const char* name;
    const char* make;       // shell command making the hostile entry at $F ("" for none)
    const char* reason;     // the reason a refusal names
    bool asOtherUser;       // the superuser reads everything: drop to an unprivileged user
};

// The outcome of the reader on the folder, as its child process printed it.
std::string RunReader(const char* reader, const fs::path& folder, std::int64_t limit, bool asOtherUser)
{
    std::string cmd;
#ifndef CONFIGURATOR_SANITIZE
    // The sanitizers reserve terabytes of address space up front: no limit on them.
    cmd += "prlimit --as=" + std::to_string(limit) + " ";
#else
    (void)limit;
#endif
    if (asOtherUser)
        cmd += "setpriv --reuid=65534 --regid=65534 --clear-groups ";
    cmd += "timeout 120 " HOSTILE_READER " ";
    cmd += std::string(reader) + " '" + folder.string() + "' 2>&1";
    std::string out;
    if (FILE* p = ::popen(cmd.c_str(), "r")) {
        char buf[4096];
        while (std::fgets(buf, sizeof buf, p))
            out += buf;
        const int rc = ::pclose(p);
        if (rc != 0)
            out += "(exit status " + std::to_string(rc) + ")";
    }
    while (!out.empty() && out.back() == '\n')
        out.pop_back();
    return out;
}

class HostileFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char* tool : {"prlimit", "timeout", "truncate", "mkfifo"})
            if (!Have(tool))
                GTEST_SKIP() << tool << " not installed";
    }
};

std::vector<Reader> Readers(const fs::path& network)
{
    const std::string settings =
        "<Conf_Settings><lastipadd><ipaddress>10.0.0.7</ipaddress></lastipadd></Conf_Settings>";
    std::ifstream in(network, std::ios::binary);
    const std::string net((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const Attrs async = {{"Working_Mode", "1"}};
    return {
        {"settings", "Tralvex.xml", plat::kXmlFileCap, settings, "read", "kept"},
        {"language", "LANGUAGE/Test.lng", plat::kLanguageFileCap, "100=Hallo\r\n", "Test", "English"},
        {"image", "ParGen.xml", plat::kXmlFileCap, ParGen_Xml(async), "built", "stopped: Cannot open file \""},
        {"image", "ModbusM_SetAccess.xml", plat::kXmlFileCap, Rules_Xml({Read_Rule()}, {Write_Rule()}), "built",
         "stopped: Cannot open file \""},
        {"image", "MQTT_Set_Topic.xml", plat::kXmlFileCap, Topics_Xml({Publish_Row("p")}, {Subscribe_Row("s")}),
         "built", "stopped: Cannot open file \""},
        {"network", "M_Bus.xml", plat::kNetworkFileCap, net, "network 2", "error: Cannot open file \""},
    };
}

TEST_F(HostileFiles, EveryReaderEndsWithItsDocumentedOutcome)
{
    Folder scratch;
    ASSERT_EQ(RunReader("write-network", scratch.path(), kBaseLimit, false), "written");
    const bool root = ::geteuid() == 0;
    const bool canDrop = !root || Have("setpriv");
    const Case cases[] = {
        {"link to /dev/zero", "ln -s /dev/zero \"$F\"", "not a regular file", false},
        {"named pipe", "mkfifo \"$F\"", "not a regular file", false},
        {"folder", "mkdir \"$F\"", "not a regular file", false},
        {"sparse 10 GiB", "truncate -s 10G \"$F\"", "larger than", false},
        {"unreadable", "printf '<x/>' > \"$F\" && chmod 000 \"$F\"", "Permission denied", root},
        {"just over the cap", "CAP+1", "larger than", false},
        {"just under the cap", "CAP-1", nullptr, false},
    };
    for (const Reader& r : Readers(scratch.path() / "M_Bus.xml")) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(r.name) + " " + r.file + ": " + c.name);
            if (c.asOtherUser && !canDrop)
                continue;
            Folder folder;
            // A complete configuration with valid files; the case then replaces one of them.
            for (const Reader& other : Readers(scratch.path() / "M_Bus.xml"))
                if (std::string(other.name) == r.name)
                    Write(folder.path() / other.file, other.content);
            const fs::path file = folder.path() / r.file;
            std::int64_t limit = kBaseLimit;
            const std::string make = c.make;
            if (make == "CAP+1" || make == "CAP-1") {
                const std::int64_t size = r.cap + (make == "CAP+1" ? 1 : -1);
                if (r.cap > 32 * plat::kMiB) {
                    // Too large to write out: the tail is sparse zeros, which a parser
                    // refuses as damaged, but never for its size.
                    ASSERT_EQ(Sh("truncate -s " + std::to_string(size) + " '" + file.string() + "'"), 0);
                } else {
                    // The valid content padded with blanks, which every reader skips.
                    std::string bytes = r.content;
                    bytes.resize(static_cast<std::size_t>(size), ' ');
                    Write(file, bytes);
                }
                if (make == "CAP-1")
                    limit += size;  // the reader must hold the file
            } else {
                fs::remove(file);
                ASSERT_EQ(Sh("F='" + file.string() + "'; " + make), 0);
            }
            const std::string outcome = RunReader(r.name, folder.path(), limit, c.asOtherUser);
            if (!c.reason) {
                if (r.cap > 32 * plat::kMiB)
                    EXPECT_EQ(outcome.find("larger than"), std::string::npos) << outcome;
                else
                    EXPECT_EQ(outcome, r.good);
                continue;
            }
            const std::string refused = r.refused;
            EXPECT_EQ(outcome.substr(0, refused.size()), refused) << outcome;
            if (refused.back() == '"') {
                // The message names the file and the reason.
                EXPECT_NE(outcome.find(file.string()), std::string::npos) << outcome;
                EXPECT_NE(outcome.find(c.reason), std::string::npos) << outcome;
            }
        }
    }
}

} // namespace
