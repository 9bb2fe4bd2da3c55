#pragma once
// The year menu of the quotes and of the delivery notes: it asks for the calendar year
// whose archive is to be worked on, hands the editor that year's file and caption, and
// shows the editor when it closes; its exit leads back to the main menu. It also opens
// the company-logo window and the documents' help.
#include "platform/ui/art.h"
#include "platform/ui/form.h"

namespace orv::documents {

struct YearMenuSpec {
    QString formName;      // "frmMenuPreventivi"
    QString caption;       // " Orvanta 4.0 - Emissione preventivi"
    QString info;          // the line under the heading
    QString band;          // the year's frame: "Emissione preventivi:"
    QString heading;       // the words of the heading picture
    platform::ui::art::Icon icon = platform::ui::art::Icon::Quote;
    QString openTag;       // the tag a successful open leaves: "preventivi"
    QString editorName;    // the editor's global instance: "frmPreventivi"
    QString editorCaption; // " Orvanta 4.0 - Emissione preventivi anno " (the year follows)
    QString extension;     // ".pre"
};

class YearMenu : public platform::ui::Form {
public:
    ORV_CONTROL(Panel, panContainer);
    ORV_CONTROL(Label, intAnnoPreventivi);
    ORV_CONTROL(Label, titAnnoPreventivi);
    ORV_CONTROL(Edit, txtAnnoPreventivi);
    ORV_CONTROL(Button, btnApriPreventivi);
    ORV_CONTROL(Label, lnkWeb);
    ORV_CONTROL(Image, imgEmail);
    ORV_CONTROL(Image, imgGuida);
    ORV_CONTROL(Image, imgEsci);
    ORV_CONTROL(Label, lblMemory);

    void FormCreate();
    void FormShow();
    void FormClose(platform::ui::CloseAction& action);
    void txtAnnoPreventiviKeyDown(platform::ui::Word& key, QChar& keyChar, platform::ui::ShiftState shift);
    void btnApriPreventiviClick();
    void imgEsciClick();
    void imgGuidaClick();
    void lnkWebClick();
    void lnkWebMouseDown();
    void lnkWebMouseUp();

    // The link's colours: dark blue, orange while the mouse button is down.
    static inline const QColor kLinkColour{0x00, 0x00, 0x8B};
    static inline const QColor kLinkPressed{0xFF, 0xA5, 0x00};

protected:
    YearMenu(QWidget* owner, YearMenuSpec spec);

private:
    YearMenuSpec spec_;
};

} // namespace orv::documents
