#pragma once
// One colour theme for the whole program. A theme is the application palette plus the
// program's own fixed colours (changed cells, status texts, the output window, highlight
// classes, marks), looked up here by role so that every window paints the current one.
// Light is the program's original look; System is the desktop's palette as it was at
// start-up, with the fixed colours of Light or, on a dark desktop, of Dark.

#include <QColor>
#include <QObject>
#include <QString>
#include <functional>
#include <optional>

class QIcon;
class QTextDocument;

enum class TTheme { System, Light, Dark, HighContrast };
inline constexpr TTheme Themes[] = {TTheme::System, TTheme::Light, TTheme::Dark,
                                    TTheme::HighContrast};

// The name a theme is kept under in the settings ("System", "Light", "Dark",
// "HighContrast"), and back; an unknown name gives nothing.
QString ThemeName(TTheme theme);
std::optional<TTheme> ThemeFromName(const QString& name);

TTheme CurrentTheme();
// Sets the application palette (and, for High Contrast, thick focus marks) and tells every
// window. The first call remembers the desktop's palette for System.
void SetTheme(TTheme theme);
// Puts the program's style, made for the theme and the zoom, and the theme's palette on the
// program.
void RestyleApplication();

// The look the fixed colours take: System resolves to Light or Dark by its palette.
enum class TLook { Light, Dark, HighContrast };
TLook CurrentLook();

// The program's fixed colours. The comments give the Light colour.
enum class TThemeColour {
    CellBackground,     // 240,240,245: an unselected hex grid cell
    CellText,           // black
    ChangedCell,        // 255,96,96: the most recently changed cell's text
    StatusReady,        // black
    StatusRunning,      // 0,128,0
    StatusStopped,      // 255,0,0: halted, invalid instruction, breakpoint
    StatusSelection,    // 0,0,192
    OutputBackground,   // 64,64,64
    OutputText,         // white
    DisasmText,         // black
    BreakpointDot,      // 255,0,0
    SourceMark,         // 255,255,128: the background of the editor's marked line
    SourceMarkText,     // none (the text keeps its colour)
    SourceLastMark,     // 200,225,255: the editor's line that executed last, after a stop
    Gutter,             // 228,228,232: the editor's breakpoint gutter
    TestPassed,         // 0,128,0
    TestFailed,         // 200,0,0
    SourceText,         // black: the Normal, Keyword and Error highlight classes
    CommentText,        // 0,0,128
    NumberText,         // 0,0,255: the Numeric and String classes
    HiddenKeywordText,  // 255,0,0
    FocusFrame,         // 0,95,184: the frame round the control with keyboard focus
};

QColor ThemeColour(TThemeColour role);              // in the current look
QColor ThemeColour(TThemeColour role, TLook look);  // in a given look
inline QColor LightColour(TThemeColour role) {
    return ThemeColour(role, TLook::Light);
}

// A text colour chosen for a light background (a user's highlight colour) as it reads in
// the current look: unchanged in Light; a fixed colour's own mapping; in Dark other dark
// colours are lightened, keeping their hue; in High Contrast greys become white and every
// other colour yellow.
QColor ThemedText(const QColor& onLight);

// An icon drawn for a light button as it shows in the current look: unchanged in Light,
// otherwise its shape in the button's text colour, so a dark glyph does not vanish on Dark
// or High Contrast.
QIcon ThemedIcon(const QIcon& onLight, const QColor& text);

// Gives every explicitly coloured piece of a rich text document (a help topic) its colour
// in the current theme. The colour it was made with is kept in the text, so this can be
// called again after each theme change.
void ThemeDocument(QTextDocument& document);

// High Contrast marks by shape as well as colour: thick focus frames, changed cells
// underlined.
bool StrongMarks();
// The pen of a focus frame or changed-cell underline at the zoom: 2 px, thicker in High
// Contrast, so it still shows on a projector.
int MarkWidth();

// How far apart two colours are for a reader: 1 (the same) to 21 (black on white). Text
// needs 4.5, a frame or mark 3.

double ContrastRatio(const QColor& a, const QColor& b);

class TThemeNotifier : public QObject {
    Q_OBJECT
signals:
    void Changed();
};
TThemeNotifier& ThemeNotifier();

// Calls apply now and after each theme change while context lives.
void FollowTheme(QObject* context, std::function<void()> apply);
