// Feeds arbitrary text to the Windows argument splitter and checks that it splits what it
// produces the same way again once each argument is quoted as a Windows program expects, so that
// no argument is lost, merged or invented on the way to the started program.
#include "platform/program_start.h"
#include "require.h"

#include <cstddef>
#include <cstdint>

namespace {

// One argument written so that the Windows rules give it back unchanged.
QString quoted(const QString& argument) {
    if (!argument.isEmpty() && !argument.contains(u' ') && !argument.contains(u'\t') &&
        !argument.contains(u'"'))
        return argument;
    QString text = QStringLiteral("\"");
    qsizetype backslashes = 0;
    for (const QChar c : argument) {
        if (c == u'\\') {
            ++backslashes;
            continue;
        }
        text += QString(c == u'"' ? 2 * backslashes + 1 : backslashes, u'\\');
        backslashes = 0;
        text += c;
    }
    text += QString(2 * backslashes, u'\\');
    return text + u'"';
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const QStringList arguments = platform::splitArguments(text);
    require(arguments.size() <= text.size());

    QStringList written;
    for (const QString& argument : arguments)
        written << quoted(argument);
    require(platform::splitArguments(written.join(u' ')) == arguments);
    return 0;
}
