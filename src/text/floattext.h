#pragma once

// Numbers as text in the C locale, whatever the program's locale. They go
// through floating-point std::to_chars where the standard library has it;
// libc++ before 14 (emscripten 3.1, older Apple systems) lacks it, and there
// the same text is made with snprintf.

#include <string>

namespace orvane {

// As printf's "%.*f": decimals places.
std::string fixedText(double value, int decimals);
// As printf's "%.*g": precision significant digits.
std::string generalText(double value, int precision);
// The shortest text that reads back to the same float, as to_chars(float)
// writes it: plain or scientific, whichever is shorter, plain on a tie.
std::string shortestText(float value);

namespace snprintfText {
// The fallbacks themselves, here so that tests compare them with to_chars.
std::string fixed(double value, int decimals);
std::string general(double value, int precision);
std::string shortest(float value);
} // namespace snprintfText

} // namespace orvane
