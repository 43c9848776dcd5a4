#include "support/fake_wine.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <sys/stat.h>

namespace support {

FakeWine::FakeWine(const QStringList& existingKeys, int regeditExit) {
    QFile keys(m_bin.filePath(QStringLiteral("keys")));
    if (keys.open(QIODevice::WriteOnly))
        keys.write(existingKeys.join(u'\n').toUtf8() + '\n');
    QFile script(m_bin.filePath(QStringLiteral("wine")));
    if (script.open(QIODevice::WriteOnly)) {
        script.write(
            "#!/bin/sh\n"
            "PATH=/usr/bin:/bin\n"
            "d=$(dirname \"$0\")\n"
            "printf '%s|%s\\n' \"$WINEPREFIX\" \"$*\" >> \"$d/calls\"\n"
            "if [ \"$1 $2\" = 'reg query' ]; then grep -qixF -e \"$3\" \"$d/keys\"; exit; fi\n"
            "if [ \"$*\" = 'regedit /S -' ]; then\n"
            "  cat > \"$d/import.part\" && mv \"$d/import.part\" \"$d/import\"\n"
            "  exit " +
            QByteArray::number(regeditExit) +
            "\n"
            "fi\n"
            "exit 2\n");
        script.close();
        script.setPermissions(script.permissions() | QFile::ExeOwner);
    }
    m_path.emplace("PATH", m_bin.path());
}

QStringList FakeWine::calls() const {
    QFile f(m_bin.filePath(QStringLiteral("calls")));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(f.readAll()).split(u'\n', Qt::SkipEmptyParts);
}

std::optional<QByteArray> FakeWine::waitForImport() const {
    QFile f(m_bin.filePath(QStringLiteral("import")));
    if (!QTest::qWaitFor([&] { return f.exists(); }, 5000) || !f.open(QIODevice::ReadOnly))
        return std::nullopt;
    return f.readAll();
}

FakeWineServer::FakeWineServer(const QString& prefix) {
    QByteArray folder = "/tmp/quillmere-test-wine-XXXXXX";
    if (!::mkdtemp(folder.data()))
        return;
    m_folder = QString::fromLocal8Bit(folder);
    QFile named(QDir(prefix).filePath(QStringLiteral("wineserver")));
    struct stat st {};
    if (!named.open(QIODevice::WriteOnly) || ::stat(QFile::encodeName(prefix), &st) != 0)
        return;
    named.write(folder.mid(5)); // as Debian writes it, with no line end
    const QString server = QStringLiteral("%1/server-%2-%3")
                               .arg(m_folder)
                               .arg(quint64(st.st_dev), 0, 16)
                               .arg(quint64(st.st_ino), 0, 16);
    if (QDir().mkpath(server))
        m_server.listen(server + QStringLiteral("/socket"));
}

FakeWineServer::~FakeWineServer() {
    m_server.close();
    if (!m_folder.isEmpty())
        QDir(m_folder).removeRecursively();
}

} // namespace support
