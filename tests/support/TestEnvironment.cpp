#include "support/TestEnvironment.h"

#include "ui/PaintManagerUI.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <algorithm>

namespace test {

namespace {
constexpr int kShortestDeadlineMs = 10000;
void CopyTree(const QString& from, const QString& to) {
    QDir().mkpath(to);
    QDirIterator it(from, QDir::Files | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        const QString target = to + file.mid(from.size());
        QDir().mkpath(QFileInfo(target).path());
        QFile::copy(file, target);
    }
}
} // namespace

QString SourceDataDir() {
    return QStringLiteral(QUARIN_SOURCE_DATA_DIR) + QLatin1Char('/');
}

ScopedEnvironment::ScopedEnvironment(bool copySkin) {
    QDir().mkpath(DataHome());
    QDir().mkpath(ConfigHome());
    qputenv("XDG_DATA_HOME", DataHome().toUtf8());
    qputenv("XDG_CONFIG_HOME", ConfigHome().toUtf8());
    if (copySkin) {
        m_programData = m_root.path() + QStringLiteral("/program/");
        CopyTree(SourceDataDir() + QStringLiteral("skin"), m_programData + QStringLiteral("skin"));
        CopyTree(SourceDataDir() + QStringLiteral("DefaultData"),
                 m_programData + QStringLiteral("DefaultData"));
    } else {
        m_programData = SourceDataDir();
    }
    m_skin = m_programData + QStringLiteral("skin/");
    qputenv("QUARIN_Z17_DATA_DIR", m_programData.toUtf8());
    ui::CPaintManagerUI::SetResourcePath(m_skin);
}

ScopedEnvironment::~ScopedEnvironment() {
    qunsetenv("QUARIN_Z17_DATA_DIR");
    qunsetenv("XDG_DATA_HOME");
    qunsetenv("XDG_CONFIG_HOME");
}

void ScopedEnvironment::WriteSkinFile(const QString& name, const QByteArray& content) const {
    WriteProgramFile(QStringLiteral("skin/") + name, content);
}

void ScopedEnvironment::WriteProgramFile(const QString& name, const QByteArray& content) const {
    const QString path = m_programData + name;
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    file.open(QIODevice::WriteOnly | QIODevice::Truncate);
    file.write(content);
}

bool WaitUntil(const std::function<bool()>& done, int timeoutMs) {
    QDeadlineTimer deadline(std::max(timeoutMs, kShortestDeadlineMs));
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QThread::msleep(1);
    }
    return true;
}

} // namespace test
