#pragma once
// The frame of every outside scenario: start Palvex from the folder under test with the
// simulated adapter's settings, work its window, and at the end leave a picture of it for
// review and close it as a user would.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "tests/e2e/AcquisitionStates.h"
#include "tests/e2e/PalvexProcess.h"
#include "tests/e2e/PalvexWindow.h"
#include "tests/e2e/Waiting.h"

// The folder with Palvex.exe under test (PALVEX_E2E_FOLDER), the one for the pictures
// (PALVEX_E2E_PICTURES) and one for files the scenarios make (PALVEX_E2E_WORK), as Windows
// paths.
std::wstring ProgramFolder();
std::wstring PictureFolder();
std::wstring WorkFolder();

class PalvexScenario : public ::testing::Test {
  protected:
    void TearDown() override;

    // Starts the program, with argument on its command line when there is one, and waits for
    // its main window; fails the test when it does not come.
    void Launch(const Environment& simulator, const std::wstring& folder = ProgramFolder(),
                const std::wstring& argument = {});
    PalvexWindow& Window() { return *window_; }

    // Clicks a button and waits until the buttons show the expected state.
    ::testing::AssertionResult ClickAndWaitFor(int id, const ButtonStates& expected,
                                               std::chrono::milliseconds timeout = 10s);
    // Waits for a message box with this caption and text and presses its OK button; with a
    // step name, a picture is taken while the box shows.
    ::testing::AssertionResult AnswerMessageBoxSaying(const std::wstring& caption,
                                                      const std::wstring& text,
                                                      const std::wstring& pictureStep = {});
    // A picture of the main window, named after the test and the given step.
    void SavePicture(const std::wstring& step);
    // Closes the main window with its close box and waits for the program to end.
    std::optional<DWORD> CloseProgram(std::chrono::milliseconds timeout = 15s);

    PalvexProcess process_;
    std::unique_ptr<PalvexWindow> window_;
};
