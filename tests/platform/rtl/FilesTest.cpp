#include <cstring>
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

#include "TestUtil.h"
#include "plat/Files.h"

namespace plat {
namespace {

using test::TempDir;
using test::U8;

void WriteRaw(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string ReadRaw(const String& path)
{
    std::string b;
    EXPECT_TRUE(ReadFileBytes(path, b)) << U8(path);
    return b;
}

int Sh(const std::string& cmd) { return std::system(cmd.c_str()); }

// Fixtures made by iconv from one UTF-8 text, so the encoders are an outside party.
TEST(TextReading, ByteOrderMarksAndFallbacks)
{
    if (Sh("command -v iconv >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "iconv not installed";
    TempDir dir;
    const std::string src = dir.native() + "/src.txt";
    // "è" then CR LF, LF and CR line ends.
    WriteRaw(src, "\xC3\xA8 1\r\nline 2\nline 3\rline 4");
    struct Case {
        const char* name;
        std::string command;  // makes dir/<name> from src
        TTextEncoding detected;
    };
    const Case cases[] = {
        {"utf8-bom", "{ printf '\\357\\273\\277'; cat SRC; }", TTextEncoding::Utf8Bom},
        {"utf16le-bom", "{ printf '\\377\\376'; iconv -f UTF-8 -t UTF-16LE SRC; }", TTextEncoding::Utf16LeBom},
        {"utf16be-bom", "{ printf '\\376\\377'; iconv -f UTF-8 -t UTF-16BE SRC; }", TTextEncoding::Utf16BeBom},
        {"utf8", "cat SRC", TTextEncoding::Utf8},
        {"cp1252", "iconv -f UTF-8 -t WINDOWS-1252 SRC", TTextEncoding::Ansi},
    };
    const std::vector<String> expected = {u"\u00E8 1", u"line 2", u"line 3", u"line 4"};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::string cmd = c.command;
        cmd.replace(cmd.find("SRC"), 3, "'" + src + "'");
        const std::string out = dir.native() + "/" + c.name;
        ASSERT_EQ(Sh("(" + cmd + ") > '" + out + "'"), 0);
        std::vector<String> lines;
        TTextEncoding detected{};
        ASSERT_TRUE(ReadTextLines(Utf8ToString(out), lines, &detected));
        EXPECT_EQ(lines, expected);
        EXPECT_EQ(detected, c.detected);
    }
    std::vector<String> lines;
    EXPECT_FALSE(ReadTextLines(dir / u"missing.txt", lines));
    EXPECT_FALSE(ReadTextLines(dir.path(), lines));  // a folder is not a file
}

TEST(TextWriting, EncodingsCheckedByIconv)
{
    if (Sh("command -v iconv >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "iconv not installed";
    TempDir dir;
    const std::vector<String> lines = {u"caf\u00E8 \u20AC", u"x"};
    struct Case {
        TTextEncoding enc;
        const char* iconvFrom;
        std::size_t skip;  // byte-order mark
    };
    const Case cases[] = {
        {TTextEncoding::Ansi, "WINDOWS-1252", 0},
        {TTextEncoding::Utf8, "UTF-8", 0},
        {TTextEncoding::Utf8Bom, "UTF-8", 3},
        {TTextEncoding::Utf16LeBom, "UTF-16LE", 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.iconvFrom);
        const String file = dir / u"out.txt";
        ASSERT_TRUE(WriteTextFile(file, lines, c.enc));
        const std::string raw = ReadRaw(file);
        WriteRaw(dir.native() + "/body", raw.substr(c.skip));
        ASSERT_EQ(Sh("iconv -f " + std::string(c.iconvFrom) + " -t UTF-8 '" + dir.native() + "/body' > '" +
                      dir.native() + "/utf8'"),
                  0);
        EXPECT_EQ(ReadRaw(dir / u"utf8"), "caf\xC3\xA8 \xE2\x82\xAC\r\nx\r\n");
        String back;
        ASSERT_TRUE(ReadTextFile(file, back));
        EXPECT_EQ(back, u"caf\u00E8 \u20AC\r\nx\r\n");
    }
}

TEST(AtomicWrite, ReplacesAndKeepsPermissions)
{
    TempDir dir;
    const String file = dir / u"data.bin";
    ASSERT_TRUE(WriteFileAtomic(file, std::string("old", 3)));
    ::chmod(U8(file).c_str(), 0640);
    const std::string bytes("\0\x01\xFF" "abc", 6);
    ASSERT_TRUE(WriteFileBytes(file, bytes.data(), bytes.size()));
    EXPECT_EQ(ReadRaw(file), bytes);
    struct stat st {};
    ASSERT_EQ(::stat(U8(file).c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    // No temporary file is left behind.
    EXPECT_EQ(FindFiles(dir.path(), u"*", faAnyFile).size(), 1u);
}

TEST(AtomicWrite, FailureIsReportedAndOldContentStays)
{
    TempDir dir;
    const String keep = dir / u"keep.txt";
    ASSERT_TRUE(WriteFileAtomic(keep, "precious"));
    ASSERT_TRUE(CreateDir(dir / u"adir"));
    struct Case {
        const char* what;
        String target;
    };
    // Failures that hold also for root: a parent that is a file, a target that is a folder,
    // a missing folder.
    const Case cases[] = {
        {"parent is a file", keep + u"/x.txt"},
        {"target is a folder", dir / u"adir"},
        {"missing folder", dir / u"nofolder/x.txt"},
        {"empty name", u""},
        {"trailing slash", dir / u"adir/"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_FALSE(WriteFileAtomic(c.target, "new"));
        EXPECT_FALSE(WriteTextFile(c.target, std::vector<String>{u"new"}, TTextEncoding::Utf8));
        EXPECT_FALSE(CopyFile(keep, c.target, false));
    }
    EXPECT_EQ(ReadRaw(keep), "precious");
    EXPECT_TRUE(DirectoryExists(dir / u"adir"));
    EXPECT_EQ(FindFiles(dir.path(), u"*", faAnyFile).size(), 2u) << "temporary files left behind";
}

TEST(FileQueries, ExistsDistinguishesFilesAndFolders)
{
    TempDir dir;
    ASSERT_TRUE(WriteFileAtomic(dir / u"f.txt", "x"));
    ASSERT_TRUE(CreateDir(dir / u"d"));
    struct Case {
        String path;
        bool file, folder;
    };
    const Case cases[] = {
        {dir / u"f.txt", true, false},
        {dir / u"d", false, true},
        {dir / u"d/", false, true},
        {dir / u"none", false, false},
        {u"", false, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FileExists(c.path), c.file) << U8(c.path);
        EXPECT_EQ(DirectoryExists(c.path), c.folder) << U8(c.path);
    }
}

TEST(Folders, CreateForceRemove)
{
    TempDir dir;
    EXPECT_FALSE(CreateDir(dir / u"a/b"));  // one level only
    EXPECT_TRUE(CreateDir(dir / u"a"));
    EXPECT_FALSE(CreateDir(dir / u"a"));    // exists
    EXPECT_TRUE(ForceDirectories(dir / u"x/y/z/"));
    EXPECT_TRUE(DirectoryExists(dir / u"x/y/z"));
    EXPECT_TRUE(ForceDirectories(dir / u"x/y"));  // already there
    ASSERT_TRUE(WriteFileAtomic(dir / u"file", "x"));
    EXPECT_FALSE(ForceDirectories(dir / u"file/sub"));
    EXPECT_FALSE(RemoveDir(dir / u"x"));  // not empty
    EXPECT_TRUE(RemoveDir(dir / u"x/y/z"));
    EXPECT_FALSE(DeleteFile(dir / u"a"));  // folders are not files
    EXPECT_TRUE(DeleteFile(dir / u"file"));
    EXPECT_FALSE(DeleteFile(dir / u"file"));
}

TEST(Folders, CopyFileReplaceOrKeep)
{
    TempDir dir;
    const String a = dir / u"a.pem", b = dir / u"b.pem";
    ASSERT_TRUE(WriteFileAtomic(a, "AAA"));
    ASSERT_TRUE(WriteFileAtomic(b, "BBB"));
    EXPECT_FALSE(CopyFile(a, b, true));
    EXPECT_EQ(ReadRaw(b), "BBB");
    EXPECT_TRUE(CopyFile(a, b, false));
    EXPECT_EQ(ReadRaw(b), "AAA");
    EXPECT_FALSE(CopyFile(dir / u"missing", b, false));
    EXPECT_EQ(ReadRaw(b), "AAA");
    EXPECT_FALSE(CopyFile(dir.path(), dir / u"c", false));  // a folder is not copied
}

TEST(Folders, SubfolderListingLeavesHiddenOut)
{
    TempDir dir;
    for (const char16_t* d : {u"zeta", u"Alpha", u".hidden", u"beta"})
        ASSERT_TRUE(CreateDir(dir / d));
    ASSERT_TRUE(WriteFileAtomic(dir / u"file.txt", "x"));
    EXPECT_EQ(ListSubfolders(dir.path(), false), (std::vector<String>{u"Alpha", u"beta", u"zeta"}));
    EXPECT_EQ(ListSubfolders(dir.path(), true), (std::vector<String>{u".hidden", u"Alpha", u"beta", u"zeta"}));
    EXPECT_TRUE(ListSubfolders(dir / u"missing", true).empty());
}

TEST(Folders, FindFilesByMaskAndAttributes)
{
    TempDir dir;
    ASSERT_TRUE(WriteFileAtomic(dir / u"English.lng", "x"));
    ASSERT_TRUE(WriteFileAtomic(dir / u"ITALIANO.LNG", "x"));
    ASSERT_TRUE(WriteFileAtomic(dir / u".Hidden.lng", "x"));
    ASSERT_TRUE(WriteFileAtomic(dir / u"notes.txt", "x"));
    ASSERT_TRUE(CreateDir(dir / u"folder.lng"));
    auto names = [](const std::vector<TSearchRec>& v) {
        std::vector<String> n;
        for (const auto& r : v)
            n.push_back(r.Name);
        return n;
    };
    struct Case {
        String mask;
        int attr;
        std::vector<String> expected;
    };
    const Case cases[] = {
        {u"*.lng", 0, {u"English.lng", u"ITALIANO.LNG"}},
        {u"*.lng", faHidden, {u".Hidden.lng", u"English.lng", u"ITALIANO.LNG"}},
        {u"*.lng", faDirectory, {u"English.lng", u"ITALIANO.LNG", u"folder.lng"}},
        {u"*.*", 0, {u"English.lng", u"ITALIANO.LNG", u"notes.txt"}},
        {u"?????.txt", 0, {u"notes.txt"}},
        {u"e*", 0, {u"English.lng"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(names(FindFiles(dir.path(), c.mask, c.attr)), c.expected) << U8(c.mask) << " " << c.attr;
    const auto all = FindFiles(dir.path(), u"*", faAnyFile);
    for (const auto& r : all) {
        if (r.Name == u"folder.lng")
            EXPECT_EQ(r.Attr & (faDirectory | faArchive), faDirectory);
        else
            EXPECT_EQ(r.Attr & (faDirectory | faArchive), faArchive);
        EXPECT_EQ((r.Attr & faHidden) != 0, r.Name[0] == u'.');
    }
}

TEST(Folders, ReadOnlyIsTheFilesOwnAttribute)
{
    // Read-only means no write bit at all, whoever runs the program: a file of another
    // user that this user may not write is still an ordinary file.
    TempDir dir;
    ASSERT_TRUE(WriteFileAtomic(dir / u"locked.lng", "x"));
    ASSERT_TRUE(WriteFileAtomic(dir / u"others.lng", "x"));
    ASSERT_EQ(::chmod(U8(dir / u"locked.lng").c_str(), 0444), 0);
    ASSERT_EQ(::chmod(U8(dir / u"others.lng").c_str(), 0604), 0);
    for (const auto& r : FindFiles(dir.path(), u"*.lng", faAnyFile))
        EXPECT_EQ((r.Attr & faReadOnly) != 0, r.Name == u"locked.lng") << U8(r.Name);
}

TEST(Paths, Helpers)
{
    struct Case {
        String path, filePath, fileDir, name, ext, changed;
    };
    const Case cases[] = {
        {u"/a/b/c.xml", u"/a/b/", u"/a/b", u"c.xml", u".xml", u"/a/b/c.bak"},
        {u"c.tar.gz", u"", u"", u"c.tar.gz", u".gz", u"c.tar.bak"},
        {u"/a.d/file", u"/a.d/", u"/a.d", u"file", u"", u"/a.d/file.bak"},
        {u"/top", u"/", u"/", u"top", u"", u"/top.bak"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(U8(c.path));
        EXPECT_EQ(ExtractFilePath(c.path), c.filePath);
        EXPECT_EQ(ExtractFileDir(c.path), c.fileDir);
        EXPECT_EQ(ExtractFileName(c.path), c.name);
        EXPECT_EQ(ExtractFileExt(c.path), c.ext);
        EXPECT_EQ(ChangeFileExt(c.path, u".bak"), c.changed);
    }
    EXPECT_EQ(PathJoin(u"/p/", u"/Certificates"), u"/p/Certificates");
    EXPECT_EQ(PathJoin(u"/p", u"x.xml"), u"/p/x.xml");
    EXPECT_EQ(PathJoin(u"/", u"x"), u"/x");
    EXPECT_EQ(PathJoin(u"", u"x"), u"x");
    EXPECT_EQ(IncludeTrailingPathDelimiter(u"/p"), u"/p/");
    EXPECT_EQ(IncludeTrailingPathDelimiter(u"/p/"), u"/p/");
    EXPECT_EQ(ExcludeTrailingPathDelimiter(u"/p/"), u"/p");
    EXPECT_TRUE(MatchesMask(u"ABC.Lng", u"*.lng"));
    EXPECT_FALSE(MatchesMask(u"abc.lngx", u"*.lng"));
    EXPECT_TRUE(MatchesMask(u"\u00E8.lng", u"\u00C8*"));
}

TEST(ProgramFolder, RealAndOverridden)
{
    const String real = ProgramDir();
    ASSERT_FALSE(real.empty());
    EXPECT_EQ(real.back(), u'/');
    EXPECT_TRUE(DirectoryExists(real));
    EXPECT_TRUE(FileExists(real + u"test_platform_rtl"));
    SetProgramDirOverride(u"/tmp/somewhere");
    EXPECT_EQ(ProgramDir(), u"/tmp/somewhere/");
    SetProgramDirOverride(u"");
    EXPECT_EQ(ProgramDir(), real);
}


namespace plat {
namespace {

// Every reader goes through ReadRegularFile: only regular files, never more than the cap,
// never blocking on what it opens, and an error that names the file and the reason.
TEST(ReadRegularFile, RefusesAnythingButABoundedRegularFile)
{
    TempDir dir;
    const std::string d = dir.native();
    WriteRaw(d + "/small", "0123456789");
    WriteRaw(d + "/at-cap", std::string(1000, 'a'));
    WriteRaw(d + "/over-cap", std::string(1001, 'a'));
    std::string big(5 * kMiB + 3, '\0');  // past the size read into pages of its own
    for (std::size_t i = 0; i < big.size(); ++i)
        big[i] = static_cast<char>(i * 131 % 251);
    WriteRaw(d + "/big", big);
    ASSERT_EQ(Sh("mkdir '" + d + "/folder' && mkfifo '" + d + "/pipe' && ln -s /dev/zero '" + d + "/zero' && "
                 "ln -s small '" + d + "/link' && ln -s missing '" + d + "/dangling' && "
                 "truncate -s 10G '" + d + "/sparse'"),
              0);
    struct Case {
        const char* name;
        std::int64_t cap;
        const char16_t* reason;  // nullptr: read; u"": missing
        std::size_t size;
    };
    const Case cases[] = {
        {"small", 1000, nullptr, 10},
        {"link", 1000, nullptr, 10},  // links are followed
        {"at-cap", 1000, nullptr, 1000},
        {"big", kXmlFileCap, nullptr, big.size()},
        {"over-cap", 1000, u": larger than 1000 bytes", 0},
        {"sparse", kXmlFileCap, u": larger than 16 MiB", 0},
        {"folder", kXmlFileCap, u": not a regular file", 0},
        {"pipe", kXmlFileCap, u": not a regular file", 0},  // no writer: must not wait for one
        {"zero", kXmlFileCap, u": not a regular file", 0},
        {"missing", kXmlFileCap, u"", 0},
        {"dangling", kXmlFileCap, u"", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const String file = dir / Utf8ToString(c.name);
        std::string bytes = "kept";
        String error;
        const bool ok = ReadRegularFile(file, bytes, c.cap, &error);
        EXPECT_EQ(ok, c.reason == nullptr);
        if (ok) {
            EXPECT_EQ(bytes.size(), c.size);
        } else {
            EXPECT_EQ(bytes, "kept");
            EXPECT_EQ(error, u"Cannot open file \"" + file + u"\"" + c.reason);
        }
        // The same through the reader into pages: the same outcome and the same bytes.
        TFileBytes pages;
        ASSERT_TRUE(pages.Reserve(4));
        std::memcpy(pages.data(), "kept", 4);
        pages.SetSize(4);
        String pagesError;
        EXPECT_EQ(ReadRegularFile(file, pages, c.cap, &pagesError), ok);
        EXPECT_EQ(pages.view(), ok ? std::string_view(bytes) : std::string_view("kept"));
        EXPECT_EQ(pagesError, error);
    }
}

TEST(ReadRegularFile, UnreadableFileNamesTheSystemReason)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "permissions do not stop the superuser";
    TempDir dir;
    WriteRaw(dir.native() + "/locked", "secret");
    ASSERT_EQ(::chmod((dir.native() + "/locked").c_str(), 0), 0);
    std::string bytes;
    String error;
    EXPECT_FALSE(ReadRegularFile(dir / u"locked", bytes, kXmlFileCap, &error));
    EXPECT_EQ(error, u"Cannot open file \"" + (dir / u"locked") + u"\": Permission denied");
}

// Kernel files report a size of 0 or a page and are read to their real end.
TEST(ReadRegularFile, ReadsFilesWhoseSizeIsNotKnownInAdvance)
{
    std::string bytes;
    ASSERT_TRUE(ReadRegularFile(u"/proc/self/status", bytes, kDefaultFileCap));
    EXPECT_NE(bytes.find("Name:"), std::string::npos);
    EXPECT_FALSE(ReadRegularFile(u"/proc/self/status", bytes, 16));
    TFileBytes pages;
    ASSERT_TRUE(ReadRegularFile(u"/proc/self/status", pages, kDefaultFileCap));
    EXPECT_NE(pages.view().find("Name:"), std::string_view::npos);
}

// Blocks in pages keep their bytes when they grow past the huge-page size and hand them on
// when moved.
TEST(FileBytes, GrowsAndMovesKeepingTheBytes)
{
    TFileBytes a;
    ASSERT_TRUE(a.Reserve(100));
    std::memset(a.data(), 'x', 100);
    a.SetSize(100);
    ASSERT_TRUE(a.Reserve(3 * kHugePageSize + 1));
    EXPECT_EQ(a.view(), std::string(100, 'x'));
    a.data()[3 * kHugePageSize] = 'y';
    TFileBytes b = std::move(a);
    EXPECT_TRUE(a.empty());
    EXPECT_EQ(a.data(), nullptr);
    EXPECT_EQ(b.view(), std::string(100, 'x'));
    EXPECT_EQ(b.data()[3 * kHugePageSize], 'y');
    a = std::move(b);
    EXPECT_EQ(a.size(), 100u);
    a.Clear();
    EXPECT_EQ(a.capacity(), 0u);
}

// A streaming atomic write either replaces the file whole or leaves the old one.
TEST(AtomicFileWriter, CommitReplacesAndAbandonLeavesTheOldFile)
{
    TempDir dir;
    const String file = dir / u"target";
    WriteRaw(dir.native() + "/target", "old");
    {
        TAtomicFileWriter w(file);
        ASSERT_TRUE(w.Write("ne", 2));
        ASSERT_TRUE(w.Write("w", 1));
    }
    EXPECT_EQ(ReadRaw(file), "old");
    {
        TAtomicFileWriter w(file);
        ASSERT_TRUE(w.Write("new", 3));
        ASSERT_TRUE(w.Commit());
    }
    EXPECT_EQ(ReadRaw(file), "new");
    EXPECT_EQ(Sh("test $(ls -A '" + dir.native() + "' | wc -l) -eq 1"), 0) << "no temporary file left";
    TAtomicFileWriter nowhere(dir / u"no-such-folder/target");
    EXPECT_FALSE(nowhere.Write("x", 1));
    EXPECT_FALSE(nowhere.Commit());
}

} // namespace
} // namespace plat

TEST(Folders, FindFilesListsTheDotEntriesOnlyWhenAskedForWithFolders)
{
    TempDir dir;
    ASSERT_TRUE(WriteFileAtomic(dir / u"a.bmp", "x"));
    ASSERT_TRUE(CreateDir(dir / u"sub"));
    auto names = [](const std::vector<TSearchRec>& v) {
        std::vector<String> n;
        for (const auto& r : v) n.push_back(r.Name);
        return n;
    };
    struct Case {
        String mask;
        int attr;
        bool dots;
        std::vector<String> expected;
    };
    const Case cases[] = {
        {u"*.*", faAnyFile, true, {u".", u"..", u"a.bmp", u"sub"}},
        {u"*.*", faAnyFile, false, {u"a.bmp", u"sub"}},
        {u"*.*", 0, true, {u"a.bmp"}},           // no folders asked for
        {u"*.bmp", faDirectory, true, {u"a.bmp"}},  // the dots do not match
        {u"*", faDirectory, true, {u".", u"..", u"a.bmp", u"sub"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(names(FindFiles(dir.path(), c.mask, c.attr, c.dots)), c.expected) << U8(c.mask) << " " << c.attr;
    for (const auto& r : FindFiles(dir.path(), u"*", faAnyFile, true))
        if (r.Name == u"." || r.Name == u"..") {
            EXPECT_EQ(r.Attr, faDirectory);
        }
}

} // namespace
} // namespace plat
