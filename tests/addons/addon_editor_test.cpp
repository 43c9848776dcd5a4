#include "addons/addon_editor.h"
#include "support/test_environment.h"

#include <QFontInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QTest>

namespace {

using namespace Qt::StringLiterals;

class Editor : public testing::Test {
protected:
    AddonEditor& open(const std::optional<QString>& setting = std::nullopt) {
        if (setting)
            sandbox.settings().SaveSetting(u"Addons"_s, *setting);
        m_editor = new AddonEditor({&sandbox.settings(), &sandbox.dialogs(), nullptr, nullptr});
        m_editor->show();
        return *m_editor;
    }
    void TearDown() override { delete m_editor; }

    QStringList entries() const {
        QStringList out;
        for (int i = 0; i < m_editor->List2->count(); ++i)
            out << m_editor->List2->item(i)->text();
        return out;
    }
    QStringList boxes() const { return {m_editor->Text1->text(), m_editor->Text2->text()}; }
    void select(int row) {
        QListWidget* list = m_editor->List2;
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(row)).center());
    }
    void click(QPushButton* button) { QTest::mouseClick(button, Qt::LeftButton); }
    QString stored() { return sandbox.settings().GetSetting(u"Addons"_s, u"(missing)"_s); }
    bool closed() {
        // The window deletes itself once the event loop runs again.
        return QTest::qWaitFor([&] { return m_editor.isNull(); }, 1000);
    }

    support::Sandbox sandbox;
    QPointer<AddonEditor> m_editor;
    const QStringList hints{u"Addon Name"_s, u"Addon Path"_s};
};

TEST_F(Editor, LaysOutTheWindowAsATool) {
    AddonEditor& e = open();
    EXPECT_EQ(e.objectName(), u"Form8"_s);
    EXPECT_EQ(e.windowTitle(), u"Addons Configuration"_s);
    EXPECT_TRUE(e.windowFlags() & Qt::Tool);
    EXPECT_FALSE(e.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    EXPECT_EQ(e.size(), QSize(298, 262));
    EXPECT_EQ(e.List2->geometry(), QRect(8, 72, 281, 132));
    EXPECT_EQ(e.Command5->geometry(), QRect(208, 216, 81, 33));
    EXPECT_TRUE(e.Command5->font().bold());
    EXPECT_FALSE(e.Command6->font().bold());
    EXPECT_EQ(boxes(), hints);
    // Tab order: the list, the boxes, then the buttons.
    QStringList order;
    QWidget* w = e.List2;
    do {
        if (w->parentWidget() == &e && (w->focusPolicy() & Qt::TabFocus))
            order << w->objectName();
        w = w->nextInFocusChain();
    } while (w != e.List2);
    EXPECT_EQ(order.join(u' '), u"List2 Text1 Text2 Command1 Command2 Command3 Command4 Command5 "
                                u"Command6"_s);
}

TEST_F(Editor, ListsEveryStoredEntryAsItStands) {
    open(u"Gone|/no/such.exe@/just/a/path@|/t/x@Tail|/t/y"_s);
    EXPECT_EQ(entries(),
              (QStringList{u"Gone|/no/such.exe"_s, u"/just/a/path"_s, u"|/t/x"_s, u"Tail|/t/y"_s}));
}

TEST_F(Editor, SelectingAnEntryFillsTheBoxes) {
    open(u"Chat|/t/chat.exe@/just/a/path@A|b|c@"_s);
    select(0);
    EXPECT_EQ(boxes(), (QStringList{u"Chat"_s, u"/t/chat.exe"_s}));
    select(1); // no "|": the name box keeps its text
    EXPECT_EQ(boxes(), (QStringList{u"Chat"_s, u"/just/a/path"_s}));
    QTest::keyClick(m_editor->List2, Qt::Key_Down); // by keyboard too
    EXPECT_EQ(boxes(), (QStringList{u"A"_s, u"b|c"_s}));
}

TEST_F(Editor, AddAppendsAnEntryOnlyForAnExistingFile) {
    const QString chat = sandbox.makeFile(u"my tools/chat.exe"_s);
    open(u"First|/t/first@"_s);

    click(m_editor->Command1); // untouched boxes: "Addon Path" is no file
    EXPECT_EQ(sandbox.dialogs().messages(), QStringList{u"Sorry, file does not exist"_s});
    EXPECT_EQ(sandbox.dialogs().shown().back().title, u"Oops"_s);
    EXPECT_EQ(entries(), QStringList{u"First|/t/first"_s});

    m_editor->Text2->setText(chat); // the name box left as it came
    click(m_editor->Command1);
    EXPECT_EQ(entries(), (QStringList{u"First|/t/first"_s, u"Addon Name|"_s + chat}));
    EXPECT_EQ(boxes(), hints);
}

TEST_F(Editor, RefusesEntriesTheListCannotHoldBack) {
    const QString odd = sandbox.makeFile(u"tools/odd@name.exe"_s);
    const QString bar = sandbox.makeFile(u"tools/bar|name.exe"_s);
    open(u"Old|/t/old@"_s);
    struct Row {
        QString name, path;
        bool accepted;
    };
    const Row rows[] = {{u"Ch@t"_s, bar, false},
                        {u"Ch|at"_s, bar, false},
                        {u"Chat"_s, odd, false},
                        {u"Chat"_s, bar, true}};
    for (const Row& row : rows) {
        SCOPED_TRACE((row.name + u' ' + row.path).toStdString());
        for (QPushButton* button : {m_editor->Command1, m_editor->Command3}) {
            select(0);
            m_editor->Text1->setText(row.name);
            m_editor->Text2->setText(row.path);
            sandbox.dialogs().clear();
            const QStringList before = entries();
            click(button);
            EXPECT_EQ(sandbox.dialogs().messages().isEmpty(), row.accepted);
            if (!row.accepted) {
                EXPECT_EQ(sandbox.dialogs().shown().back().title, u"Oops"_s);
                EXPECT_EQ(entries(), before);
                EXPECT_EQ(boxes(), (QStringList{row.name, row.path}));
            }
        }
    }
    click(m_editor->Command5);
    ASSERT_TRUE(closed());
    EXPECT_EQ(stored(), u"Chat|"_s + bar + u"@Chat|"_s + bar + u"@"_s);
}

TEST_F(Editor, EditReplacesTheSelectedEntryInPlace) {
    const QString chat = sandbox.makeFile(u"tools/chat.exe"_s);
    open(u"A|/a@B|/b@C|/c@"_s);
    select(1);
    m_editor->Text1->setText(u"Chat"_s);
    m_editor->Text2->setText(chat);
    click(m_editor->Command3);
    EXPECT_EQ(entries(), (QStringList{u"A|/a"_s, u"Chat|"_s + chat, u"C|/c"_s}));
    EXPECT_EQ(boxes(), hints);
    EXPECT_TRUE(m_editor->List2->selectedItems().isEmpty());

    // With nothing selected only the boxes are reset.
    m_editor->Text1->setText(u"Other"_s);
    m_editor->Text2->setText(chat);
    click(m_editor->Command3);
    EXPECT_EQ(entries().size(), 3);
    EXPECT_EQ(entries()[1], u"Chat|"_s + chat);
    EXPECT_EQ(boxes(), hints);

    // A missing file changes nothing.
    select(0);
    m_editor->Text2->setText(u"/no/such.exe"_s);
    click(m_editor->Command3);
    EXPECT_EQ(entries()[0], u"A|/a"_s);
    EXPECT_EQ(m_editor->Text2->text(), u"/no/such.exe"_s);
}

TEST_F(Editor, DelRemovesTheSelectedEntryWithoutAsking) {
    open(u"A|/a@B|/b@C|/c@"_s);
    select(1);
    click(m_editor->Command4);
    EXPECT_EQ(entries(), (QStringList{u"A|/a"_s, u"C|/c"_s}));
    EXPECT_EQ(boxes(), hints);
    EXPECT_TRUE(m_editor->List2->selectedItems().isEmpty());

    m_editor->Text1->setText(u"typed"_s);
    click(m_editor->Command4); // nothing selected
    EXPECT_EQ(entries().size(), 2);
    EXPECT_EQ(boxes(), hints);
    EXPECT_TRUE(sandbox.dialogs().shown().empty());
}

TEST_F(Editor, BrowseFillsThePathBoxUnlessCancelled) {
    open();
    m_editor->Text1->setText(u"Kept"_s);
    sandbox.dialogs().answerOpenFile(u"/t/picked.exe"_s);
    click(m_editor->Command2);
    EXPECT_EQ(boxes(), (QStringList{u"Kept"_s, u"/t/picked.exe"_s}));
    const auto& shown = sandbox.dialogs().shown().back();
    EXPECT_EQ(shown.kind, u"open"_s);
    EXPECT_EQ(shown.filter, u"Addon files [*.exe]|*.exe"_s);
    EXPECT_EQ(shown.initialFolder, QString());

    sandbox.dialogs().cancelOpenFile();
    click(m_editor->Command2);
    EXPECT_EQ(m_editor->Text2->text(), u"/t/picked.exe"_s);
}

TEST_F(Editor, SaveWritesTheListAndCloses) {
    struct Row {
        QString setting;
        QString saved;
    };
    const Row rows[] = {
        {u"A|/a@B|/b@"_s, u"A|/a@B|/b@"_s},
        {u"A|/a@/plain@B|/b"_s, u"A|/a@/plain@B|/b@"_s},
        // an empty entry in the middle no longer costs the entries behind it
        {u"A|/a@@B|/b@"_s, u"A|/a@B|/b@"_s},
        {u"@"_s, QString()}, // no entries: the empty text
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.setting.toStdString());
        open(row.setting);
        click(m_editor->Command5);
        EXPECT_FALSE(m_editor->isVisible());
        EXPECT_TRUE(closed());
        EXPECT_EQ(stored(), row.saved);
    }
}

TEST_F(Editor, CancelAndTheCloseBoxDropTheChanges) {
    for (bool closeBox : {false, true}) {
        open(u"A|/a@B|/b@"_s);
        select(0);
        click(m_editor->Command4);
        if (closeBox)
            m_editor->close();
        else
            click(m_editor->Command6);
        EXPECT_TRUE(closed());
        EXPECT_EQ(stored(), u"A|/a@B|/b@"_s);
    }
}

TEST_F(Editor, AFailedSaveKeepsTheWindowAndItsEdits) {
    // A store whose file is a folder refuses every write.
    const QString folder = sandbox.tempPath(u"blocked.ini"_s);
    QDir().mkpath(folder);
    AppSettings refusing(platform::SettingsBackend(folder), [] { return u"/prog"_s; });
    m_editor = new AddonEditor({&refusing, &sandbox.dialogs(), nullptr, nullptr});
    m_editor->List2->addItem(u"A|/a"_s);
    click(m_editor->Command5);
    EXPECT_EQ(sandbox.dialogs().messages(),
              QStringList{u"Sorry, the add-on list could not be saved"_s});
    QTest::qWait(20);
    ASSERT_FALSE(m_editor.isNull());
    EXPECT_EQ(entries(), QStringList{u"A|/a"_s});
}

} // namespace
