// Runs the fuzz target without libFuzzer, with any compiler: every file of a seed folder, then
// a number of inputs made by mutating the seeds with a fixed random seed, so that every run
// feeds the same inputs.
//
//   fuzz_profile_replay SEED_FOLDER [MUTATIONS]

#include <algorithm>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

// Pieces of the documents' grammar and keys, so that mutations reach past the parser.
const char* const kTokens[] = {"{",
                               "}",
                               "[",
                               "]",
                               ",",
                               ":",
                               "\"",
                               "null",
                               "0",
                               "-1",
                               "1",
                               "255",
                               "70000",
                               "1e400",
                               "-2147483649",
                               "4294967296",
                               "0.5",
                               "true",
                               "\"\"",
                               "\"x\"",
                               "//",
                               "/*",
                               "\"\\u0000\"",
                               "\"\\ud800\"",
                               "\"Device\"",
                               "\"LightInfo\"",
                               "\"KeyList\"",
                               "\"Assignment\"",
                               "\"LightList\"",
                               "\"SelectItem\"",
                               "\"DPIStages\"",
                               "\"StageDPIs\"",
                               "\"StageDPIX\"",
                               "\"SystemStages\"",
                               "\"ReportStages\"",
                               "\"CustomLightMode\"",
                               "\"LightColorInfo\"",
                               "\"EQHzValueInfo\"",
                               "\"CustomEQHzValueInfo\"",
                               "\"CustomEQNameInfo\"",
                               "\"SystemSetStages\"",
                               "\"value\"",
                               "\"Guid\"",
                               "\"effect\"",
                               "\"LEDEffectList\"",
                               "\"CorrectInfo\"",
                               "\"AudioLightInfo\""};

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void Mutate(std::string& input, const std::vector<std::string>& seeds, std::mt19937& random) {
    auto below = [&](size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(random); };
    const int steps = 1 + static_cast<int>(below(4));
    for (int i = 0; i < steps; ++i) {
        const size_t at = input.empty() ? 0 : below(input.size() + 1);
        switch (below(6)) {
        case 0: // flip a bit
            if (!input.empty())
                input[below(input.size())] ^= static_cast<char>(1 << below(8));
            break;
        case 1: // insert a token
            input.insert(at, kTokens[below(std::size(kTokens))]);
            break;
        case 2: // drop a range
            input.erase(at, below(16) + 1);
            break;
        case 3: // repeat a range
            if (at < input.size())
                input.insert(at, input.substr(at, below(32) + 1));
            break;
        case 4: // cut short
            input.resize(at);
            break;
        default: { // splice in a piece of another seed
            const std::string& other = seeds[below(seeds.size())];
            if (!other.empty()) {
                const size_t from = below(other.size());
                input.insert(at, other.substr(from, below(64) + 1));
            }
        }
        }
    }
}

// The input being run and where to leave it when it crashes; the target changes the working
// folder, so the path is made absolute up front.
const std::string* g_current = nullptr;
std::string g_crashPath;

void SaveCrashingInput(int signal) {
    if (g_current) {
        const int fd = ::open(g_crashPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd >= 0) {
            [[maybe_unused]] ssize_t ignored = ::write(fd, g_current->data(), g_current->size());
            ::close(fd);
        }
        static const char kNote[] = "input saved to fuzz_profile_replay.crash\n";
        [[maybe_unused]] ssize_t ignored = ::write(2, kNote, sizeof kNote - 1);
    }
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

void Run(const std::string& input) {
    g_current = &input;
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(input.data()), input.size());
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s SEED_FOLDER [MUTATIONS]\n", argv[0]);
        return 2;
    }
    std::vector<std::filesystem::path> paths;
    for (const auto& entry : std::filesystem::directory_iterator(argv[1]))
        if (entry.is_regular_file())
            paths.push_back(entry.path());
    std::sort(paths.begin(), paths.end());
    std::vector<std::string> seeds;
    for (const auto& path : paths)
        seeds.push_back(ReadFile(path));
    if (seeds.empty()) {
        std::fprintf(stderr, "no seeds in %s\n", argv[1]);
        return 2;
    }
    const long mutations = argc > 2 ? std::strtol(argv[2], nullptr, 10) : 1000;
    g_crashPath = std::filesystem::absolute("fuzz_profile_replay.crash");
    for (int signal : {SIGABRT, SIGSEGV, SIGBUS, SIGFPE, SIGILL})
        std::signal(signal, SaveCrashingInput);

    for (const std::string& seed : seeds)
        Run(seed);
    std::mt19937 random(0x5EED);
    for (long i = 0; i < mutations; ++i) {
        std::string input =
            seeds[std::uniform_int_distribution<size_t>(0, seeds.size() - 1)(random)];
        Mutate(input, seeds, random);
        Run(input);
    }
    std::printf("%zu seeds and %ld mutations ran\n", seeds.size(), mutations);
    return 0;
}
