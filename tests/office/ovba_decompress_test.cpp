#include "office/ovba_decompress.h"

#include <gtest/gtest.h>

#include <string>

#include "office_fixtures.h"

namespace trawlex::office {
namespace {

std::string Bytes(std::initializer_list<int> values) {
    std::string out;
    for (int v : values) out.push_back(static_cast<char>(v));
    return out;
}

TEST(DecompressContainer, ReadsTheFormatsWorkedExample) {
    const std::string compressed =
        Bytes({0x01, 0x2F, 0xB0, 0x00, 0x23, 0x61, 0x61, 0x61, 0x62, 0x63, 0x64, 0x65, 0x82,
               0x66, 0x00, 0x70, 0x61, 0x67, 0x68, 0x69, 0x6A, 0x01, 0x38, 0x08, 0x61, 0x6B,
               0x6C, 0x00, 0x20, 0x6D, 0x6E, 0x6F, 0x70, 0x06, 0x71, 0x02, 0x70, 0x04, 0x00,
               0x72, 0x73, 0x74, 0x75, 0x76, 0x10, 0x77, 0x78, 0x79, 0x7A, 0x00, 0x2C});
    Result<std::string> text = DecompressContainer(compressed);
    ASSERT_TRUE(text) << text.error();
    EXPECT_EQ(*text, "#aaabcdefaaaaghijaaaaaklaaamnopqaaaaaaaaaaaarstuvwxyzaaa");
}

TEST(DecompressContainer, StoredChunkIsTakenAsItIs) {
    std::string data(4096, 'x');
    data[100] = 'y';
    const std::string compressed = Bytes({0x01, 0xFF, 0x3F}) + data;
    Result<std::string> text = DecompressContainer(compressed);
    ASSERT_TRUE(text) << text.error();
    EXPECT_EQ(*text, data);
}

TEST(DecompressContainer, RoundTripsManyChunksWithLongReaches) {
    // Repeats far apart inside each chunk use copy tokens with up to 12 offset bits.
    std::string text;
    for (int i = 0; text.size() < 20000; ++i)
        text += "    Debug.Print \"line " + std::to_string(i * 7919 % 1000) + "\"\r\n";
    Result<std::string> back = DecompressContainer(test::CompressContainer(text));
    ASSERT_TRUE(back) << back.error();
    EXPECT_EQ(*back, text);
}

TEST(DecompressContainer, RefusesDamagedContainers) {
    EXPECT_FALSE(DecompressContainer(""));
    EXPECT_FALSE(DecompressContainer(Bytes({0x02, 0x2F, 0xB0})));  // container signature
    EXPECT_FALSE(DecompressContainer(Bytes({0x01, 0x2F, 0x70, 0x00, 0x41})));  // chunk signature
    // A copy token as the chunk's first token reaches before the chunk.
    EXPECT_FALSE(DecompressContainer(Bytes({0x01, 0x02, 0xB0, 0x01, 0x00, 0x00})));
    // A token reaching back 2 bytes when only one is there.
    EXPECT_FALSE(DecompressContainer(Bytes({0x01, 0x03, 0xB0, 0x02, 0x41, 0x00, 0x10})));
}

TEST(DecompressContainer, ChunkCutShortGivesWhatItHolds) {
    const std::string whole = test::CompressContainer("Sub Main()\r\nEnd Sub\r\n");
    Result<std::string> text = DecompressContainer(whole.substr(0, 9));
    ASSERT_TRUE(text) << text.error();
    EXPECT_EQ(*text, "Sub M");
}

}  // namespace
}  // namespace trawlex::office
