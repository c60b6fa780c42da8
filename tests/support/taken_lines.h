// A reference player's log (the plug-in's or the control's) taken as lines. Header-only on raw C++:
// the reference player's own suites use it too.
#pragma once

#include <cstddef>
#include <sstream>
#include <string>
#include <vector>

namespace zn::test {

// A log export: copies the log into the buffer and clears it when it fits, answers its length.
using TTakeLogFunction = std::size_t (*)(char* Buffer, std::size_t Capacity);

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
