#include "catalogue/listprint.h"

#include "catalogue/model/catalogue.h"
#include "core/app.h"
#include "core/mmain.h"
#include "data/spreadsheet.h"
#include "lang/mlang.h"
#include "platform/controls.h"

namespace catalogue {

void PrintList(QWidget* owner, const QString& caption, const PrintFilters& filters, const platform::ListBox& list)
{
    const QStringList head = PrintHead(caption, filters);
    app().Printer.setDocName(caption);
    // A hundred thousand rows are read a page at a time as they are
    // printed, under the box: reading them first froze the window.
    mMain::PrintJob job(owner, mLang::PrintTexts(caption), head.size() + list.ListCount() + 1);
    try {
        for (const QString& line : head)
            mMain::PrintLine(line);
        for (int i = 0; i < list.ListCount(); ++i) {
            job.check();
            mMain::PrintLine(list.List(i));
        }
        mMain::PrintLine(Rule());
        mMain::EndPrint();
    } catch (const platform::Cancelled&) {
        // Stopped by the operator: nothing was sent, nothing to tell.
    }
}

void CheckListExport(const platform::ListBox& list)
{
    platform::CheckSheetRecords(list.ListCount() - 2);
}

} // namespace catalogue
