// Writes the largest pattern a file can hold to the path given.

#include "largestpattern.h"

int main(int argc, char **argv)
{
    if (argc != 2)
        return 2;
    orvane::bench::writeLargestPattern(argv[1]);
    return 0;
}
