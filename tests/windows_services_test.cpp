// The editor's Win32 services as the system set provides them: the tick count
// is GetTickCount's, the sleep pauses the thread, OLE is initialised and
// uninitialised for real and in balance, and with nothing pending no paint
// message is taken.
#include "platform/services.h"

#include <gtest/gtest.h>
#include <ole2.h>
#include <windows.h>

namespace {

TEST(WindowsServices, TickCountIsGetTickCount) {
    const platform::Services& system = platform::systemServices();
    const DWORD before = GetTickCount();
    const std::uint32_t ticks = system.tickCount(system.context);
    const DWORD after = GetTickCount();
    // Unsigned differences stay right across a wrap of the 32-bit count.
    EXPECT_LE(ticks - before, after - before);
}

TEST(WindowsServices, SleepPausesTheThread) {
    const platform::Services& system = platform::systemServices();
    LARGE_INTEGER frequency{};
    LARGE_INTEGER start{};
    LARGE_INTEGER end{};
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    system.sleep(system.context, 4);
    QueryPerformanceCounter(&end);
    const double elapsedMs = 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) /
                             static_cast<double>(frequency.QuadPart);
    EXPECT_GE(elapsedMs, 3.0); // a lower bound only: the thread did give up the processor
}

TEST(WindowsServices, OleSetUpIsRealAndBalanced) {
    const platform::Services& system = platform::systemServices();
    system.oleInitialize(system.context);
    // Already initialised on this thread: a further call says so and is undone.
    EXPECT_EQ(OleInitialize(nullptr), S_FALSE);
    OleUninitialize();
    system.oleUninitialize(system.context);
    // Fully torn down again: a new initialisation is the first one.
    EXPECT_EQ(OleInitialize(nullptr), S_OK);
    OleUninitialize();
}

TEST(WindowsServices, NoPendingPaintMessageMeansNothingDispatched) {
    const platform::Services& system = platform::systemServices();
    MSG drain{};
    while (PeekMessageA(&drain, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE)) {
    }
    EXPECT_FALSE(system.dispatchOnePaintEvent(system.context));
}

TEST(WindowsServices, ShorthandsUseTheSystemSetByDefault) {
    platform::resetServices();
    const DWORD before = GetTickCount();
    const std::uint32_t ticks = platform::tickCount();
    EXPECT_LE(ticks - before, GetTickCount() - before);
}

} // namespace
