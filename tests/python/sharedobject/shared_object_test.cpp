// liborvane.a linked into a shared object converts there as it does in a program.

#include "../../support/samebytes.h"

#include <orvane/orvane.h>

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <cstddef>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

using PluginConvert = std::size_t (*)(const unsigned char *, std::size_t, unsigned char *, std::size_t);

} // namespace

TEST(SharedObject, ConvertsInsideASharedObjectAsInAProgram)
{
    void *plugin = dlopen(ORVANE_PLUGIN, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(plugin, nullptr) << dlerror();
    const auto convert = reinterpret_cast<PluginConvert>(dlsym(plugin, "orvane_plugin_convert"));
    ASSERT_NE(convert, nullptr) << dlerror();
    std::ifstream file(ORVANE_EXAMPLES "/star-a4-v2.1.pat", std::ios::binary);
    const std::vector<unsigned char> pattern{std::istreambuf_iterator<char>(file), {}};
    const std::vector<unsigned char> expected = orvane::convert(pattern).bytes;
    std::vector<unsigned char> written(expected.size());

    const std::size_t size = convert(pattern.data(), pattern.size(), written.data(), written.size());

    EXPECT_EQ(size, expected.size());
    EXPECT_TRUE(orvane::testing::sameBytes(written, expected));
    dlclose(plugin);
}
