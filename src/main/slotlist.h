#pragma once

#include <QAbstractItemView>
#include <QComboBox>

// A pick-only slot list. It is narrower than most labels, so its pop-up is widened to show them
// whole, measured when it first opens rather than at start-up.
class SlotList final : public QComboBox {
public:
    using QComboBox::QComboBox;

    void showPopup() override {
        if (view()->minimumWidth() == 0)
            view()->setMinimumWidth(view()->sizeHintForColumn(0) + 24);
        QComboBox::showPopup();
    }
};
