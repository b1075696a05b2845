// Runs a fuzz target without libFuzzer, with any compiler: every file of the given folders
// (the seeds, then the inputs kept from earlier crashes), then a number of inputs made by
// mutating them with a fixed random seed, so that every run feeds the same inputs.
//
//   fuzz_<name>_replay [-dict=FILE] [-mutations=N] FOLDER...
//
// The dictionary is the one libFuzzer takes with -dict: one token a line, in double quotes
// (optionally after a name and "="), with \\, \" and \xNN escapes; '#' starts a comment line.
// Its tokens are inserted by the mutations, so that they reach past the outer syntax. A folder
// that is not there counts as empty, but at least one input must be found.

#include <algorithm>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
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

// Tokens for a target without a dictionary: the bytes that matter to most formats.
const char* const kFallbackTokens[] = {"\x00", "\xff", "\x7f", "\x80", "{", "}", "[",
                                       "]",    "<",    ">",    "\"",   "0", "1", "-1"};

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// One dictionary line's token; false for a blank or comment line. A line that is neither
// ends the run: a broken dictionary would quietly weaken every mutation.
bool ParseDictionaryLine(const std::string& line, std::string& token) {
    const size_t first = line.find_first_not_of(" \t\r");
    if (first == std::string::npos || line[first] == '#')
        return false;
    const size_t open = line.find('"', first);
    const size_t close = line.find_last_of('"');
    if (open == std::string::npos || close <= open) {
        std::fprintf(stderr, "dictionary line without a quoted token: %s\n", line.c_str());
        std::exit(2);
    }
    token.clear();
    for (size_t i = open + 1; i < close; ++i) {
        if (line[i] != '\\' || i + 1 >= close) {
            token += line[i];
            continue;
        }
        const char next = line[++i];
        if (next == 'x' && i + 2 < close && HexDigit(line[i + 1]) >= 0 &&
            HexDigit(line[i + 2]) >= 0) {
            token += static_cast<char>(HexDigit(line[i + 1]) * 16 + HexDigit(line[i + 2]));
            i += 2;
        } else {
            token += next;
        }
    }
    return true;
}

std::vector<std::string> ReadDictionary(const std::string& path) {
    std::ifstream in(path);
    if (!in) {
        std::fprintf(stderr, "cannot read the dictionary %s\n", path.c_str());
        std::exit(2);
    }
    std::vector<std::string> tokens;
    std::string line, token;
    while (std::getline(in, line))
        if (ParseDictionaryLine(line, token))
            tokens.push_back(token);
    return tokens;
}

void Mutate(std::string& input, const std::vector<std::string>& seeds,
            const std::vector<std::string>& tokens, std::mt19937& random) {
    auto below = [&](size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(random); };
    const int steps = 1 + static_cast<int>(below(4));
    for (int i = 0; i < steps; ++i) {
        const size_t at = input.empty() ? 0 : below(input.size() + 1);
        switch (below(7)) {
        case 0: // flip a bit
            if (!input.empty())
                input[below(input.size())] ^= static_cast<char>(1 << below(8));
            break;
        case 1: // insert a token
            input.insert(at, tokens[below(tokens.size())]);
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
        case 5: // overwrite a byte with an edge value
            if (!input.empty()) {
                static const char kEdges[] = {0, 1, 0x7f, static_cast<char>(0x80),
                                              static_cast<char>(0xff)};
                input[below(input.size())] = kEdges[below(sizeof kEdges)];
            }
            break;
        default: { // splice in a piece of another input
            const std::string& other = seeds[below(seeds.size())];
            if (!other.empty()) {
                const size_t from = below(other.size());
                input.insert(at, other.substr(from, below(64) + 1));
            }
        }
        }
    }
}

// The input being run and where to leave it when it crashes; a target may change the working
// folder, so the path is made absolute up front.
const std::string* g_current = nullptr;
std::string g_crashPath;
std::string g_crashNote;

void SaveCrashingInput(int signal) {
    if (g_current) {
        const int fd = ::open(g_crashPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd >= 0) {
            [[maybe_unused]] ssize_t ignored = ::write(fd, g_current->data(), g_current->size());
            ::close(fd);
        }
        [[maybe_unused]] ssize_t ignored = ::write(2, g_crashNote.data(), g_crashNote.size());
    }
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

void Run(const std::string& input) {
    g_current = &input;
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(input.data()), input.size());
}

bool TakeOption(const char* argument, const char* name, const char*& value) {
    const size_t length = std::strlen(name);
    if (std::strncmp(argument, name, length) != 0)
        return false;
    value = argument + length;
    return true;
}

} // namespace

int main(int argc, char** argv) {
    long mutations = 1000;
    std::vector<std::string> tokens;
    std::vector<std::filesystem::path> paths;
    for (int i = 1; i < argc; ++i) {
        const char* value = nullptr;
        if (TakeOption(argv[i], "-mutations=", value)) {
            mutations = std::strtol(value, nullptr, 10);
        } else if (TakeOption(argv[i], "-dict=", value)) {
            tokens = ReadDictionary(value);
        } else if (argv[i][0] == '-') {
            std::fprintf(stderr, "usage: %s [-dict=FILE] [-mutations=N] FOLDER...\n", argv[0]);
            return 2;
        } else {
            std::error_code error;
            std::vector<std::filesystem::path> found;
            for (const auto& entry : std::filesystem::directory_iterator(argv[i], error))
                if (entry.is_regular_file())
                    found.push_back(entry.path());
            std::sort(found.begin(), found.end());
            paths.insert(paths.end(), found.begin(), found.end());
        }
    }
    if (tokens.empty())
        for (const char* token : kFallbackTokens)
            tokens.emplace_back(token, std::max<size_t>(1, std::strlen(token)));
    std::vector<std::string> inputs;
    for (const auto& path : paths)
        inputs.push_back(ReadFile(path));
    if (inputs.empty()) {
        std::fprintf(stderr, "no inputs in the folders given\n");
        return 2;
    }
    const std::string program = std::filesystem::path(argv[0]).filename().string();
    g_crashPath = std::filesystem::absolute(program + ".crash");
    g_crashNote = "input saved to " + g_crashPath + "\n";
    for (int signal : {SIGABRT, SIGSEGV, SIGBUS, SIGFPE, SIGILL})
        std::signal(signal, SaveCrashingInput);

    for (size_t i = 0; i < inputs.size(); ++i) {
        g_crashNote = "input " + paths[i].string() + " failed\n";
        Run(inputs[i]);
    }
    g_crashNote = "input saved to " + g_crashPath + "\n";
    std::mt19937 random(0x5EED);
    for (long i = 0; i < mutations; ++i) {
        std::string input =
            inputs[std::uniform_int_distribution<size_t>(0, inputs.size() - 1)(random)];
        Mutate(input, inputs, tokens, random);
        Run(input);
    }
    std::printf("%zu inputs and %ld mutations ran\n", inputs.size(), mutations);
    return 0;
}
