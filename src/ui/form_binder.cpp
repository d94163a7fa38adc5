#include "ui/form_binder.h"

#include "app/display_rules.h"
#include "ui/fonts.h"
#include "ui/pictures.h"

#include <QCheckBox>
#include <QEvent>
#include <QFocusEvent>
#include <QFontMetricsF>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPropertyAnimation>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <array>
#include <cmath>
#include <optional>

namespace tipora::ui {

namespace {

// What a new widget needs of its binder: the object that watches its pointer, and how to report
// the control's own events.
struct ControlWiring {
    QObject* binder;
    std::function<void()> click;
    std::function<void()> change;
};

} // namespace

// How one kind of control becomes a widget and shows its properties.
struct KindBinding {
    QWidget* (*create)(Control& control, QWidget* surface, const ControlWiring& wiring);
    void (*place)(QWidget& widget, const Control& now, const Control& before, bool fresh);
    void (*paint)(QWidget& widget, const Control& control); // nullptr: the style's colours
    // nullptr: shows no text. `before` is what the widget shows now, unless `fresh`.
    void (*showText)(QWidget& widget, const Control& control, const Control& before, bool fresh);
    void (*showValue)(QWidget& widget, const Control& control); // nullptr: has no value
    // A press on it is its Click (labels and pictures); buttons and options report their own.
    bool pressIsClick;
};

namespace {

constexpr int kSlideMilliseconds = 250;

QPixmap pictureFor(Picture picture) {
    switch (picture) {
    case Picture::FingerGuide:
        return pictures::fingerGuide();
    case Picture::NextLine:
        return pictures::nextLineArrow();
    case Picture::SlideOut:
        return pictures::slideOutButton();
    case Picture::SlideIn:
        return pictures::slideInButton();
    case Picture::Loudspeaker:
        return pictures::loudspeaker();
    case Picture::About:
        return pictures::aboutPicture();
    case Picture::None:
        break;
    }
    return {};
}

Qt::Alignment alignmentFor(Align align) {
    switch (align) {
    case Align::Left:
        return Qt::AlignLeft | Qt::AlignTop;
    case Align::Center:
        return Qt::AlignHCenter | Qt::AlignTop;
    case Align::Right:
        return Qt::AlignRight | Qt::AlignTop;
    }
    return Qt::AlignLeft | Qt::AlignTop;
}

// Lesson files and the transcript use CR LF; the text box wants plain line feeds.
QString displayText(const QString& text) {
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return shown;
}

// The label keeps its designed place while its text fits; a wider text grows it to the left,
// right-aligned, so the last characters stay where the learner expects them.
void fitLeftwards(QLabel& label, const Control& c) {
    const QRect designed = pixelRect(c.geometry);
    const int needed = label.fontMetrics().horizontalAdvance(label.text());
    if (needed <= designed.width()) {
        label.setGeometry(designed);
        label.setAlignment(alignmentFor(c.align));
        return;
    }
    label.setGeometry(designed.right() + 1 - needed, designed.top(), needed, designed.height());
    label.setAlignment(Qt::AlignRight | Qt::AlignTop);
}

// Every option is a stop of the tab order (Qt would keep only the focused one of a group), and
// the focus and the choice move together: an option reached by Tab is chosen, as the arrow
// keys already do it.
class OptionButton : public QRadioButton {
public:
    using QRadioButton::QRadioButton;

protected:
    void focusInEvent(QFocusEvent* event) override {
        QWidget::focusInEvent(event); // not the button's, which takes the others off the tabs
        if (event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason) {
            setChecked(true);
        }
    }
};

// Placing.

void placeRect(QWidget& w, const Control& c, const Control& before, bool fresh) {
    if (!c.slides || fresh || c.geometry.height == before.geometry.height) {
        w.setGeometry(pixelRect(c.geometry));
        return;
    }
    // The preview panel slides rather than jumps, so the learner sees where it went.
    auto* slide = new QPropertyAnimation(&w, "geometry", &w);
    slide->setDuration(kSlideMilliseconds);
    slide->setEasingCurve(QEasingCurve::OutCubic);
    slide->setStartValue(w.geometry());
    slide->setEndValue(pixelRect(c.geometry));
    slide->start(QAbstractAnimation::DeleteWhenStopped);
}

void placeLine(QWidget& w, const Control& c, const Control& /*before*/, bool /*fresh*/) {
    const int thickness = c.lineWidth;
    w.setGeometry(pixels(c.geometry.left), pixels(c.geometry.top) - thickness / 2,
                  std::max(1, pixels(c.geometry.width)), thickness);
}

// Colours.

// Labels, shapes and lines paint their own box: a style sheet per colour change cost a parse and
// a re-polish of the widget, a tenth of a millisecond on every lit key.
class ControlLabel : public QLabel {
public:
    using QLabel::QLabel;

    // A filled box with an optional one-pixel border inside its edge, and the text colour.
    void setLook(QColor back, std::optional<QColor> border, QColor text) {
        if (painted_ && back == back_ && border == border_ && text == text_) {
            return;
        }
        painted_ = true;
        back_ = back;
        border_ = border;
        const int inset = border ? 1 : 0;
        setContentsMargins(inset, inset, inset, inset);
        indentForBorder();
        if (text != text_ || !textSet_) {
            text_ = text;
            textSet_ = true;
            QPalette colours = palette();
            colours.setColor(QPalette::WindowText, text);
            setPalette(colours);
        }
        update();
    }

protected:
    void changeEvent(QEvent* event) override {
        if (event->type() == QEvent::FontChange) {
            indentForBorder();
        }
        QLabel::changeEvent(event);
    }

    void paintEvent(QPaintEvent* event) override {
        if (painted_) {
            QPainter painter(this);
            painter.fillRect(rect(), back_);
            if (border_) {
                painter.setPen(*border_);
                painter.setBrush(Qt::NoBrush);
                painter.drawRect(rect().adjusted(0, 0, -1, -1));
            }
        }
        QLabel::paintEvent(event);
    }

private:
    // A framed label keeps its text half an "x" off the frame, as key captions always stood.
    void indentForBorder() {
        setIndent(border_ ? fontMetrics().horizontalAdvance(QLatin1Char('x')) / 2 : -1);
    }

    bool painted_ = false;
    bool textSet_ = false;
    QColor back_;
    std::optional<QColor> border_;
    QColor text_;
};

void paintLabel(QWidget& w, const Control& c) {
    static_cast<ControlLabel&>(w).setLook(
        QColor::fromRgb(c.back), c.border ? std::optional(QColor(Qt::black)) : std::nullopt,
        QColor::fromRgb(c.fore));
}

void paintShape(QWidget& w, const Control& c) {
    static_cast<ControlLabel&>(w).setLook(QColor::fromRgb(c.back), QColor::fromRgb(c.fore),
                                          QColor::fromRgb(c.fore));
}

void paintLine(QWidget& w, const Control& c) {
    static_cast<ControlLabel&>(w).setLook(QColor::fromRgb(c.fore), std::nullopt,
                                          QColor::fromRgb(c.fore));
}

void paintTextField(QWidget& w, const Control& c) {
    QPalette palette = w.palette();
    palette.setColor(QPalette::Base, QColor::fromRgb(c.back));
    palette.setColor(QPalette::Text, QColor::fromRgb(c.fore));
    w.setPalette(palette);
}

// A style sheet would also paint an option's round indicator black; a palette keeps it.
void paintOnWindow(QWidget& w, const Control& c) {
    QPalette palette = w.palette();
    palette.setColor(QPalette::Window, QColor::fromRgb(c.back));
    palette.setColor(QPalette::WindowText, QColor::fromRgb(c.fore));
    w.setPalette(palette);
    w.setBackgroundRole(QPalette::Window);
    w.setAutoFillBackground(true);
}

// Text and value.

void showLabelText(QWidget& w, const Control& c, const Control& /*before*/, bool /*fresh*/) {
    auto& label = static_cast<QLabel&>(w);
    if (c.text.startsWith(QLatin1Char(' ')) && c.border) {
        // Leading blanks push a key's word onto its last line, into the lower limb of the
        // L-shaped Enter key. Qt drops blanks at a line break, so align instead.
        label.setText(shownPart(c.text, KeptPart::Beginning).trimmed());
        label.setAlignment(Qt::AlignRight | Qt::AlignBottom);
    } else {
        label.setText(shownPart(c.text, KeptPart::Beginning));
        label.setAlignment(alignmentFor(c.align));
    }
}

// The text a text box draws of its control.
QString textBoxShown(const Control& c) {
    return displayText(
        shownPart(c.text, c.showsEndOfLongText ? KeptPart::End : KeptPart::Beginning));
}

// Qt rounds each line up to whole pixels; at the classic line height five lines of a
// description fit their box.
QTextBlockFormat fixedLineHeight(const QTextEdit& box) {
    QTextBlockFormat lines;
    lines.setLineHeight(std::floor(QFontMetricsF(box.font()).lineSpacing()),
                        QTextBlockFormat::FixedHeight);
    return lines;
}

void showTextBoxText(QWidget& w, const Control& c, const Control& before, bool fresh) {
    auto& box = static_cast<QTextEdit&>(w);
    QTextDocument& document = *box.document();
    const QString shown = textBoxShown(c);
    if (!fresh) {
        // Typing adds to the end of the input line: only the new characters are laid out, not
        // the whole text again on every key.
        const QString old = textBoxShown(before);
        if (shown.size() > old.size() && shown.startsWith(old)) {
            // In an edit block the cursor skips its own layout; the block is laid out once, at
            // the end. New lines keep the block's line height.
            QTextCursor end(&document);
            end.beginEditBlock();
            end.setPosition(document.characterCount() - 1);
            if (old.isEmpty()) {
                end.setBlockFormat(fixedLineHeight(box));
            }
            end.insertText(shown.sliced(old.size()));
            end.endEditBlock();
            return;
        }
        if (shown == old) {
            return;
        }
    }
    // A new text replaces the document's whole buffer, which edits in place would only add to
    // as long as the program runs. An empty box gets its line height with its first character.
    document.setPlainText(shown);
    if (!shown.isEmpty()) {
        QTextCursor all(&document);
        all.select(QTextCursor::Document);
        all.mergeBlockFormat(fixedLineHeight(box));
    }
}

void showEditText(QWidget& w, const Control& c, const Control& /*before*/, bool /*fresh*/) {
    auto& edit = static_cast<QLineEdit&>(w);
    if (edit.text() != c.text) {
        edit.setText(c.text);
    }
}

void showButtonText(QWidget& w, const Control& c, const Control& /*before*/, bool /*fresh*/) {
    static_cast<QAbstractButton&>(w).setText(c.text);
}

void showFrameTitle(QWidget& w, const Control& c, const Control& /*before*/, bool /*fresh*/) {
    static_cast<QGroupBox&>(w).setTitle(c.text);
}

void showOptionValue(QWidget& w, const Control& c) {
    static_cast<QRadioButton&>(w).setChecked(c.value == 1);
}

void showCheckValue(QWidget& w, const Control& c) {
    auto& box = static_cast<QCheckBox&>(w);
    const QSignalBlocker quiet(box);
    box.setCheckState(c.value == 2   ? Qt::PartiallyChecked
                      : c.value == 1 ? Qt::Checked
                                     : Qt::Unchecked);
}

void showScrollValue(QWidget& w, const Control& c) {
    auto& bar = static_cast<QScrollBar&>(w);
    const QSignalBlocker quiet(bar); // the model moved it; no change to report back
    bar.setValue(c.value);
}

// Making the widgets.

QLabel* newLabel(const Control& c, QWidget* surface) {
    auto* label = new ControlLabel(surface);
    label->setTextFormat(Qt::PlainText);
    // Key captions wrap ("Caps Lock" takes two lines); single-line labels clip instead.
    label->setWordWrap(c.border);
    return label;
}

QWidget* createLabel(Control& c, QWidget* surface, const ControlWiring& /*wiring*/) {
    return newLabel(c, surface);
}

QWidget* createImage(Control& c, QWidget* surface, const ControlWiring& /*wiring*/) {
    QLabel* label = newLabel(c, surface);
    label->setPixmap(pictureFor(c.picture));
    label->setScaledContents(true);
    return label;
}

QWidget* createTextBox(Control& /*c*/, QWidget* surface, const ControlWiring& wiring) {
    // Scrolls by pixels, so a description that just fits shows no scroll bar.
    auto* box = new QTextEdit(surface);
    box->setAcceptRichText(false);
    box->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    box->setFrameShape(QFrame::NoFrame);
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    box->setTextInteractionFlags(Qt::NoTextInteraction);
    box->setReadOnly(true); // only the program ever writes the text boxes
    // The program rewrites them in place; an undo history would only grow.
    box->document()->setUndoRedoEnabled(false);
    // Never the focus: typing belongs to the window, and no input method may take it.
    box->setFocusPolicy(Qt::NoFocus);
    box->setAttribute(Qt::WA_InputMethodEnabled, false);
    // Zero margin keeps the first character of the input line under column 1 of the ruler and
    // lets five lines of a description fit without scrolling.
    box->document()->setDocumentMargin(0);
    // The pointer moves over the viewport, which covers the whole box.
    box->viewport()->setMouseTracking(true);
    box->viewport()->installEventFilter(wiring.binder);
    return box;
}

QWidget* createEditBox(Control& c, QWidget* surface, const ControlWiring& wiring) {
    auto* edit = new QLineEdit(surface);
    edit->setFrame(false);
    // The learner's typing goes straight into the model; the handlers judge it on release.
    QObject::connect(edit, &QLineEdit::textEdited, wiring.binder,
                     [&c](const QString& text) { c.text = text; });
    return edit;
}

QWidget* createScrollBar(Control& c, QWidget* surface, const ControlWiring& wiring) {
    auto* bar = new QScrollBar(Qt::Vertical, surface);
    bar->setRange(c.minimum, c.maximum);
    // A stop of the tab order, so the arrows can step the value from the keyboard.
    bar->setFocusPolicy(Qt::StrongFocus);
    bar->setSingleStep(1);
    bar->setPageStep(1);
    // The upper arrow raises the value.
    bar->setInvertedAppearance(true);
    bar->setInvertedControls(true);
    QObject::connect(bar, &QScrollBar::valueChanged, wiring.binder,
                     [&c, changed = wiring.change](int value) {
                         if (value != c.value) {
                             c.value = value;
                             changed();
                         }
                     });
    return bar;
}

QWidget* createCheckBox(Control& c, QWidget* surface, const ControlWiring& wiring) {
    auto* box = new QCheckBox(surface);
    box->setTristate(false); // the learner ticks on and off; only a setting shows greyed
    // Any change of state counts, not only a click: Space, or a screen reader's toggle. The
    // program's own changes are made with signals blocked.
    QObject::connect(box, &QCheckBox::stateChanged, wiring.binder, [&c, box](int state) {
        if (state == Qt::Unchecked) {
            c.value = 0;
            return;
        }
        c.value = 1;
        if (state == Qt::PartiallyChecked) {
            // A greyed box cycles through grey again; the learner only ever ticks it.
            const QSignalBlocker quiet(box);
            box->setCheckState(Qt::Checked);
        }
    });
    return box;
}

QWidget* createFrame(Control& /*c*/, QWidget* surface, const ControlWiring& /*wiring*/) {
    auto* frame = new QGroupBox(surface);
    frame->setFlat(false);
    return frame;
}

QWidget* createOptionButton(Control& c, QWidget* surface, const ControlWiring& wiring) {
    // The option buttons of a window are one exclusive group, so one always stays chosen and the
    // arrow keys move the choice. Whatever chose it (pointer, key, focus or an assistive tool),
    // the option's Click handler runs once it becomes chosen.
    auto* option = new OptionButton(surface);
    QObject::connect(option, &QRadioButton::toggled, wiring.binder,
                     [&c, clicked = wiring.click](bool chosen) {
                         if (chosen && c.value != 1) {
                             clicked();
                         }
                     });
    return option;
}

QWidget* createButton(Control& /*c*/, QWidget* surface, const ControlWiring& wiring) {
    auto* button = new QPushButton(surface);
    button->setAutoDefault(false);
    QObject::connect(button, &QPushButton::clicked, wiring.binder, wiring.click);
    return button;
}

// One entry per kind of control: how it is made, placed, coloured, and shows its text and value,
// and whether a press on it is its Click.
struct KindEntry {
    ControlKind kind;
    KindBinding binding;
};
constexpr std::array<KindEntry, 11> kKindBindings{{
    {ControlKind::Label, {createLabel, placeRect, paintLabel, showLabelText, nullptr, true}},
    {ControlKind::Shape, {createLabel, placeRect, paintShape, nullptr, nullptr, true}},
    {ControlKind::Image, {createImage, placeRect, nullptr, nullptr, nullptr, true}},
    {ControlKind::Line, {createLabel, placeLine, paintLine, nullptr, nullptr, true}},
    {ControlKind::TextBox,
     {createTextBox, placeRect, paintTextField, showTextBoxText, nullptr, false}},
    {ControlKind::EditBox,
     {createEditBox, placeRect, paintTextField, showEditText, nullptr, false}},
    {ControlKind::ScrollBar,
     {createScrollBar, placeRect, nullptr, nullptr, showScrollValue, false}},
    {ControlKind::CheckBox,
     {createCheckBox, placeRect, paintOnWindow, showButtonText, showCheckValue, false}},
    {ControlKind::Frame, {createFrame, placeRect, paintOnWindow, showFrameTitle, nullptr, false}},
    {ControlKind::OptionButton,
     {createOptionButton, placeRect, paintOnWindow, showButtonText, showOptionValue, false}},
    {ControlKind::Button, {createButton, placeRect, nullptr, showButtonText, nullptr, false}},
}};

const KindBinding& bindingFor(ControlKind kind) {
    for (const KindEntry& entry : kKindBindings) {
        if (entry.kind == kind) {
            return entry.binding;
        }
    }
    return kKindBindings.front().binding;
}

} // namespace

FormBinder::FormBinder(QWidget* surface, std::vector<Control*> controls, Runner run)
    : QObject(surface), surface_(surface), run_(std::move(run)) {
    entries_.reserve(controls.size());
    for (Control* control : controls) {
        const KindBinding& kind = bindingFor(control->kind);
        const ControlWiring wiring{this, [this, control] { fire(*control, ControlEvent::Click); },
                                   [this, control] { fire(*control, ControlEvent::Change); }};
        QWidget* widget = kind.create(*control, surface_, wiring);
        widget->setObjectName(control->fullName());
        widget->setMouseTracking(true);
        widget->installEventFilter(this);
        entries_.push_back({control, &kind, widget, *control, true, {}});
    }
    sync();
}

void FormBinder::setHandlers(ControlEvent event, const ControlHandlers& handlers) {
    for (const auto& [control, handler] : handlers) {
        if (Entry* entry = entryOf(*control)) {
            entry->handlers[static_cast<std::size_t>(event)] = handler;
        }
    }
}

void FormBinder::sync() {
    for (Entry& entry : entries_) {
        if (entry.fresh || !(entry.shown == *entry.control)) {
            apply(entry);
            entry.shown = *entry.control;
            entry.fresh = false;
        }
    }
}

void FormBinder::apply(Entry& entry) {
    const Control& c = *entry.control;
    const Control& old = entry.shown;
    QWidget& w = *entry.widget;
    const KindBinding& kind = *entry.kind;
    const bool all = entry.fresh;

    if (all || c.geometry != old.geometry || c.lineWidth != old.lineWidth) {
        kind.place(w, c, old, all);
    }
    if (all || !(c.font == old.font)) {
        w.setFont(fontFor(c.font));
    }
    if (kind.paint && (all || c.back != old.back || c.fore != old.fore || c.border != old.border)) {
        kind.paint(w, c);
    }
    if (kind.showText && (all || c.text != old.text || c.align != old.align)) {
        kind.showText(w, c, old, all);
    }
    if (kind.showValue && (all || c.value != old.value)) {
        kind.showValue(w, c);
    }
    if (c.growsLeft && (all || c.text != old.text || c.geometry != old.geometry ||
                        !(c.font == old.font) || c.align != old.align)) {
        fitLeftwards(static_cast<QLabel&>(w), c);
    }
    if (all || c.enabled != old.enabled) {
        w.setEnabled(c.enabled);
    }
    if (all || c.visible != old.visible) {
        w.setVisible(c.visible);
    }
}

FormBinder::Entry* FormBinder::entryOf(const Control& control) {
    for (Entry& entry : entries_) {
        if (entry.control == &control) {
            return &entry;
        }
    }
    return nullptr;
}

QWidget* FormBinder::widget(const Control& control) const {
    for (const Entry& entry : entries_) {
        if (entry.control == &control) {
            return entry.widget;
        }
    }
    return nullptr;
}

void FormBinder::fire(Control& control, ControlEvent event) {
    Entry* entry = entryOf(control);
    if (entry == nullptr) {
        return;
    }
    // A copy: the handler may run a modal dialog during which the table could change.
    const std::function<void()> handler = entry->handlers[static_cast<std::size_t>(event)];
    if (handler) {
        run_(handler);
    }
}

bool FormBinder::eventFilter(QObject* watched, QEvent* event) {
    const bool press = event->type() == QEvent::MouseButtonPress;
    const bool move = event->type() == QEvent::MouseMove;
    if (!press && !move) {
        return QObject::eventFilter(watched, event);
    }
    for (Entry& entry : entries_) {
        // A text box's pointer arrives at its viewport, a child of its own.
        if (entry.widget != watched && entry.widget != watched->parent()) {
            continue;
        }
        if (press && entry.kind->pressIsClick) {
            fire(*entry.control, ControlEvent::Click);
        } else if (move) {
            fire(*entry.control, ControlEvent::MouseMove);
        }
        break;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace tipora::ui
