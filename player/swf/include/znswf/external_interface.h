// ExternalInterface values and their XML: what a movie's ExternalInterface.call hands the
// host, what the host answers, and the requests with which a host invokes a callback the
// movie registered, e.g.
//   <invoke name="fn" returntype="xml"><arguments><string>a</string><number>2</number></arguments></invoke>
// Values: <string>text</string>, <number>2</number>, <true/>, <false/>, <null/>, <undefined/>.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zn::swf {

struct ExternalValue {
    enum class Kind { Undefined, Null, Boolean, Number, String };
    Kind kind = Kind::Undefined;
    bool boolean = false;
    double number = 0;
    std::string text;

    static ExternalValue Undefined() { return {}; }
    static ExternalValue Null() { return {Kind::Null, false, 0, {}}; }
    static ExternalValue Boolean(bool b) { return {Kind::Boolean, b, 0, {}}; }
    static ExternalValue Number(double n) { return {Kind::Number, false, n, {}}; }
    static ExternalValue String(std::string s) { return {Kind::String, false, 0, std::move(s)}; }
    friend bool operator==(const ExternalValue&, const ExternalValue&) = default;
};

struct ExternalInvocation {
    std::string name;
    std::vector<ExternalValue> arguments;
};

// Text is escaped (&amp; &lt; &gt; &quot; &apos;) on the way out and unescaped on the way in;
// text the decoder finds unescaped is taken as it is.
std::string EncodeExternalValue(const ExternalValue& value);
std::string EncodeExternalInvocation(const ExternalInvocation& invocation);

// Decodes one value; anything not understood (empty text included) is undefined.
ExternalValue DecodeExternalValue(std::string_view xml);
// Null when the text is not an <invoke> with a name.
std::optional<ExternalInvocation> DecodeExternalInvocation(std::string_view xml);

// The number as a movie prints it: integers without a point, otherwise up to 15
// significant digits, NaN, Infinity, -Infinity.
std::string FormatNumber(double value);

} // namespace zn::swf
