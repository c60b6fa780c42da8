// The record of every call the host made into the reference player (the plug-in or the control),
// one line of text per call, in order; tests read it through the test-control exports to check
// what a host sent.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>

namespace zn::player {

// Builds one line: the call's name, then " key=value" per argument. Strings are quoted with
// backslash escapes, addresses are "0x" and eight (or sixteen) lower-case hexadecimal digits.
class LogLine {
public:
    explicit LogLine(std::string_view call);

    LogLine& Text(std::string_view key, std::string_view value);
    LogLine& Text(std::string_view key, const char* value); // null reads as null
    LogLine& Number(std::string_view key, std::int64_t value);
    LogLine& Address(std::string_view key, const void* value);
    // The value as it is, for texts already in the log's form (a list of variants).
    LogLine& Raw(std::string_view key, std::string_view value);

    const std::string& Str() const { return line_; }

private:
    std::string line_;
};

std::string Quoted(std::string_view value);
std::string HexAddress(const void* value);

// A host that never reads the log (an application playing for hours, painting at the frame
// rate) must not make it grow without end: past its limit the oldest lines go, and the text
// begins with a line saying how many ("CallLog dropped=N").
class CallLog {
public:
    static constexpr std::size_t kDefaultLimit = 100000;
    explicit CallLog(std::size_t limit = kDefaultLimit) : limit_(limit ? limit : 1) {}

    void Record(const LogLine& line);
    // The whole log, each line ended by '\n'.
    std::string Text() const;
    // Copies the log and its terminator into the buffer and clears it, but only when all of it
    // fits, so a short buffer loses nothing; answers the log's length either way.
    std::size_t Take(char* buffer, std::size_t capacity);

private:
    std::size_t limit_;
    std::size_t dropped_ = 0;
    std::deque<std::string> lines_;
};

// The process-wide log (the player's library is loaded once per process).
CallLog& CallLogOfProcess();

} // namespace zn::player
