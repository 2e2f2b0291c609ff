#include "app/ChannelBoxes.h"

void ChannelBoxes::Bind(DataExchange& dx) {
    for (std::size_t channel = 0; channel < boxes_.size(); ++channel) {
        dx.Control(kChannelBoxIds[channel], boxes_[channel]);
    }
}

void ChannelBoxes::Show(std::size_t channels) const {
    for (std::size_t channel = 0; channel < boxes_.size(); ++channel) {
        boxes_[channel].SetCheck(channel < channels ? BST_CHECKED : BST_UNCHECKED);
        boxes_[channel].EnableWindow(channel < channels);
    }
}

void ChannelBoxes::Check(std::uint32_t channel, bool checked) const {
    if (channel < boxes_.size()) {
        boxes_[channel].SetCheck(checked ? BST_CHECKED : BST_UNCHECKED);
    }
}

bool ChannelBoxes::Checked(std::uint32_t channel) const {
    return channel < boxes_.size() && boxes_[channel].GetCheck() == BST_CHECKED;
}
