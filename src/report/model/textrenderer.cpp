#include "report/model/textrenderer.h"

#include "platform/core/canvas.h"
#include "platform/core/formats.h"
#include "platform/core/text.h"
#include "report/base/errors.h"
#include "report/base/utils.h"
#include "report/model/component.h"

#include <QColor>

#include <algorithm>
#include <limits>
#include <cmath>

namespace orv::report {

namespace {

bool startsWithAZ(const QString& text, qsizetype at, QStringView tag)
{
    if (at + tag.size() > text.size())
        return false;
    for (qsizetype k = 0; k < tag.size(); ++k)
        if (orv::platform::lowerAZ(text[at + k]) != tag[k])
            return false;
    return true;
}

// A colour as text: a name with or without "cla", hexadecimal after "#", "x" or "$", or
// a decimal number. Six hexadecimal digits name an opaque colour.
TAlphaColor stringToAlphaColor(QString value)
{
    value = orv::platform::trimmed(value);
    if (value.startsWith(u'#') || value.startsWith(u'$') || value.startsWith(u'x') || value.startsWith(u'X')) {
        const QString digits = value.mid(1);
        bool ok = false;
        const quint32 v = digits.toUInt(&ok, 16);
        if (ok && !digits.isEmpty() && digits.size() <= 8)
            return digits.size() <= 6 ? (v | 0xFF000000u) : v;
    } else if (!value.isEmpty() && (value[0].isDigit() || value[0] == u'-')) {
        qint64 v = 0;
        if (orv::platform::tryStrToInt64(value, v))
            return TAlphaColor(quint32(v));
    } else {
        QString name = value;
        if (name.size() > 3 && orv::platform::lowerAZ(name.left(3)) == u"cla")
            name = name.mid(3);
        if (orv::platform::lowerAZ(name) == u"null")
            return claNull;
        const QColor c = QColor::fromString(orv::platform::lowerAZ(name));
        if (c.isValid() && !name.startsWith(u'#'))
            return c.rgba();
    }
    throw orv::report::ConvertError(QStringLiteral("'%1' is not a valid colour").arg(value));
}

} // namespace

// ---------------------------------------------------------------- tree

TRun::TRun(TWord* word, const QString& text, const TStyleDescriptor& style) : Text(text), Style(style), Word(word)
{
    TAdvancedTextRenderer* r = word->Line->Paragraph->Renderer;
    r->AssignRunFont(style, true);
    Width = r->MeasureTextWidth(text);
}

double TRun::Top() const
{
    const TAdvancedTextRenderer* r = Word->Line->Paragraph->Renderer;
    double top = Word->Line->Top;
    if (Style.BaseLine == Subscript)
        top += 0.45 * r->FontLineHeight;
    else if (Style.BaseLine == Superscript)
        top -= 0.15 * r->FontLineHeight;
    return top;
}

double TWord::Width() const
{
    if (m_width < 0) {
        m_width = 0;
        for (const auto& run : Runs)
            m_width += run->Width;
    }
    return m_width;
}

double TWord::Top() const { return Line->Top; }

bool TLine::IsLast() const { return !Paragraph->Lines.empty() && Paragraph->Lines.back().get() == this; }

TStyleDescriptor TLine::Style() const
{
    if (Words.empty() || Words.front()->Runs.empty())
        return TStyleDescriptor{};
    return Words.front()->Runs.front()->Style;
}

bool TParagraph::IsLast() const
{
    return !Renderer->Paragraphs.empty() && Renderer->Paragraphs.back().get() == this;
}

// ---------------------------------------------------------------- renderer

TAdvancedTextRenderer::TAdvancedTextRenderer(orv::platform::Canvas* aCanvas, const QString& aText, TfrxFont* aFont,
                                             const QRectF& rect, int aHorzAlign, int aVertAlign, double aLineHeight,
                                             int aAngle, bool aWordWrap, bool aForceJustify, bool aHtmlTags,
                                             bool aPdfMode)
    : Text(aText), Canvas(aCanvas), Font(aFont), DisplayRect(rect), HorzAlign(aHorzAlign), VertAlign(aVertAlign),
      Angle(aAngle), ForceJustify(aForceJustify), HtmlTags(aHtmlTags), WordWrap(aWordWrap), PDFMode(aPdfMode)
{
    FontLineHeight = Font->GetHeight() + 2;
    LineHeight = aLineHeight != 0 ? aLineHeight : FontLineHeight;
    Font->AssignToCanvas(*Canvas);
    SpaceWidth = MeasureTextWidth(QStringLiteral(" "));
    if (Angle != 0) {
        double w = rect.width(), h = rect.height();
        if ((Angle >= 90 && Angle <= 179) || (Angle >= 270 && Angle <= 359))
            std::swap(w, h);
        DisplayRect = QRectF(-w / 2, -h / 2, w, h);
    }
    buildParagraphs();
    placeLines();
    DisplayRect = rect;
}

TAdvancedTextRenderer::~TAdvancedTextRenderer() = default;

void TAdvancedTextRenderer::AssignRunFont(const TStyleDescriptor& style, bool decorations)
{
    Font->AssignToCanvas(*Canvas);
    if (style.BaseLine != Normal)
        Canvas->font.size *= 0.6;
    Canvas->font.bold = style.FontStyle.contains(fsBold);
    Canvas->font.italic = style.FontStyle.contains(fsItalic);
    Canvas->font.underline = decorations && style.FontStyle.contains(fsUnderline);
    Canvas->font.strikeOut = decorations && style.FontStyle.contains(fsStrikeOut);
    Canvas->fillColor = style.Color;
}

double TAdvancedTextRenderer::MeasureTextWidth(const QString& aText) { return Canvas->textWidth(aText); }

double TAdvancedTextRenderer::GetTabPosition(double pos)
{
    if (pos < 0)
        return 0;
    return (std::trunc(pos / 64) + 1) * 64;
}

void TAdvancedTextRenderer::buildParagraphs(std::vector<int>* startsOnly)
{
    TStyleDescriptor style{Font->Style(), Font->Color(), Normal};
    // Plain text that does not wrap keeps every paragraph on one line: nothing to measure.
    const bool oneLineEach = !(WordWrap || HtmlTags);
    // Empty paragraphs at the end give no lines.
    size_t keptStarts = 0;
    int index = 0;
    qsizetype start = 0;
    while (start <= Text.size()) {
        qsizetype lf = Text.indexOf(u'\n', start);
        const bool last = lf < 0;
        if (last)
            lf = Text.size();
        qsizetype length = lf - start;
        const int rawLength = int(length);
        if (length > 0 && Text[start + length - 1] == u'\r')
            --length;
        ++ParagraphsLaidOut;
        if (startsOnly && oneLineEach) {
            startsOnly->push_back(index);
            if (length > 0)
                keptStarts = startsOnly->size();
        } else {
            auto para = std::make_unique<TParagraph>(this);
            para->Text = Text.mid(start, length);
            para->OriginalCharIndex = index;
            TParagraph* p = para.get();
            Paragraphs.push_back(std::move(para));
            breakParagraph(p, style);
            if (startsOnly) {
                for (const auto& line : p->Lines)
                    startsOnly->push_back(line->OriginalCharIndex);
                if (!p->IsEmpty())
                    keptStarts = startsOnly->size();
                Paragraphs.pop_back();
            }
        }
        index += rawLength + 1;
        if (last)
            break;
        start = lf + 1;
    }
    if (startsOnly)
        startsOnly->resize(keptStarts);
    while (!Paragraphs.empty() && Paragraphs.back()->IsEmpty())
        Paragraphs.pop_back();
}

std::vector<int> TAdvancedTextRenderer::LineStarts(orv::platform::Canvas* aCanvas, const QString& aText, TfrxFont* aFont,
                                                   double aWidth, bool aWordWrap, bool aHtmlTags)
{
    TAdvancedTextRenderer r(aCanvas, QString(), aFont, QRectF(0, 0, aWidth, 0), haLeft, vaTop, 0, 0, aWordWrap, false,
                            aHtmlTags, false);
    r.Paragraphs.clear();
    r.Text = aText;
    std::vector<int> starts;
    r.buildParagraphs(&starts);
    return starts;
}

int TAdvancedTextRenderer::matchTag(const QString& text, qsizetype i, TStyleDescriptor& style) const
{
    struct Simple {
        const char16_t* tag;
        TFontStyle flag;
        bool on;
    };
    static const Simple simple[] = {
        {u"<b>", fsBold, true},           {u"</b>", fsBold, false},
        {u"<i>", fsItalic, true},         {u"</i>", fsItalic, false},
        {u"<u>", fsUnderline, true},      {u"</u>", fsUnderline, false},
        {u"<strike>", fsStrikeOut, true}, {u"</strike>", fsStrikeOut, false},
    };
    for (const Simple& t : simple) {
        const QStringView tag(t.tag);
        if (startsWithAZ(text, i, tag)) {
            if (t.on)
                style.FontStyle.include(t.flag);
            else
                style.FontStyle.exclude(t.flag);
            return int(tag.size());
        }
    }
    if (startsWithAZ(text, i, u"<sub>")) {
        style.BaseLine = Subscript;
        return 5;
    }
    if (startsWithAZ(text, i, u"<sup>")) {
        style.BaseLine = Superscript;
        return 5;
    }
    if (startsWithAZ(text, i, u"</sub>") || startsWithAZ(text, i, u"</sup>")) {
        style.BaseLine = Normal;
        return 6;
    }
    if (startsWithAZ(text, i, u"</font>")) {
        style.Color = Font->Color();
        return 7;
    }
    static const QStringView fontColor(u"<font color=");
    if (startsWithAZ(text, i, fontColor)) {
        const qsizetype close = text.indexOf(u'>', i + fontColor.size());
        if (close < 0)
            return 0;
        QString value = text.mid(i + fontColor.size(), close - i - fontColor.size());
        if (value.size() >= 2 && value.startsWith(u'"') && value.endsWith(u'"'))
            value = value.mid(1, value.size() - 2);
        style.Color = stringToAlphaColor(value);
        return int(close - i + 1);
    }
    return 0;
}

void TAdvancedTextRenderer::breakParagraph(TParagraph* para, TStyleDescriptor& style)
{
    const QString& text = para->Text;
    const int base = para->OriginalCharIndex;
    // Plain text without word wrap keeps each paragraph on one line (clipped when drawn);
    // formatted paragraphs always flow within the width.
    const double width = (WordWrap || HtmlTags) ? DisplayRect.width() : std::numeric_limits<double>::infinity();
    TLine* line = new TLine(para);
    line->OriginalCharIndex = base;
    para->Lines.emplace_back(line);
    TWord* word = new TWord(line);
    line->Words.emplace_back(word);
    QString run;
    double w = 0;
    bool wordStart = true;
    int p = base;
    auto flush = [&] {
        if (!run.isEmpty()) {
            word->Runs.push_back(std::make_unique<TRun>(word, run, style));
            run.clear();
        }
    };
    // Takes the current word off the line into a new line of its own.
    auto moveWordToNewLine = [&](int index) {
        auto it = std::find_if(line->Words.begin(), line->Words.end(), [&](auto& x) { return x.get() == word; });
        std::unique_ptr<TWord> moved = std::move(*it);
        line->Words.erase(it);
        TLine* next = new TLine(para);
        next->OriginalCharIndex = index;
        moved->Line = next;
        next->Words.push_back(std::move(moved));
        para->Lines.emplace_back(next);
        line = next;
    };

    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar c = text[i];
        if (HtmlTags && c == u'<') {
            TStyleDescriptor next = style;
            const int length = matchTag(text, i, next);
            if (length > 0) {
                flush();
                style = next;
                i += length;
                if (i < n)
                    continue;
                // The tag ended the paragraph.
                w += word->Width() + SpaceWidth;
                if (w > width && line->Words.size() >= 2)
                    moveWordToNewLine(p);
                return;
            }
        }
        const bool isLast = i == n - 1;
        if (c != u' ' && c != u'\t' && !isLast) {
            run += c;
            wordStart = false;
            ++i;
            continue;
        }
        if (isLast) {
            run += c;
            wordStart = false;
        }
        if (c == u'\t')
            wordStart = false;
        if (wordStart) {
            // Blanks before any character of a word belong to it.
            run += c;
            ++i;
            continue;
        }
        flush();
        w += word->Width() + SpaceWidth;
        if (w > width) {
            w = 0;
            if (line->Words.size() < 2) {
                // The over-wide word stays alone on its line.
                TLine* next = new TLine(para);
                next->OriginalCharIndex = base + int(i) + 2;
                para->Lines.emplace_back(next);
                line = next;
            } else {
                moveWordToNewLine(p);
                w = word->Width() + SpaceWidth;
            }
        }
        if (c == u'\t') {
            if (word->Runs.empty()) {
                TLine* owner = word->Line;
                auto it = std::find_if(owner->Words.begin(), owner->Words.end(),
                                       [&](auto& x) { return x.get() == word; });
                if (it != owner->Words.end())
                    owner->Words.erase(it);
            }
            line->Words.push_back(std::make_unique<TTab>(line));
            w = GetTabPosition(w);
        }
        if (!isLast) {
            word = new TWord(line);
            line->Words.emplace_back(word);
            run.clear();
            p = base + int(i) + 2;
            wordStart = true;
        }
        ++i;
    }
}

void TAdvancedTextRenderer::placeLines()
{
    int lines = 0;
    for (const auto& para : Paragraphs)
        lines += int(para->Lines.size());
    const double total = lines * LineHeight;
    double y = DisplayRect.top();
    if (VertAlign == vaCenter)
        y = DisplayRect.top() + (DisplayRect.height() - total) / 2;
    else if (VertAlign == vaBottom)
        y = DisplayRect.top() + (DisplayRect.height() - total) - 1;
    for (const auto& para : Paragraphs) {
        for (const auto& line : para->Lines) {
            int align = HorzAlign;
            if (align == haBlock && line->IsLast() && !(ForceJustify && para->IsLast()))
                align = haLeft;
            alignLine(line.get(), align);
            line->Top = y;
            collectRanges(line.get());
            y += LineHeight;
        }
    }
}

void TAdvancedTextRenderer::alignLine(TLine* line, int align)
{
    double pos = 0;
    for (auto it = line->Words.begin(); it != line->Words.end();) {
        TWord* word = it->get();
        word->Left = pos;
        if (word->IsTab()) {
            pos = GetTabPosition(pos);
            it = line->Words.erase(it);
            continue;
        }
        pos += word->Width() + SpaceWidth;
        ++it;
    }
    line->Width = pos;
    const double R = DisplayRect.width();
    const int count = int(line->Words.size());
    for (int i = 0; i < count; ++i) {
        TWord* word = line->Words[size_t(i)].get();
        double shift = 0;
        if (align == haBlock) {
            if (count > 1)
                shift = i * (R - line->Width) / (count - 1);
        } else if (align == haCenter) {
            shift = (R - line->Width) / 2;
        } else if (align == haRight) {
            shift = R - (line->Width - SpaceWidth);
        }
        word->Left += shift + DisplayRect.left();
        double x = word->Left;
        for (const auto& run : word->Runs) {
            run->Left = x;
            x += run->Width;
        }
    }
}

void TAdvancedTextRenderer::collectRanges(TLine* line)
{
    auto collect = [&](TFontStyle flag, QList<QRectF>& out) {
        bool open = false;
        double left = 0, right = 0;
        for (const auto& word : line->Words)
            for (const auto& run : word->Runs) {
                if (run->Style.FontStyle.contains(flag)) {
                    if (!open)
                        left = run->Left;
                    open = true;
                    right = run->Left + run->Width;
                } else if (open) {
                    out << QRectF(QPointF(left, line->Top), QPointF(right, line->Top));
                    open = false;
                }
            }
        if (open)
            out << QRectF(QPointF(left, line->Top), QPointF(right, line->Top));
    };
    collect(fsUnderline, line->Underlines);
    collect(fsStrikeOut, line->Strikeouts);
}

void TAdvancedTextRenderer::Draw()
{
    Canvas->saveState();
    Canvas->intersectClipRect(DisplayRect);
    if (Angle != 0) {
        // Turned about the rectangle's centre, on top of whatever the canvas does.
        const QPointF centre = DisplayRect.center();
        QTransform rotation;
        rotation.translate(centre.x(), centre.y());
        rotation.rotate(-Angle);
        Canvas->setMatrix(rotation * Canvas->matrix());
    }
    for (const auto& para : Paragraphs)
        for (const auto& line : para->Lines) {
            for (const auto& word : line->Words)
                for (const auto& run : word->Runs) {
                    AssignRunFont(run->Style, false);
                    Canvas->drawTextLine(QPointF(run->Left, run->Top()), run->Text);
                }
            if (line->Underlines.isEmpty() && line->Strikeouts.isEmpty())
                continue;
            const int t = frxRound(Font->Size() * 0.1);
            Canvas->strokeThickness = t;
            Canvas->strokeColor = Font->Color();
            Canvas->strokeDash = orv::platform::StrokeDash::Solid;
            const double q = 0.1 * FontLineHeight;
            auto snap = [&](double v) { return (t % 2 != 0) ? frxRound(v) + 0.5 : double(frxRound(v)); };
            for (const QRectF& r : line->Underlines) {
                const double y = snap(line->Top + FontLineHeight - q);
                Canvas->drawLine(QPointF(r.left() + q, y), QPointF(r.right() + q, y));
            }
            for (const QRectF& r : line->Strikeouts) {
                const double y = snap(line->Top + FontLineHeight / 2);
                Canvas->drawLine(QPointF(r.left() + q, y), QPointF(r.right() + q, y));
            }
        }
    Canvas->restoreState();
}

double TAdvancedTextRenderer::CalcHeight()
{
    int charsFit = 0;
    TStyleDescriptor style;
    return CalcHeight(charsFit, style);
}

double TAdvancedTextRenderer::CalcHeight(int& charsFit, TStyleDescriptor& style)
{
    charsFit = 0;
    style = TStyleDescriptor{};
    if (LineHeight > DisplayRect.height())
        return 0;
    double s = 0;
    bool overflowed = false;
    for (const auto& para : Paragraphs)
        for (const auto& line : para->Lines) {
            s += LineHeight;
            if (!overflowed && s > DisplayRect.height()) {
                overflowed = true;
                charsFit = line->OriginalCharIndex;
                if (HtmlTags)
                    style = line->Style();
            }
        }
    if (!overflowed)
        charsFit = int(Text.size());
    return s;
}

double TAdvancedTextRenderer::CalcWidth()
{
    double widest = 0;
    for (const auto& para : Paragraphs)
        for (const auto& line : para->Lines)
            widest = std::max(widest, line->Width);
    return widest + SpaceWidth;
}

QStringList TAdvancedTextRenderer::LineTexts() const
{
    QStringList out;
    for (const auto& para : Paragraphs) {
        const int paraStart = para->OriginalCharIndex; // 0-based start in Text
        const int paraEnd = paraStart + int(para->Text.size());
        const auto& lines = para->Lines;
        for (size_t k = 0; k < lines.size(); ++k) {
            const int start = k == 0 ? paraStart : lines[k]->OriginalCharIndex - 1;
            // A wrapped line ends before the blank at which the next one starts.
            const int end = k + 1 < lines.size() ? lines[k + 1]->OriginalCharIndex - 2 : paraEnd;
            out << Text.mid(start, std::max(0, std::min(end, paraEnd) - start));
        }
    }
    return out;
}

} // namespace orv::report
