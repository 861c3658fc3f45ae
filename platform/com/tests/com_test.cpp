#include <gtest/gtest.h>

#include <set>

#include "platform/com/guid.h"
#include "platform/com/unknown.h"
#include "platform/com/variant.h"

using namespace platform::com;

TEST(Guid, ParsesWithAndWithoutBracesAndFormatsUpperCase) {
    const auto a = parseGuid("{6ba7b810-9dad-11d1-80b4-00c04fd430c8}");
    const auto b = parseGuid("6BA7B810-9DAD-11D1-80B4-00C04FD430C8");
    ASSERT_TRUE(a && b);
    EXPECT_EQ(*a, *b);
    EXPECT_EQ(a->Data1, 0x6ba7b810u);
    EXPECT_EQ(a->Data4[7], 0xc8);
    EXPECT_EQ(formatGuid(*a), "{6BA7B810-9DAD-11D1-80B4-00C04FD430C8}");
    EXPECT_EQ(parseGuid(formatGuid(*a)), a);
}

TEST(Guid, RejectsMalformedText) {
    for (const char* bad :
         {"", "{}", "6ba7b810-9dad-11d1-80b4-00c04fd430c", "6ba7b810x9dad-11d1-80b4-00c04fd430c8",
          "{6ba7b810-9dad-11d1-80b4-00c04fd430cg}", "(6ba7b810-9dad-11d1-80b4-00c04fd430c8)"})
        EXPECT_FALSE(parseGuid(bad)) << bad;
}

TEST(Guid, NewGuidsAreVersion4AndDistinct) {
    std::set<GUID> seen;
    for (int i = 0; i < 1000; ++i) {
        const GUID g = newGuid();
        EXPECT_EQ(g.Data3 >> 12, 4);
        EXPECT_EQ(g.Data4[0] & 0xC0, 0x80);
        seen.insert(g);
    }
    EXPECT_EQ(seen.size(), 1000u);
}

namespace {
struct IAnimal : IUnknown {
    static constexpr GUID IID = guidLiteral("11111111-0000-0000-0000-000000000001");
    virtual int legs() = 0;
};
struct INamed : IUnknown {
    static constexpr GUID IID = guidLiteral("11111111-0000-0000-0000-000000000002");
    virtual std::wstring name() = 0;
};
struct IOther : IUnknown {
    static constexpr GUID IID = guidLiteral("11111111-0000-0000-0000-000000000003");
};
int g_alive = 0;
class Dog : public ComObject<Dog, IAnimal, INamed> {
  public:
    Dog() { ++g_alive; }
    ~Dog() override { --g_alive; }
    int legs() override { return 4; }
    std::wstring name() override { return L"dog"; }
};
}  // namespace

TEST(ComObject, CountsReferencesAndAnswersItsInterfaces) {
    {
        ComPtr<Dog> dog = Dog::create();
        EXPECT_EQ(g_alive, 1);
        ComPtr<INamed> named = dog.as<INamed>();
        ASSERT_TRUE(named);
        EXPECT_EQ(named->name(), L"dog");
        ComPtr<IUnknown> unknown = dog.as<IUnknown>();
        EXPECT_TRUE(unknown);
        EXPECT_FALSE(dog.as<IOther>());
        void* raw = reinterpret_cast<void*>(1);
        EXPECT_EQ(dog->QueryInterface(IOther::IID, &raw), E_NOINTERFACE);
        EXPECT_EQ(raw, nullptr);
        dog.reset();
        EXPECT_EQ(g_alive, 1);  // still held through `named` and `unknown`
    }
    EXPECT_EQ(g_alive, 0);
}

TEST(Variant, ConvertsBetweenKinds) {
    EXPECT_EQ(Variant::fromI4(42).changeType(VT_BSTR)->text(), L"42");
    EXPECT_EQ(Variant::fromString(L" 12.5").changeType(VT_R8)->real(), 12.5);
    EXPECT_EQ(Variant::fromString(L"2.5").changeType(VT_I4)->integer(), 2);  // round half to even
    EXPECT_EQ(Variant::fromString(L"3.5").changeType(VT_I4)->integer(), 4);
    EXPECT_FALSE(Variant::fromString(L"12abc").changeType(VT_I4));
    EXPECT_FALSE(Variant::fromDouble(1e10).changeType(VT_I4));
    EXPECT_FALSE(Variant::null().changeType(VT_I4));
    EXPECT_EQ(Variant::fromString(L"TRUE").changeType(VT_BOOL)->boolean(), true);
    EXPECT_EQ(Variant::fromBool(true).changeType(VT_I4)->integer(), -1);
    EXPECT_EQ(Variant::fromDate(2.5).toText(), L"1/1/1900 12:00:00");
    EXPECT_EQ(Variant().changeType(VT_BSTR)->text(), L"");
    EXPECT_EQ(Variant::fromI2(7), Variant::fromI2(7));
    EXPECT_FALSE(Variant::fromI2(7) == Variant::fromI4(7));
}
