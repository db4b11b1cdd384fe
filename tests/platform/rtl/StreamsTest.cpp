// Byte streams: memory and file streams, short reads and writes raising the layer's errors.
#include <cstdlib>

#include "plat/Files.h"
#include "plat/Streams.h"
#include "TestUtil.h"

namespace plat {
namespace {

using test::ThrowsWith;

TEST(StreamsTest, MemoryStreamReadsWritesAndSeeks)
{
    TMemoryStream m;
    m.WriteBuffer("abcdef", 6);
    EXPECT_EQ(m.Size(), 6);
    EXPECT_EQ(m.Position(), 6);
    m.SetPosition(2);
    char buf[8] = {};
    EXPECT_EQ(m.Read(buf, 8), 4u);  // Read answers what it could
    EXPECT_EQ(std::string(buf, 4), "cdef");
    m.SetPosition(4);
    EXPECT_TRUE(ThrowsWith<EReadError>([&] { m.ReadBuffer(buf, 3); }, u"Stream read error"));
    m.Seek(8, soBeginning);
    m.WriteBuffer("x", 1);  // past the end: the gap is zeros
    EXPECT_EQ(m.Bytes(), std::string("abcdef\0\0x", 9));
    m.SetSize(3);
    EXPECT_EQ(m.Position(), 3);
    EXPECT_EQ(m.Bytes(), "abc");
}

TEST(StreamsTest, ReadOnlyMemoryRefusesWrites)
{
    const char data[] = "xyz";
    TCustomMemoryStream m(data, 3);
    EXPECT_TRUE(ThrowsWith<EWriteError>([&] { m.WriteBuffer("a", 1); }, u"Stream write error"));
}

TEST(StreamsTest, FileStreamRoundTripAndErrors)
{
    test::TempDir dir;
    const String name = dir / u"f.bin";
    {
        TFileStream f(name, fmCreate);
        f.WriteBuffer("0123456789", 10);
        f.Seek(-3, soEnd);
        f.WriteBuffer("ab", 2);
    }
    TFileStream f(name, fmOpenRead);
    EXPECT_EQ(f.Size(), 10);
    char buf[10];
    f.ReadBuffer(buf, 10);
    EXPECT_EQ(std::string(buf, 10), "0123456ab9");
    EXPECT_TRUE(ThrowsWith<EReadError>([&] { f.ReadBuffer(buf, 1); }, u"Stream read error"));
    EXPECT_TRUE(ThrowsWith<EWriteError>([&] { f.WriteBuffer("z", 1); }, u"Stream write error"));

    EXPECT_TRUE(ThrowsWith<EFOpenError>([&] { TFileStream(dir / u"missing", fmOpenRead); },
                                        u"Cannot open file \"" + (dir / u"missing") + u"\"."));
    EXPECT_TRUE(ThrowsWith<EFOpenError>([&] { TFileStream(dir.path(), fmOpenRead); },
                                        u"Cannot open file \"" + dir.path() + u"\"."));
    EXPECT_TRUE(ThrowsWith<EFOpenError>([&] { TFileStream(dir / u"no/such/f", fmCreate); },
                                        u"Cannot create file \"" + (dir / u"no/such/f") + u"\"."));
}

// A file stream opens regular files only, and never waits on what it opens: a named pipe
// without a writer, a folder, a device and a link to one are refused at once; a link to a
// regular file is followed.
TEST(StreamsTest, FileStreamRefusesAnythingButARegularFileWithoutBlocking)
{
    test::TempDir dir;
    const std::string d = dir.native();
    {
        TFileStream f(dir / u"file", fmCreate);
        f.WriteBuffer("abc", 3);
    }
    const std::string make = "cd '" + d + "' && mkdir folder && mkfifo pipe && ln -s /dev/zero zero && "
                             "ln -s pipe pipe-link && ln -s file link";
    ASSERT_EQ(std::system(make.c_str()), 0);
    struct Case {
        const char16_t* name;
        bool opens;
    };
    const Case cases[] = {
        {u"file", true}, {u"link", true}, {u"folder", false}, {u"pipe", false}, {u"pipe-link", false}, {u"zero", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(StringToUtf8(c.name));
        for (unsigned mode : {fmOpenRead, fmOpenReadWrite}) {
            const String file = dir / c.name;
            if (c.opens) {
                TFileStream f(file, mode);
                char buf[3];
                f.ReadBuffer(buf, 3);
                EXPECT_EQ(std::string(buf, 3), "abc");
            } else {
                EXPECT_TRUE(ThrowsWith<EFOpenError>([&] { TFileStream(file, mode); },
                                                    u"Cannot open file \"" + file + u"\"."));
            }
        }
    }
}

} // namespace
} // namespace plat
