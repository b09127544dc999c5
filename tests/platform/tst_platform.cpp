// The platform layer's event model and services: change and click handlers
// run once per real change and also from code, key preview and key
// replacement, the error boundary of handlers, timers that fail quietly,
// the modal show with activation, and the spreadsheet file.
#include "core/app.h"
#include "core/mmain.h"
#include "data/db.h"
#include "data/failure.h"
#include "data/spreadsheet.h"
#include "platform/backend.h"
#include "platform/controls.h"
#include "platform/form.h"
#include "platform/keys.h"
#include "platform/progress.h"
#include "platform/runtime.h"
#include "support/fixture.h"
#include "support/testbackend.h"
#include "support/workbook.h"
#include <QSignalSpy>

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPrinterInfo>
#include <QPushButton>
#include <QScrollBar>
#include <QStyleOptionViewItem>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <csignal>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace platform;
using namespace mMain;

namespace {

class Window : public Form {
public:
    Window() : Form(QStringLiteral("fTest"), QStringLiteral("Test"))
    {
        box = new TextBox(this, QStringLiteral("iCode"));
        other = new TextBox(this, QStringLiteral("iName"));
    }
    void Form_KeyDown(int& KeyCode, int Shift) override
    {
        seen << KeyCode;
        shifts << Shift;
        if (KeyCode == vbKeyF1)
            KeyCode = 0; // the window keeps F1 for itself
    }
    void Form_Activate() override { ++activations; }
    TextBox* box;
    TextBox* other;
    QList<int> seen;
    QList<int> shifts;
    int activations = 0;
};

// Where a row's check box is drawn in the list's viewport.
QPoint checkBoxOf(ListBox& list, int row)
{
    QStyleOptionViewItem option;
    option.initFrom(&list);
    option.rect = list.visualRect(list.model()->index(row, 0));
    option.features = QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDisplay;
    option.text = list.List(row);
    option.font = list.font();
    return list.style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, &list).center();
}

} // namespace

class TestPlatform : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    std::unique_ptr<App> app;
    TestBackend* ui = nullptr;

    // The program's log: where a handler's name and an engine's words go.
    static QString logged()
    {
        QFile f(LogFile());
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    }

private slots:
    void init()
    {
        app = std::make_unique<App>(dir.path(), dir.filePath(QStringLiteral("s.ini")));
        ui = new TestBackend;
        app->setBackend(std::unique_ptr<Backend>(ui));
        SetExportFolder(dir.path());
    }
    void cleanup()
    {
        app.reset();
        SetExportFolder(QString());
    }

    void changeHandlersRunOncePerRealChange()
    {
        TextBox box(nullptr, QStringLiteral("iCode"));
        int changes = 0;
        box.Change = [&] { ++changes; };
        box.setText(QStringLiteral("A"));
        box.setText(QStringLiteral("A"));
        QCOMPARE(changes, 1);
        QTest::keyClicks(&box, QStringLiteral("BC"));
        QCOMPARE(changes, 3);

        CheckBox check(nullptr, QStringLiteral("iCheck"), QStringLiteral("x"));
        int clicks = 0;
        check.Click = [&] { ++clicks; };
        check.setValue(1);
        check.setValue(1);
        check.setValue(0);
        QCOMPARE(clicks, 2);

        ListBox list(nullptr, QStringLiteral("iList"));
        int rowClicks = 0;
        list.Click = [&] { ++rowClicks; };
        list.AddItems({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")});
        QCOMPARE(list.ListIndex(), -1);
        list.setListIndex(2);
        list.setListIndex(2);
        QCOMPARE(rowClicks, 1);
        int checked = -1;
        list.ItemCheck = [&](int row) { checked = row; };
        list.setSelected(1, true);
        QCOMPARE(checked, 1);
        QVERIFY(list.Selected(1));
        list.Clear();
        QCOMPARE(rowClicks, 1);
    }

    void comboBoxesSelectOnlyWhenTold()
    {
        ComboBox combo(nullptr, QStringLiteral("iLanguage"), true);
        int clicks = 0, changes = 0;
        combo.Click = [&] { ++clicks; };
        combo.Change = [&] { ++changes; };
        combo.AddItem(QStringLiteral("English"));
        combo.AddItem(QStringLiteral("Indonesia"));
        QCOMPARE(combo.ListIndex(), -1);
        QCOMPARE(combo.Text(), QString());
        QCOMPARE(clicks + changes, 0);
        combo.setListIndex(1);
        QCOMPARE(clicks, 1);
        QCOMPARE(changes, 0); // choosing a row is a click, not a change
        QCOMPARE(combo.Text(), QStringLiteral("Indonesia"));
        combo.setText(QStringLiteral("Indo"));
        QCOMPARE(changes, 1);
        // Clear keeps quiet and empties the text, so putting a kept text
        // back counts as a change.
        combo.Clear();
        QCOMPARE(combo.Text(), QString());
        combo.setText(QStringLiteral("Indo"));
        QCOMPARE(changes, 2);

        // Typing leaves no row selected, so picking the row that was
        // selected before is a click again; the arrows pick rows too.
        combo.AddItem(QStringLiteral("English"));
        combo.AddItem(QStringLiteral("Indonesia"));
        combo.setListIndex(0);
        const int clicksBefore = clicks;
        QTest::keyClicks(combo.lineEdit(), QStringLiteral("x"));
        QCOMPARE(combo.ListIndex(), -1);
        QCOMPARE(combo.Text(), QStringLiteral("Englishx"));
        combo.setListIndex(0);
        QCOMPARE(clicks, clicksBefore + 1);
        QCOMPARE(combo.Text(), QStringLiteral("English"));
        QTest::keyClick(combo.lineEdit(), Qt::Key_Down);
        QCOMPARE(combo.ListIndex(), 1);
        QCOMPARE(clicks, clicksBefore + 2);

        ComboBox list(nullptr, QStringLiteral("iDatabase"), false);
        list.AddItem(QStringLiteral("Toko"));
        list.AddItem(QStringLiteral("Kafe"));
        QCOMPARE(list.ListIndex(), -1);
        list.setText(QStringLiteral("Kafe"));
        QCOMPARE(list.ListIndex(), 1);
        list.setText(QStringLiteral("Unknown"));
        QCOMPARE(list.ListIndex(), -1);
    }

    // A field of one line takes the lines of a paste side by side, however
    // the paste comes: the key that the box hands on to its field included.
    void pastedLinesStandSideBySide()
    {
        QGuiApplication::clipboard()->setText(QStringLiteral("\nMeja\nBaris2\r\n\r\nBaris3\u2029\n"));
        TextBox note(nullptr, QStringLiteral("ciDescription"));
        QTest::keyClick(&note, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(note.Text(), QStringLiteral("Meja Baris2 Baris3"));

        ComboBox charge(nullptr, QStringLiteral("ciCharge"), true);
        charge.lineEdit()->setMaxLength(50);
        for (QWidget* target : {static_cast<QWidget*>(&charge), static_cast<QWidget*>(charge.lineEdit())}) {
            charge.setText(QString());
            QTest::keyClick(target, Qt::Key_V, Qt::ControlModifier);
            QCOMPARE(charge.Text(), QStringLiteral("Meja Baris2 Baris3"));
            QGuiApplication::clipboard()->setText(QString(10000, QLatin1Char('x')));
            QTest::keyClick(target, Qt::Key_Insert, Qt::ShiftModifier);
            QCOMPARE(charge.Text().size(), 50);
            QGuiApplication::clipboard()->setText(QStringLiteral("Meja\nBaris2\nBaris3"));
        }
    }

    // Many rows at once behave as the rows one by one: no row selected, the
    // typed text kept, no handler.
    void comboBoxesTakeManyRowsQuietly()
    {
        ComboBox combo(nullptr, QStringLiteral("ciCharge"), true);
        int clicks = 0, changes = 0;
        combo.Click = [&] { ++clicks; };
        combo.Change = [&] { ++changes; };
        combo.setText(QStringLiteral("Meja"));
        changes = 0;
        combo.AddItems({QStringLiteral("Meja 1"), QStringLiteral("Meja 2"), QStringLiteral("Meja 3")});
        combo.AddItems({});
        QCOMPARE(combo.ListCount(), 3);
        QCOMPARE(combo.ListIndex(), -1);
        QCOMPARE(combo.Text(), QStringLiteral("Meja"));
        QCOMPARE(clicks + changes, 0);
        combo.AddItems({QStringLiteral("Meja 4")});
        QCOMPARE(combo.List(3), QStringLiteral("Meja 4"));
        combo.setListIndex(1);
        QCOMPARE(clicks, 1);
        QCOMPARE(combo.Text(), QStringLiteral("Meja 2"));
    }

    // A refill with the rows the box already holds leaves the list alone
    // but does to the text what a refill does: put back, with its Change.
    // Other rows, or rows changed in between, are put in.
    void comboBoxRefilledWithTheSameRows()
    {
        ComboBox combo(nullptr, QStringLiteral("ciCharge"), true);
        int clicks = 0, changes = 0;
        combo.Click = [&] { ++clicks; };
        combo.Change = [&] { ++changes; };
        const QStringList names{QStringLiteral("Ani"), QStringLiteral("Budi"), QStringLiteral("Meja 1")};
        combo.setText(QStringLiteral("Meja 1"));
        changes = 0;
        combo.SetItems(names);
        QCOMPARE(combo.ListCount(), 3);
        QCOMPARE(combo.Text(), QStringLiteral("Meja 1"));
        QCOMPARE(changes, 1);
        QSignalSpy inserted(combo.model(), &QAbstractItemModel::rowsInserted);
        combo.SetItems(QStringList(names));
        QCOMPARE(inserted.size(), 0);
        QCOMPARE(combo.Text(), QStringLiteral("Meja 1"));
        QCOMPARE(changes, 2);
        QCOMPARE(clicks, 0);

        combo.RemoveItem(2);
        combo.SetItems(names);
        QCOMPARE(combo.ListCount(), 3);
        QVERIFY(inserted.size() > 0);
        combo.SetItems({QStringLiteral("Ani"), QStringLiteral("Budi")});
        QCOMPARE(combo.ListCount(), 2);
        QCOMPARE(combo.Text(), QStringLiteral("Meja 1"));
        combo.setText(QString());
        changes = 0;
        combo.SetItems({QStringLiteral("Ani"), QStringLiteral("Budi")});
        QCOMPARE(changes, 0);
        QCOMPARE(combo.Text(), QString());

        // A held charge that comes and goes after the contacts: only the
        // rows after them change, and the box ends as a refill leaves it,
        // with the kept text chosen nowhere, even when it was a dropped row.
        combo.SetItems({QStringLiteral("Ani"), QStringLiteral("Budi"), QStringLiteral("Meja 2")});
        combo.setListIndex(2);
        QCOMPARE(combo.Text(), QStringLiteral("Meja 2"));
        changes = clicks = 0;
        QSignalSpy removed(combo.model(), &QAbstractItemModel::rowsRemoved);
        inserted.clear();
        combo.SetItems(
            {QStringLiteral("Ani"), QStringLiteral("Budi"), QStringLiteral("Meja 3"), QStringLiteral("Meja 4")});
        QCOMPARE(removed.size(), 1);
        QCOMPARE(removed.at(0).at(1).toInt(), 2);
        QCOMPARE(inserted.size(), 1);
        QCOMPARE(combo.ListCount(), 4);
        QCOMPARE(combo.List(3), QStringLiteral("Meja 4"));
        QCOMPARE(combo.ListIndex(), -1);
        QCOMPARE(combo.Text(), QStringLiteral("Meja 2"));
        QCOMPARE(changes, 1);
        QCOMPARE(clicks, 0);
        // A row changed in the middle: the rows from there on put in.
        combo.SetItems({QStringLiteral("Ani"), QStringLiteral("Meja 3"), QStringLiteral("Meja 4")});
        QCOMPARE(combo.ListCount(), 3);
        QCOMPARE(combo.List(1), QStringLiteral("Meja 3"));
        QCOMPARE(combo.Text(), QStringLiteral("Meja 2"));
    }

    // Qt's own calls on the rows (a window's refill may use them) change the
    // box's list: a refill with the rows it was given before puts them back.
    void comboBoxRowsChangedByQtsOwnCalls()
    {
        ComboBox combo(nullptr, QStringLiteral("ciWarehouse"), true);
        const QStringList names{QStringLiteral("Gudang"), QStringLiteral("Toko")};
        combo.SetItems(names);
        combo.clear();
        combo.addItems({QStringLiteral("Dapur")});
        QCOMPARE(combo.ListCount(), 1);
        QCOMPARE(combo.List(0), QStringLiteral("Dapur"));
        combo.SetItems(names);
        combo.setItemText(1, QStringLiteral("Bar"));
        QCOMPARE(combo.List(1), QStringLiteral("Bar"));
        combo.SetItems(names);
        QCOMPARE(combo.List(1), QStringLiteral("Toko"));
        combo.setListIndex(1);
        QCOMPARE(combo.Text(), QStringLiteral("Toko"));
    }

    // Rows to read later: read once, when the list is first used, with no
    // handler, whatever was typed meanwhile kept; a box with a text takes
    // them at once and puts the text back.
    void comboBoxRowsReadWhenFirstUsed()
    {
        ComboBox combo(nullptr, QStringLiteral("ciCharge"), true);
        int reads = 0, clicks = 0, changes = 0;
        combo.Click = [&] { ++clicks; };
        combo.Change = [&] { ++changes; };
        const auto names = [&] {
            ++reads;
            return QStringList{QStringLiteral("Ani"), QStringLiteral("Budi")};
        };
        combo.SetItemsSoon(names);
        QCOMPARE(reads, 0);
        QTest::keyClicks(combo.lineEdit(), QStringLiteral("Me"));
        QCOMPARE(changes, 2);
        QCOMPARE(combo.findText(QStringLiteral("Budi")), 1);
        QCOMPARE(combo.ListCount(), 2);
        QCOMPARE(reads, 1);
        QCOMPARE(combo.Text(), QStringLiteral("Me"));
        QCOMPARE(combo.ListIndex(), -1);
        QCOMPARE(clicks + changes, 2);
        combo.setText(QString());
        combo.SetItemsSoon(names);
        combo.SetItemsSoon([] { return QStringList{QStringLiteral("Cici")}; });
        QCOMPARE(reads, 1);
        QTest::keyClick(combo.lineEdit(), Qt::Key_Down);
        QCOMPARE(combo.Text(), QStringLiteral("Cici"));
        changes = 0;
        combo.SetItemsSoon(names);
        QCOMPARE(combo.List(1), QStringLiteral("Budi"));
        QCOMPARE(combo.Text(), QStringLiteral("Cici"));
        QCOMPARE(changes, 1);
    }

    void listsAndDatesTakeTheFocusAsFieldsDo()
    {
        Window w;
        auto* list = new ListBox(&w, QStringLiteral("iItems"));
        auto* date = new DateTimePick(&w, QStringLiteral("iDate"));
        QWidget::setTabOrder(w.box, list);
        QWidget::setTabOrder(list, date);
        QWidget::setTabOrder(date, w.other);
        list->AddItems({QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")});
        QStringList seen;
        int clicks = 0;
        list->Click = [&] { ++clicks; };
        list->events.GotFocus = [&] { seen << QStringLiteral("list in"); };
        list->events.LostFocus = [&] { seen << QStringLiteral("list out"); };
        date->events.GotFocus = [&] { seen << QStringLiteral("date in"); };
        date->events.LostFocus = [&] { seen << QStringLiteral("date out"); };
        w.Show();
        QApplication::setActiveWindow(&w);
        w.box->setFocus();
        QCOMPARE(QApplication::focusWidget(), w.box);

        // Tabbing into the list selects no row by itself.
        QTest::keyClick(w.box, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), list);
        QCOMPARE(list->ListIndex(), -1);
        QCOMPARE(clicks, 0);
        // The date picker tells when it gets and loses the focus.
        QTest::keyClick(list, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), date);
        QTest::mouseClick(w.other, Qt::LeftButton);
        QCOMPARE(QApplication::focusWidget(), w.other);
        QCOMPARE(seen, (QStringList{QStringLiteral("list in"), QStringLiteral("list out"), QStringLiteral("date in"),
                                    QStringLiteral("date out")}));

        // Removing the selected row leaves no row selected, as in a combo
        // box; removing another row keeps the selected one.
        list->setListIndex(1);
        QCOMPARE(clicks, 1);
        list->RemoveItem(0);
        QCOMPARE(list->ListIndex(), 0);
        QCOMPARE(list->List(list->ListIndex()), QStringLiteral("B"));
        list->RemoveItem(0);
        QCOMPARE(list->ListIndex(), -1);
        QVERIFY(list->selectedItems().isEmpty());
        QCOMPARE(list->ListCount(), 1);
        QCOMPARE(clicks, 1);
        ComboBox combo(nullptr, QStringLiteral("iKind"), false);
        combo.AddItem(QStringLiteral("A"));
        combo.AddItem(QStringLiteral("B"));
        combo.setListIndex(0);
        combo.RemoveItem(0);
        QCOMPARE(combo.ListIndex(), -1);
    }

    // The operator ticks a row with a click on its check box or with the
    // space bar: the row is marked and ItemCheck runs with that row, which
    // need not be the current one. A list of rows to read only shows no
    // check boxes and takes no tick.
    void listRowsAreTickedByTheOperator()
    {
        Window w;
        auto* list = new ListBox(&w, QStringLiteral("ciCart"));
        list->setGeometry(0, 40, 300, 200);
        list->AddItem(QStringLiteral("Kode  Nama"), true);
        list->AddItem(QStringLiteral("----------"), true);
        list->AddItems({QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")});
        QList<int> ticked;
        int clicks = 0;
        list->ItemCheck = [&](int row) { ticked << row; };
        list->Click = [&] { ++clicks; };
        w.Show();
        QApplication::setActiveWindow(&w);
        QCOMPARE(list->SelCount(), 2);
        QVERIFY(list->Selected(1) && !list->Selected(2));

        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, checkBoxOf(*list, 3));
        QCOMPARE(ticked, QList<int>{3});
        QVERIFY(list->Selected(3));
        // The tick is not a choice of row.
        QCOMPARE(list->ListIndex(), -1);
        QCOMPARE(clicks, 0);
        list->setListIndex(3);
        QCOMPARE(clicks, 1);
        QTest::keyClick(list, Qt::Key_Space);
        QCOMPARE(ticked, (QList<int>{3, 3}));
        QVERIFY(!list->Selected(3));
        QTest::keyClick(list, Qt::Key_Down);
        QCOMPARE(list->ListIndex(), 4);
        QCOMPARE(clicks, 2);
        QTest::keyClick(list, Qt::Key_Space);
        QCOMPARE(ticked.last(), 4);
        QCOMPARE(list->SelCount(), 3);
        // Ticking the row under the cursor from code runs the handler too,
        // once, and leaves the current row where it is.
        list->setSelected(2, true);
        list->setSelected(2, true);
        QCOMPARE(ticked, (QList<int>{3, 3, 4, 2}));
        QCOMPARE(list->ListIndex(), 4);
        // Rows taken out and put back come unmarked, quietly.
        list->Clear();
        list->AddItems({QStringLiteral("A"), QStringLiteral("B")});
        QCOMPARE(list->SelCount(), 0);
        QCOMPARE(list->ListIndex(), -1);
        QCOMPARE(ticked.size(), 4);
        QCOMPARE(clicks, 2);

        auto* report = new ListBox(&w, QStringLiteral("liLedger"));
        report->CheckBoxes = false;
        report->setGeometry(0, 250, 300, 100);
        report->ItemCheck = [&](int row) { ticked << row; };
        report->AddItems({QStringLiteral("Jurnal"), QStringLiteral("------")});
        report->show();
        QVERIFY(!report->model()->index(0, 0).data(Qt::CheckStateRole).isValid());
        QTest::mouseClick(report->viewport(), Qt::LeftButton, {}, checkBoxOf(*report, 1));
        QCOMPARE(report->ListIndex(), 1);
        QVERIFY(!report->Selected(1));
        QCOMPARE(ticked.size(), 4);
    }

    // Every row is as wide as the widest, wherever that one stands, so the
    // horizontal scroll bar reaches the end of any row; taking the widest
    // row out narrows the list again.
    void listRowsScrollToTheEndOfTheWidestRow()
    {
        Window w;
        auto* list = new ListBox(&w, QStringLiteral("liLedger"));
        list->CheckBoxes = false;
        list->setGeometry(0, 0, 200, 150);
        const QString wide(120, QLatin1Char('W'));
        list->AddItems({QStringLiteral("Tanggal"), wide, QStringLiteral("Total")});
        w.Show();
        const int wideWidth = QFontMetrics(list->font()).horizontalAdvance(wide);
        QVERIFY(list->visualRect(list->model()->index(2, 0)).width() >= wideWidth);
        QVERIFY(list->horizontalScrollBar()->maximum() > 0);
        list->RemoveItem(1);
        QApplication::processEvents();
        QVERIFY(list->visualRect(list->model()->index(1, 0)).width() < wideWidth / 4);
        QCOMPARE(list->horizontalScrollBar()->maximum(), 0);
        list->AddItem(wide);
        QApplication::processEvents();
        QVERIFY(list->visualRect(list->model()->index(0, 0)).width() >= wideWidth);
    }

    // The keys move by rows as in any list: Home and End reach the first
    // and the last row, a page is the rows in sight but one. Moving leaves
    // the list scrolled sideways as it was, and at the end the last page
    // still begins with a whole row.
    void listKeysMoveByRows()
    {
        Window w;
        auto* list = new ListBox(&w, QStringLiteral("liLedger"));
        list->CheckBoxes = false;
        list->setGeometry(0, 0, 200, 150);
        QStringList rows;
        for (int i = 0; i < 40; ++i)
            rows << QStringLiteral("%1 ").arg(i, 2, 10, QLatin1Char('0')) + QString(i == 7 ? 90 : 3, QLatin1Char('x'));
        list->AddItems(rows);
        w.Show();
        QApplication::setActiveWindow(&w);
        list->setFocus();
        QApplication::processEvents();
        const int rowHeight = list->visualRect(list->model()->index(0, 0)).height();
        const int page = list->viewport()->height() / rowHeight - 1;
        QVERIFY(page > 1 && list->viewport()->height() % rowHeight != 0);
        list->setListIndex(10);
        QTest::keyClick(list, Qt::Key_End);
        QCOMPARE(list->ListIndex(), 39);
        QTest::keyClick(list, Qt::Key_PageUp);
        QCOMPARE(list->ListIndex(), 39 - page);
        QTest::keyClick(list, Qt::Key_Home);
        QCOMPARE(list->ListIndex(), 0);
        QTest::keyClick(list, Qt::Key_PageDown);
        QCOMPARE(list->ListIndex(), page);
        QTest::keyClick(list, Qt::Key_Down);
        QCOMPARE(list->ListIndex(), page + 1);
        QTest::keyClick(list, Qt::Key_Right);
        QCOMPARE(list->ListIndex(), page + 1);

        QScrollBar* across = list->horizontalScrollBar();
        across->setValue(across->maximum());
        QVERIFY(across->value() > 0);
        QTest::keyClick(list, Qt::Key_End, Qt::ControlModifier);
        QApplication::processEvents();
        QCOMPARE(list->ListIndex(), 39);
        QCOMPARE(across->value(), across->maximum());
        const QScrollBar* down = list->verticalScrollBar();
        QCOMPARE(down->value(), down->maximum());
        QCOMPARE(list->visualRect(list->model()->index(down->value(), 0)).top(), 0);
    }

    // Rows come back exactly as given, whatever their letters, also after
    // rows before them were taken out.
    void listRowsKeepTheirTextAsGiven()
    {
        ListBox list(nullptr, QStringLiteral("iItems"));
        const QStringList rows{QStringLiteral("Caf\u00e9 Kopi"), QString(), QStringLiteral("Teh \U0001F375 hangat"),
                               QStringLiteral("\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9"),
                               QStringLiteral("Roti")};
        list.AddItems(rows);
        list.AddItem(QStringLiteral("Es \u5496\u5561"), true);
        QCOMPARE(list.ListCount(), 6);
        for (int i = 0; i < 5; ++i)
            QCOMPARE(list.List(i), rows[i]);
        QCOMPARE(list.List(5), QStringLiteral("Es \u5496\u5561"));
        QVERIFY(list.Selected(5));
        QCOMPARE(list.List(6), QString());
        list.RemoveItem(0);
        list.RemoveItem(2);
        QCOMPARE(list.ListCount(), 4);
        QCOMPARE(list.List(0), QString());
        QCOMPARE(list.List(1), rows[2]);
        QCOMPARE(list.List(2), rows[4]);
        QCOMPARE(list.List(3), QStringLiteral("Es \u5496\u5561"));
        QVERIFY(list.Selected(3) && !list.Selected(2));
    }

    // Tens of thousands of rows made one at a time fill many chunks: each
    // comes back whole, wherever a chunk ended, also after rows around
    // the ends were taken out and more were added.
    void manyRowsMadeOneAtATime()
    {
        ListBox list(nullptr, QStringLiteral("iItems"));
        list.AddItem(QStringLiteral("Kode"));
        const auto row = [](int i) {
            return QStringLiteral("%1 Caf\u00e9 \U0001F375 ").arg(i, 6, 10, QLatin1Char('0')) +
                   QString(i % 97, QLatin1Char('x'));
        };
        int made = 0;
        list.AddItems([&](QString& text) {
            if (made == 40000)
                return false;
            text.resize(0);
            text += row(made++);
            return true;
        });
        QCOMPARE(list.ListCount(), 40001);
        for (int i = 0; i < 40000; i += 7)
            QCOMPARE(list.List(i + 1), row(i));
        QCOMPARE(list.List(40000), row(39999));
        list.RemoveItem(1);
        list.RemoveItem(20000);
        list.AddItems(QStringList{QStringLiteral("akhir")});
        list.AddItems([](QString&) { return false; });
        QCOMPARE(list.ListCount(), 40000);
        QCOMPARE(list.List(1), row(1));
        QCOMPARE(list.List(19999), row(19999));
        QCOMPARE(list.List(20000), row(20001));
        QCOMPARE(list.List(39998), row(39999));
        QCOMPARE(list.List(39999), QStringLiteral("akhir"));
        QVERIFY(!list.Selected(39999));
    }

    // A list of a million rows from a source reads only the pages in
    // sight: the first screen, the last one at Ctrl+End, a row asked for by
    // position; marks, count, index and width are the list's as for rows
    // it holds. A source that fails shows empty rows instead of ending the
    // program; rows added by hand follow the source's.
    void listRowsFromASource()
    {
        struct Numbers : RowSource {
            qsizetype rows = 1000000;
            int reads = 0;
            qsizetype widest = 0;
            bool failing = false;
            QString row(qsizetype i) const { return QStringLiteral("row %1").arg(i, 7, 10, QLatin1Char('0')); }
            qsizetype count() const override { return rows; }
            void read(qsizetype first, qsizetype n, QStringList& out) override
            {
                ++reads;
                if (failing)
                    throw DbError(QStringLiteral("busy"));
                for (qsizetype i = first; i < first + n; ++i)
                    out << row(i);
            }
            qsizetype width() const override { return widest; }
        };
        Window w;
        auto* list = new ListBox(&w, QStringLiteral("liLedger"));
        list->setGeometry(0, 0, 200, 150);
        auto numbers = std::make_shared<Numbers>();
        numbers->widest = 150;
        list->AddItems({QStringLiteral("gone"), QStringLiteral("gone too")});
        list->setSource(numbers);
        int clicks = 0;
        list->Click = [&] { ++clicks; };
        w.Show();
        QApplication::setActiveWindow(&w);
        QApplication::processEvents();
        QCOMPARE(list->ListCount(), 1000000);
        QCOMPARE(list->ListIndex(), -1);
        QVERIFY(numbers->reads >= 1 && numbers->reads <= 2);
        QCOMPARE(list->List(0), numbers->row(0));
        QCOMPARE(list->List(654321), numbers->row(654321));
        // The width the source tells, whatever the rows read so far.
        const int wideWidth = QFontMetrics(list->font()).horizontalAdvance(QString(150, QLatin1Char('W')));
        QVERIFY(list->visualRect(list->model()->index(0, 0)).width() >= wideWidth);
        QVERIFY(list->horizontalScrollBar()->maximum() > 0);

        list->setFocus();
        list->setListIndex(1);
        const int before = numbers->reads;
        QTest::keyClick(list, Qt::Key_End, Qt::ControlModifier);
        QApplication::processEvents();
        QCOMPARE(list->ListIndex(), 999999);
        QCOMPARE(clicks, 2);
        QCOMPARE(list->verticalScrollBar()->value(), list->verticalScrollBar()->maximum());
        QVERIFY(numbers->reads - before <= 2);
        QCOMPARE(list->currentIndex().data().toString(), numbers->row(999999));
        // A typed letter looks among the rows in sight, never through the
        // whole source.
        list->setListIndex(999990);
        const int typed = numbers->reads;
        QTest::keyClicks(list, QStringLiteral("ro"));
        QCOMPARE(list->ListIndex(), 999991);
        QTest::keyClick(list, Qt::Key_X);
        QCOMPARE(list->ListIndex(), 999991);
        QVERIFY(numbers->reads - typed <= 1);
        clicks = 2;

        list->setSelected(999998, true);
        list->setSelected(3, true);
        QCOMPARE(list->SelCount(), 2);
        QVERIFY(list->Selected(999998) && !list->Selected(999999));
        list->AddItem(QStringLiteral("Total"));
        QCOMPARE(list->ListCount(), 1000001);
        QCOMPARE(list->List(1000000), QStringLiteral("Total"));
        // A source's row stays; a row added by hand goes.
        list->RemoveItem(5);
        QCOMPARE(list->ListCount(), 1000001);
        list->RemoveItem(1000000);
        QCOMPARE(list->ListCount(), 1000000);

        auto failing = std::make_shared<Numbers>();
        failing->rows = 10;
        failing->failing = true;
        list->setSource(failing);
        QApplication::processEvents();
        QCOMPARE(list->SelCount(), 0);
        QCOMPARE(list->List(4), QString());
        failing->failing = false;
        QCOMPARE(list->List(4), failing->row(4));
        list->Clear();
        QCOMPARE(list->ListCount(), 0);
        QVERIFY(!list->source());
    }

    void keyPreviewAndKeyReplacement()
    {
        Window w;
        w.Show();
        QApplication::setActiveWindow(&w);
        QCOMPARE(w.activations, 1);
        w.box->setFocus();
        QList<int> downs;
        w.box->events.KeyDown = [&](int& KeyCode, int) { downs << KeyCode; };
        w.box->events.KeyPress = [](int& KeyAscii) {
            if (KeyAscii == '.')
                KeyAscii = ',';
            else if (KeyAscii == 'x')
                KeyAscii = 0;
            else
                KeyAscii = QChar(KeyAscii).toUpper().unicode();
        };
        QTest::keyClicks(w.box, QStringLiteral("a.xb"));
        QCOMPARE(w.box->Text(), QStringLiteral("A,B"));
        // The window saw every key first, once each.
        QCOMPARE(w.seen, (QList<int>{'A', 190, 'X', 'B'}));
        // A key the window swallows never reaches the field.
        QTest::keyClick(w.box, Qt::Key_F1);
        QCOMPARE(w.seen.last(), int(vbKeyF1));
        QVERIFY(!downs.contains(vbKeyF1));
        QTest::keyClick(w.box, Qt::Key_P, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(w.shifts.last(), vbCtrlMask | vbShiftMask);
        QTest::keyClick(w.box, Qt::Key_Plus, Qt::KeypadModifier);
        QCOMPARE(w.seen.last(), int(vbKeyAdd));
        // A key sent to the window itself is seen once too.
        const qsizetype before = w.seen.size();
        QTest::keyClick(&w, Qt::Key_F2);
        QCOMPARE(w.seen.size(), before + 1);
    }

    void errorsStopAtTheEventBoundary()
    {
        TextBox box(nullptr, QStringLiteral("iCode"));
        WanButton save(nullptr, QStringLiteral("bSave"), QStringLiteral("Save"));
        int after = 0;
        box.Change = [] {
            throw DbError::fromEngine(QStringLiteral("no such table: stock"), QStringLiteral("select * from stock"),
                                      QStringLiteral("1"));
        };
        save.Click = [&] {
            box.setText(QStringLiteral("A")); // the change handler fails: so does this handler
            ++after;
        };
        save.click();
        QCOMPARE(after, 0);
        QCOMPARE(ui->messages.size(), 1);
        QCOMPARE(ui->messages.first().kind, MsgKind::Warning);
        // The operator reads what went wrong and what was not done; the
        // handler's name, the statement and the engine's words are logged.
        const QString told = ui->messages.first().prompt;
        QCOMPARE(told, QStringLiteral("Database menolak perintah ini.\nTindakan ini tidak selesai."));
        QVERIFY(logged().contains(QLatin1String("bSave.Click gagal: no such table: stock")));
        QVERIFY(logged().contains(QLatin1String("SQL: select * from stock")));
        // The program goes on: the next event runs normally.
        box.Change = nullptr;
        save.click();
        QCOMPARE(after, 1);
    }

    void nestedErrorsAreToldOnceUnderTheirOwnName()
    {
        Window main;
        main.Show();
        // The activation of the window below fails once a modal window over
        // it closes: nothing a setter could hand back.
        struct Failing : Window {
            void Form_Activate() override
            {
                if (++activations > 1)
                    throw DbError(QStringLiteral("refill failed"));
            }
        } below;
        below.setObjectName(QStringLiteral("fBelow"));
        below.Show();
        Window dialog;
        dialog.setObjectName(QStringLiteral("fOver"));
        WanButton open(nullptr, QStringLiteral("bOpen"), QStringLiteral("Open"));
        bool finished = false;
        open.Click = [&] {
            dialog.ShowModal();
            finished = true;
        };
        open.click();
        QVERIFY(finished);
        QCOMPARE(ui->messages.size(), 1);
        QCOMPARE(ui->messages.first().prompt, QStringLiteral("refill failed"));
        QCOMPARE(logged().count(QLatin1String("fBelow.Form_Activate gagal: refill failed")), 1);
        // Nothing is left behind for the next, unrelated handler.
        TextBox box(nullptr, QStringLiteral("iCode"));
        WanButton other(nullptr, QStringLiteral("bOther"), QStringLiteral("Other"));
        bool done = false;
        other.Click = [&] {
            box.setText(QStringLiteral("x"));
            done = true;
        };
        other.click();
        QVERIFY(done);
        QCOMPARE(ui->messages.size(), 1);
    }

    void timersFailQuietly()
    {
        Timer t(nullptr, QStringLiteral("tClock"), 1);
        int ticks = 0;
        t.Tick = [&] {
            ++ticks;
            throw std::runtime_error("no database");
        };
        t.setEnabled(true);
        QTRY_VERIFY(ticks >= 3);
        t.setEnabled(false);
        QVERIFY(ui->messages.isEmpty());
        // A field the tick sets fails in its change handler: still no box.
        TextBox total(nullptr, QStringLiteral("ciTotal"));
        total.Change = [] { throw std::runtime_error("no journal"); };
        int n = 0;
        t.Tick = [&] { total.setText(QString::number(++n)); };
        t.setEnabled(true);
        QTRY_VERIFY(n >= 3);
        t.setEnabled(false);
        QVERIFY(ui->messages.isEmpty());
    }

    void nothingWaitsForAPersonInsideAWriteTransaction()
    {
        QVERIFY(QFile::copy(distFile(QStringLiteral("Empty.tdb")), dir.filePath(QStringLiteral("t.cdb"))));
        app->DbConn().Open(dir.filePath(QStringLiteral("t.cdb")));
        Timer t(nullptr, QStringLiteral("tClock"), 1);
        int ticks = 0;
        t.Tick = [&] { ++ticks; };
        {
            DbTransaction tx(app->DbConn());
            QVERIFY(app->writeTransactionOpen());
            // A timer skips its ticks while the transaction is open.
            t.setEnabled(true);
            QTest::qWait(30);
            QCOMPARE(ticks, 0);
            // Every dialog that would wait for the operator fails the test.
            QEXPECT_FAIL("", "a message box inside a write transaction", Continue);
            MsgInfo(QStringLiteral("Tersimpan"), QStringLiteral("Informasi"));
            QEXPECT_FAIL("", "a file dialog inside a write transaction", Continue);
            QString filter = QStringLiteral("*.cdb");
            ShowOpen(nullptr, filter, QStringLiteral("Restore"), dir.path());
            QEXPECT_FAIL("", "an input box inside a write transaction", Continue);
            ui->inputBox(QStringLiteral("Jumlah"), QStringLiteral("Input"), QString());
        }
        QVERIFY(!app->writeTransactionOpen());
        QTRY_VERIFY(ticks > 0);
        t.setEnabled(false);
        // A question that the test did not answer fails it too.
        ui->answers.clear();
        QEXPECT_FAIL("", "an unscripted question", Continue);
        QCOMPARE(MsgConfirm(QStringLiteral("Yakin?"), QStringLiteral("Konfirmasi")), 2);
    }

    void modalScriptsHaveTheirOwnErrorBoundary()
    {
        // As in the real modal loop, an error of the operator's event inside
        // a modal window is told there, and the handler that opened the
        // window goes on once it closes.
        Window dialog;
        dialog.setObjectName(QStringLiteral("fDialog"));
        WanButton fail(&dialog, QStringLiteral("bFail"), QStringLiteral("Fail"));
        fail.Click = [] { throw DbError(QStringLiteral("disk full")); };
        ui->scripts[QStringLiteral("fDialog")] = [&](Form*) {
            QVERIFY(QApplication::activeModalWidget() == &dialog);
            QTest::mouseClick(&fail, Qt::LeftButton);
            QCOMPARE(ui->messages.size(), 1);
            QCOMPARE(ui->messages.first().prompt, QStringLiteral("disk full"));
            QVERIFY(logged().contains(QLatin1String("bFail.Click gagal: disk full")));
            dialog.Hide();
        };
        WanButton open(nullptr, QStringLiteral("bOpen"), QStringLiteral("Open"));
        bool finished = false;
        open.Click = [&] {
            dialog.ShowModal();
            finished = true;
        };
        open.click();
        QVERIFY(finished);
        QCOMPARE(ui->messages.size(), 1);
        QVERIFY(!QApplication::activeModalWidget());
    }

    void modalShowActivatesAndHides()
    {
        Window main;
        main.Show();
        Window dialog;
        dialog.setObjectName(QStringLiteral("fDialog"));
        bool ran = false;
        ui->scripts[QStringLiteral("fDialog")] = [&](Form* f) {
            ran = true;
            QVERIFY(f->isVisible());
            QCOMPARE(dialog.activations, 1);
            // The close box hides the window while the program runs on.
            QVERIFY(!f->close());
        };
        dialog.ShowModal();
        QVERIFY(ran);
        QVERIFY(!dialog.isVisible());
        QVERIFY(!dialog.isUnloaded());
        // The window below is activated again once the dialog closes.
        QCOMPARE(main.activations, 2);
        app->IsClosing = true;
        QVERIFY(dialog.Unload());
        QVERIFY(dialog.isUnloaded());
    }

    void windowsAreReachedByTheirClass()
    {
        // Each window class is one window: asked for by its class, the
        // window is found while it exists and no longer once it is gone.
        struct Other : Form {
            Other() : Form(QStringLiteral("fOther"), QString()) {}
        };
        QVERIFY(!app->form<Window>());
        auto* window = new Window;
        auto* other = new Other;
        QCOMPARE(app->form<Window>(), window);
        QCOMPARE(app->form<Other>(), other);
        delete window;
        QVERIFY(!app->form<Window>());
        QCOMPARE(app->form<Other>(), other);
        delete other;
        QVERIFY(!app->form<Other>());
    }

    void realModalShowReturnsWhenHidden()
    {
        // The window system's own modal loop: hiding the window ends it.
        app->setBackend(std::make_unique<QtBackend>());
        Window dialog;
        dialog.setObjectName(QStringLiteral("fReal"));
        QTimer::singleShot(20, &dialog, [&dialog] {
            QVERIFY(dialog.isVisible());
            dialog.box->setFocus();
            QTest::keyClick(dialog.box, Qt::Key_Escape); // no built-in reject
            QVERIFY(dialog.isVisible());
            dialog.Hide();
        });
        dialog.ShowModal();
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.activations, 1);
    }

    void spreadsheetFile()
    {
        Workbook wb;
        wb.setValue(1, 1, QStringLiteral("Kode"));
        wb.setValue(2, 1, QStringLiteral("KOPI"));
        wb.setValue(2, 2, 18000.0);
        wb.setBold(1, 1, 1, 2);
        wb.setNumberFormat(2, 2, 2, 2, QStringLiteral("#,##0"));
        wb.setBorder(1, 1, 2, 2);
        wb.autoFit();
        QCOMPARE(wb.lastRow(), 2);
        QCOMPARE(wb.lastColumn(), 2);
        QVERIFY(wb.find(1, 1)->bold);
        const QString path =
            platform::OpenWorkbook([&wb](const QString& file) { wb.save(file); }, QStringLiteral("Laporan"));
        QCOMPARE(ui->opened, QStringList{path});
        QCOMPARE(QFileInfo(path).path(), dir.path()); // the export folder, not the system's
        QVERIFY(QFileInfo(path).fileName().startsWith(QLatin1String("Laporan-")));
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.read(2), QByteArray("PK"));
        f.close();
        QFile::remove(path);
        QVERIFY_THROWS_EXCEPTION(std::runtime_error, wb.save(dir.filePath(QStringLiteral("no/such/dir/x.xlsx"))));
    }

    // An export killed while it writes its rows or packs the workbook (the
    // file size limit's signal) leaves no file under its name; what a
    // killed one left goes at a later export into that folder.
    void killedExportLeavesNoWorkbook()
    {
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("Laporan.xlsx"));
        for (const bool packing : {false, true}) {
            const pid_t child = ::fork();
            if (child == 0) {
                try {
                    platform::SheetWriter sheet(path);
                    platform::Cell cell;
                    for (int r = 1; r <= 50; ++r) {
                        cell.value = QStringLiteral("baris %1").arg(r);
                        sheet.write(r, 1, cell);
                    }
                    const rlimit small{4096, RLIM_INFINITY};
                    if (!packing || ::setrlimit(RLIMIT_FSIZE, &small) != 0)
                        ::raise(SIGKILL);
                    sheet.close();
                } catch (...) {
                }
                ::_exit(0);
            }
            QVERIFY(child > 0 && ::waitpid(child, nullptr, 0) == child);
            QVERIFY(!QFile::exists(path));
        }
        // Left a while ago: a folder just made may be about to be locked.
        const timespec old[2] = {{::time(nullptr) - 120, 0}, {::time(nullptr) - 120, 0}};
        for (const QString& left : QDir(folder.path()).entryList(QDir::Hidden | QDir::Dirs | QDir::NoDotAndDotDot))
            QCOMPARE(::utimensat(AT_FDCWD, QFile::encodeName(folder.filePath(left)).constData(), old, 0), 0);
        platform::SheetWriter next(folder.filePath(QStringLiteral("Lagi.xlsx")));
        next.close();
        QCOMPARE(QDir(folder.path()).entryList(QDir::Hidden | QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList{QStringLiteral("Lagi.xlsx")});
    }

    // The box of work that can be stopped: shown at once, Escape or its
    // button stops the work, and a click meant for the window behind (a
    // second print command) is dropped while it is up.
    void stoppableWorkHoldsOffTheWindow()
    {
        QWidget owner;
        owner.resize(600, 400);
        auto* other = new QPushButton(QStringLiteral("Cetak"), &owner);
        int pressed = 0;
        connect(other, &QPushButton::clicked, [&pressed] { ++pressed; });
        owner.show();
        {
            ProgressWindow box(&owner, QStringLiteral("Mencetak"), QStringLiteral("LAPORAN UMUM"),
                               QStringLiteral("&Batal"));
            QVERIFY(box.report(QStringLiteral("Baris 0"), -1));
            QPushButton* cancel = nullptr;
            for (auto* b : owner.findChildren<QPushButton*>())
                if (b->text() == QStringLiteral("&Batal"))
                    cancel = b;
            QVERIFY(cancel && cancel->isVisible());
            QTest::mouseClick(other, Qt::LeftButton);
            QTest::keyClick(other, Qt::Key_Space);
            QCOMPARE(pressed, 0);
            QTest::keyClick(other, Qt::Key_Escape);
            QVERIFY(!box.report(QStringLiteral("Baris 1"), -1));
        }
        {
            ProgressWindow box(&owner, QStringLiteral("Mencetak"), QString(), QStringLiteral("&Batal"));
            QVERIFY(box.report(QString(), 0));
            for (auto* b : owner.findChildren<QPushButton*>())
                if (b->text() == QStringLiteral("&Batal"))
                    QTest::mouseClick(b, Qt::LeftButton);
            QVERIFY(!box.report(QString(), 0.5));
        }
        // Once the box is gone the window takes its clicks again.
        QTest::mouseClick(other, Qt::LeftButton);
        QCOMPARE(pressed, 1);
    }

    // A print-out stopped between two pages where a PDF file takes the
    // printer's place leaves no file that would pass for the whole report.
    void stoppedPdfLeavesNoFile()
    {
        if (!QPrinterInfo::defaultPrinter().isNull())
            QSKIP("this machine has a printer");
        QTemporaryDir home;
        const QByteArray savedHome = qgetenv("HOME"), savedConfig = qgetenv("XDG_CONFIG_HOME");
        qputenv("HOME", QFile::encodeName(home.path()));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.path()));
        QStringList lines;
        for (int i = 0; i < 400; ++i)
            lines << QStringLiteral("baris %1").arg(i);
        platform::QtBackend real;
        int told = 0, pages = 0;
        const QString note = real.printDocument(lines, platform::fixedFont(QStringLiteral("Monospace"), 9), false,
                                                QStringLiteral("x"), [&](int page, int all) {
                                                    ++told;
                                                    pages = all;
                                                    return page < 2;
                                                });
        const QString whole = real.printDocument(lines, platform::fixedFont(QStringLiteral("Monospace"), 9), false,
                                                 QStringLiteral("x"), [](int, int) { return true; });
        qputenv("HOME", savedHome);
        qputenv("XDG_CONFIG_HOME", savedConfig);
        QCOMPARE(note, QString());
        QCOMPARE(told, 2);
        QVERIFY(pages > 2);
        QVERIFY(QFile::exists(whole));
        // The whole one is the only file there.
        QCOMPARE(QDir(QFileInfo(whole).path()).entryList(QDir::Files), QStringList{QFileInfo(whole).fileName()});
    }

    void settingsStore()
    {
        app->Settings.SaveSetting(QStringLiteral("OV"), QStringLiteral("Global"), QStringLiteral("Language"),
                                  QStringLiteral("English"));
        SettingsStore again(dir.filePath(QStringLiteral("s.ini")));
        QCOMPARE(again.GetSetting(QStringLiteral("OV"), QStringLiteral("Global"), QStringLiteral("Language")),
                 QStringLiteral("English"));
        QCOMPARE(again.GetSetting(QStringLiteral("OV"), QStringLiteral("Global"), QStringLiteral("Missing")),
                 QString());
    }

    // The save dialog gives a typed name the filter's ending itself, and
    // asks before it replaces a file of that full name; declining and
    // cancelling gives no name, so nothing is written.
    void saveDialogAddsTheEndingAndAsksBeforeReplacing()
    {
        QCOMPARE(platform::defaultSuffix(QStringLiteral("*.cdb")), QStringLiteral("cdb"));
        QCOMPARE(platform::defaultSuffix(QStringLiteral("Excel|*.xlsx|")), QStringLiteral("xlsx"));
        QCOMPARE(platform::defaultSuffix(QStringLiteral("All|*.*|")), QString());
        QTemporaryDir dir;
        platform::QtBackend real;
        const QString filter = QStringLiteral("*.cdb") + QChar(0);
        QTimer::singleShot(0, [] {
            auto* d = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            QVERIFY(d);
            d->selectFile(QStringLiteral("copy"));
            static_cast<QDialog*>(d)->accept();
        });
        QCOMPARE(real.fileDialog(true, nullptr, filter, QStringLiteral("Backup"), dir.path()),
                 dir.filePath(QStringLiteral("copy.cdb")));

        QFile existing(dir.filePath(QStringLiteral("copy.cdb")));
        QVERIFY(existing.open(QIODevice::WriteOnly));
        existing.close();
        QString asked;
        QTimer::singleShot(0, [&asked] {
            auto* d = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            QVERIFY(d);
            QTimer::singleShot(0, [&asked, d] {
                auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                QVERIFY(box);
                asked = box->text();
                box->reject();
                QTimer::singleShot(0, d, [d] { d->reject(); });
            });
            d->selectFile(QStringLiteral("copy"));
            static_cast<QDialog*>(d)->accept();
        });
        QCOMPARE(real.fileDialog(true, nullptr, filter, QStringLiteral("Backup"), dir.path()), QString());
        QVERIFY2(asked.contains(QStringLiteral("copy.cdb")), qPrintable(asked));
    }
};

QTEST_MAIN(TestPlatform)
#include "tst_platform.moc"
