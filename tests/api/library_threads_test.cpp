// The library in a host's threads: conversions at once give one conversion's bytes, and the host's own
// signal handlers stay as the host set them.

#include "fakes.h"
#include "patternwriter.h"
#include "samebytes.h"

#include "orvane/orvane.h"

#include <gtest/gtest.h>

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

} // namespace

TEST(LibraryThreads, EightThreadsConvertAsOneAndTheHostKeepsItsHandlers)
{
    constexpr int Threads = 8;
    constexpr int Rounds = 25;
    TempDir dir;
    PatternWriter w;
    w.header(2, 1, 0).settings21({}).integer(1).line(1440, 1440, 2880, 2880).integer(1);
    w.shape(3, 720, 720, 1440, 720).picture(std::string(3000, 'p'));
    ConvertOptions options;
    options.format = "placeable";
    options.pictureFolder = dir.file("pictures"); // every conversion saves the picture copy
    const ConversionResult alone = convert(w.bytes(), options);
    ASSERT_TRUE(alone.ok());
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
    // The host sets its handler again and again while they run, and looks at both after each time.
    int changed = 0;
    do {
        std::signal(SIGTERM, hostHandler);
        changed += handlerOf(SIGTERM) != hostHandler ? 1 : 0;
        changed += handlerOf(SIGINT) != SIG_DFL ? 1 : 0;
    } while (running > 0);
    for (std::thread &thread : threads)
        thread.join();
    const Handler after = handlerOf(SIGTERM);
    std::signal(SIGTERM, SIG_DFL);

    EXPECT_EQ(changed, 0);
    EXPECT_EQ(after, hostHandler);
    for (std::size_t i = 0; i < results.size(); ++i)
        EXPECT_TRUE(sameBytes(results[i].bytes, alone.bytes)) << i;
    EXPECT_EQ(readFileText(dir.file("pictures/vrtmimage.tmp")), std::string(3000, 'p'));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.file("pictures")), {}), 1); // nothing beside it
}
