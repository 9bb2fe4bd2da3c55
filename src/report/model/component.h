#pragma once
// The report object tree: every object of a layout (the report, its pages, bands, views,
// datasets) is a TfrxComponent with a parent and ordered children, a name unique within
// its report, geometry in report pixels and a font that may follow its parent's.
#include "platform/core/reflection.h"
#include "report/base/types.h"

#include <QFont>
#include <QIODevice>
#include <QList>
#include <QString>

#include <functional>
#include <memory>

namespace orv::platform {
class Canvas;
}

namespace orv::report {

class TfrxReport;
class TfrxPage;
class TfrxView;
class TfrxBand;
class TfrxCustomMemoView;
class TfrxDataSet;
class TfrxComponent;
class TfrxXMLItem;

// The font of report objects: name, size in points, style, colour.
class TfrxFont : public orv::platform::Persistent {
    ORV_RTTI_CLASS(TfrxFont)
public:
    TfrxFont() = default;

    const QString& Name() const { return m_name; }
    void SetName(const QString& Value);
    float Size() const { return m_size; }
    void SetSize(float Value);
    float PixelsPerInch() const { return m_pixelsPerInch; }
    void SetPixelsPerInch(float Value) { m_pixelsPerInch = Value; }
    TFontStyles Style() const { return m_style; }
    void SetStyle(TFontStyles Value);
    TAlphaColor Color() const { return m_color; }
    void SetColor(TAlphaColor Value);
    // The negative pixel size: -Size x PixelsPerInch / 72.
    double Height() const { return -double(m_size) * m_pixelsPerInch / 72; }
    void SetHeight(double Value) { SetSize(float(Value * -72 / m_pixelsPerInch)); }
    // The pixel size: Size x PixelsPerInch / 72.
    double GetHeight() const { return double(m_size) * m_pixelsPerInch / 72; }

    // Raised after a change of name, size, style or colour (not for an equal value).
    std::function<void()> OnChange;

    // Copies name, size, style and colour (not the pixels per inch), then notifies.
    void Assign(const orv::platform::Persistent* Source) override;
    void AssignToFont(QFont& Font) const;
    // The canvas takes the family, the pixel size (Size x PixelsPerInch / 72, whatever the
    // canvas's resolution), the style, and the colour as its fill colour.
    void AssignToCanvas(orv::platform::Canvas& Canvas) const;
    bool sameAs(const TfrxFont& other) const;

private:
    void changed();
    QString m_name = QStringLiteral("Arial");
    float m_size = 10;
    float m_pixelsPerInch = float(frxPixelsPerInch);
    TFontStyles m_style;
    TAlphaColor m_color = claBlack;
};

class TfrxComponent : public orv::platform::Component {
    ORV_RTTI_CLASS(TfrxComponent)
public:
    // The platform owner is AOwner's report when AOwner is a report object (none when it
    // belongs to no report), else AOwner; a report object AOwner also becomes the parent.
    explicit TfrxComponent(orv::platform::Component* AOwner);
    ~TfrxComponent() override;

    // ------------------------------------------------ tree
    const QList<TfrxComponent*>& Objects() const { return m_objects; }
    // The list itself, for the engine: it empties and refills a band's list while it
    // splits the band, and lends a page's views to a temporary band. The entries keep
    // their Parent, and whoever changes the list puts it back as it was.
    QList<TfrxComponent*>& EngineObjects() { return m_objects; }
    // Every descendant in depth-first pre-order, as a list of its own.
    QList<TfrxComponent*> AllObjects() const;
    virtual QList<TfrxComponent*> ContainerObjects() const { return m_objects; }
    TfrxComponent* Parent() const { return m_parent; }
    // Moves the object to the end of Value's children (not when Value already is the
    // parent) and lets it take Value's font when ParentFont is set.
    virtual void SetParent(TfrxComponent* Value);
    // The nearest page or report among the object and its ancestors.
    TfrxPage* Page() const;
    TfrxReport* Report() const;
    // The object itself when it is a report or a page, without the cost of a type check:
    // Report() and Page() walk up from every object made, named and read back.
    virtual TfrxReport* asReport() { return nullptr; }
    virtual TfrxPage* asPage() { return nullptr; }
    // The same for the kinds that reading back, aligning and exporting prepared pages ask
    // of every object.
    virtual TfrxView* asView() { return nullptr; }
    virtual TfrxBand* asBand() { return nullptr; }
    virtual TfrxCustomMemoView* asMemo() { return nullptr; }

    // ------------------------------------------------ names
    // Unchanged for the same letters in another case; raises EDuplicateName when another
    // object of the report bears the name.
    void SetName(const QString& Value) override;
    // The first object of AllObjects named AName (letters A-Z without case), or nullptr.
    TfrxComponent* FindObject(const QString& AName) const;
    // The first free name BaseName + 1, 2, ...
    void CreateUniqueName();
    QString BaseName() const;
    void SetBaseName(const QString& Value) { m_baseName = Value; }

    // ------------------------------------------------ geometry (report pixels)
    double Left() const { return m_left; }
    double Top() const { return m_top; }
    double Width() const { return m_width; }
    double Height() const { return m_height; }
    virtual void SetLeft(double Value);
    virtual void SetTop(double Value);
    virtual void SetWidth(double Value);
    virtual void SetHeight(double Value);
    void SetBounds(double ALeft, double ATop, double AWidth, double AHeight);
    // The position on the page, added up over the parents.
    double AbsLeft() const;
    double AbsTop() const;

    // ------------------------------------------------ font and flags
    TfrxFont* Font() const { return m_font.get(); }
    // Copies the font; ParentFont becomes false.
    virtual void SetFont(TfrxFont* Value);
    bool ParentFont() const { return m_parentFont; }
    virtual void SetParentFont(bool Value);
    bool IsFontStored() const { return !m_parentFont; }
    bool Visible() const { return m_visible; }
    virtual void SetVisible(bool Value) { m_visible = Value; }
    TfrxRestrictions Restrictions() const { return m_restrictions; }
    void SetRestrictions(TfrxRestrictions Value) { m_restrictions = Value; }
    int GroupIndex() const { return m_groupIndex; }
    void SetGroupIndex(int Value) { m_groupIndex = Value; }
    const QString& Description() const { return m_description; }
    void SetDescription(const QString& Value) { m_description = Value; }

    TfrxComponentStyle frComponentStyle{csPreviewVisible};
    bool IsDesigning() const { return m_isDesigning; }
    void SetIsDesigning(bool Value) { m_isDesigning = Value; }
    bool IsLoading() const { return m_isLoading || hasFlag(orv::platform::ComponentFlag::Loading); }
    void SetIsLoading(bool Value) { m_isLoading = Value; }
    bool IsPrinting() const { return m_isPrinting; }
    void SetIsPrinting(bool Value) { m_isPrinting = Value; }
    bool IsWriting() const { return m_isWriting; }
    void SetIsWriting(bool Value) { m_isWriting = Value; }
    // The object comes from an ancestor layout.
    bool IsAncestor() const { return m_isInherited || hasFlag(orv::platform::ComponentFlag::Ancestor); }
    void SetIsInherited(bool Value) { m_isInherited = Value; }

    // Working links of the engine and the prepared pages.
    QString FAliasName;
    TfrxComponent* FOriginalComponent = nullptr;
    TfrxComponent* FOriginalBand = nullptr;

    // ------------------------------------------------ copying and storage
    // Copy through the template text: properties only; the children are dropped.
    void Assign(const orv::platform::Persistent* Source) override;
    // Copy with children and default values.
    void AssignAll(TfrxComponent* Source, bool Streaming = false);
    // Assign in two halves, for a caller that makes many copies of one unchanged object:
    // the text Assign reads back, and reading such a text into the object.
    static QByteArray AssignText(TfrxComponent* Source);
    void AssignFromText(const QByteArray& Text);
    // The same from such a text already read as a document (of the given format), for a
    // caller that makes a copy for every page: reading the text again costs more than
    // applying it. Reads as the base class's LoadFromStream does.
    void AssignFromDocument(TfrxXMLItem* Root, bool OldFormat);
    // Clears the object, then reads the template text from the stream into it.
    virtual void LoadFromStream(QIODevice& Stream);
    virtual void SaveToStream(QIODevice& Stream, bool SaveChildren = true, bool SaveDefaultValues = false,
                              bool Streaming = false);
    // Frees the children (objects from an ancestor layout are emptied instead).
    virtual void Clear();

    // ------------------------------------------------ difference texts
    virtual QString Diff(TfrxComponent* AComponent);
    QString BaseDiff(TfrxComponent* AComponent);
    QString AllDiff(TfrxComponent* AComponent);

    // ------------------------------------------------ drawing
    // Draws the object at the scales and offsets (device pixels per report pixel, and
    // where the page's printable area starts); nothing in the base.
    virtual void Draw(orv::platform::Canvas* Canvas, double ScaleX, double ScaleY, double OffsetX, double OffsetY) {}

    // ------------------------------------------------ other operations
    // Places the child views by their Align.
    virtual void AlignChildren();
    TfrxDataSet* FindDataSet(TfrxDataSet* DataSet, const QString& DSName) const;
    virtual QString GetDescription() const { return ClassName(); }
    virtual void AddSourceObjects() {}
    virtual void BeforeStartReport() {}
    virtual void OnPaste() {}
    virtual void OnNotify(orv::platform::rtti::Object* Sender) {}
    virtual bool ContainerAdd(TfrxComponent* Obj) { return false; }
    virtual bool ContainerMouseDown(orv::platform::rtti::Object* Sender, int X, int Y) { return false; }
    virtual void ContainerMouseMove(orv::platform::rtti::Object* Sender, int X, int Y) {}
    virtual void ContainerMouseUp(orv::platform::rtti::Object* Sender, int X, int Y) {}
    // After the object and its children have been read from a template.
    virtual void Loaded() {}

protected:
    // Clears the object and reads it from Item, or from the document in Stream without one.
    void loadFrom(QIODevice* Stream, TfrxXMLItem* Item, bool OldFormat);
    // The font changed: ParentFont becomes false and children that follow the font take it.
    virtual void HandleFontChange();
    // Writes one attribute of a difference text: blank, name, "=", quoted value.
    static void addDiff(QString& out, const QString& name, const QString& value);
    // A dialog page's children sit in its window, not on a report page: their absolute
    // position stops there. Kept as a flag because the position is asked for every
    // object of every page an export writes, where a type check per level shows.
    bool m_startsOwnPlane = false;

private:
    static orv::platform::Component* platformOwner(orv::platform::Component* AOwner);
    void collectAll(QList<TfrxComponent*>& out) const;
    TfrxComponent* m_parent = nullptr;
    QList<TfrxComponent*> m_objects;
    std::unique_ptr<TfrxFont> m_font;
    double m_left = 0, m_top = 0, m_width = 0, m_height = 0;
    bool m_parentFont = false;
    bool m_visible = true;
    TfrxRestrictions m_restrictions;
    int m_groupIndex = 0;
    QString m_description;
    QString m_baseName;
    bool m_isDesigning = false, m_isLoading = false, m_isPrinting = false, m_isWriting = false;
    bool m_isInherited = false;
};

// A report object's reference to a dataset, by pointer and by user name. The holder
// hears when the dataset is freed and lets go of it through forget().
class TfrxDataSetLink {
public:
    explicit TfrxDataSetLink(TfrxComponent* holder) : m_holder(holder) {}
    TfrxDataSet* get() const { return m_dataSet; }
    // Also takes the dataset's user name (empty for none).
    void set(TfrxDataSet* ds);
    // The dataset's user name while one is linked, else the stored name.
    QString name() const;
    // Stores the name and links the dataset of that name, as the holder finds it.
    void setName(const QString& name);
    // From the holder's removal notification.
    void forget(const orv::platform::Component* removed);
    // A dataset the holder owns itself is linked without a free notification.
    void setOwnDataSet(const TfrxDataSet* own) { m_own = own; }

private:
    void link(TfrxDataSet* ds);
    TfrxComponent* m_holder;
    TfrxDataSet* m_dataSet = nullptr;
    QString m_name;
    const TfrxDataSet* m_own = nullptr;
};

// The base of everything that can be printed.
class TfrxReportComponent : public TfrxComponent {
    ORV_RTTI_CLASS(TfrxReportComponent)
public:
    explicit TfrxReportComponent(orv::platform::Component* AOwner) : TfrxComponent(AOwner) {}

    // Saves the bounds before the engine prints the object.
    virtual void BeforePrint();
    // Fetches the object's data (nothing in the base).
    virtual void GetData() {}
    // Restores the bounds saved by BeforePrint.
    virtual void AfterPrint();
    virtual QString GetComponentText() const { return QString(); }
    virtual TfrxRect GetRealBounds() const;

    // Names of script procedures run around printing and on clicks in the preview.
    const QString& OnBeforePrint() const { return m_onBeforePrint; }
    void SetOnBeforePrint(const QString& v) { m_onBeforePrint = v; }
    const QString& OnAfterPrint() const { return m_onAfterPrint; }
    void SetOnAfterPrint(const QString& v) { m_onAfterPrint = v; }
    const QString& OnAfterData() const { return m_onAfterData; }
    void SetOnAfterData(const QString& v) { m_onAfterData = v; }
    const QString& OnPreviewClick() const { return m_onPreviewClick; }
    void SetOnPreviewClick(const QString& v) { m_onPreviewClick = v; }
    const QString& OnPreviewDblClick() const { return m_onPreviewDblClick; }
    void SetOnPreviewDblClick(const QString& v) { m_onPreviewDblClick = v; }

    TfrxRect SavedBounds;
    // Objects that move with this one when it grows; filled by the engine.
    QList<TfrxComponent*> ShiftList;
    double FShiftAmount = 0;
    QList<TfrxComponent*> FShiftChildren;

private:
    QString m_onBeforePrint, m_onAfterPrint, m_onAfterData, m_onPreviewClick, m_onPreviewDblClick;
};

} // namespace orv::report
