#pragma once
// The running recorder: its bus object, the audio source, and the frame thread that analyses
// the newest samples and sends each frame to the configurator.
//
// Flow control: at most one spectrum call is on its way. The frame thread drops a frame
// instead of sending it while the configurator has not answered the previous one (answers
// take longer than 1 s count as lost), so a slow configurator sees fewer frames, each of them
// from the newest audio, rather than a queue of old ones. Colour settings are sent without
// waiting for an answer. The audio source and the frame thread run only between the end of
// the handshake and the shutdown; otherwise the process sleeps in its event loop.

#include "recorder/AudioSource.h"
#include "recorder/FramePump.h"
#include "recorder/FrequencyAnalyser.h"
#include "recorder/RecorderProtocol.h"
#include "recorder/RecorderService.h"
#include "recorder/SampleRing.h"

#include <QDBusConnection>
#include <QObject>
#include <atomic>
#include <memory>
#include <vector>

class QDBusServiceWatcher;

namespace recorder {

class Recorder : public QObject {
    Q_OBJECT

public:
    // Exit codes of the program.
    enum ExitCode { kExitNormal = 0, kExitError = 1, kExitAlreadyRunning = 2 };

    // `configurator`: the bus name the spectrum goes to and whose leaving ends the recorder
    // (the configurator that starts a recorder names its own connection).
    Recorder(std::unique_ptr<AudioSource> source, int framesPerSecond,
             QString configurator = QString::fromLatin1(kConfiguratorBusName));
    ~Recorder() override;

    // Claims the bus name and exports the object; kExitNormal when done, otherwise the code
    // to exit with (the reason is written to stderr).
    int Publish();

private:
    void React(const Reaction& reaction);
    void StartSending();
    void StopSending();
    void Quit(int code);
    void AnalyseAndSend(); // on the frame thread
    void SendSpectrum(const QByteArray& payload);
    void SendColour();
    QDBusMessage CallToConfigurator(std::uint32_t id, const QByteArray& payload) const;

    QDBusConnection bus_;
    RecorderProtocol protocol_;
    RecorderService service_;
    std::unique_ptr<AudioSource> source_;
    FrequencyAnalyser analyser_;
    SampleRing ring_;
    std::vector<float> block_;
    SpectrumFrame frame_{};
    std::atomic<bool> inFlight_{false};
    QDBusServiceWatcher* configuratorWatcher_ = nullptr;
    bool reportedSendError_ = false;
    FramePump pump_; // last: its thread uses everything above
    QString configurator_;
};

} // namespace recorder
