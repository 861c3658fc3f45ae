#include <jemalloc/jemalloc.h>

#include <gtest/gtest.h>

// Every executable of the build takes its memory from jemalloc with the settings of
// heap_settings.cpp; a test binary is one of them.
TEST(HeapSettings, ProgramsTakeTheirMemoryFromJemallocOnHugePages) {
    const char* thp = nullptr;
    std::size_t size = sizeof(thp);
    ASSERT_EQ(mallctl("opt.thp", &thp, &size, nullptr, 0), 0);
    EXPECT_STREQ(thp, "always");
}
