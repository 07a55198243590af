// The slideshow: the advance timer, the countdown bar and the interval slider.
#include "app/AppContext.h"
#include "viewer/frmImageViewer.h"

namespace glimpa {

namespace {
constexpr int kCountdownStepMs = 100;
}

void frmImageViewer::restartCountdown() {
    // The bar is full now and loses a tenth of a second from now on, so that
    // it runs out together with the advance interval.
    ProgressBar1.setValue(ProgressBar1.max());
    Timer2.setInterval(kCountdownStepMs);
    Timer2.setEnabled(true);
}

void frmImageViewer::Timer1_Timer() {
    ListBox& list = lineup();
    const int count = list.listCount();
    if (count == 0) {
        Timer1.setEnabled(false);
        Timer1.setInterval(0);
        return;
    }
    const int active = list.listIndex();
    list.setListIndex(active >= count - 1 ? 0 : active + 1);
    m_app.CurrentFile = list.text();
    ProgressBar1.setValue(0);
    LoadPic();
    restartCountdown();
}

void frmImageViewer::Timer2_Timer() {
    if (ProgressBar1.value() > 0) {
        ProgressBar1.setValue(ProgressBar1.value() - 1);
    }
}

void frmImageViewer::Slider1_MouseDown() {
    Timer1.setEnabled(false);
    Timer2.setEnabled(false);
    ProgressBar1.setValue(0);
}

void frmImageViewer::Slider1_Change() {
    Timer1.setEnabled(false);
    Timer2.setEnabled(false);
    ProgressBar1.setValue(0);
    picBackground.setFocus();
    ProgressBar1.setMax(static_cast<float>(Slider1.value() * 10));
    UpdateUI();
}

void frmImageViewer::chkQuickOff_Click() {
    picBackground.setFocus();
}

}  // namespace glimpa
