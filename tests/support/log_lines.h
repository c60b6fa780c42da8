// The reference player's logs as lines: the plug-in's and the control's exports that take a log
// share one shape. Header-only on the standard library.
#pragma once

#include <cstddef>
#include <sstream>
#include <string>
#include <vector>

namespace zn::test {

// Copies the log into buffer and clears it when capacity exceeds its length; answers the length.
using TTakeLogFunction = std::size_t (*)(char* buffer, std::size_t capacity);

// Takes (and so clears) a log through Take, one entry per line.
inline std::vector<std::string> TakeLines(TTakeLogFunction Take)
{
    std::string text;
    // Take copies nothing into a buffer the log outgrew since its size was asked: ask again.
    for (std::size_t length = Take(nullptr, 0);;) {
        text.assign(length + 1, '\0');
        const std::size_t taken = Take(text.data(), text.size());
        if (taken <= length) {
            text.resize(taken);
            break;
        }
        length = taken;
    }
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);)
        lines.push_back(line);
    return lines;
}

} // namespace zn::test
