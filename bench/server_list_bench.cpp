// How long one data event of the server list takes, from the received text to a table on screen.
#include "common/status_line.h"
#include "online/join_page.h"
#include "online/join_page_host.h"
#include "online/server_table_view.h"
#include "platform/dialogs.h"
#include "protocol/server_list_parser.h"
#include "protocol/server_table_model.h"

#include <QApplication>
#include <QByteArray>
#include <benchmark/benchmark.h>

namespace {

class Host final : public JoinPageHost {
public:
    StatusLine& status() override { return m_status; }
    void hideChoiceOptions() override {}
    void showJoinPicture() override {}
    void enableFinish() override {}
    void Text4_Click() override {}
    platform::Dialogs& dialogs() override { return m_dialogs; }
    quint16 gamePort() const override { return 9; }

private:
    // The benchmark never opens a box.
    class NoDialogs final : public platform::Dialogs {
        void messageBox(const QString&, const QString&) override {}
        QString inputBox(const QString&, const QString&) override { return {}; }
        std::optional<QString> openFile(const QString&, const QString&, const QString&) override {
            return std::nullopt;
        }
    };
    StatusLine m_status;
    NoDialogs m_dialogs;
};

// Lines of the shape today's list servers send, with varied names, types and versions.
QByteArray listText(int lines) {
    static const char* const modes[] = {"battle", "ctf", "treasure", "coop", "race"};
    static const char* const versions[] = {"1.24  ", "1.23  ", "1.24 x", "1.21 s"};
    QByteArray text;
    for (int i = 0; i < lines; ++i) {
        const bool coop = i % 5 == 3;
        text += QByteArray::number(10 + i % 200) + '.' + QByteArray::number(i / 200 % 250) + ".0." +
                QByteArray::number(i % 250) + ":10052 " + (i % 7 ? "local" : "mirror") +
                (i % 11 ? " public " : " private ") + modes[i % 5] + ' ' + versions[i % 4] + ' ' +
                QByteArray::number(i * 37 % 86400) + " [" + QByteArray::number(i % 32) + "/32] " +
                "|Server \xA7"
                "2number " +
                QByteArray::number(i) + (coop ? "     Coop" : "") + "\r\n";
    }
    return text;
}

void dataEvent(benchmark::State& state) {
    const QByteArray text = listText(int(state.range(0)));
    const bool sorted = state.range(1) != 0;
    Host host;
    // Port 9 on this machine: the refresh between runs connects nowhere that answers.
    JoinPage page(host, QStringLiteral("127.0.0.1"), 9);
    page.SetUpServerTable();
    page.resize(305, 233);
    page.show();
    QApplication::processEvents();
    if (sorted)
        page.ListView1_ColumnClick(2);

    for (auto _ : state) {
        state.PauseTiming();
        page.RefreshServerList();
        QApplication::processEvents();
        state.ResumeTiming();

        page.takeListData(text);
        QApplication::processEvents(); // lays the table out
        page.ListView1->viewport()->repaint();
        benchmark::DoNotOptimize(page.serverTable().rowCount());
    }
    state.counters["rows"] = page.serverTable().rowCount();
    state.SetBytesProcessed(qint64(state.iterations()) * text.size());
}

// One repaint of a table of 300 servers, one of whose names was sent `name` bytes long: a list
// server may send names of any length, and a row keeps the first 256 bytes of it.
void repaintAroundLongestField(benchmark::State& state) {
    const QByteArray longLine = "203.0.113.5:10052 local public ctf 1.24   4 [1/12] " +
                                QByteArray(qsizetype(state.range(0)), 'W') + "\r\n";
    Host host;
    JoinPage page(host, QStringLiteral("127.0.0.1"), 9);
    page.SetUpServerTable();
    page.resize(305, 233);
    page.show();
    page.takeListData(listText(150) + longLine + listText(149));
    QApplication::processEvents(); // lays the table out
    // The long row in view, as when the user scrolls to it.
    const QModelIndex longRow = page.serverTable().index(150, 0);
    page.ListView1->scrollTo(longRow);
    QApplication::processEvents();
    if (!page.ListView1->viewport()->rect().intersects(page.ListView1->visualRect(longRow)))
        state.SkipWithError("the long row is not in view");

    for (auto _ : state)
        page.ListView1->viewport()->repaint();
    state.counters["kept"] = double(page.serverTable().field(150, 0).size());
}
BENCHMARK(repaintAroundLongestField)
    ->ArgName("sent")
    ->Arg(32)
    ->Arg(256)
    ->Arg(1024 * 1024)
    ->Unit(benchmark::kMicrosecond);

// The parser alone, over the same lines.
void parseLines(benchmark::State& state) {
    const QByteArray text = listText(int(state.range(0)));
    for (auto _ : state) {
        QByteArrayView rest(text);
        QByteArrayView line;
        qsizetype names = 0;
        while (NextListLine(rest, line))
            names += ParseServerListLine(line).name.size();
        benchmark::DoNotOptimize(names);
    }
}
BENCHMARK(parseLines)->ArgName("lines")->Arg(32767)->Unit(benchmark::kMillisecond);

// The reply at its size limit as one line without a line feed, taken in reads of the given size:
// each read should cost its own length, not that of the whole unfinished line again.
void takeUnfinishedLine(benchmark::State& state) {
    const QByteArray read(qsizetype(state.range(0)), 'x');
    for (auto _ : state) {
        ServerListReply reply;
        qsizetype lines = 0;
        while (!reply.cut())
            lines += reply.take(read).size();
        benchmark::DoNotOptimize(lines);
    }
    state.SetBytesProcessed(qint64(state.iterations()) * ServerListReply::kMaxBytes);
}
BENCHMARK(takeUnfinishedLine)
    ->ArgName("read")
    ->Arg(4 * 1024)
    ->Arg(64 * 1024)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond);

// A realistic evening, and the most one data event could hold with a 16-bit line counter;
// each unsorted and sorted by type.
BENCHMARK(dataEvent)
    ->ArgNames({"lines", "sorted"})
    ->Args({300, 0})
    ->Args({32767, 0})
    ->Args({300, 1})
    ->Args({32767, 1})
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
