#include "tarn/protocol/attach_rules.h"

#include <gtest/gtest.h>

#include "tarn/protocol/tarn_protocol.h"

namespace {

using tarn::AttachAction;
using tarn::attachActionFor;

TEST(AttachRules, TheShellIsRefusedAndTheRegistrationToolOnlyRegisters) {
    EXPECT_EQ(attachActionFor(L"C:\\Windows\\explorer.exe"), AttachAction::Refuse);
    EXPECT_EQ(attachActionFor(L"/opt/explorer.exe"), AttachAction::Refuse);
    EXPECT_EQ(attachActionFor(L"explorer.exe"), AttachAction::Refuse);
    EXPECT_EQ(attachActionFor(L"C:\\Windows\\System32\\regsvr32.exe"), AttachAction::Register);
    // The names are compared exactly.
    EXPECT_EQ(attachActionFor(L"C:\\Windows\\Explorer.EXE"), AttachAction::Start);
    EXPECT_EQ(attachActionFor(L"/usr/bin/regsvr32.exe.real"), AttachAction::Start);
    EXPECT_EQ(attachActionFor(L"/opt/tamrix/bin/tamrix-host"), AttachAction::Start);
    EXPECT_EQ(attachActionFor(L""), AttachAction::Start);
}

}  // namespace
