#include "cashier/fback.h"

#include "core/app.h"
#include "platform/keys.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPalette>

using namespace platform;

namespace {
constexpr int kChangePointSize = 72;
} // namespace

fBack* BackWindow()
{
    return app().form<fBack>();
}

fBack::fBack() : Form(QStringLiteral("fBack"), QString())
{
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    setFixedSize(560, 220);
    // The background is painted here, in the blink's colour, over the
    // whole window.
    setAttribute(Qt::WA_OpaquePaintEvent);

    iBack = PlaceLabel(this, QStringLiteral("iBack"), QStringLiteral("0"), 10, 10, 540, 140);
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

// The blink repaints the background and leaves the palette alone: a new
// palette reaches the close button, and the style caches a drawing of the
// button for each palette it meets, so a palette per blink left one more
// drawing in the pixmap cache with every blink of every sale.
void fBack::setBackColor(int color)
{
    m_backColor = color;
    update();
}

void fBack::paintEvent(QPaintEvent*)
{
    QPainter(this).fillRect(rect(), m_backColor == 0 ? QColor(Qt::black) : QColor(Qt::red));
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
