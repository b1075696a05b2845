#pragma once
// Test helpers: private user and config folders, the skin of the source tree, waiting for
// the event loop.

#include <QString>
#include <QTemporaryDir>
#include <functional>

namespace test {

// Points XDG_DATA_HOME, XDG_CONFIG_HOME and the toolkit's resource folder at fresh temporary
// folders (the skin: a copy of data/skin when copySkin is set, else data/skin itself) for
// the lifetime of the object.
class ScopedEnvironment {
public:
    explicit ScopedEnvironment(bool copySkin = false);
    ~ScopedEnvironment();
    QString DataHome() const { return m_root.path() + QStringLiteral("/data"); }
    QString ConfigHome() const { return m_root.path() + QStringLiteral("/config"); }
    // The skin folder in use, with a trailing slash.
    QString SkinFolder() const { return m_skin; }
    // The program data folder in use (holds skin/ and DefaultData/), with a trailing slash.
    QString ProgramData() const { return m_programData; }
    // Writes a file under the skin folder.
    void WriteSkinFile(const QString& name, const QByteArray& content) const;
    void WriteProgramFile(const QString& name, const QByteArray& content) const;

private:
    QTemporaryDir m_root;
    QString m_skin;
    QString m_programData;
};

// Runs the event loop until `done` holds or the time is up; returns whether it held. The time is
// a generous deadline for the condition, never a measure of speed: at least 10 s, for the
// sanitizer build and a loaded machine run every step several times slower.
bool WaitUntil(const std::function<bool()>& done, int timeoutMs = 10000);

QString SourceDataDir();

} // namespace test
