#include "cashier/fback.h"

#include "platform/keys.h"

#include <QFont>
#include <QFontMetrics>
#include <QPalette>

using namespace platform;

namespace {
fBack* g_back = nullptr;
constexpr int kChangePointSize = 72;
} // namespace

fBack* BackWindow()
{
    return g_back;
}

fBack::fBack() : Form(QStringLiteral("fBack"), QString())
{
    g_back = this;
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    setFixedSize(560, 220);
    setAutoFillBackground(true);

    iBack = new Label(this, QStringLiteral("iBack"), QStringLiteral("0"));
    iBack->setGeometry(10, 10, 540, 140);
    iBack->setAlignment(Qt::AlignCenter);
    QFont f = iBack->font();
    f.setPointSize(kChangePointSize);
    f.setBold(true);
    iBack->setFont(f);
    iBack->setForeColor(Qt::white);

    bClose = new WanButton(this, QStringLiteral("bClose"), QStringLiteral("&Tutup"));
    bClose->setGeometry(230, 165, 100, 36);
    bClose->Click = [this] { bClose_Click(); };

    tBlink = new Timer(this, QStringLiteral("tBlink"), 500);
    tBlink->Tick = [this] { tBlink_Timer(); };
    setBackColor(0);
    tBlink->setEnabled(true);
}

void fBack::setBackColor(int color)
{
    m_backColor = color;
    QPalette p = palette();
    p.setColor(QPalette::Window, color == 0 ? QColor(Qt::black) : QColor(Qt::red));
    setPalette(p);
}

void fBack::Form_Activate()
{
    fitChange();
    bClose->setFocus();
}

// The change is shown whole: a figure too wide for the window in the large
// type gets a smaller one.
void fBack::fitChange()
{
    QFont f = iBack->font();
    f.setPointSize(kChangePointSize);
    const int room = iBack->width() - 2 * iBack->margin() - 8;
    while (f.pointSize() > 8 && QFontMetrics(f).horizontalAdvance(iBack->Caption()) > room)
        f.setPointSize(f.pointSize() - 2);
    iBack->setFont(f);
}

void fBack::Form_KeyDown(int& KeyCode, int Shift)
{
    (void)Shift;
    if (KeyCode == vbKeyReturn || KeyCode == vbKeyEscape) {
        KeyCode = 0;
        bClose_Click();
    }
}

void fBack::bClose_Click()
{
    Hide();
}

void fBack::tBlink_Timer()
{
    setBackColor(m_backColor != 0 ? 0 : 255);
}
