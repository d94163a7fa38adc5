#pragma once

#include <QSize>
#include <QString>
#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

namespace tipora {

// Colours are compared by exact value (a lit key remembers its lesson colour by reading it), so
// they are plain 0xRRGGBB numbers.
using Color = std::uint32_t;
inline constexpr Color kBlack = 0x000000;
inline constexpr Color kWhite = 0xFFFFFF;
inline constexpr Color kRed = 0xFF0000;
inline constexpr Color kGreen = 0x00FF00;
inline constexpr Color kBlue = 0x0000FF;
inline constexpr Color kYellow = 0xFFFF00;
inline constexpr Color kDialogBrown = 0x804040;
// The desktop's default text colour, which is black on the desktops the program targets.
inline constexpr Color kSystemText = 0x000000;

QString colorName(Color color); // "#RRGGBB"

enum class ControlKind {
    Label,
    TextBox, // multi-line; only the program writes it
    EditBox, // single line the learner types into
    Image,
    Shape,
    Line,
    OptionButton,
    Button,
    ScrollBar,
    CheckBox, // value 0 unchecked, 1 checked, 2 greyed
    Frame,    // a captioned group box drawn under the controls that lie in it
};
enum class Align { Left, Center, Right };
// Font faces by role; the UI picks installed fonts that match their metrics.
enum class FontFace { Serif, Mono, Sans, Symbol };
enum class Picture { None, FingerGuide, NextLine, SlideOut, SlideIn, Loudspeaker, About };

// The fixed-pitch face draws every character in one cell of this width (twips), so that
// column n of the ruler stands over character n of the exercise and of the input line.
inline constexpr int kColumnWidth = 120;

struct FontSpec {
    FontFace face = FontFace::Serif;
    double points = 11.25;
    bool bold = false;
    friend bool operator==(const FontSpec&, const FontSpec&) = default;
};

// Positions and sizes are in twips (1/1440 inch).
struct Geometry {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    friend bool operator==(const Geometry&, const Geometry&) = default;
};

// One control of a window with every property a handler may read or change. The form model,
// not the widget, is the source of truth.
struct Control {
    QString name;
    int index = -1; // member index within a control array, -1 for a single control
    ControlKind kind = ControlKind::Label;
    QString text;
    Geometry geometry; // for a line: x1, y1 and x2 - x1, y2 - y1
    Color back = kBlack;
    Color fore = kWhite;
    FontSpec font;
    Align align = Align::Left;
    bool border = false;
    bool visible = true;
    bool enabled = true;
    int value = 0;   // option buttons, check boxes and scroll bars
    int minimum = 0; // scroll bars
    int maximum = 0;
    int lineWidth = 1;
    Picture picture = Picture::None;
    bool slides = false; // size changes are shown as a short slide, not a jump
    // Labels: a text wider than the label (a long system time format) widens it to the left,
    // keeping its right edge, rather than being clipped.
    bool growsLeft = false;
    // Text boxes: of a text too long to draw whole, the end is shown (the latest of the
    // transcript) rather than the beginning (the start of a description).
    bool showsEndOfLongText = false;

    QString fullName() const; // "lblKlavesa(65)" for array members
    friend bool operator==(const Control&, const Control&) = default;
};

// A control with the properties most controls are designed with.
Control makeControl(const char* name, ControlKind kind, const QString& text, Geometry geometry,
                    FontSpec font = {}, Color back = kBlack, Color fore = kWhite);

struct MenuItem {
    QString name;
    QString caption;
    bool enabled = true;
};

// A beat that drifts is audible; timers that only move labels may be coarse. A clock face ticks
// on the wall clock's whole multiples of its interval (just after them), so that the second it
// shows turns with the desktop's own clock rather than up to an interval late; one asked to
// tick more often than once a second ticks as each second turns, when what it shows changes.
enum class Timing { Coarse, Precise, WallClock };

// A toolkit interval timer: enabling it or setting its interval restarts its countdown, which
// the restart count lets the binding (or a virtual clock) notice.
class ModelTimer {
public:
    ModelTimer(QString name, int interval, bool enabled, Timing timing = Timing::Coarse);

    const QString& name() const { return name_; }
    int interval() const { return interval_; }
    bool enabled() const { return enabled_; }
    bool precise() const { return timing_ == Timing::Precise; }
    bool followsWallClock() const { return timing_ == Timing::WallClock; }
    std::uint64_t restarts() const { return restarts_; }

    void setInterval(int milliseconds);
    void setEnabled(bool enabled);

private:
    QString name_;
    int interval_;
    bool enabled_;
    Timing timing_;
    std::uint64_t restarts_ = 0;
};

// What a countdown that follows a model timer does after each handler: the rule the program's
// toolkit timers and the tests' virtual clock both go by.
class TimerFollower {
public:
    enum class Step { Keep, Start, Stop };

    explicit TimerFollower(const ModelTimer& timer) : timer_(&timer), restarts_(timer.restarts()) {}

    // A timer disabled or without an interval stops; one that was not running, or that was
    // enabled or given an interval since, starts its countdown afresh.
    Step next(bool running);

private:
    const ModelTimer* timer_;
    std::uint64_t restarts_;
};

// A form model's handlers by the part they belong to: which handler runs when a timer is due,
// a control is clicked or changed or the pointer moves over it, or a menu item is chosen.
template <typename Part> using HandlerTable = std::vector<std::pair<Part*, std::function<void()>>>;
using TimerHandlers = HandlerTable<ModelTimer>;
using ControlHandlers = HandlerTable<Control>;
using MenuHandlers = HandlerTable<MenuItem>;

enum class MousePointer { Default, Hourglass };

// The window itself: outer position and size in twips, as centring uses them.
struct WindowState {
    QString title;
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    MousePointer mousePointer = MousePointer::Default;

    // Places the window in the middle of a screen of this size (twips).
    void centreOn(QSize screen);
};

} // namespace tipora
