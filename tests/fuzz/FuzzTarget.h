#pragma once
// One fuzz target per input surface. A target is written once with
// ETIBARIX_FUZZ_TARGET and becomes either a libFuzzer entry point (the clang
// fuzzing build) or an entry of the replay driver, which runs every corpus
// file through it as an ordinary test in the normal build.
//
// A target feeds the reader the way the program does and checks afterwards
// what must hold; a broken property stops the process with FUZZ_CHECK, which
// libFuzzer reports as a crash and the replay test as a failure.

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace etibarix::fuzz {

using TargetFunction = void (*)(QByteArrayView input);

struct TargetRegistrar {
    TargetRegistrar(const char *name, TargetFunction function);
};

// A target's seed corpus, made with the program's own writers: file names
// and contents. `fuzz_replay --seeds TARGET DIR` writes them.
using Seeds = std::vector<std::pair<QString, QByteArray>>;
using SeedFunction = Seeds (*)();
struct SeedRegistrar {
    SeedRegistrar(const char *name, SeedFunction function);
};

// Prints what broke, with the input's size, and aborts.
[[noreturn]] void fail(const char *file, int line, const char *condition, const QString &detail);

// A private scratch directory of this process, ending with "/"; removed at
// exit.
QString scratchDir();
// Removes every entry of dir (recursively), leaving dir itself.
void emptyDir(const QString &dir);

QByteArray readFile(const QString &path);
void writeFile(const QString &path, QByteArrayView bytes);

// Creates the one QGuiApplication (offscreen) that text measuring needs.
void ensureGuiApplication();

// Input bytes taken one by one from the front (for options), the rest as
// the file: a short input gives zeros.
class InputReader {
public:
    explicit InputReader(QByteArrayView input) : m_rest(input) {}
    std::uint8_t byte()
    {
        if (m_rest.isEmpty())
            return 0;
        const auto b = static_cast<std::uint8_t>(m_rest.front());
        m_rest = m_rest.sliced(1);
        return b;
    }
    QByteArrayView rest() const { return m_rest; }

private:
    QByteArrayView m_rest;
};

} // namespace etibarix::fuzz

#define FUZZ_CHECK(cond, detail)                                                                   \
    do {                                                                                           \
        if (!(cond))                                                                               \
            ::etibarix::fuzz::fail(__FILE__, __LINE__, #cond, (detail));                           \
    } while (0)

#define ETIBARIX_FUZZ_SEEDS(name)                                                                  \
    static ::etibarix::fuzz::Seeds fuzzSeeds_##name();                                             \
    static const ::etibarix::fuzz::SeedRegistrar fuzzSeedRegistrar_##name(#name, fuzzSeeds_##name); \
    static ::etibarix::fuzz::Seeds fuzzSeeds_##name()

#ifdef ETIBARIX_FUZZ_ENGINE
#define ETIBARIX_FUZZ_TARGET(name)                                                                 \
    static void fuzzTarget_##name(QByteArrayView input);                                          \
    extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)              \
    {                                                                                              \
        fuzzTarget_##name(QByteArrayView(reinterpret_cast<const char *>(data),                     \
                                         static_cast<qsizetype>(size)));                           \
        return 0;                                                                                  \
    }                                                                                              \
    static void fuzzTarget_##name(QByteArrayView input)
#else
#define ETIBARIX_FUZZ_TARGET(name)                                                                 \
    static void fuzzTarget_##name(QByteArrayView input);                                          \
    static const ::etibarix::fuzz::TargetRegistrar fuzzRegistrar_##name(#name, fuzzTarget_##name); \
    static void fuzzTarget_##name(QByteArrayView input)
#endif
