#include <gtest/gtest.h>

#include <filesystem>

#include "platform/system/module.h"
#include "platform/system/module_path.h"

using namespace platform::system;

TEST(Module, LoadsCallsAndUnloads) {
    Module module;
    ASSERT_TRUE(module.open(FIXTURE_MODULE)) << module.error();
    auto* answer = module.function<int()>("fixtureAnswer");
    ASSERT_NE(answer, nullptr) << module.error();
    EXPECT_EQ(answer(), 42);
    EXPECT_EQ(modulePathOf(reinterpret_cast<const void*>(answer)),
              std::filesystem::canonical(FIXTURE_MODULE));

    EXPECT_EQ(module.symbol("noSuchSymbol"), nullptr);
    EXPECT_FALSE(module.error().empty());

    Module moved = std::move(module);
    EXPECT_FALSE(module.isOpen());
    EXPECT_TRUE(moved.isOpen());
    moved.close();
    EXPECT_EQ(moved.symbol("fixtureAnswer"), nullptr);
}

TEST(Module, MissingFileIsReported) {
    Module module;
    EXPECT_FALSE(module.open("/nonexistent/plugin.so"));
    EXPECT_FALSE(module.isOpen());
    EXPECT_NE(module.error().find("plugin.so"), std::string::npos) << module.error();
}
