#pragma once
// The platform's font lookup: which TrueType face serves a family, weight and slant, and
// its bytes. Text measuring and the PDF writer both read glyph metrics from the face it
// returns, so what is measured, printed and embedded is the same face.
#include <QByteArray>
#include <QString>
#include <optional>

namespace orv::platform {

struct FontRequest {
    QString family;
    int weight = 400; // 100..900: 400 regular, 700 bold
    bool italic = false;

    static FontRequest of(const QString& family, bool bold, bool italic)
    {
        return {family, bold ? 700 : 400, italic};
    }
};

struct FontFace {
    QByteArray data;  // the whole file: a collection file when the face lives in one
    int faceIndex = 0; // the face within a collection file, else 0
    QString fullName; // the face's own full name ("Liberation Sans Bold")
    QString family;   // the family of the face found ("Liberation Sans")
    QString filePath;
    // True when the face is not of the requested family: a metric-compatible stand-in
    // (Arial served by Liberation Sans) or whatever the system offered instead.
    bool substitute = false;
};

// The family the program asks for in place of one the layouts name: Arial, Courier New
// and Times New Roman have metric-compatible stand-ins. Other families come back as given.
QString standInFamily(const QString& family);

// The TrueType face (TrueType outlines only) that best serves the request: the family
// itself when the system has it, else its stand-in, else the system's closest TrueType
// face. Nothing when the system has no TrueType face at all or the file cannot be read.
std::optional<FontFace> findTrueTypeFace(const FontRequest& request);

} // namespace orv::platform
