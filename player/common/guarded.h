// Nothing thrown inside the reference player crosses back into its host or a test: entries run
// their work through GuardedOr and answer a failure value instead.
#pragma once

namespace zn::player {

template <typename Result, typename Call>
Result GuardedOr(Result failed, Call call)
{
    try {
        return call();
    } catch (...) {
        return failed;
    }
}

} // namespace zn::player
