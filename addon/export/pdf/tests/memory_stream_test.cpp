#include <gtest/gtest.h>
#include <zlib.h>

#include <clocale>

#include "addon/export/pdf/memory_stream.h"

using addon::PDFWriter::MemoryStream;

TEST(MemoryStream, WritesPdfNumberAndTextForms) {
    MemoryStream stream(4);
    stream.write("a");
    stream.writeByte(' ');
    stream.writeInt(-42);
    stream.writeByte(' ');
    stream.writeReal(0.99);
    stream.writeByte(' ');
    stream.writeReal(-1.5);
    stream.writeByte(' ');
    stream.writeHexText(L"A");
    stream.writeByte(' ');
    // Non-ASCII, a character outside the basic plane (two UTF-16 units) and the
    // characters a literal string would have to escape.
    stream.writeHexText(L"\u00e9\U0001F600()\\");
    EXPECT_EQ(stream.bytes(), "a -42 0.990000 -1.500000 FEFF0041 FEFF00E9D83DDE0000280029005C");
    EXPECT_GE(stream.capacity(), stream.size());

    // Numbers keep the C notation whatever locale the process uses.
    if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr) {
        MemoryStream german(8);
        german.writeReal(2.25);
        EXPECT_EQ(german.bytes(), "2.250000");
        std::setlocale(LC_NUMERIC, "C");
    }
}

TEST(MemoryStream, CompressedBlocksInflateBackAndGrowthKeepsEverything) {
    std::string input;
    for (int i = 0; i < 5000; ++i) {
        input += static_cast<char>(i % 7);
    }
    MemoryStream stream(16);
    stream.write("x");
    ASSERT_TRUE(stream.writeCompressed(input.data(), input.size()));
    EXPECT_LT(stream.size(), input.size());
    std::string inflated(input.size(), '\0');
    uLongf size = inflated.size();
    ASSERT_EQ(
        uncompress(reinterpret_cast<Bytef*>(inflated.data()), &size,
                   reinterpret_cast<const Bytef*>(stream.bytes().data() + 1), stream.size() - 1),
        Z_OK);
    EXPECT_EQ(inflated, input);

    MemoryStream empty(0);
    ASSERT_TRUE(empty.writeCompressed("", 0));
    EXPECT_GT(empty.size(), 0u);  // an empty block is still a valid zlib stream
}
