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

TEST(Windows1252, DecodesEveryByteToItsCharacter) {
    EXPECT_EQ(platform::fromWindows1252("Jazz \xA7 \x80\x8A\x9F\xE9\x81"),
              QStringLiteral(u"Jazz § €ŠŸé\u0081"));
    EXPECT_LT(platform::foldWindows1252('A'), platform::foldWindows1252('b'));
    EXPECT_EQ(platform::foldWindows1252('\xC9'), platform::foldWindows1252('\xE9')); // É é
    EXPECT_EQ(platform::foldWindows1252('\x8A'), platform::foldWindows1252('\x9A')); // Š š
    EXPECT_EQ(platform::foldWindows1252('\xD7'), 0xD7); // × is no letter
}

} // namespace
