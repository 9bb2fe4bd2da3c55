#pragma once
// The common dialogs scripts create: file dialogs answer through the program's file
// dialog service; the print dialogs carry only what they publish.
#include "platform/core/reflection.h"

namespace orv::script::bridges {

class CommonDialog : public platform::Component {
    ORV_RTTI_CLASS(CommonDialog)
public:
    using platform::Component::Component;
    virtual bool Execute() { return false; }
};

class OpenDialog : public CommonDialog {
    ORV_RTTI_CLASS(OpenDialog)
public:
    using CommonDialog::CommonDialog;
    bool Execute() override;
    QString FileName() const { return m_fileName; }
    void SetFileName(const QString& v) { m_fileName = v; }
    QString Filter() const { return m_filter; }
    void SetFilter(const QString& v) { m_filter = v; }
    QString InitialDir() const { return m_initialDir; }
    void SetInitialDir(const QString& v) { m_initialDir = v; }
    QString Title() const { return m_title; }
    void SetTitle(const QString& v) { m_title = v; }

private:
    QString m_fileName, m_filter, m_initialDir, m_title;
};

class SaveDialog : public OpenDialog {
    ORV_RTTI_CLASS(SaveDialog)
public:
    using OpenDialog::OpenDialog;
};

class PrintDialog : public platform::Component {
    ORV_RTTI_CLASS(PrintDialog)
public:
    using platform::Component::Component;
};

class PrinterSetupDialog : public platform::Component {
    ORV_RTTI_CLASS(PrinterSetupDialog)
public:
    using platform::Component::Component;
};

} // namespace orv::script::bridges
