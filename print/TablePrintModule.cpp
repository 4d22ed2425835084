#include "print/TablePrintModule.h"

#include "platform/LocaliseForm.h"
#include "print/PrintPreview.h"

// The table layout is still to come: a job opens and closes its pages only.

void StartTablePrint(const TableDive &)
{
    BeginPrintJob();
    NewPrintPage();
}

void NewTablePage()
{
}

void DrawTableFrame()
{
}

void PrintDepthTable(const std::vector<ClassProfile> &, bool)
{
}

void EndTablePrint()
{
    EndPrintPageSimple(QString(), QString());
    ShowPrintPreview(GetLangStringQ(6132));
}
