// The texts of the PDF export filter and its options dialog, added to the engine's string
// resources when the program starts, so that every window that lists the export filters
// finds their descriptions, whether or not a filter exists yet.
#include "pdf/pdfexport.h"
#include "report/base/resources.h"

#include <mutex>

namespace orv::pdf {
using namespace orv::report;
} // namespace orv::pdf

namespace orv::pdf {

namespace {

const char kExportTexts[] = R"frx(<?xml version="1.1" encoding="utf-8"?>
<Resources CodePage="1252">
<StrRes Name="8700" Text="Export to PDF"/>
<StrRes Name="8701" Text="Compressed"/>
<StrRes Name="8702" Text="Embedded fonts"/>
<StrRes Name="8703" Text="Print optimized"/>
<StrRes Name="8704" Text="Outline"/>
<StrRes Name="8705" Text="Background"/>
<StrRes Name="8706" Text="Open after export"/>
<StrRes Name="8707" Text="Adobe PDF file (*.pdf)|*.pdf"/>
<StrRes Name="8708" Text=".pdf"/>
<StrRes Name="PDFexport" Text="PDF file"/>
<StrRes Name="ProgressWait" Text="Please wait"/>
<StrRes Name="ZuvaZuzidiZava" Text="Report file"/>
<StrRes Name="8962" Text="Security"/>
<StrRes Name="8964" Text="Owner password"/>
<StrRes Name="8965" Text="User password"/>
<StrRes Name="8966" Text="Print the document"/>
<StrRes Name="8967" Text="Modify the document"/>
<StrRes Name="8968" Text="Copy of text and graphics"/>
<StrRes Name="8969" Text="Add or modify text annotations"/>
<StrRes Name="8971" Text="Document information"/>
<StrRes Name="8972" Text="Information"/>
<StrRes Name="8973" Text="Title"/>
<StrRes Name="8974" Text="Author"/>
<StrRes Name="8975" Text="Subject"/>
<StrRes Name="8976" Text="Keywords"/>
<StrRes Name="8977" Text="Creator"/>
<StrRes Name="8978" Text="Producer"/>
<StrRes Name="8979" Text="Authentification"/>
<StrRes Name="8980" Text="Permissions"/>
<StrRes Name="8981" Text="Viewer"/>
<StrRes Name="8982" Text="Viewer preferences"/>
<StrRes Name="8983" Text="Hide toolbar"/>
<StrRes Name="8984" Text="Hide menubar"/>
<StrRes Name="8985" Text="Hide window user interface"/>
<StrRes Name="8986" Text="Fit window"/>
<StrRes Name="8987" Text="Center window"/>
<StrRes Name="8988" Text="Print scaling"/>
</Resources>
)frx";

} // namespace

void registerExportTexts()
{
    static std::once_flag once;
    std::call_once(once, [] { frxStringResources()->AddXML(QByteArray(kExportTexts)); });
}

namespace {
// Every program that holds the PDF filter links this file; the texts are there before
// its main function runs.
[[maybe_unused]] const bool kRegisteredAtStart = (registerExportTexts(), true);
} // namespace

} // namespace orv::pdf
