#include "shell/fmain.h"

#include "core/app.h"
#include "core/mmain.h"
#include "data/owntext.h"
#include "lang/mlang.h"

#include <QPainter>
#include <QResizeEvent>
#include <QTimer>

using namespace platform;

const QStringList fMain::UnloadOrder = {
    QStringLiteral("fNew"),     QStringLiteral("fMaster"),  QStringLiteral("fStock"),  QStringLiteral("fUser"),
    QStringLiteral("fDB"),      QStringLiteral("fSetting"), QStringLiteral("fAdd"),    QStringLiteral("fBack"),
    QStringLiteral("fBarcode"), QStringLiteral("fCart"),    QStringLiteral("fCharge"), QStringLiteral("fDetail"),
    QStringLiteral("fEdit"),    QStringLiteral("fIn"),      QStringLiteral("fOut"),    QStringLiteral("fInventory"),
    QStringLiteral("fIO"),      QStringLiteral("fLedger"),  QStringLiteral("fMove"),
};

namespace {

const int kWidth = 1000;
const int kHeight = 700;
const int kMenuHeight = 78;
const int kPanelTop = 84;
const QColor kRestText(51, 51, 51);

// The menu icons and the logo are drawn here rather than shipped as files.
QPixmap menuIcon(const QString& letter, const QColor& colour)
{
    QPixmap pm(28, 28);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(colour);
    p.setPen(Qt::NoPen);
    p.drawEllipse(1, 1, 26, 26);
    p.setPen(Qt::white);
    QFont f = p.font();
    f.setBold(true);
    f.setPointSize(11);
    p.setFont(f);
    p.drawText(QRect(0, 0, 28, 28), Qt::AlignCenter, letter);
    return pm;
}

QPixmap logoPicture()
{
    QPixmap pm(kWidth, 150);
    pm.fill(QColor(40, 44, 52));
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor(217, 77, 22));
    p.setPen(Qt::NoPen);
    p.drawEllipse(40, 30, 90, 90);
    p.setPen(Qt::white);
    QFont f(QStringLiteral("DejaVu Sans"), 40, QFont::Bold);
    p.setFont(f);
    p.drawText(QRect(60, 30, 60, 90), Qt::AlignCenter, QStringLiteral("O"));
    p.drawText(QRect(150, 25, 600, 70), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Orvanta"));
    f.setPointSize(13);
    f.setBold(false);
    p.setFont(f);
    p.setPen(QColor(220, 220, 220));
    p.drawText(QRect(152, 90, 700, 30), Qt::AlignLeft | Qt::AlignVCenter,
               platform::OwnText("cSlogan", QStringLiteral("Point of Sale & Pembukuan untuk Toko, Kafe dan Restoran")));
    return pm;
}

} // namespace

// The logo's line is in the language in use.
void fMain::showLogo()
{
    pcLogo->setPicture(logoPicture());
}

fMain* MainWindow()
{
    return App::instance().form<fMain>();
}

fMain::fMain() : Form(QStringLiteral("fMain"), QStringLiteral("Orvanta - Login"))
{
    resize(kWidth, kHeight);
    setMinimumSize(640, 480);
    setSizeGripEnabled(true);
    setWindowFlags(Qt::Window | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);

    buildMenu();

    auto workingPanel = [this](const QString& name) {
        auto* p = new Panel(this, name);
        p->setGeometry(0, kPanelTop, kWidth, kHeight - kPanelTop);
        p->setFrameShape(QFrame::StyledPanel);
        // Out of sight until a login brings one to the front.
        p->hide();
        return p;
    };
    pCashier = workingPanel(QStringLiteral("pCashier"));
    pInventory = workingPanel(QStringLiteral("pInventory"));
    pLedger = workingPanel(QStringLiteral("pLedger"));
    pHelp = workingPanel(QStringLiteral("pHelp"));
    hiHelp = new MemoBox(pHelp, QStringLiteral("hiHelp"));
    hiHelp->setGeometry(10, 10, kWidth - 20, kHeight - kPanelTop - 20);
    hiHelp->setFont(fixedFont(QStringLiteral("OCR A Std"), 10));

    buildLogin();

    tClock = new Timer(this, QStringLiteral("tClock"), 1000);
    tCount = new Timer(this, QStringLiteral("tCount"), 10);
    tClock->Tick = [this] { tClock_Timer(); };
    tCount->Tick = [this] { tCount_Timer(); };

    wireLogin();
    wireMenu();
    wireLanguage();
}

void fMain::buildMenu()
{
    pMenu = new Panel(this, QStringLiteral("pMenu"));
    pMenu->setGeometry(0, 0, kWidth, kMenuHeight);
    pMenu->setFillColor(QColor(250, 250, 250));

    struct Item {
        const char* key;
        const char* caption;
        const char* letter;
        QColor colour;
    };
    const Item items[] = {
        {"Cashier", "KASIR", "K", QColor(217, 77, 22)},     {"Inventory", "MASTER", "M", QColor(46, 134, 193)},
        {"Ledger", "JURNAL", "J", QColor(39, 174, 96)},     {"Stock", "STOK", "S", QColor(142, 68, 173)},
        {"User", "USER", "U", QColor(52, 73, 94)},          {"DB", "DATABASE", "D", QColor(22, 160, 133)},
        {"Setting", "SETTING", "T", QColor(127, 140, 141)}, {"Help", "BANTUAN", "?", QColor(241, 196, 15)},
        {"Logout", "LOGOUT", "X", QColor(192, 57, 43)},
    };
    const int w = 78;
    int x = 4;
    for (const Item& it : items) {
        const QString key = QString::fromLatin1(it.key);
        auto* s = new Panel(pMenu, QStringLiteral("s") + key);
        s->setGeometry(x, 4, w, 52);
        s->setFillColor(pMenu->palette().color(QPalette::Base));
        // The clickable area holds icon and caption, which take no mouse of
        // their own: an item the operator has no right to is greyed whole
        // with its area.
        auto* b = new Image(s, QStringLiteral("b") + key);
        b->setGeometry(0, 0, w, 52);
        auto* c = new Image(b, QStringLiteral("c") + key);
        c->setPicture(menuIcon(QString::fromLatin1(it.letter), it.colour));
        c->setGeometry(0, 2, w, 28);
        c->setAttribute(Qt::WA_TransparentForMouseEvents);
        auto* l = PlaceLabel(b, QStringLiteral("l") + key, QString::fromLatin1(it.caption), 0, 30, w, 20);
        l->setAlignment(Qt::AlignCenter);
        l->setForeColor(kRestText);
        l->setAttribute(Qt::WA_TransparentForMouseEvents);
        x += w + 2;
    }
    bCashier = menuImage(QStringLiteral("Cashier"));
    bInventory = menuImage(QStringLiteral("Inventory"));
    bLedger = menuImage(QStringLiteral("Ledger"));
    bStock = menuImage(QStringLiteral("Stock"));
    bUser = menuImage(QStringLiteral("User"));
    bDB = menuImage(QStringLiteral("DB"));
    bSetting = menuImage(QStringLiteral("Setting"));
    bHelp = menuImage(QStringLiteral("Help"));
    bLogout = menuImage(QStringLiteral("Logout"));
    lCashier = menuLabel(QStringLiteral("Cashier"));
    lInventory = menuLabel(QStringLiteral("Inventory"));
    lLedger = menuLabel(QStringLiteral("Ledger"));
    lStock = menuLabel(QStringLiteral("Stock"));
    lUser = menuLabel(QStringLiteral("User"));
    lDB = menuLabel(QStringLiteral("DB"));
    lSetting = menuLabel(QStringLiteral("Setting"));
    lHelp = menuLabel(QStringLiteral("Help"));
    lLogout = menuLabel(QStringLiteral("Logout"));

    iCashier = PlaceLabel(pMenu, QStringLiteral("iCashier"), QString(), x + 6, 6, kWidth - x - 12, 20);
    iClock = PlaceLabel(pMenu, QStringLiteral("iClock"), QString(), x + 6, 28, kWidth - x - 12, 20);
    iCash = PlaceLabel(pMenu, QStringLiteral("iCash"), QString(), x + 6, 50, kWidth - x - 12, 20);
}

void fMain::buildLogin()
{
    pLogin = new Panel(this, QStringLiteral("pLogin"));
    pLogin->setGeometry(0, 0, kWidth, kHeight);
    pLogin->setFillColor(QColor(245, 245, 245));

    pcLogo = new Image(this, QStringLiteral("pcLogo"));
    showLogo();
    pcLogo->setGeometry(0, 0, kWidth, 150);

    const int lx = 300, fx = 420, fw = 260, h = 26;
    int y = 200;
    cLanguage = PlaceLabel(pLogin, QStringLiteral("cLanguage"), QStringLiteral("Bahasa:"), lx, y, fx - lx - 8, h);
    iLanguage = new ComboBox(pLogin, QStringLiteral("iLanguage"), true);
    iLanguage->setGeometry(fx, y, fw - 44, h);
    pFlag = new Image(pLogin, QStringLiteral("pFlag"));
    pFlag->setGeometry(fx + fw - 40, y - 2, 40, h + 4);
    y += 40;
    cDatabase = PlaceLabel(pLogin, QStringLiteral("cDatabase"), QStringLiteral("Database:"), lx, y, fx - lx - 8, h);
    iDatabase = new ComboBox(pLogin, QStringLiteral("iDatabase"), false);
    iDatabase->setGeometry(fx, y, fw, h);
    y += 40;
    cUsername = PlaceLabel(pLogin, QStringLiteral("cUsername"), QStringLiteral("Username:"), lx, y, fx - lx - 8, h);
    iUsername = new TextBox(pLogin, QStringLiteral("iUsername"));
    iUsername->setGeometry(fx, y, fw, h);
    y += 40;
    cPassword = PlaceLabel(pLogin, QStringLiteral("cPassword"), QStringLiteral("Password:"), lx, y, fx - lx - 8, h);
    iPassword = new TextBox(pLogin, QStringLiteral("iPassword"));
    iPassword->setPasswordChar(true);
    iPassword->setGeometry(fx, y, fw, h);
    y += 50;
    bLogin = new WanButton(pLogin, QStringLiteral("bLogin"), QStringLiteral("&Login"));
    bLogin->setGeometry(fx, y, 84, 30);
    bNew = new WanButton(pLogin, QStringLiteral("bNew"), QStringLiteral("&Baru"));
    bNew->setGeometry(fx + 88, y, 84, 30);
    bReset = new WanButton(pLogin, QStringLiteral("bReset"), QStringLiteral("&Reset"));
    bReset->setGeometry(fx + 176, y, 84, 30);
    y += 70;
    iEmail = PlaceLabel(pLogin, QStringLiteral("iEmail"), QStringLiteral("support@orvanta.id"), lx, y, 200, 20);
    iWEB = PlaceLabel(pLogin, QStringLiteral("iWEB"), QStringLiteral("www.orvanta.id"), lx + 240, y, 200, 20);
    for (Label* link : {iEmail, iWEB}) {
        link->setForeColor(QColor(0, 0, 200));
        link->MouseMove = [link] { mMain::SetCursorShape(link, 32649); };
    }

    pInfo = new Panel(this, QStringLiteral("pInfo"));
    pInfo->setGeometry(700, 200, 280, 200);
    pInfo->setFrameShape(QFrame::Box);
    pInfo->setFillColor(QColor(255, 255, 225));
    cInfo = new MemoBox(pInfo, QStringLiteral("cInfo"));
    cInfo->setGeometry(6, 6, 268, 188);
    cInfo->setPlainText(QStringLiteral(
        "Velmont Cafe & Resto adalah database contoh untuk sebuah kafe.\r\nLogin dengan Username: Admin dan "
        "Password: admin.\r\nLaporan jurnal dapat dicoba pada tanggal 01/01/2010."));
    pInfo->hide();
    pInfo->Click = [this] { pInfo_Click(); };
    cInfo->Click = [this] { cInfo_Click(); };
    pInfo->MouseMove = [this] { pInfo_MouseMove(); };
    cInfo->MouseMove = [this] { cInfo_MouseMove(); };
    cInfo->viewport()->setCursor(Qt::PointingHandCursor);
    cInfo->setFrameShape(QFrame::NoFrame);
    cInfo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

Image* fMain::menuImage(const QString& key) const
{
    return findChild<Image*>(QStringLiteral("b") + key);
}

Label* fMain::menuLabel(const QString& key) const
{
    return findChild<Label*>(QStringLiteral("l") + key);
}

Panel* fMain::menuShape(const QString& key) const
{
    return findChild<Panel*>(QStringLiteral("s") + key);
}

void fMain::Form_Load()
{
    pcLogo->move(0, 0);
    pLogin->move(pLogin->x(), 0);
    pLogin->setVisible(true);
    pLogin->raise();
    pcLogo->setVisible(true);
    pcLogo->raise();
    if (pInfo->isVisible())
        pInfo->raise();
    ReadDB();
    mLang::FillLanguages(iLanguage);
}

void fMain::Form_Activate()
{
    if (pLogin->isVisible())
        iDatabase->setFocus();
}

void fMain::resizeEvent(QResizeEvent* e)
{
    Form::resizeEvent(e);
    runHandler(QStringLiteral("fMain.Form_Resize"), [this] { Form_Resize(); });
}

void fMain::Form_Resize()
{
    AutoCenter();
}

void fMain::AutoCenter()
{
    const double width = this->width();
    for (QWidget* p : {static_cast<QWidget*>(pMenu), static_cast<QWidget*>(pLogin), static_cast<QWidget*>(pCashier),
                       static_cast<QWidget*>(pInventory), static_cast<QWidget*>(pLedger), static_cast<QWidget*>(pHelp)})
        p->move(static_cast<int>(width / 2 - p->width() / 2.0), p->y());
}

void fMain::Form_QueryUnload(bool& Cancel)
{
    if (mMain::MsgConfirm(QStringLiteral("Keluar dari Aplikasi?"), mMain::MsgTitleConfirm) != 1) {
        Cancel = true;
        return;
    }
    App& a = app();
    a.IsClosing = true;
    tClock->setEnabled(false);
    tCount->setEnabled(false);
    QList<Form*> unloaded;
    for (const QString& name : UnloadOrder) {
        if (Form* f = a.form(name)) {
            f->Unload();
            a.unloadLog << name;
            unloaded << f;
        }
    }
    a.unloadLog << objectName();
    a.beginTearDown();
    // Released in the same order once the unloads are done.
    for (Form* f : unloaded)
        f->deleteLater();
    if (a.onMainUnloaded)
        QTimer::singleShot(0, a.onMainUnloaded);
}

void fMain::cInfo_Click()
{
    pInfo->hide();
}

void fMain::pInfo_Click()
{
    pInfo->hide();
}

void fMain::cInfo_MouseMove()
{
    mMain::SetCursorShape(cInfo, 32649);
}

void fMain::pInfo_MouseMove()
{
    mMain::SetCursorShape(pInfo, 32649);
}
