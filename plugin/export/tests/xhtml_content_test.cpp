#include "plugin/export/xhtml_content.h"

#include <gtest/gtest.h>

namespace {

using plugin::xmlText;

TEST(XhtmlContent, TextForXmlIsEscapedAndCleaned) {
    EXPECT_EQ(xmlText(L"a<b>&\"c'\x01\x1F\tü"), "a&lt;b&gt;&amp;&quot;c'\tü");
}

}  // namespace
