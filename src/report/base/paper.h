#pragma once
// The printer paper table: Windows paper codes with their sizes (9 = A4, 210 x 297 mm).
#include <QList>
#include <QString>

namespace orv::report {

struct TfrxPaperInfo {
    int Code;
    int Width;  // tenths of a millimetre
    int Height; // tenths of a millimetre
    const char* Name;
};

// The 66 papers in code order.
const QList<TfrxPaperInfo>& frxPaperTable();
// The measures of a paper code in millimetres; false (measures untouched) for a code
// the table lacks.
bool frxPaperDimensions(int Code, double& Width, double& Height);

} // namespace orv::report
