#pragma once
// Counts the allocations made through operator new on any thread while counting is on.
// Linking AllocationCounter.cpp into a program replaces its global operator new.

class AllocationCounter {
  public:
    // Starts counting from zero.
    static void Start();
    // Stops counting and returns the allocations since Start.
    static long Stop();
};
