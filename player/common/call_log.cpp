// The call log and the text form of its lines.
#include "common/call_log.h"

#include <cstring>

namespace zn::player {

std::string Quoted(std::string_view value)
{
    std::string out = "\"";
    for (char c : value) {
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default: out += c;
        }
    }
    out += '"';
    return out;
}

std::string HexAddress(const void* value)
{
    static constexpr char digits[] = "0123456789abcdef";
    auto bits = reinterpret_cast<std::uintptr_t>(value);
    std::string out(2 + 2 * sizeof bits, '0');
    out[1] = 'x';
    for (std::size_t i = out.size(); i > 2; --i, bits >>= 4)
        out[i - 1] = digits[bits & 0xF];
    return out;
}

LogLine::LogLine(std::string_view call) : line_(call) {}

LogLine& LogLine::Text(std::string_view key, std::string_view value)
{
    line_.append(" ").append(key).append("=").append(Quoted(value));
    return *this;
}

LogLine& LogLine::Text(std::string_view key, const char* value)
{
    if (!value) {
        line_.append(" ").append(key).append("=null");
        return *this;
    }
    return Text(key, std::string_view(value));
}

LogLine& LogLine::Number(std::string_view key, std::int64_t value)
{
    line_.append(" ").append(key).append("=").append(std::to_string(value));
    return *this;
}

LogLine& LogLine::Address(std::string_view key, const void* value)
{
    line_.append(" ").append(key).append("=").append(HexAddress(value));
    return *this;
}

LogLine& LogLine::Raw(std::string_view key, std::string_view value)
{
    line_.append(" ").append(key).append("=").append(value);
    return *this;
}

void CallLog::Record(const LogLine& line)
{
    lines_.push_back(line.Str());
    if (lines_.size() > limit_) {
        lines_.pop_front();
        ++dropped_;
    }
}

std::string CallLog::Text() const
{
    std::string out;
    if (dropped_)
        out.append(LogLine("CallLog").Number("dropped", static_cast<std::int64_t>(dropped_)).Str())
            .append("\n");
    for (const auto& line : lines_)
        out.append(line).append("\n");
    return out;
}

std::size_t CallLog::Take(char* buffer, std::size_t capacity)
{
    std::string all = Text();
    if (buffer && capacity > all.size()) {
        std::memcpy(buffer, all.c_str(), all.size() + 1);
        lines_.clear();
        dropped_ = 0;
    }
    return all.size();
}

CallLog& CallLogOfProcess()
{
    static CallLog log;
    return log;
}

} // namespace zn::player
