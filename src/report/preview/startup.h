#pragma once
// What the report engine needs of the user interface, set up once before the first
// window: the preview and progress windows, the print dialog and printing, the printers'
// default paper for new report pages, the engine's error box, the dot-matrix classes and
// the button pictures.
#include <QImage>

namespace orv::report {

void frxInitializeReportUserInterface();

// The strip of button pictures the preview window takes its tool-bar pictures from.
QImage frxPreviewButtonStrip();

} // namespace orv::report
