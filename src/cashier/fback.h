#pragma once
// The change window: the change to hand back, in large white type on a
// background that blinks between black and red until the cashier closes it.
#include "platform/controls.h"
#include "platform/form.h"

class fBack : public platform::Form {
    Q_OBJECT
public:
    fBack();

    void Form_Activate() override;
    void Form_KeyDown(int& KeyCode, int Shift) override;
    void bClose_Click();
    void tBlink_Timer();
    void CloseAction() override { bClose_Click(); }

    // The background colour as a number: 0 black, 255 red.
    int BackColor() const { return m_backColor; }
    void setBackColor(int color);

    platform::Label* iBack;
    platform::WanButton* bClose;
    platform::Timer* tBlink;

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    void fitChange();

    int m_backColor = 0;
};

// The one change window (created hidden at start-up).
fBack* BackWindow();
