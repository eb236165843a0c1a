// The library in a host's threads: conversions at once give one conversion's bytes, and the host's own
// signal handlers stay as the host set them.

#include "fakes.h"
#include "patternwriter.h"

#include "orvane/orvane.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <csignal>
#include <thread>

using namespace orvane;
using namespace orvane::testing;

namespace {

extern "C" void hostHandler(int) {}

using Handler = void (*)(int);

Handler handlerOf(int signal)
{
    struct sigaction now {};
    ::sigaction(signal, nullptr, &now);
    return now.sa_handler;
}

// The first offset where two outputs differ, or their common length.
std::size_t firstDifference(const std::vector<unsigned char> &a, const std::vector<unsigned char> &b)
{
    return static_cast<std::size_t>(std::mismatch(a.begin(), a.end(), b.begin(), b.end()).first - a.begin());
}

} // namespace

TEST(LibraryThreads, EightThreadsConvertAsOneAndTheHostKeepsItsHandlers)
{
    constexpr int Threads = 8;
    constexpr int Rounds = 25;
    TempDir dir;
    PatternWriter w;
    w.header(2, 1, 0).settings21({}).integer(2).line(1440, 1440, 2880, 2880).line(0, 0, 1440, 720).integer(1);
    w.shape(3, 720, 720, 1440, 720).picture(std::string(3000, 'p'));
    ConvertOptions options;
    options.format = "placeable";
    options.pictureFolder = dir.file("pictures"); // every conversion saves the picture copy
    const ConversionResult alone = convert(w.bytes(), options);
    ASSERT_TRUE(alone.ok());
    ASSERT_EQ(handlerOf(SIGINT), SIG_DFL);

    std::vector<ConversionResult> results(Threads * Rounds);
    std::atomic<int> running = Threads;
    std::vector<std::thread> threads;
    for (int t = 0; t < Threads; ++t) {
        threads.emplace_back([&, t] {
            for (int r = 0; r < Rounds; ++r)
                results[static_cast<std::size_t>(t * Rounds + r)] = convert(w.bytes(), options);
            --running;
        });
    }
    // The host sets its handler again and again while they run, and looks at it after each time.
    struct sigaction own {};
    own.sa_handler = hostHandler;
    int looks = 0;
    int changed = 0;
    while (running > 0 || looks == 0) {
        std::signal(SIGTERM, SIG_DFL);
        ::sigaction(SIGTERM, &own, nullptr);
        for (int i = 0; i < 100; ++i) {
            ++looks;
            changed += handlerOf(SIGTERM) != hostHandler || handlerOf(SIGINT) != SIG_DFL ? 1 : 0;
        }
    }
    for (std::thread &thread : threads)
        thread.join();
    const Handler after = handlerOf(SIGTERM);
    std::signal(SIGTERM, SIG_DFL);

    EXPECT_EQ(changed, 0) << "of " << looks << " looks";
    EXPECT_EQ(after, hostHandler);
    for (std::size_t i = 0; i < results.size(); ++i) {
        const ConversionResult &r = results[i];
        EXPECT_EQ(r.status, ConversionResult::Converted) << i;
        EXPECT_EQ(r.messages, std::vector<std::string>()) << i;
        EXPECT_EQ(firstDifference(r.bytes, alone.bytes), alone.bytes.size()) << i << ": " << r.bytes.size() << " bytes";
    }
    EXPECT_EQ(readFileText(dir.file("pictures/vrtmimage.tmp")), std::string(3000, 'p'));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.file("pictures")), {}), 1); // nothing beside it
}
