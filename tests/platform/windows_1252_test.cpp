#include "platform/windows_1252.h"

#include <gtest/gtest.h>

namespace {

TEST(Windows1252, EachByteIsOneCharacterOfTheCodePageAndBack) {
    const QByteArray bytes("Ab\xa7"
                           "1\xe9\x80\x9f\x81\xff");
    const QString text = QStringLiteral("Ab\u00a71\u00e9\u20ac\u0178\u0081\u00ff");
    EXPECT_EQ(platform::fromWindows1252(bytes), text);
    EXPECT_EQ(platform::toWindows1252(text), bytes);
    EXPECT_EQ(platform::fromWindows1252(QByteArray("a\0b", 3)).size(), 3);
    EXPECT_EQ(platform::toWindows1252(QStringLiteral("\u4e2d")), QByteArray("?"));
}

} // namespace
