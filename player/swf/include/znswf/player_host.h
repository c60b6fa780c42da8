// What the movie engine asks of the program that hosts it. The engine calls these from inside
// the host's own calls into MoviePlayer (a frame advance, a callback, a load), on the same
// thread; a host may call back into the player from them (even load another movie), but
// must not destroy it there: a destroy asked for inside a callback waits until the host's
// outermost call into the player has returned.
#pragma once

#include <string>
#include <vector>

#include "znswf/external_interface.h"
#include "znswf/geometry.h"

namespace zn::swf {

class PlayerHost {
public:
    virtual ~PlayerHost() = default;

    // getURL of anything but an FSCommand: a page to open or a further file to fetch.
    // `target` is the window or level the movie named ("_blank", "_level0", or empty).
    virtual void RequestUrl(const std::string& url, const std::string& target) = 0;
    // fscommand(command, arguments), or getURL("FSCommand:command", arguments).
    virtual void FSCommand(const std::string& command, const std::string& arguments) = 0;
    // ExternalInterface.call(name, arguments...). The answer is one value in ExternalInterface
    // XML ("<string>ok</string>", "<number>2</number>"); empty or unreadable text is undefined.
    virtual std::string CallExternal(const std::string& name,
                                     const std::vector<ExternalValue>& arguments) = 0;
    // This rectangle of the view (pixels of MoviePlayer::SetViewSize) changed and needs painting.
    virtual void InvalidateRect(const PixelRect& rect) = 0;
};

} // namespace zn::swf
