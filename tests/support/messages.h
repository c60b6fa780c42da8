// Window messages for tests that drive real windows.
#pragma once

namespace zn::test {

// Handles the messages waiting for this thread, then returns.
void PumpMessages();

} // namespace zn::test
