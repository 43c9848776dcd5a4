#include "common/name_codes.h"
#include "platform/windows_1252.h"

#include <gtest/gtest.h>

namespace {

TEST(NameCodes, StrippingRemovesSpacingCodesDigitByDigitThenLoneSigns) {
    const std::pair<QString, QString> cases[] = {
        {QStringLiteral("Your Name"), QStringLiteral("Your Name")},
        {QStringLiteral("§3Your Name"), QStringLiteral("Your Name")},
        {QStringLiteral("Your Name§"), QStringLiteral("Your Name")},
        {QStringLiteral("§1§2§3§9x"), QStringLiteral("x")},
        // A sign before anything but "1" to "9" goes alone; what follows it stays.
        {QStringLiteral("a§0b"), QStringLiteral("a0b")},
        {QStringLiteral("§10"), QStringLiteral("0")},
        {QStringLiteral("§a§"), QStringLiteral("a")},
        {QStringLiteral("§§"), QString()},
        // Colour codes and other characters stay.
        {QStringLiteral("|R|ed§"), QStringLiteral("|R|ed")},
        {QStringLiteral("€ñ§5ÿ"), QStringLiteral("€ñÿ")},
        // A removal is not rescanned: the join it makes survives until the lone signs go...
        {QStringLiteral("§§11"), QStringLiteral("1")},
        {QStringLiteral("§§21"), QStringLiteral("1")},
        // ...unless a later digit's pass finds it.
        {QStringLiteral("§§12"), QString()},
        {QString(), QString()},
    };
    for (const auto& [name, expected] : cases)
        EXPECT_EQ(name_codes::stripped(name), expected) << name.toStdString();
}

TEST(NameCodes, OnlyASingleDigitOneToNineIsASpacing) {
    const std::pair<QString, bool> cases[] = {
        {QStringLiteral("1"), true},   {QStringLiteral("5"), true},
        {QStringLiteral("9"), true},   {QStringLiteral("0"), false},
        {QStringLiteral(" 3"), false}, {QStringLiteral("3 "), false},
        {QStringLiteral("03"), false}, {QStringLiteral("12"), false},
        {QStringLiteral("a"), false},  {QString(), false},
        {QStringLiteral("-1"), false}, {QStringLiteral("1-9"), false},
        {QStringLiteral("٣"), false},  // another script's digit three
        {QStringLiteral("３"), false}, // full-width three
        {QStringLiteral("²"), false},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(name_codes::isSpacingDigit(text), expected) << text.toStdString();
}

TEST(NameCodes, CodesBecomeTheGamesSingleByteSign) {
    using platform::toWindows1252;
    EXPECT_EQ(toWindows1252(name_codes::withSpacing(QStringLiteral("Jazz"), QStringLiteral("4"))),
              QByteArray("\xa7"
                         "4Jazz"));
    EXPECT_EQ(toWindows1252(name_codes::withoutColon(QStringLiteral("Jazz"))),
              QByteArray("Jazz\xa7"));
}

} // namespace
