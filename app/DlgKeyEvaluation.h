#pragma once
// The "按键评估" page: one row per channel of the recording shown with its key figures, judged
// with the settings above the table (pass mark, shortest touch, noise statistic), and the
// report and the summary written from them. The figures come from the key evaluation, off the
// window's thread; the page shows them, takes the settings and tells the main dialog, through
// its two callbacks, when the settings change and which row is selected.

#include "app/WindowResults.h"
#include "device/store/TouchSampleStore.h"
#include "evaluation/KeyFigures.h"
#include "framework/Controls.h"
#include "framework/Dialog.h"
#include "res/resource.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class DlgKeyEvaluation : public CDialogEx {
  public:
    DlgKeyEvaluation() : CDialogEx(IDD_EVALUATION_PAGE) {}

    // Called once the settings applied differ from the ones before.
    std::function<void()> settingsChanged;
    // Called with the figures of the row selected, or none when no row is.
    std::function<void(const KeyFigures*)> rowSelected;

    const JudgeSettings& Settings() const { return settings_; }

    // The recording the exports read, as the next figures judge it: the store (none: nothing
    // to report) and its name as the report names it.
    void SetRecording(const TouchSampleStore* store, std::string source);
    // Shows figures: one row per channel, the selected row kept.
    void ShowFigures(const KeysEvaluated& evaluated);
    // Figures of the recording shown are on their way: the line above the table says so.
    void ShowEvaluating();

    // The figures shown, for the benchmark.
    const KeysEvaluated& Shown() const { return shown_; }

  protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(DataExchange& dx) override;
    // Enter in a setting applies the settings, on a button presses it; nothing closes.
    void OnOK() override;
    bool OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

  private:
    void OnSettingLeft();
    void OnExportReport();
    void OnExportEvaluation();
    LRESULT OnTableCustomDraw(NMHDR* header);
    LRESULT OnTableItemChanged(NMHDR* header);
    LRESULT OnTableDisplayInfo(NMHDR* header);

    // Reads the boxes: a bad value is refused with a warning and nothing changes.
    void ApplySettings();
    void Warn(const std::wstring& text);
    void ShowSettings();
    // The figures of the row selected, or null.
    const KeyFigures* SelectedFigures() const;

    CEdit passMarkEdit_;
    CEdit minTouchEdit_;
    CComboBox noiseBox_;
    CStatic statusText_;
    CListCtrl table_;
    JudgeSettings settings_;
    KeysEvaluated shown_;
    // The table's cells, row by row: it is an owner-data list, so new figures cost one count
    // update and a repaint, not a message per cell (which under Wine took some 150 ms).
    std::vector<std::vector<std::wstring>> cells_;
    const TouchSampleStore* store_ = nullptr;
    std::string source_;
    bool warning_ = false;  // a refusal shows: the box losing the focus to it applies nothing
};
