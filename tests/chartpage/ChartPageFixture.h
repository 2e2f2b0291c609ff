#pragma once
// The chart page as a child of a visible test window, a store filled by the test, and
// prompts that record what the page would show.

#include "ChartHost.h"
#include "chart/PlotCursor.h"
#include "chart/PlotLineSeries.h"
#include "chart/PlotStandardAxis.h"
#include "chartpage/DlgChart.h"
#include "framework/Prompts.h"
#include "tests/framework/RecordingPrompts.h"
#include "res/resource.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

// The three values a channel reports in one frame.
struct FrameValues {
    std::uint16_t baseline;
    std::uint16_t filtered;
    std::uint16_t noise;
};
using FrameSource = std::function<FrameValues(std::uint32_t channel, std::uint32_t frame)>;

// Distinct values for every channel, frame and quantity: baseline 1000 + 100 c + f,
// filtered 500 + f, noise c + 1.
inline FrameValues CountingValues(std::uint32_t channel, std::uint32_t frame) {
    return {static_cast<std::uint16_t>(1000 + 100 * channel + frame),
            static_cast<std::uint16_t>(500 + frame), static_cast<std::uint16_t>(channel + 1)};
}

class ChartPageTest : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        INITCOMMONCONTROLSEX controls{sizeof(controls), 0xFF};
        ::InitCommonControlsEx(&controls);
        // One host for all tests: creating a top-level window costs Wine about a second.
        if (host_ == nullptr) {
            host_ = new ChartHost(1100, 900);
        }
    }

    void SetUp() override {
        InstallPrompts(&prompts_);
        ASSERT_TRUE(page_.Create(host_->hwnd())) << "no X display?";
        page_.ShowWindow(SW_SHOW);
        page_.SetStore(&store_);
        ChartHost::PumpMessages();
    }

    void TearDown() override {
        page_.DestroyWindow();
        ChartHost::PumpMessages();
        InstallPrompts(nullptr);
    }

    // Appends channels 0 .. channels-1, each with the leading zeros.
    void AddChannels(std::uint32_t channels) {
        for (std::uint32_t c = 0; c < channels; ++c) {
            ASSERT_TRUE(store_.AppendChannel(ChannelSamples(c)));
        }
    }
    // Appends frames to every channel; the frame numbers continue from the last call.
    void AddFrames(std::uint32_t frames, const FrameSource& source = CountingValues) {
        for (std::uint32_t f = 0; f < frames; ++f, ++framesAdded_) {
            for (std::uint32_t p = 0; p < store_.ChannelCount(); ++p) {
                const FrameValues v = source(p, framesAdded_);
                store_.Channel(p).AppendFrameValues(v.baseline, v.filtered, v.noise);
            }
        }
    }
    void SetUpPage(std::uint32_t channels, std::uint32_t frames) {
        AddChannels(channels);
        AddFrames(frames);
        Send(WM_CHART_SETUP);
    }

    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
        return ::SendMessageW(page_.m_hWnd, message, wParam, lParam);
    }
    HWND Item(int id) const { return ::GetDlgItem(page_.m_hWnd, id); }
    std::wstring TextOf(int id) const {
        wchar_t buffer[256] = {};
        ::GetWindowTextW(Item(id), buffer, 256);
        return buffer;
    }
    bool Checked(int id) const {
        return ::SendMessageW(Item(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
    }
    // Clicks a check box as the user does: it toggles and tells the page.
    void Click(int id) { ::SendMessageW(Item(id), BM_CLICK, 0, 0); }
    // Types into an edit and leaves it, as moving the focus away does.
    void Type(int id, const std::wstring& text) {
        ::SetWindowTextW(Item(id), text.c_str());
        Send(WM_COMMAND, MAKEWPARAM(id, EN_KILLFOCUS), reinterpret_cast<LPARAM>(Item(id)));
    }
    std::wstring Cell(int listId, int row) const {
        wchar_t buffer[64] = {};
        LVITEMW item{};
        item.iSubItem = 1;
        item.pszText = buffer;
        item.cchTextMax = 64;
        ::SendMessageW(Item(listId), LVM_GETITEMTEXTW, static_cast<WPARAM>(row),
                       reinterpret_cast<LPARAM>(&item));
        return buffer;
    }
    QuantityChart& Chart(SampleQuantity quantity) { return page_.Chart(quantity); }
    // The Y value of point i of a channel's line in a chart.
    double PointY(SampleQuantity quantity, std::uint32_t channel, unsigned i) {
        return Chart(quantity).Line(channel)->GetPoint(i).Y;
    }

    static inline ChartHost* host_ = nullptr;
    RecordingPrompts prompts_;
    TouchSampleStore store_;
    DlgChart page_;
    std::uint32_t framesAdded_ = 0;
};

// The value lists in quantity order, as the page shows them top to bottom.
inline constexpr int kValueListIds[] = {IDC_BASELINE_VALUES, IDC_FILTERED_VALUES,
                                        IDC_DIFFERENCE_VALUES, IDC_NOISE_VALUES};
