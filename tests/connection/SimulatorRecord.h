#pragma once
// Test support under Windows: the simulator Tessik.dll's record of what was asked of it, read
// through its own Control operation.

#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "tessik/AdapterSimulator.h"

inline SimulatorStatistics SimulatorRecord() {
    HMODULE tessik = GetModuleHandleW(L"Tessik.dll");
    SimulatorStatistics statistics{};
    if (tessik == nullptr) {
        ADD_FAILURE() << "Tessik.dll is not loaded";
        return statistics;
    }
    using Factory = HidTransport* (*)();
    FARPROC address = GetProcAddress(tessik, "GetUsbHidObj");
    Factory factory = nullptr;
    std::memcpy(&factory, &address, sizeof factory);
    EXPECT_TRUE(factory()->Control(kSimulatorQueryStatistics, &statistics, sizeof statistics));
    return statistics;
}
