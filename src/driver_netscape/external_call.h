// ExternalInterface calls from the movie: the script through which the plug-in makes such a call
// (NPN_Evaluate).
//
// Plain C++, no Windows header. The script, the function name and the arguments come from the
// movie: they are parsed without any assumption about their length or content, and the request
// is always well-formed XML whatever they hold.
#pragma once

#include "zintara/core/external_interface.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zn::netscape {

// One argument of the script: its text in the code page of the plug-in, and the kind of value
// its literal is (a quoted string; true or false; null; undefined; a number otherwise).
struct TScriptArgument {
    std::string Text;
    TExternalArgument::TKind Kind;
};

// A call as the movie makes it: the function name and the arguments.
struct TExternalCall {
    std::string Name;
    std::vector<TScriptArgument> Arguments;
};

// The call a script of the form `try { __flash__toXML(NAME(ARGS)) ; } catch (e) {...}` makes;
// nothing for any other script. Arguments are split at every comma, quoted or not; an argument
// that begins with a double quote loses it, and its last character when that is a closing
// (unescaped) double quote too, so only quotes are ever removed (the piece before a quoted comma
// keeps its text). The script's escapes in a quoted argument are undone (\" \\ \n \r \t \xHH
// and the like), so the argument is the text the movie passed.
std::optional<TExternalCall> ParseFlashCallScript(std::string_view Script);

} // namespace zn::netscape
