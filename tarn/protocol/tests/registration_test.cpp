#include "tarn/protocol/registration.h"

#include <gtest/gtest.h>

#include "common/util/registry_string.h"
#include "testing/environment/temporary_home.h"

namespace {

std::wstring classesValue(const std::wstring& path) {
    const common::registry_string<std::wstring> value(L"Software\\Classes\\" + path,
                                                      platform::registry::HKEY_CURRENT_USER,
                                                      L"<none>", common::kRegistryNoWriteBack);
    return value.value;
}

TEST(Registration, TheHandlerKeyLeadsToTheModuleAndGoesAwayAgain) {
    testing_environment::TemporaryHome home;
    ASSERT_EQ(tarn::registerProtocolClass(L"/opt/tamrix/bin/protocol.so"), platform::com::S_OK);
    const std::wstring clsid = classesValue(L"PROTOCOLS\\Handler\\tarn\\CLSID");
    EXPECT_EQ(clsid, L"{E55E1F27-11DA-0004-0002-00AA00000001}");
    EXPECT_EQ(classesValue(L"PROTOCOLS\\Handler\\tarn\\"), L"Tarn pluggable protocol");
    EXPECT_EQ(classesValue(L"CLSID\\" + clsid + L"\\InprocServer32\\"),
              L"/opt/tamrix/bin/protocol.so");
    EXPECT_EQ(classesValue(L"CLSID\\" + clsid + L"\\InprocServer32\\ThreadingModel"), L"Apartment");
    EXPECT_EQ(classesValue(L"TarnProtocol.PluggableProtocol\\CurVer\\"),
              L"TarnProtocol.PluggableProtocol.1");
    EXPECT_EQ(classesValue(L"TarnProtocol.PluggableProtocol.1\\CLSID\\"), clsid);

    EXPECT_EQ(tarn::unregisterProtocolClass(), platform::com::S_OK);
    EXPECT_EQ(classesValue(L"PROTOCOLS\\Handler\\tarn\\CLSID"), L"<none>");
    EXPECT_EQ(classesValue(L"CLSID\\" + clsid + L"\\InprocServer32\\"), L"<none>");
}

}  // namespace
