// The cashier's keyboard across the windows, on the sample database: typing
// over a selection, the editing keys and what a paste brings, the keys the
// main window acts on, figures longer than their fields, typed dates, the
// search with an apostrophe, and the menu items the operator has no right to.
// Everything goes in as key presses and releases (and a few clicks), and is
// checked by what the fields show and what the database holds.
#include "cashier/cashierpanel.h"
#include "cashier/fback.h"
#include "cashier/fcart.h"
#include "cashier/fedit.h"
#include "catalogue/fmaster.h"
#include "catalogue/inventorypanel.h"
#include "core/app.h"
#include "core/mmain.h"
#include "ledger/ledgerpanel.h"
#include "shell/fmain.h"
#include "stock/fstock.h"
#include "support/fixture.h"
#include "support/testserver.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFontMetrics>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QTest>

using namespace mMain;

namespace {

void key(QWidget* w, Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier)
{
    QTest::keyClick(w, k, m);
}

void type(QWidget* w, const QString& text)
{
    QTest::keyClicks(w, text);
}

// The keys at whatever holds the focus, as the operator's keyboard sends them.
void press(Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier)
{
    QTest::keyClick(QApplication::focusWidget(), k, m);
}

void setClipboard(const QString& text)
{
    QGuiApplication::clipboard()->setText(text);
}

int rowStartingWith(platform::ListBox* list, const QString& code)
{
    for (int i = 0; i < list->ListCount(); ++i)
        if (list->List(i).left(8).trimmed() == code)
            return i;
    return -1;
}

// Whether every pixel of the picture is a grey (no colour left in it).
bool allGrey(const QImage& image)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (qAbs(c.red() - c.green()) > 8 || qAbs(c.green() - c.blue()) > 8)
                return false;
        }
    return true;
}

} // namespace

class TestKeyboard : public QObject {
    Q_OBJECT

    std::unique_ptr<Fixture> fx;
    CashierPanelView* p = nullptr;

    qint64 count(const QString& sql) { return GetValue(sql).toLongLong(); }
    double number(const QString& sql) { return StoredNumber(GetValue(sql)); }
    QStringList prompts() const { return fx->ui->prompts(); }
    LedgerPanelView* ledger() const { return dynamic_cast<LedgerPanelView*>(fx->main->ledgerPanel()); }
    // The code and Enter: the quantity field has the focus with "1".
    void enterCode(const QString& code)
    {
        p->ciCode->setFocus();
        key(p->ciCode, Qt::Key_A, Qt::ControlModifier);
        type(p->ciCode, code);
        key(p->ciCode, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), p->ciQuantity);
    }
    // The operator Budi, who has the cashier's right only, in place of Admin.
    void loginWithoutRights()
    {
        ExecSQL(QStringLiteral("insert into operator values ('Budi', ") + Quote(PasswordForm(QStringLiteral("budi"))) +
                QStringLiteral(", 1, 0, 0, 0, 0, 0, 0, 0)"));
        const QString entry = fx->app->DbEntry;
        fx->ui->answers = {platform::MsgOK};
        key(fx->main, Qt::Key_F9);
        QVERIFY(fx->main->pLogin->isVisible());
        fx->login(entry, QStringLiteral("budi"), QStringLiteral("budi"));
        QVERIFY(!fx->main->pLogin->isVisible());
        QVERIFY(!fx->main->bStock->isEnabled());
        fx->ui->clear();
    }
    void addLine(const QString& code, const QString& quantity)
    {
        enterCode(code);
        key(p->ciQuantity, Qt::Key_A, Qt::ControlModifier);
        type(p->ciQuantity, quantity);
        key(p->ciQuantity, Qt::Key_Return);
    }

private slots:
    void init()
    {
        fx = std::make_unique<Fixture>();
        fx->login(fx->sampleEntry(), QStringLiteral("Admin"), QStringLiteral("admin"));
        QVERIFY(!fx->main->pLogin->isVisible());
        p = dynamic_cast<CashierPanelView*>(fx->main->cashierPanel());
        QVERIFY(p);
        ExecSQL(QStringLiteral("delete from Salecart"));
        setClipboard(QString());
    }
    void cleanup() { fx.reset(); }

    // A selection made with Shift and the arrows survives the key releases
    // that recompute the line, and what is typed next replaces it.
    void typingOverASelectionReplacesIt()
    {
        enterCode(QStringLiteral("ESP"));
        key(p->ciQuantity, Qt::Key_Backspace);
        type(p->ciQuantity, QStringLiteral("3"));
        key(p->ciQuantity, Qt::Key_Down);
        QCOMPARE(QApplication::focusWidget(), p->ciTotal);
        QCOMPARE(p->ciTotal->Text(), QStringLiteral("54,000"));
        key(p->ciTotal, Qt::Key_Home, Qt::ShiftModifier);
        QCOMPARE(p->ciTotal->selectedText(), QStringLiteral("54,000"));
        QCOMPARE(p->ciTotal->cursorPosition(), 0);
        type(p->ciTotal, QStringLiteral("25000"));
        QCOMPARE(p->ciTotal->Text(), QStringLiteral("25,000"));
        QCOMPARE(p->ciSubtotal->Text(), QStringLiteral("8,333"));
        QCOMPARE(p->ciPrice->Text(), QStringLiteral("8,333"));
        key(p->ciTotal, Qt::Key_Return);
        QCOMPARE(count(QStringLiteral("select count(*) from Salecart")), qint64(1));
        QCOMPARE(number(QStringLiteral("select total from Salecart where code='ESP'")), 25000.0);
        QCOMPARE(number(QStringLiteral("select subtotal from Salecart where code='ESP'")), 8333.0);
        QCOMPARE(number(QStringLiteral("select quantity from Salecart where code='ESP'")), 3.0);

        // The net price of an item with a discount: the release that drops
        // the discount leaves the selection, the digit replaces it.
        enterCode(QStringLiteral("KSGA"));
        key(p->ciQuantity, Qt::Key_Up);
        QCOMPARE(QApplication::focusWidget(), p->ciSubtotal);
        QCOMPARE(p->ciSubtotal->Text(), QStringLiteral("22,500"));
        key(p->ciSubtotal, Qt::Key_End);
        key(p->ciSubtotal, Qt::Key_Home, Qt::ShiftModifier);
        QCOMPARE(p->ciSubtotal->selectedText(), QStringLiteral("22,500"));
        QCOMPARE(p->ciDiscount->Text(), QStringLiteral("0"));
        type(p->ciSubtotal, QStringLiteral("9"));
        QCOMPARE(p->ciSubtotal->Text(), QStringLiteral("9"));
        QCOMPARE(p->ciSubtotal->cursorPosition(), 1);
        type(p->ciSubtotal, QStringLiteral("000"));
        QCOMPARE(p->ciSubtotal->Text(), QStringLiteral("9,000"));
        QCOMPARE(p->ciPrice->Text(), QStringLiteral("9,000"));
        QCOMPARE(p->ciTotal->Text(), QStringLiteral("9,000"));
        // A selection of part of the figure, made from its end.
        key(p->ciSubtotal, Qt::Key_Left, Qt::ShiftModifier);
        key(p->ciSubtotal, Qt::Key_Left, Qt::ShiftModifier);
        QCOMPARE(p->ciSubtotal->selectedText(), QStringLiteral("00"));
        type(p->ciSubtotal, QStringLiteral("5"));
        QCOMPARE(p->ciSubtotal->Text(), QStringLiteral("905"));
        key(p->ciSubtotal, Qt::Key_Return);
        QCOMPARE(number(QStringLiteral("select price from Salecart where code='KSGA'")), 905.0);
        QCOMPARE(number(QStringLiteral("select discount from Salecart where code='KSGA'")), 0.0);
        QCOMPARE(number(QStringLiteral("select total from Salecart where code='KSGA'")), 905.0);

        // The edit-line dialog's total, selected and typed over.
        p->ciCart->setFocus();
        p->ciCart->setListIndex(rowStartingWith(p->ciCart, QStringLiteral("ESP")));
        fx->ui->scripts[QStringLiteral("fEdit")] = [](platform::Form*) {
            fEdit* e = EditWindow();
            key(e->iQuantity, Qt::Key_Down);
            QCOMPARE(QApplication::focusWidget(), e->iTotal);
            key(e->iTotal, Qt::Key_End);
            key(e->iTotal, Qt::Key_Home, Qt::ShiftModifier);
            type(e->iTotal, QStringLiteral("30000"));
            QCOMPARE(e->iTotal->Text(), QStringLiteral("30,000"));
            QCOMPARE(e->iSubtotal->Text(), QStringLiteral("10,000"));
            key(e->iTotal, Qt::Key_Return);
        };
        key(p->ciCart, Qt::Key_Return);
        QCOMPARE(fx->ui->shownModal, QStringList{QStringLiteral("fEdit")});
        QCOMPARE(number(QStringLiteral("select total from Salecart where code='ESP'")), 30000.0);
        QCOMPARE(number(QStringLiteral("select subtotal from Salecart where code='ESP'")), 10000.0);
    }

    // Ctrl+A and the other editing keys pass every key filter; the quantity
    // filter's "one comma" rule reads the text the key goes into.
    void editingKeysPassTheFilters()
    {
        ExecSQL(QStringLiteral("delete from stockflow where code='BKA'"));
        fx->ui->scripts[QStringLiteral("fStock")] = [](platform::Form*) {
            fStock* st = StockWindow();
            st->iStock->setListIndex(rowStartingWith(st->iStock, QStringLiteral("BKA")));
            st->iQuantity->setFocus();
            QCOMPARE(st->iQuantity->Text(), QStringLiteral("1"));
            key(st->iQuantity, Qt::Key_A, Qt::ControlModifier);
            QCOMPARE(st->iQuantity->selectedText(), QStringLiteral("1"));
            type(st->iQuantity, QStringLiteral("2.5"));
            QCOMPARE(st->iQuantity->Text(), QStringLiteral("2,5"));
            QTest::mouseClick(st->bPlus, Qt::LeftButton);
            // A comma typed over a selection that holds the comma.
            st->iQuantity->setFocus();
            key(st->iQuantity, Qt::Key_A, Qt::ControlModifier);
            type(st->iQuantity, QStringLiteral("4"));
            key(st->iQuantity, Qt::Key_Left, Qt::ShiftModifier);
            type(st->iQuantity, QStringLiteral("0,5"));
            QCOMPARE(st->iQuantity->Text(), QStringLiteral("0,5"));
            key(st->iQuantity, Qt::Key_A, Qt::ControlModifier);
            type(st->iQuantity, QStringLiteral(",75"));
            QCOMPARE(st->iQuantity->Text(), QStringLiteral(",75"));
            key(st->iQuantity, Qt::Key_Home);
            type(st->iQuantity, QStringLiteral("1"));
            QTest::mouseClick(st->bMin, Qt::LeftButton);
            press(Qt::Key_Escape);
        };
        key(fx->main, Qt::Key_F4);
        QCOMPARE(fx->ui->shownModal, QStringList{QStringLiteral("fStock")});
        QCOMPARE(prompts(), QStringList());
        QCOMPARE(count(QStringLiteral("select count(*) from stockflow where code='BKA'")), qint64(2));
        QCOMPARE(number(QStringLiteral("select sum(`in`) from stockflow where code='BKA'")), 2.5);
        QCOMPARE(number(QStringLiteral("select sum(`out`) from stockflow where code='BKA'")), 1.75);

        // Home, End, Delete, Backspace and Shift with the arrows in a field
        // that takes digits only.
        p->ciPay->setFocus();
        type(p->ciPay, QStringLiteral("123456"));
        QCOMPARE(p->ciPay->Text(), QStringLiteral("123,456"));
        key(p->ciPay, Qt::Key_Home);
        key(p->ciPay, Qt::Key_Delete);
        QCOMPARE(p->ciPay->Text(), QStringLiteral("23,456"));
        key(p->ciPay, Qt::Key_End);
        key(p->ciPay, Qt::Key_Backspace);
        QCOMPARE(p->ciPay->Text(), QStringLiteral("2,345"));
        key(p->ciPay, Qt::Key_Left, Qt::ShiftModifier);
        QCOMPARE(p->ciPay->selectedText(), QStringLiteral("5"));
        // Cut, paste back, copy.
        key(p->ciPay, Qt::Key_A, Qt::ControlModifier);
        key(p->ciPay, Qt::Key_X, Qt::ControlModifier);
        QCOMPARE(p->ciPay->Text(), QString());
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("2,345"));
        key(p->ciPay, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(p->ciPay->Text(), QStringLiteral("2,345"));
        setClipboard(QStringLiteral("x"));
        key(p->ciPay, Qt::Key_A, Qt::ControlModifier);
        key(p->ciPay, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("2,345"));
        // Undo in a field of digits takes back the typed key, and the setting
        // follows what the field shows.
        p->ciTax->setFocus();
        key(p->ciTax, Qt::Key_A, Qt::ControlModifier);
        type(p->ciTax, QStringLiteral("5"));
        QCOMPARE(GetConfig(QStringLiteral("Tax")), QStringLiteral("5"));
        key(p->ciTax, Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(p->ciTax->Text() != QStringLiteral("5"));
        QCOMPARE(GetConfig(QStringLiteral("Tax")), p->ciTax->Text());
        QCOMPARE(prompts(), QStringList());
    }

    // A paste goes through the field's own filter, whichever way it comes;
    // a figure the filter would turn into another number is refused whole,
    // in the field's words.
    void pasteIsFilteredAsTyping()
    {
        const QString before = GetConfig(QStringLiteral("Discount"));
        p->ciDiscount2->setFocus();
        key(p->ciDiscount2, Qt::Key_A, Qt::ControlModifier);
        setClipboard(QStringLiteral("abc"));
        key(p->ciDiscount2, Qt::Key_Insert, Qt::ShiftModifier);
        QCOMPARE(p->ciDiscount2->Text(), before);
        QCOMPARE(GetConfig(QStringLiteral("Discount")), before);
        setClipboard(QStringLiteral("1x5\n"));
        key(p->ciDiscount2, Qt::Key_A, Qt::ControlModifier);
        key(p->ciDiscount2, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(p->ciDiscount2->Text(), before);
        QCOMPARE(prompts(), QStringList{platform::NotAFigure});
        fx->ui->clear();
        setClipboard(QStringLiteral("15 %\n"));
        key(p->ciDiscount2, Qt::Key_A, Qt::ControlModifier);
        key(p->ciDiscount2, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(p->ciDiscount2->Text(), QStringLiteral("15"));
        QCOMPARE(GetConfig(QStringLiteral("Discount")), QStringLiteral("15"));

        // The code: upper case as typed, and the lookup runs.
        setClipboard(QStringLiteral("esp"));
        p->ciCode->setFocus();
        key(p->ciCode, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(p->ciCode->Text(), QStringLiteral("ESP"));
        QCOMPARE(p->ciName->Text(), QStringLiteral("Espresso"));
        key(p->ciCode, Qt::Key_Return);
        key(p->ciQuantity, Qt::Key_Return);
        QCOMPARE(GetValue(QStringLiteral("select code from Salecart")).toString(), QStringLiteral("ESP"));

        // The quantity takes the point as its comma; a second separator, an
        // exponent or a minus sign would make another number of it.
        enterCode(QStringLiteral("AMR"));
        for (const char* other : {"1.5,5", "1e308", "2e3", "-2"}) {
            setClipboard(QLatin1String(other));
            key(p->ciQuantity, Qt::Key_A, Qt::ControlModifier);
            key(p->ciQuantity, Qt::Key_V, Qt::ControlModifier);
            QCOMPARE(p->ciQuantity->Text(), QStringLiteral("1"));
            QCOMPARE(prompts(), QStringList{QStringLiteral("Jumlah belum diisi")});
            fx->ui->clear();
        }
        setClipboard(QStringLiteral("1.5"));
        key(p->ciQuantity, Qt::Key_A, Qt::ControlModifier);
        key(p->ciQuantity, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(p->ciQuantity->Text(), QStringLiteral("1,5"));

        // The context menu's Paste, and a drop from another program.
        setClipboard(QStringLiteral("7a"));
        p->ciTax->setFocus();
        key(p->ciTax, Qt::Key_A, Qt::ControlModifier);
        QContextMenuEvent menuEvent(QContextMenuEvent::Keyboard, QPoint(2, 2), p->ciTax->mapToGlobal(QPoint(2, 2)));
        QApplication::sendEvent(p->ciTax, &menuEvent);
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        QVERIFY(menu);
        QAction* paste = nullptr;
        for (QAction* a : menu->actions())
            if (a->text().startsWith(QCoreApplication::translate("QLineEdit", "&Paste")))
                paste = a;
        QVERIFY(paste);
        paste->trigger();
        menu->close();
        QCOMPARE(p->ciTax->Text(), QStringLiteral("7"));
        QCOMPARE(GetConfig(QStringLiteral("Tax")), QStringLiteral("7"));
        QMimeData dropped;
        dropped.setText(QStringLiteral("x1"));
        const QPoint end(p->ciTax->width() - 4, 4);
        QDragEnterEvent enter(end, Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(p->ciTax, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(end), Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(p->ciTax, &drop);
        QCOMPARE(p->ciTax->Text(), QStringLiteral("71"));

        // The middle button pastes the selection where the desktop has one.
        if (QGuiApplication::clipboard()->supportsSelection()) {
            QGuiApplication::clipboard()->setText(QStringLiteral("k2"), QClipboard::Selection);
            p->ciTax->selectAll();
            p->ciTax->del();
            QTest::mouseClick(p->ciTax, Qt::MiddleButton);
            QCOMPARE(p->ciTax->Text(), QStringLiteral("2"));
        }
        QCOMPARE(prompts(), QStringList());
    }

    // A pasted figure is the figure written or refused whole, in the
    // field's words: the price takes whole figures in either convention, the
    // quantity a fraction; a line break or NUL inside is no figure.
    void pastedFiguresAreReadAsWritten()
    {
        enterCode(QStringLiteral("ESP"));
        const QString price = p->ciPrice->Text();
        const auto paste = [this](platform::TextBox* box, const QString& text) {
            setClipboard(text);
            box->setFocus();
            key(box, Qt::Key_A, Qt::ControlModifier);
            key(box, Qt::Key_V, Qt::ControlModifier);
        };
        for (const QString& other : {QStringLiteral("1,000,000.50"), QStringLiteral("18.000,50"), QStringLiteral("1,5"),
                                     QStringLiteral("12\n34"), QStringLiteral("12") + QChar(0) + QStringLiteral("34"),
                                     QStringLiteral("1e308")}) {
            paste(p->ciPrice, other);
            QCOMPARE(p->ciPrice->Text(), price);
            QCOMPARE(prompts(), QStringList{QStringLiteral("Harga belum diisi")});
            fx->ui->clear();
        }
        paste(p->ciPrice, QStringLiteral("Rp 1.000.000"));
        QCOMPARE(p->ciPrice->Text(), QStringLiteral("1,000,000"));
        paste(p->ciQuantity, QStringLiteral("1,000"));
        QCOMPARE(prompts(), QStringList{QStringLiteral("Jumlah belum diisi")});
        paste(p->ciQuantity, QStringLiteral("1,5"));
        QCOMPARE(p->ciTotal->Text(), QStringLiteral("1,500,000"));
        key(p->ciQuantity, Qt::Key_Return);
        QCOMPARE(number(QStringLiteral("select price from Salecart where code='ESP'")), 1000000.0);
        QCOMPARE(number(QStringLiteral("select quantity from Salecart where code='ESP'")), 1.5);
    }

    // A key the main window turned into an action goes no further; a key it
    // did not act on still reaches the focused control.
    void windowKeysGoNoFurther()
    {
        p->ciCode->setFocus();
        fx->ui->scripts[QStringLiteral("fCart")] = [](platform::Form*) { press(Qt::Key_Escape); };
        key(p->ciCode, Qt::Key_Plus, Qt::KeypadModifier);
        QCOMPARE(fx->ui->shownModal, QStringList{QStringLiteral("fCart")});
        QCOMPARE(p->ciCode->Text(), QString());
        type(p->ciCode, QStringLiteral("ESP"));
        QCOMPARE(p->ciName->Text(), QStringLiteral("Espresso"));
        key(p->ciCode, Qt::Key_Return);
        key(p->ciQuantity, Qt::Key_Return);
        QCOMPARE(count(QStringLiteral("select count(*) from Salecart where code='ESP'")), qint64(1));

        // F4 on the action list: the stock window, and no drop-down after it.
        key(fx->main, Qt::Key_F1);
        QCOMPARE(QApplication::focusWidget(), p->ciAction);
        fx->ui->scripts[QStringLiteral("fStock")] = [](platform::Form*) { press(Qt::Key_Escape); };
        press(Qt::Key_F4);
        QCOMPARE(fx->ui->shownModal.count(QStringLiteral("fStock")), 1);
        QVERIFY(!p->ciAction->view()->isVisible());
        press(Qt::Key_F2);
        QCOMPARE(app().MenuKey, QStringLiteral("Inventory"));
        QCOMPARE(p->GetAction(), QStringLiteral("Sale"));
    }

    void unactedKeysStillReachTheControl()
    {
        // An operator without the stock right: F4 is still the menu's key
        // and does nothing at all; a key no menu item holds (Alt+Down) drops
        // the action list open.
        loginWithoutRights();
        key(fx->main, Qt::Key_F1);
        QCOMPARE(QApplication::focusWidget(), p->ciAction);
        press(Qt::Key_F4);
        QVERIFY(!fx->ui->shownModal.contains(QStringLiteral("fStock")));
        QVERIFY(!p->ciAction->view()->isVisible());
        press(Qt::Key_Down, Qt::AltModifier);
        QVERIFY(p->ciAction->view()->isVisible());
        p->ciAction->hidePopup();
    }

    // A figure that does not fit its field is refused with a message, and
    // nothing is written; nothing is cut without a word.
    void figuresThatDoNotFitAreRefused()
    {
        ExecSQL(QStringLiteral("delete from cash"));
        enterCode(QStringLiteral("ESP"));
        key(p->ciQuantity, Qt::Key_A, Qt::ControlModifier);
        type(p->ciQuantity, QStringLiteral("999999999999999"));
        QCOMPARE(p->ciQuantity->Text(), QStringLiteral("999999999999999"));
        QVERIFY2(p->ciTotal->Text().size() > 15, qPrintable(p->ciTotal->Text()));
        QVERIFY(ParseAmount(p->ciTotal->Text()) > 1.7e19);
        QCOMPARE(prompts(), QStringList());
        key(p->ciQuantity, Qt::Key_Return);
        QCOMPARE(prompts(), QStringList{platform::FigureTooLong});
        QCOMPARE(QApplication::focusWidget(), p->ciTotal);
        QCOMPARE(count(QStringLiteral("select count(*) from Salecart")), qint64(0));
        fx->ui->clear();

        // A sixteenth character typed is refused with a message, not cut
        // silently; a paste that does not fit leaves the field as it was.
        addLine(QStringLiteral("ESP"), QStringLiteral("1"));
        p->ciPay->setFocus();
        type(p->ciPay, QStringLiteral("99999999999999999999"));
        QCOMPARE(p->ciPay->Text(), QStringLiteral("999,999,999,999"));
        QVERIFY(!prompts().isEmpty());
        for (const QString& prompt : prompts())
            QCOMPARE(prompt, platform::FigureTooLong);
        fx->ui->clear();
        key(p->ciPay, Qt::Key_A, Qt::ControlModifier);
        type(p->ciPay, QStringLiteral("5"));
        setClipboard(QStringLiteral("12345678901234567890"));
        key(p->ciPay, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(p->ciPay->Text(), QStringLiteral("5"));
        QCOMPARE(prompts(), QStringList{platform::FigureTooLong});
        fx->ui->clear();

        // A change of fifteen characters is shown whole.
        key(p->ciPay, Qt::Key_A, Qt::ControlModifier);
        type(p->ciPay, QStringLiteral("999999999999"));
        QString shown;
        bool fits = false;
        fx->ui->scripts[QStringLiteral("fBack")] = [&](platform::Form*) {
            platform::Label* back = BackWindow()->iBack;
            shown = back->Caption();
            fits = QFontMetrics(back->font()).horizontalAdvance(shown) <= back->contentsRect().width();
            press(Qt::Key_Return);
        };
        key(p->ciPay, Qt::Key_Return);
        QCOMPARE(prompts(), QStringList());
        QCOMPARE(shown, QStringLiteral("999,999,980,199"));
        QVERIFY(fits);
        QCOMPARE(number(QStringLiteral("select sum(Sale) from cash")), 19800.0);
        ExecSQL(QStringLiteral("delete from cash"));

        // A computed change too long for its field: the save is refused.
        addLine(QStringLiteral("ESP"), QStringLiteral("1"));
        p->ciDiscount2->setFocus();
        key(p->ciDiscount2, Qt::Key_A, Qt::ControlModifier);
        type(p->ciDiscount2, QStringLiteral("999"));
        p->ciPay->setFocus();
        type(p->ciPay, QStringLiteral("999999999999"));
        fx->ui->clear();
        key(p->ciPay, Qt::Key_Return);
        QCOMPARE(prompts(), QStringList{platform::FigureTooLong});
        QCOMPARE(QApplication::focusWidget(), p->ciBack);
        QVERIFY(!fx->ui->shownModal.contains(QStringLiteral("fBack")));
        QCOMPARE(count(QStringLiteral("select count(*) from cash")), qint64(0));
        QCOMPARE(count(QStringLiteral("select count(*) from Salecart")), qint64(1));
    }

    // The date fields take typed days, months and years wherever the caret
    // stands, and the arrow keys; their change runs once per new date.
    void datesTakeTypedDigits()
    {
        LedgerPanelView* l = ledger();
        QVERIFY(l);
        key(fx->main, Qt::Key_F3);
        l->liFrom->setValue(QDate(2026, 12, 9));
        int changes = 0;
        const platform::Handler rebuild = l->liFrom->Change;
        l->liFrom->Change = [&] {
            ++changes;
            rebuild();
        };
        auto* edit = l->liFrom->findChild<QLineEdit*>();
        QVERIFY(edit);
        // A click between the two digits of the day.
        int x = 0;
        while (x < edit->width() && edit->cursorPositionAt(QPoint(x, edit->height() / 2)) != 1)
            ++x;
        QTest::mouseClick(edit, Qt::LeftButton, Qt::NoModifier, QPoint(x, edit->height() / 2));
        QCOMPARE(QApplication::focusWidget(), l->liFrom);
        QCOMPARE(edit->cursorPosition(), 1);
        QVERIFY(!edit->hasSelectedText());
        type(l->liFrom, QStringLiteral("01012010"));
        key(l->liFrom, Qt::Key_Tab);
        QCOMPARE(l->liFrom->Value(), QDate(2010, 1, 1));
        QCOMPARE(l->liFrom->text(), QStringLiteral("01/01/2010"));
        QCOMPARE(changes, 3);
        QTRY_VERIFY(std::any_of(l->LineIds.begin(), l->LineIds.end(), [](qint64 id) { return id > 0; }));

        // The arrows step the section the caret is in.
        l->liFrom->setFocus();
        l->liFrom->setSelectedSection(QDateTimeEdit::YearSection);
        key(l->liFrom, Qt::Key_Up);
        QCOMPARE(l->liFrom->Value(), QDate(2011, 1, 1));
        key(l->liFrom, Qt::Key_Down);
        QCOMPARE(l->liFrom->Value(), QDate(2010, 1, 1));
        QCOMPARE(changes, 5);
        // The same date again is no change.
        l->liFrom->setValue(QDate(2010, 1, 1));
        l->liFrom->setSelectedSection(QDateTimeEdit::DaySection);
        type(l->liFrom, QStringLiteral("01"));
        QCOMPARE(changes, 5);
        // The caret moved into the month with the arrows, then digits.
        l->liFrom->setSelectedSection(QDateTimeEdit::MonthSection);
        key(l->liFrom, Qt::Key_Left);
        key(l->liFrom, Qt::Key_Right);
        key(l->liFrom, Qt::Key_Right);
        QVERIFY(!edit->hasSelectedText());
        QCOMPARE(edit->cursorPosition(), 4);
        type(l->liFrom, QStringLiteral("06"));
        QCOMPARE(l->liFrom->Value(), QDate(2010, 6, 1));
        QCOMPARE(changes, 6);

        // The cashier's date: the sale is saved under the typed day.
        const qint64 last = count(QStringLiteral("select max(ID) from cash"));
        key(fx->main, Qt::Key_F1);
        addLine(QStringLiteral("ESP"), QStringLiteral("1"));
        p->ciMoment->setFocus();
        p->ciMoment->setSelectedSection(QDateTimeEdit::DaySection);
        type(p->ciMoment, QStringLiteral("02012010"));
        QCOMPARE(p->ciMoment->Value(), QDate(2010, 1, 2));
        p->ciPay->setFocus();
        type(p->ciPay, QStringLiteral("20000"));
        fx->ui->scripts[QStringLiteral("fBack")] = [](platform::Form*) { press(Qt::Key_Return); };
        key(p->ciPay, Qt::Key_Return);
        const QString saved = QStringLiteral(" from cash where ID>") + QString::number(last);
        QVERIFY(count(QStringLiteral("select count(*)") + saved) > 0);
        QCOMPARE(count(QStringLiteral("select count(*)") + saved + QStringLiteral(" and Moment<>") +
                       SqlDate(QDate(2010, 1, 2))),
                 qint64(0));
    }

    // An apostrophe typed into a search or filter is dropped as it is from
    // every name stored; % and _ stay literal.
    void searchDropsApostrophes()
    {
        ExecSQL(QStringLiteral("insert into SaleItems values('OK1', 'Kue', ") + Quote(QStringLiteral("O'kay")) +
                QStringLiteral(", 5000, 0, 'Pcs')"));
        ExecSQL(QStringLiteral("insert into SaleItems values('OK2', 'Kue', 'Okay 50% Manis', 6000, 0, 'Pcs')"));
        auto* inv = dynamic_cast<InventoryPanelView*>(fx->main->inventoryPanel());
        QVERIFY(inv);
        key(fx->main, Qt::Key_F2);
        inv->iiTable->setListIndex(1);
        inv->iiSearch->setFocus();
        type(inv->iiSearch, QStringLiteral("o'kay"));
        key(inv->iiSearch, Qt::Key_Return);
        QVERIFY(rowStartingWith(inv->iiItems, QStringLiteral("OK1")) >= 0);
        QVERIFY(rowStartingWith(inv->iiItems, QStringLiteral("OK2")) >= 0);
        key(inv->iiSearch, Qt::Key_A, Qt::ControlModifier);
        type(inv->iiSearch, QStringLiteral("y 50%"));
        key(inv->iiSearch, Qt::Key_Return);
        QCOMPARE(rowStartingWith(inv->iiItems, QStringLiteral("OK1")), -1);
        QVERIFY(rowStartingWith(inv->iiItems, QStringLiteral("OK2")) >= 0);

        // The picker's search, from the code's F12.
        key(fx->main, Qt::Key_F1);
        QStringList found;
        fx->ui->scripts[QStringLiteral("fMaster")] = [&](platform::Form*) {
            fMaster* m = MasterWindow();
            m->iSearch->setFocus();
            type(m->iSearch, QStringLiteral("'o'k'a'y'"));
            key(m->iSearch, Qt::Key_Return);
            for (int i = 0; i < m->iItems->ListCount(); ++i)
                found << m->iItems->List(i).left(8).trimmed();
            press(Qt::Key_Escape);
        };
        p->ciCode->setFocus();
        key(p->ciCode, Qt::Key_F12);
        QVERIFY(found.contains(QStringLiteral("OK1")));
        QVERIFY(found.contains(QStringLiteral("OK2")));
    }

    // Without the browse right F12 opens no list, and a list reached through
    // another browse button only picks: F11 and Delete do nothing there.
    void browseKeysFollowTheRight()
    {
        loginWithoutRights();
        key(p->ciCode, Qt::Key_F12);
        key(p->ciCharge, Qt::Key_F12);
        fx->ui->scripts[QStringLiteral("fCart")] = [](platform::Form*) { key(CartWindow()->ciCode, Qt::Key_F12); };
        fx->ui->scripts[QStringLiteral("fMaster")] = [](platform::Form*) {
            MasterWindow()->iItems->setListIndex(2);
            for (Qt::Key k : {Qt::Key_F11, Qt::Key_Delete})
                key(MasterWindow()->iItems, k);
        };
        key(fx->main, Qt::Key_F11);
        QCOMPARE(fx->ui->shownModal, (QStringList{QStringLiteral("fCart"), QStringLiteral("fMaster")}));
        QVERIFY(fx->ui->messages.isEmpty());
    }

    // A menu item the operator has no right to looks disabled: greyed icon
    // and caption, no hand on hover, and its key does nothing.
    void disabledMenuImagesLookDisabled()
    {
        platform::Image* icon = fx->main->findChild<platform::Image*>(QStringLiteral("cStock"));
        QVERIFY(icon);
        QVERIFY(!allGrey(icon->grab().toImage()));
        QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
        QApplication::sendEvent(fx->main->bStock, &enter);
        QCOMPARE(fx->main->bStock->cursor().shape(), Qt::PointingHandCursor);
        const QColor shown = fx->main->lStock->palette().color(QPalette::Active, QPalette::WindowText);

        loginWithoutRights();
        QVERIFY(!icon->isEnabled());
        QVERIFY(!fx->main->lStock->isEnabled());
        QVERIFY(allGrey(icon->grab().toImage()));
        const QColor greyed = fx->main->lStock->palette().color(QPalette::Disabled, QPalette::WindowText);
        QVERIFY(greyed != shown);
        QVERIFY(fx->main->bStock->cursor().shape() != Qt::PointingHandCursor);
        QApplication::sendEvent(fx->main->bStock, &enter);
        QVERIFY(fx->main->bStock->cursor().shape() != Qt::PointingHandCursor);
        key(fx->main, Qt::Key_F4);
        QVERIFY(!fx->ui->shownModal.contains(QStringLiteral("fStock")));
        QTest::mouseClick(fx->main->bStock, Qt::LeftButton);
        QVERIFY(!fx->ui->shownModal.contains(QStringLiteral("fStock")));
        // The cashier's own item stays as it was.
        QVERIFY(fx->main->bCashier->isEnabled());
        QVERIFY(!allGrey(fx->main->findChild<platform::Image*>(QStringLiteral("cCashier"))->grab().toImage()));
    }
};

// On database files and on a server.
int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    return OnBothEngines([&] {
        TestKeyboard t;
        return QTest::qExec(&t, argc, argv);
    });
}
#include "tst_keyboard.moc"
