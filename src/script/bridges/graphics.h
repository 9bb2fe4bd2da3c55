#pragma once
// Drawing for scripts: canvases over the program's canvas layer, bitmaps, fonts and
// brushes. A canvas object either borrows a canvas that is being painted on (a window's
// paint, a test's recording canvas) or draws on its bitmap between BeginScene and
// EndScene.
#include "platform/core/canvas.h"
#include "script/bridges/common.h"

#include <QImage>
#include <QPainter>
#include <QPen>
#include <QPainterPath>
#include <memory>

namespace orv::script::bridges {

class FontObject : public platform::Persistent {
    ORV_RTTI_CLASS(FontObject)
public:
    QString Family() const { return font.family; }
    void SetFamily(const QString& v) { font.family = v; }
    float Size() const { return float(font.size); }
    void SetSize(float v) { font.size = v; }
    // fsBold 1, fsItalic 2, fsUnderline 4, fsStrikeout 8.
    int Style() const;
    void SetStyle(int bits);
    void Assign(const platform::Persistent* Source) override;
    platform::CanvasFont font;
};

class BrushObject : public platform::Persistent {
    ORV_RTTI_CLASS(BrushObject)
public:
    // bkNone 0, bkSolid 1, bkGradient 2, bkBitmap 3, bkResource 4.
    int Kind() const { return m_kind; }
    void SetKind(int v) { m_kind = v; }
    int Color() const { return int(m_color); }
    void SetColor(int v) { m_color = quint32(v); }
    void Reset(int kind, quint32 color)
    {
        m_kind = m_defaultKind = kind;
        m_color = m_defaultColor = color;
    }
    int DefaultKind() const { return m_defaultKind; }
    int DefaultColor() const { return int(m_defaultColor); }
    // The colour a drawing call uses: none unless the brush paints.
    quint32 paintColor() const { return m_kind == 0 ? 0 : m_color; }
    void Assign(const platform::Persistent* Source) override;

private:
    int m_kind = 1, m_defaultKind = 1;
    quint32 m_color = 0xFF000000, m_defaultColor = 0xFF000000;
};

class StrokeBrushObject : public BrushObject {
    ORV_RTTI_CLASS(StrokeBrushObject)
};

class CanvasSaveState : public platform::Persistent {
    ORV_RTTI_CLASS(CanvasSaveState)
};

class BitmapObject;

class CanvasObject : public platform::Persistent {
    ORV_RTTI_CLASS(CanvasObject)
public:
    // A canvas being painted on, which stays its owner's.
    explicit CanvasObject(platform::Canvas* borrowed = nullptr);
    ~CanvasObject() override;
    // The canvas of a bitmap.
    explicit CanvasObject(BitmapObject* bitmap);

    bool BeginScene();
    void EndScene();
    // The canvas to draw on, with the stroke, fill and font of this object applied; a
    // bitmap's canvas outside a scene measures only.
    platform::Canvas& canvas();
    int Width() const;
    int Height() const;
    float StrokeThickness() const { return m_strokeThickness; }
    void SetStrokeThickness(float v) { m_strokeThickness = v; }
    // sdSolid 0 ... sdDashDotDot 4, sdCustom 5 (the pattern of SetCustomDash).
    int strokeDash = 0;
    int strokeCap = 0;  // scFlat, scRound
    int strokeJoin = 0; // sjMiter, sjRound, sjBevel
    QList<qreal> customDash;
    double customDashOffset = 0;
    // The pen of this canvas's stroke, as the path members draw with it.
    QPen pen() const;

    FontObject& font() { return *m_font; }
    BrushObject& fill() { return *m_fill; }
    BrushObject& stroke() { return *m_stroke; }

private:
    platform::Canvas* m_borrowed = nullptr;
    BitmapObject* m_bitmap = nullptr;
    std::unique_ptr<QPainter> m_painter;
    std::unique_ptr<platform::Canvas> m_own;
    std::unique_ptr<platform::Canvas> m_measure;
    std::unique_ptr<FontObject> m_font;
    std::unique_ptr<BrushObject> m_fill;
    std::unique_ptr<StrokeBrushObject> m_stroke;
    float m_strokeThickness = 1;
};

class BitmapObject : public platform::Persistent {
    ORV_RTTI_CLASS(BitmapObject)
public:
    ~BitmapObject() override;
    int Width() const { return image.width(); }
    void SetWidth(int w) { SetSize(w, Height()); }
    int Height() const { return image.height(); }
    void SetHeight(int h) { SetSize(Width(), h); }
    void SetSize(int w, int h);
    CanvasObject& canvasObject();
    QImage image;

private:
    std::unique_ptr<CanvasObject> m_canvas;
};

// Path data as text: the commands M, L, H, V, C, S, Q, T and Z (lower case: relative),
// numbers separated by blanks or commas.
QPainterPath pathFromData(const QString& data);
QString dataFromPath(const QPainterPath& path);

class PathData : public platform::Persistent {
    ORV_RTTI_CLASS(PathData)
public:
    QString Data() const { return dataFromPath(path); }
    void SetData(const QString& d) { path = pathFromData(d); }
    void Assign(const platform::Persistent* Source) override;
    QPainterPath path;
};

class StringList;

// The lines a text takes in a rectangle, as MeasureLines leaves them.
class LineMetricInfo : public platform::rtti::Object {
    ORV_RTTI_CLASS(LineMetricInfo)
public:
    LineMetricInfo();
    ~LineMetricInfo() override;
    int Count() const;
    StringList* Lines() const { return m_lines.get(); }
    void setLines(const std::vector<QString>& lines);

private:
    std::unique_ptr<StringList> m_lines;
};

} // namespace orv::script::bridges
