#pragma once
// The report engine's shared vocabulary: units, colours and the enumerations that its
// objects publish (each with its identifiers in ordinal order).
#include "platform/core/reflection.h"

#include <QtGlobal>

namespace orv::report {

// Report geometry is in pixels at 96 per inch; paper and margins are in millimetres.
inline constexpr double fr01cm = 3.77953;  // pixels per millimetre
inline constexpr double fr1cm = 37.79528;
inline constexpr double fr01in = 9.6;
inline constexpr double fr1in = 96;
inline constexpr double fr1CharX = 9.6;     // dot-matrix character cell
inline constexpr int fr1CharY = 17;
inline constexpr double frxPixelsPerInch = 96;

// 32-bit colour, alpha in the high byte; 0 means no colour.
using TAlphaColor = quint32;
inline constexpr TAlphaColor claNull = 0;
inline constexpr TAlphaColor claBlack = 0xFF000000;
inline constexpr TAlphaColor claWhite = 0xFFFFFFFF;
inline constexpr TAlphaColor claRed = 0xFFFF0000;
inline constexpr TAlphaColor claSilver = 0xFFC0C0C0;
inline constexpr TAlphaColor claWhiteSmoke = 0xFFF5F5F5;

enum TfrxHAlign : int { haLeft, haRight, haCenter, haBlock };
ORV_RTTI_ENUM(TfrxHAlign, "haLeft, haRight, haCenter, haBlock")

enum TfrxVAlign : int { vaTop, vaBottom, vaCenter };
ORV_RTTI_ENUM(TfrxVAlign, "vaTop, vaBottom, vaCenter")

enum TfrxAlign : int { baNone, baLeft, baRight, baCenter, baWidth, baBottom, baClient };
ORV_RTTI_ENUM(TfrxAlign, "baNone, baLeft, baRight, baCenter, baWidth, baBottom, baClient")

enum TfrxFrameStyle : int { fsSolid, fsDash, fsDot, fsDashDot, fsDashDotDot, fsDouble, fsAltDot, fsSquare };
ORV_RTTI_ENUM(TfrxFrameStyle, "fsSolid, fsDash, fsDot, fsDashDot, fsDashDotDot, fsDouble, fsAltDot, fsSquare")

enum TfrxFrameType : int { ftLeft, ftRight, ftTop, ftBottom };
ORV_RTTI_ENUM(TfrxFrameType, "ftLeft, ftRight, ftTop, ftBottom")
ORV_RTTI_SET(TfrxFrameTypes, TfrxFrameType)

enum TfrxShiftMode : int { smDontShift, smAlways, smWhenOverlapped };
ORV_RTTI_ENUM(TfrxShiftMode, "smDontShift, smAlways, smWhenOverlapped")

enum TfrxStretchMode : int { smDontStretch, smActualHeight, smMaxHeight };
ORV_RTTI_ENUM(TfrxStretchMode, "smDontStretch, smActualHeight, smMaxHeight")

enum TfrxShapeKind : int { skRectangle, skRoundRectangle, skEllipse, skTriangle, skDiamond, skDiagonal1, skDiagonal2 };
ORV_RTTI_ENUM(TfrxShapeKind, "skRectangle, skRoundRectangle, skEllipse, skTriangle, skDiamond, skDiagonal1, skDiagonal2")

enum TfrxFormatKind : int { fkText, fkNumeric, fkDateTime, fkBoolean };
ORV_RTTI_ENUM(TfrxFormatKind, "fkText, fkNumeric, fkDateTime, fkBoolean")

enum TfrxRestriction : int { rfDontModify, rfDontSize, rfDontMove, rfDontDelete, rfDontEdit };
ORV_RTTI_ENUM(TfrxRestriction, "rfDontModify, rfDontSize, rfDontMove, rfDontDelete, rfDontEdit")
ORV_RTTI_SET(TfrxRestrictions, TfrxRestriction)

enum TFontStyle : int { fsBold, fsItalic, fsUnderline, fsStrikeOut };
ORV_RTTI_ENUM(TFontStyle, "fsBold, fsItalic, fsUnderline, fsStrikeOut")
ORV_RTTI_SET(TFontStyles, TFontStyle)

enum TPrinterOrientation : int { poPortrait, poLandscape };
ORV_RTTI_ENUM(TPrinterOrientation, "poPortrait, poLandscape")

enum TfrxDuplexMode : int { dmNone, dmVertical, dmHorizontal, dmSimplex };
ORV_RTTI_ENUM(TfrxDuplexMode, "dmNone, dmVertical, dmHorizontal, dmSimplex")

enum TfrxPrintMode : int { pmDefault, pmSplit, pmJoin, pmScale };
ORV_RTTI_ENUM(TfrxPrintMode, "pmDefault, pmSplit, pmJoin, pmScale")

enum TfrxPrintPages : int { ppAll, ppOdd, ppEven };
ORV_RTTI_ENUM(TfrxPrintPages, "ppAll, ppOdd, ppEven")

enum TfrxZoomMode : int { zmDefault, zmWholePage, zmPageWidth, zmManyPages };
ORV_RTTI_ENUM(TfrxZoomMode, "zmDefault, zmWholePage, zmPageWidth, zmManyPages")

enum TfrxPreviewButton : int {
    pbPrint, pbLoad, pbSave, pbExport, pbZoom, pbFullScreen, pbOutline, pbThumbnails, pbPageSetup, pbEdit,
    pbNavigator, pbClose
};
ORV_RTTI_ENUM(TfrxPreviewButton, "pbPrint, pbLoad, pbSave, pbExport, pbZoom, pbFullScreen, pbOutline, "
                                 "pbThumbnails, pbPageSetup, pbEdit, pbNavigator, pbClose")
ORV_RTTI_SET(TfrxPreviewButtons, TfrxPreviewButton)

enum TfrxSilentMode : int { simMessageBoxes, simSilent, simReThrow };
ORV_RTTI_ENUM(TfrxSilentMode, "simMessageBoxes, simSilent, simReThrow")

enum TfrxRangeBegin : int { rbFirst, rbCurrent };
ORV_RTTI_ENUM(TfrxRangeBegin, "rbFirst, rbCurrent")

enum TfrxRangeEnd : int { reLast, reCurrent, reCount };
ORV_RTTI_ENUM(TfrxRangeEnd, "reLast, reCurrent, reCount")

enum TfrxFieldType : int { fftNumeric, fftString, fftBoolean };
ORV_RTTI_ENUM(TfrxFieldType, "fftNumeric, fftString, fftBoolean")

enum TfrxProgressType : int { ptRunning, ptExporting, ptPrinting };
ORV_RTTI_ENUM(TfrxProgressType, "ptRunning, ptExporting, ptPrinting")

enum TfrxObjectCategory : int { ctData, ctReport, ctDialog, ctDMP };
ORV_RTTI_ENUM(TfrxObjectCategory, "ctData, ctReport, ctDialog, ctDMP")
ORV_RTTI_SET(TfrxObjectCategories, TfrxObjectCategory)

enum TFormBorderStyle : int { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
ORV_RTTI_ENUM(TFormBorderStyle, "bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin")

enum TPosition : int {
    poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter, poDesktopCenter, poMainFormCenter,
    poOwnerFormCenter
};
ORV_RTTI_ENUM(TPosition, "poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter, "
                         "poDesktopCenter, poMainFormCenter, poOwnerFormCenter")

enum TWindowState : int { wsNormal, wsMinimized, wsMaximized };
ORV_RTTI_ENUM(TWindowState, "wsNormal, wsMinimized, wsMaximized")

enum TBrushKind : int { bkNone, bkSolid, bkGradient, bkBitmap, bkResource };
ORV_RTTI_ENUM(TBrushKind, "bkNone, bkSolid, bkGradient, bkBitmap, bkResource")

enum TfrxInheriteMode : int { imDefault, imDelete, imRename };
ORV_RTTI_ENUM(TfrxInheriteMode, "imDefault, imDelete, imRename")

// Flags of a report object's style.
enum TfrxComponentStyleFlag : int { csContainer, csPreviewVisible, csDefaultDiff };
ORV_RTTI_ENUM(TfrxComponentStyleFlag, "csContainer, csPreviewVisible, csDefaultDiff")
ORV_RTTI_SET(TfrxComponentStyle, TfrxComponentStyleFlag)

// A rectangle of four doubles: Left, Top, Right, Bottom.
struct TfrxRect {
    double Left = 0;
    double Top = 0;
    double Right = 0;
    double Bottom = 0;
};

} // namespace orv::report
