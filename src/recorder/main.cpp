// quarin-z17-recorder: sends the spectrum of what the desktop plays to the configurator, for
// the keyboard's music lighting. See docs/recorder.md.

#include "recorder/PulseCapture.h"
#include "recorder/Recorder.h"
#include "recorder/WavPlayer.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <cstdio>

namespace {

constexpr int kDefaultRate = 60;
constexpr int kMinRate = 1;
constexpr int kMaxRate = 120;

int Fail(const QString& message) {
    std::fprintf(stderr, "quarin-z17-recorder: %s\n", qPrintable(message));
    return recorder::Recorder::kExitError;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("quarin-z17-recorder"));
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Sends the spectrum of the desktop's sound to the QUARIN Z17 configurator."));
    parser.addHelpOption();
    const QCommandLineOption input(
        QStringLiteral("input"),
        QStringLiteral("Play a PCM WAV file through the analysis instead."),
        QStringLiteral("FILE.wav"));
    const QCommandLineOption loop(QStringLiteral("loop"),
                                  QStringLiteral("Repeat the --input file."));
    const QCommandLineOption source(
        QStringLiteral("source"),
        QStringLiteral("Capture this sound server source instead of the default output's monitor."),
        QStringLiteral("NAME"));
    const QCommandLineOption rate(
        QStringLiteral("rate"),
        QStringLiteral("Spectrum frames per second (1 to 120, default 60)."), QStringLiteral("FPS"),
        QString::number(kDefaultRate));
    const QCommandLineOption configurator(
        QStringLiteral("configurator"),
        QStringLiteral(
            "The bus name to send to and to leave with (default org.quarin.Z17Keyboard)."),
        QStringLiteral("NAME"), QString::fromLatin1(recorder::kConfiguratorBusName));
    parser.addOptions({input, loop, source, rate, configurator});
    parser.process(app);

    bool rateOk = false;
    const int framesPerSecond = parser.value(rate).toInt(&rateOk);
    if (!rateOk || framesPerSecond < kMinRate || framesPerSecond > kMaxRate)
        return Fail(QStringLiteral("--rate takes 1 to 120 frames per second"));
    if (parser.isSet(input) && parser.isSet(source))
        return Fail(QStringLiteral("--input and --source exclude each other"));
    if (parser.isSet(loop) && !parser.isSet(input))
        return Fail(QStringLiteral("--loop needs --input"));

    std::unique_ptr<recorder::AudioSource> audio;
    std::string error;
    if (parser.isSet(input)) {
        recorder::WavAudio wav;
        if (!recorder::ReadWavFile(parser.value(input).toStdString(), wav, error))
            return Fail(QString::fromStdString(error));
        audio = std::make_unique<recorder::WavPlayer>(std::move(wav), parser.isSet(loop));
    } else {
        auto capture = std::make_unique<recorder::PulseCapture>(parser.value(source).toStdString());
        if (!capture->Connect(error))
            return Fail(QString::fromStdString(error));
        audio = std::move(capture);
    }

    recorder::Recorder running(std::move(audio), framesPerSecond, parser.value(configurator));
    if (const int code = running.Publish(); code != recorder::Recorder::kExitNormal)
        return code;
    return app.exec();
}
