#include <gtest/gtest.h>
#include <windows.h>
TEST(Smoke, Window) { HWND h = CreateWindowExW(0, L"STATIC", L"x", WS_POPUP|WS_VISIBLE, 0,0,10,10, nullptr,nullptr,nullptr,nullptr); EXPECT_NE(h, nullptr); DestroyWindow(h); }
