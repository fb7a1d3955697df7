#include <gtest/gtest.h>
#include <zlib.h>

#include "store/attachment.h"

namespace {

ByteSet bytes_of(const std::string& s) {
  return ByteSet(s);
}

std::string header(int32_t length) {
  std::string h = "\x0D\x0F\x3E\x03";
  for (int i = 0; i < 4; ++i) h += static_cast<char>(static_cast<uint32_t>(length) >> (8 * i));
  return h;
}

std::string zlib_of(const std::string& s) {
  uLongf size = compressBound(s.size());
  std::string out(size, '\0');
  compress2(reinterpret_cast<Bytef*>(out.data()), &size, reinterpret_cast<const Bytef*>(s.data()),
            s.size(), Z_DEFAULT_COMPRESSION);
  out.resize(size);
  return out;
}

TEST(Attachment, PackedFormIsMagicLengthAndCompress2Stream) {
  EXPECT_EQ(pack_attachment(ByteSet()).str(), header(0));
  std::string source = "#include <stdio.h>\n" + std::string(5000, 'x') + "\0\1\2";
  ByteSet packed = pack_attachment(bytes_of(source));
  EXPECT_EQ(packed.str(), header(static_cast<int32_t>(source.size())) + zlib_of(source));
  EXPECT_EQ(unpack_attachment(packed).str(), source);
}

TEST(Attachment, UnpackGivesEmptyForAnythingNotWholeAndClean) {
  std::string text(3000, 'e');
  std::string stream = zlib_of(text);
  std::string corrupt = stream;
  corrupt[corrupt.size() / 2] ^= 0x55;
  struct Case {
    const char* name;
    std::string packed;
  };
  const Case cases[] = {
      {"empty", ""},
      {"header of length 0", header(0)},
      {"short", header(3000).substr(0, 7)},
      {"no magic", "\x0D\x0F\x3E\x04" + header(3000).substr(4) + stream},
      {"negative length", header(-5) + stream},
      {"no stream", header(3000)},
      {"cut stream", header(3000) + stream.substr(0, stream.size() - 6)},
      {"corrupt stream", header(3000) + corrupt},
      {"length too small even doubled", header(1000) + stream},
      {"huge length, garbage", header(0x7FFFFFFF) + std::string(100, '\x33')},
      {"huge length, cut stream", header(0x7FFFFFFF) + stream.substr(0, 20)},
  };
  for (const Case& c : cases) EXPECT_TRUE(unpack_attachment(bytes_of(c.packed)).empty()) << c.name;
}

TEST(Attachment, UnpackAllowsUpToTwiceTheStoredLength) {
  std::string text(3000, 'e');
  EXPECT_EQ(unpack_attachment(bytes_of(header(1500) + zlib_of(text))).str(), text);
  EXPECT_EQ(unpack_attachment(bytes_of(header(0x7FFFFFFF) + zlib_of(text))).str(), text);
}

}  // namespace
