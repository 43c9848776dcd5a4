#include "launcher/character_page.h"
#include "support/main_window_fixture.h"

#include <QTest>

namespace {

class NameTools : public support::MainWindowTest {
protected:
    void SetUp() override {
        storePaths();
        open();
        doubleClick(window().opChar);
        ASSERT_EQ(page(), QStringLiteral("character"));
    }
    CharacterPage& p() { return *window().Frame3; }
};

TEST_F(NameTools, ButtonsPutOneCodeIntoTheNameAndCorrectTheSpacing) {
    enum Button { Colon, Spacing };
    struct Row {
        const char16_t* alias;
        const char16_t* spacing;
        Button button;
        const char16_t* aliasAfter;
        const char16_t* spacingAfter;
        const char16_t* message;
    };
    const char16_t* const none = u"";
    const char16_t* const tooLong = u"Please shorten your name first";
    // Names of 12, 13 and 14 characters: ABCDEFGHIJKL, ABCDEFGHIJKLM, ABCDEFGHIJKLMN.
    const Row rows[] = {
        {u"Your Name", u"1-9", Colon, u"Your Name§", u"1-9", none},
        {u"Your Name§", u"1-9", Colon, u"Your Name§", u"1-9", none},
        {u"Your Name", u"1-9", Spacing, u"§3Your Name", u"3", none},
        // The later button wins: the other code goes first.
        {u"§3Jazz", u"5", Colon, u"Jazz§", u"5", none},
        {u"Jazz§", u"5", Spacing, u"§5Jazz", u"5", none},
        {u"§9Jazz", u"2", Spacing, u"§2Jazz", u"2", none},
        // A spacing box that holds anything but one digit 1 to 9 shows 3.
        {u"Jazz", u" 3", Spacing, u"§3Jazz", u"3", none},
        {u"Jazz", u"03", Spacing, u"§3Jazz", u"3", none},
        {u"Jazz", u"0", Spacing, u"§3Jazz", u"3", none},
        {u"Jazz", u"", Spacing, u"§3Jazz", u"3", none},
        // Only the sign of "§0" goes; colour codes stay.
        {u"a§0b|c", u"1-9", Colon, u"a0b|c§", u"1-9", none},
        // Lengths: the codes count, after the old ones are gone.
        {u"ABCDEFGHIJKLM", u"1-9", Colon, u"ABCDEFGHIJKLM§", u"1-9", none},
        {u"ABCDEFGHIJKLMN", u"1-9", Colon, u"ABCDEFGHIJKLMN", u"1-9", tooLong},
        {u"§3ABCDEFGHIJKL", u"1-9", Colon, u"ABCDEFGHIJKL§", u"1-9", none},
        {u"ABCDEFGHIJKL", u"4", Spacing, u"§4ABCDEFGHIJKL", u"4", none},
        {u"ABCDEFGHIJKLM", u"1-9", Spacing, u"ABCDEFGHIJKLM", u"3", tooLong},
        {u"ABCDEFGHIJKLM§", u"7", Spacing, u"ABCDEFGHIJKLM", u"7", tooLong},
    };
    for (const Row& row : rows) {
        const auto q = [](const char16_t* text) { return QString::fromUtf16(text); };
        SCOPED_TRACE((q(row.alias) + u'/' + q(row.spacing)).toStdString());
        sandbox.dialogs().clear();
        p().Alias->setText(q(row.alias));
        p().spacing->setText(q(row.spacing));
        click(row.button == Colon ? p().Command15 : p().Command16);
        EXPECT_EQ(p().Alias->text(), q(row.aliasAfter));
        EXPECT_EQ(p().spacing->text(), q(row.spacingAfter));
        EXPECT_EQ(sandbox.dialogs().messages().join(u'|'), q(row.message));
        for (const auto& shown : sandbox.dialogs().shown())
            EXPECT_EQ(shown.title, applicationTitle());
    }
}

TEST_F(NameTools, ATypedNameKeepsItsCodeWhenThePageIsStored) {
    p().Alias->clear();
    QTest::keyClicks(p().Alias, QStringLiteral("Spaz"));
    click(p().Command16);
    click(p().Command15); // replaces the spacing code
    EXPECT_EQ(p().Alias->text(), QStringLiteral("Spaz§"));
    click(window().Command7); // back: the page is stored
    EXPECT_EQ(sandbox.settings().GetSetting(QStringLiteral("Alias")), QStringLiteral("Spaz§"));
    EXPECT_EQ(sandbox.settings().GetSetting(QStringLiteral("Spacing")), QStringLiteral("3"));
}

TEST_F(NameTools, ANameTheBoxCannotHoldIsAnErrorAndLeavesTheBox) {
    p().Alias->setMaxLength(5);
    p().Alias->setText(QStringLiteral("abc§"));
    p().Alias->insert(QStringLiteral("d")); // "abc§d": the code goes, the rest cannot take two more
    p().spacing->setText(QStringLiteral("x"));
    click(p().Command16);
    EXPECT_EQ(sandbox.dialogs().messages(), QStringList{QStringLiteral("There was an error")});
    // The steps before the failing one keep what they did.
    EXPECT_EQ(p().Alias->text(), QStringLiteral("abcd"));
    EXPECT_EQ(p().spacing->text(), QStringLiteral("3"));
    p().Alias->setText(QStringLiteral("abc"));
    click(p().Command16);
    EXPECT_EQ(p().Alias->text(), QStringLiteral("§3abc"));
}

} // namespace
