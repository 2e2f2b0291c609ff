#pragma once
// The simulated adapter that a simulator Tessik.dll hands out: configured by the TESSIK_SIM_*
// environment variables, read anew each time the adapter is opened. One per process.

#include "request/HidTransport.h"

HidTransport& EnvironmentSimulator();
