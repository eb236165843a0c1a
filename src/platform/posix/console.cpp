#include "platform/console.h"

#include <iostream>
#include <unistd.h>

namespace orvane {

std::vector<std::string> commandLineArguments(int argc, char **argv)
{
    return std::vector<std::string>(argv, argv + argc);
}

std::ostream &standardOutputText()
{
    return std::cout;
}

std::ostream &standardErrorText()
{
    return std::cerr;
}

bool standardErrorIsTerminal()
{
    return ::isatty(STDERR_FILENO);
}

} // namespace orvane
