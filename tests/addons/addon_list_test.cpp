#include "addons/addon_list.h"

#include <gtest/gtest.h>

namespace {

using namespace Qt::StringLiterals;

TEST(AddonList, ReadsEntriesInOrder) {
    struct Row {
        const char* setting;
        QStringList entries;
    };
    const Row rows[] = {
        {"", {}},
        {"@", {}},
        {"@@@", {}},
        {R"(Chat|C:\Tools\chat.exe@Map|D:\Map\map.exe@)",
         {uR"(Chat|C:\Tools\chat.exe)"_s, uR"(Map|D:\Map\map.exe)"_s}},
        // no "@" at the end: the last piece is an entry all the same
        {"A|/a", {u"A|/a"_s}},
        {"A|/a@B|/b", {u"A|/a"_s, u"B|/b"_s}},
        // an empty entry in the middle is passed over, not the end of the list
        {"A|/a@@B|/b@", {u"A|/a"_s, u"B|/b"_s}},
        {"@A|/a@", {u"A|/a"_s}},
        // pieces are kept as they are, with or without "|", blanks included
        {"just a path@|/no/name@Name|@ @", {u"just a path"_s, u"|/no/name"_s, u"Name|"_s, u" "_s}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.setting);
        EXPECT_EQ(ReadAddonList(QString::fromUtf8(row.setting)), row.entries);
    }
}

TEST(AddonList, SplitsAnEntryAtItsFirstBar) {
    struct Row {
        const char* entry;
        std::optional<QString> name;
        QString path;
        QString caption;
    };
    const Row rows[] = {
        {"Chat|/t/chat.exe", u"Chat"_s, u"/t/chat.exe"_s, u"Chat"_s},
        {"a|b|c", u"a"_s, u"b|c"_s, u"a"_s},
        {"|/t/x", QString(), u"/t/x"_s, QString()},
        {"Name|", u"Name"_s, QString(), u"Name"_s},
        {"/t/plain path", std::nullopt, u"/t/plain path"_s, u"/t/plain path"_s},
        {"", std::nullopt, QString(), QString()},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.entry);
        const QString text = QString::fromUtf8(row.entry);
        const AddonEntry entry = SplitAddonEntry(text);
        EXPECT_EQ(entry.name, row.name);
        EXPECT_EQ(entry.path, row.path);
        EXPECT_EQ(entry.caption(text), row.caption);
    }
}

TEST(AddonList, WritesEveryEntryFollowedByAnAt) {
    EXPECT_EQ(WriteAddonList({}), QString());
    EXPECT_EQ(WriteAddonList({u"A|/a"_s, u"B|/b c"_s}), u"A|/a@B|/b c@"_s);
    // An entry without "|" goes back as it came.
    EXPECT_EQ(WriteAddonList(ReadAddonList(u"/x@N|/y@"_s)), u"/x@N|/y@"_s);
}

TEST(AddonList, OnlyStorableEntriesComeBackAsTheyWent) {
    struct Row {
        const char* name;
        const char* path;
        bool storable;
    };
    const Row rows[] = {
        {"Chat", "/t/chat.exe", true},     {"", "", true},
        {"Chat", "/t/odd|name.exe", true}, // the path runs to the end of the entry
        {"Ch|at", "/t/chat.exe", false},   {"Ch@t", "/t/chat.exe", false},
        {"Chat", "/t/ch@t.exe", false},
    };
    for (const Row& row : rows) {
        const QString name = QString::fromUtf8(row.name);
        const QString path = QString::fromUtf8(row.path);
        SCOPED_TRACE(row.name + std::string(" / ") + row.path);
        EXPECT_EQ(StorableAddonEntry(name, path), row.storable);
        // The promise itself: a storable entry survives writing and reading unchanged.
        const QStringList back = ReadAddonList(WriteAddonList({JoinAddonEntry(name, path)}));
        const bool survives = back.size() == 1 && SplitAddonEntry(back.front()).name == name &&
                              SplitAddonEntry(back.front()).path == path;
        EXPECT_EQ(survives, row.storable);
    }
}

} // namespace
