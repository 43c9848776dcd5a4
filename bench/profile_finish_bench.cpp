// How long "Finish" on the character page takes, from the click to the first page, with a Wine
// prefix whose user.reg is of a given size (a long-used prefix holds several megabytes).
#include "common/app_settings.h"
#include "launcher/character_page.h"
#include "launcher/main_window.h"
#include "platform/dialogs.h"
#include "platform/wine_registry.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QRadioButton>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

class NoDialogs final : public platform::Dialogs {
    void messageBox(const QString&, const QString&) override {}
    QString inputBox(const QString&, const QString&) override { return QStringLiteral("2"); }
    std::optional<QString> openFile(const QString&, const QString&, const QString&) override {
        return std::nullopt;
    }
};

const QByteArray kPlayerKeys = R"(
[Software\\Epic MegaGames\\Jazz Jackrabbit 2\\1.23\\Player0] 1700000000
#time=1d9c8c2b1a2b3c4
"Name"="Old"

[Software\\Epic MegaGames\\Jazz Jackrabbit 2 Special Edition\\1.24\\Player0] 1700000000
#time=1d9c8c2b1a2b3c4
"Name"="Old"
)";

// A registry file of about `size` bytes shaped like a used prefix: many keys of a few values
// each, the game's keys halfway through.
QByteArray registryFile(qsizetype size) {
    QByteArray text = "WINE REGISTRY Version 2\n;; All keys relative to \\\\User\\\\S-1-5-21-0-0-0-"
                      "1000\n\n#arch=win32\n";
    int key = 0;
    const auto fillTo = [&](qsizetype end) {
        while (text.size() < end) {
            text += "\n[Software\\\\Vendor" + QByteArray::number(key % 97) + "\\\\Product " +
                    QByteArray::number(key) + "\\\\Settings] 1700000000\n#time=1d9c8c2b1a2b3c4\n" +
                    "\"Path\"=\"C:\\\\Program Files\\\\Product\\\\data\"\n"
                    "\"Count\"=dword:0000002a\n\"Window\"=hex:2c,00,00,00,00,00,00,00,01,00,00,00,"
                    "ff,ff,ff,ff\n";
            ++key;
        }
    };
    fillTo(size / 2);
    text += kPlayerKeys;
    fillTo(size);
    return text;
}

void write(const QString& file, const QByteArray& bytes) {
    QFile f(file);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
}

void profileFinish(benchmark::State& state) {
    QTemporaryDir dir;
    const QString prefix = dir.filePath(QStringLiteral("prefix"));
    QDir().mkpath(prefix);
    const QByteArray user = registryFile(state.range(0) * 1024);
    write(prefix + QStringLiteral("/user.reg"), user);
    write(prefix + QStringLiteral("/userdef.reg"), registryFile(4096));

    AppSettings settings(platform::SettingsBackend(dir.filePath(QStringLiteral("settings.ini"))),
                         [] { return QStringLiteral("/opt/quillmere"); });
    settings.SaveSetting(QStringLiteral("Jazz2 Location"), QStringLiteral("/games/jazz2.exe"));
    settings.SaveSetting(QStringLiteral("Jazz2 TSF Location"), QStringLiteral("/games/tsf.exe"));
    NoDialogs dialogs;
    platform::WineRegistry registry(prefix);
    Services services{&settings, &dialogs, nullptr, &registry};
    MainWindow window(services);
    window.show();
    // Lori, so that the question (and what is written before it) is part of every run.
    const bool lori = state.range(1) != 0;

    for (auto _ : state) {
        state.PauseTiming();
        window.opChar_DblClick();
        (lori ? window.Frame3->Lori : window.Frame3->Spaz)->setChecked(true);
        window.Frame3->Fur1->setText(QString::number(state.iterations() % 256));
        state.ResumeTiming();

        window.Command8_Click();
    }
    state.counters["user.reg MB"] = double(user.size()) / (1024 * 1024);
}

BENCHMARK(profileFinish)
    ->ArgNames({"KiB", "lori"})
    ->Args({300, 0})
    ->Args({3 * 1024, 0})
    ->Args({10 * 1024, 0})
    ->Args({10 * 1024, 1})
    ->Unit(benchmark::kMillisecond);

} // namespace
