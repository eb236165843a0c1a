// Writes the largest pattern a file can hold to the path given; with "tall",
// a page of 816 x 270,336 pixels (the height of a corrupted page) instead.

#include "largestpattern.h"

#include <string_view>

int main(int argc, char **argv)
{
    if (argc == 3 && std::string_view(argv[2]) == "tall") {
        orvane::bench::writeTallPattern(argv[1]);
        return 0;
    }
    if (argc != 2)
        return 2;
    orvane::bench::writeLargestPattern(argv[1]);
    return 0;
}
