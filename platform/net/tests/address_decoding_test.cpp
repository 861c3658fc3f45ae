#include <gtest/gtest.h>

#include "platform/net/address_decoding.h"

using namespace platform::net;

TEST(AddressDecoding, DataAndFileAddressesGiveTheirBytesAndPaths) {
    EXPECT_EQ(percentDecoded("a%41%4a%zz%4"), "aAJ%zz%4");
    EXPECT_EQ(percentDecoded("%00x"), std::string("\0x", 2));
    EXPECT_EQ(dataUrlBytes("data:image/png;base64,SGVs%0AbG8="), "Hello");
    EXPECT_EQ(dataUrlBytes("data:text/plain,a%20b"), "a b");
    EXPECT_EQ(dataUrlBytes("data:;BASE64,SGk_-w"), std::string("Hi?\xfb", 4));
    EXPECT_FALSE(dataUrlBytes("data:image/png;base64,SG*s"));
    EXPECT_FALSE(dataUrlBytes("data:image/png"));
    EXPECT_EQ(localFilePath("file:///tmp/a%20b.png?x#y"), "/tmp/a b.png");
    EXPECT_EQ(localFilePath("file:/tmp/c.png"), "/tmp/c.png");
    EXPECT_EQ(localFilePath("file://LocalHost/tmp/d.png"), "/tmp/d.png");
    EXPECT_FALSE(localFilePath("file://other.host/etc/passwd"));
}
