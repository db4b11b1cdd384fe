// Byte streams: memory and file streams, short reads and writes raising the layer's errors.
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

} // namespace
} // namespace plat
