#include "script/bridges/dialogs.h"

#include "platform/ui/services.h"
#include "script/bridges/register.h"

namespace orv::script {
using namespace orv::platform;
} // namespace orv::script

namespace orv::script::bridges {

ORV_RTTI_DEFINE_NAMED(CommonDialog, Component, "TCommonDialog") {}
ORV_RTTI_DEFINE_NAMED(OpenDialog, CommonDialog, "TOpenDialog")
{
    c.prop("FileName", &OpenDialog::FileName, &OpenDialog::SetFileName);
    c.prop("Filter", &OpenDialog::Filter, &OpenDialog::SetFilter);
    c.prop("InitialDir", &OpenDialog::InitialDir, &OpenDialog::SetInitialDir);
    c.prop("Title", &OpenDialog::Title, &OpenDialog::SetTitle);
}
ORV_RTTI_DEFINE_NAMED(SaveDialog, OpenDialog, "TSaveDialog") {}
ORV_RTTI_DEFINE_NAMED(PrintDialog, Component, "TPrintDialog") {}
ORV_RTTI_DEFINE_NAMED(PrinterSetupDialog, Component, "TPrinterSetupDialog") {}

bool OpenDialog::Execute()
{
    const std::optional<QString> chosen = platform::ui::fileDialog().openFile({m_title, m_filter, m_initialDir, m_fileName});
    if (!chosen)
        return false;
    m_fileName = *chosen;
    return true;
}

namespace dialogs {

namespace {

// The script's dialog kinds, in their own order: custom, information, warning, error,
// confirmation.
platform::ui::MsgType messageType(int kind)
{
    switch (kind) {
    case 2:
        return platform::ui::MsgType::Warning;
    case 3:
        return platform::ui::MsgType::Error;
    case 4:
        return platform::ui::MsgType::Confirmation;
    default:
        return platform::ui::MsgType::Information;
    }
}

// The script's buttons are bits in their own order: none, OK, Cancel, Yes, No, Abort,
// Retry, Ignore. The message boxes offer Yes, No, OK and Cancel; a box left with no
// button gets OK, so that it can always be closed.
platform::ui::MsgButtons messageButtons(int bits)
{
    platform::ui::MsgButtons b = 0;
    if (bits & 2)
        b |= platform::ui::mbOk;
    if (bits & 4)
        b |= platform::ui::mbCancel;
    if (bits & 8)
        b |= platform::ui::mbYes;
    if (bits & 16)
        b |= platform::ui::mbNo;
    return b ? b : platform::ui::MsgButtons(platform::ui::mbOk);
}

} // namespace

TFunctions::TFunctions(TfsScript* AScript) : BridgeModule(AScript)
{
    TfsScript* s = AScript;
    const TfsCallMethodNewEvent call = callback();
    s->AddEnumSet(QStringLiteral("TOpenOptions"),
                  QStringLiteral("ofReadOnly, ofOverwritePrompt, ofHideReadOnly,ofNoChangeDir, ofShowHelp, "
                                 "ofNoValidate, ofAllowMultiSelect,ofExtensionDifferent, ofPathMustExist, "
                                 "ofFileMustExist, ofCreatePrompt,ofShareAware, ofNoReadOnlyReturn, "
                                 "ofNoTestFileCreate, ofNoNetworkButton,ofNoLongNames, ofOldStyleDialog, "
                                 "ofNoDereferenceLinks, ofEnableIncludeNotify,ofEnableSizing"));
    s->AddEnum(QStringLiteral("TFileEditStyle"), QStringLiteral("fsEdit, fsComboBox"));
    s->AddEnumSet(QStringLiteral("TColorDialogOptions"),
                  QStringLiteral("cdFullOpen, cdPreventFullOpen, cdShowHelp,cdSolidColor, cdAnyColor"));
    s->AddEnumSet(QStringLiteral("TFontDialogOptions"),
                  QStringLiteral("fdAnsiOnly, fdTrueTypeOnly, fdEffects,fdFixedPitchOnly, fdForceFontExist, "
                                 "fdNoFaceSel, fdNoOEMFonts,fdNoSimulations, fdNoSizeSel, fdNoStyleSel,  "
                                 "fdNoVectorFonts,fdShowHelp, fdWysiwyg, fdLimitSize, fdScalableOnly, "
                                 "fdApplyButton"));
    s->AddEnum(QStringLiteral("TFontDialogDevice"), QStringLiteral("fdScreen, fdPrinter, fdBoth"));
    s->AddEnum(QStringLiteral("TPrintRange"), QStringLiteral("prAllPages, prSelection, prPageNums"));
    s->AddEnumSet(QStringLiteral("TPrintDialogOptions"),
                  QStringLiteral("poPrintToFile, poPageNums, poSelection,poWarning, poHelp, poDisablePrintToFile"));
    s->AddEnum(QStringLiteral("TMsgDlgType"),
               QStringLiteral("mtCustom, mtInformation, mtWarning, mtError, mtConfirmation"));
    s->AddEnumSet(QStringLiteral("TMsgDlgButtons"),
                  QStringLiteral("mbNone, mbOk, mbCancel, mbYes, mbNo, mbAbort, mbRetry, mbIgnore"));
    if (auto* c = s->AddClass(&CommonDialog::staticClassInfo(), QStringLiteral("TComponent")))
        c->AddMethod(QStringLiteral("function Execute: Boolean"), call);
    s->AddClass(&OpenDialog::staticClassInfo(), QStringLiteral("TCommonDialog"));
    s->AddClass(&SaveDialog::staticClassInfo(), QStringLiteral("TCommonDialog"));
    s->AddClass(&PrintDialog::staticClassInfo(), QString());
    s->AddClass(&PrinterSetupDialog::staticClassInfo(), QString());
    const QString other = QStringLiteral("ctOther");
    s->AddMethod(QStringLiteral("function MessageDlg(Msg: string; DlgType: TMsgDlgType; Buttons: TMsgDlgButtons; "
                                "HelpCtx: Longint): Integer"),
                 call, other);
    s->AddMethod(QStringLiteral("function InputBox(ACaption, APrompt, ADefault: string): string"), call, other);
    s->AddMethod(QStringLiteral("function InputQuery(ACaption, APrompt: string; var Value: string): Boolean"), call,
                 other);
}

Value TFunctions::InvokeMethod(TfsObject Instance, TfsClass ClassType, const QString& m, TfsMethodHelper* c)
{
    if (ClassType == &CommonDialog::staticClassInfo()) {
        if (is(m, "EXECUTE"))
            return Value(self<CommonDialog>(Instance).Execute());
        return Value(0);
    }
    if (is(m, "INPUTBOX"))
        return Value(platform::ui::messages().inputBox(argString(c, 0), argString(c, 1), argString(c, 2)));
    if (is(m, "INPUTQUERY")) {
        QString value = argString(c, 2);
        const bool ok = platform::ui::messages().inputQuery(argString(c, 0), argString(c, 1), value);
        c->SetVParam(2, Value(value));
        return Value(ok);
    }
    if (is(m, "MESSAGEDLG"))
        return Value(platform::ui::messages().messageDlg(argString(c, 0), messageType(argInt(c, 1)),
                                               messageButtons(argInt(c, 2) & 0xFFFF)));
    return Value(0);
}

Value TFunctions::ReadProperty(TfsObject, TfsClass, const QString&) { return Value(0); }
void TFunctions::WriteProperty(TfsObject, TfsClass, const QString&, const Value&) {}

} // namespace dialogs

} // namespace orv::script::bridges
