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
#include <QPropertyAnimation>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <cmath>

namespace tipora::ui {

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

QString styleSheetFor(const Control& c) {
    const QString border = c.border ? QStringLiteral("1px solid black") : QStringLiteral("none");
    return QStringLiteral("background-color: %1; color: %2; border: %3; padding: 0; margin: 0;")
        .arg(colorName(c.back), colorName(c.fore), border);
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

} // namespace

FormBinder::FormBinder(QWidget* surface, std::vector<Control*> controls)
    : QObject(surface), surface_(surface) {
    entries_.reserve(controls.size());
    for (Control* control : controls) {
        entries_.push_back({control, create(*control), *control, true});
    }
    sync();
}

QWidget* FormBinder::create(Control& control) {
    QWidget* widget = nullptr;
    switch (control.kind) {
    case ControlKind::Label:
    case ControlKind::Shape:
    case ControlKind::Image:
    case ControlKind::Line: {
        auto* label = new QLabel(surface_);
        label->setTextFormat(Qt::PlainText);
        label->setAttribute(Qt::WA_StyledBackground);
        if (control.kind == ControlKind::Image) {
            label->setPixmap(pictureFor(control.picture));
            label->setScaledContents(true);
        }
        // Key captions wrap ("Caps Lock" takes two lines); single-line labels clip instead.
        label->setWordWrap(control.border);
        widget = label;
        break;
    }
    case ControlKind::TextBox: {
        // Scrolls by pixels, so a description that just fits shows no scroll bar.
        auto* box = new QTextEdit(surface_);
        box->setAcceptRichText(false);
        box->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        box->setFrameShape(QFrame::NoFrame);
        box->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        box->setTextInteractionFlags(Qt::NoTextInteraction);
        // Never the focus: typing belongs to the window, and no input method may take it.
        box->setFocusPolicy(Qt::NoFocus);
        box->setAttribute(Qt::WA_InputMethodEnabled, false);
        // Zero margin keeps the first character of the input line under column 1 of the ruler
        // and lets five lines of a description fit without scrolling.
        box->document()->setDocumentMargin(0);
        // The pointer moves over the viewport, which covers the whole box.
        box->viewport()->setMouseTracking(true);
        box->viewport()->installEventFilter(this);
        widget = box;
        break;
    }
    case ControlKind::EditBox: {
        auto* edit = new QLineEdit(surface_);
        edit->setFrame(false);
        // The learner's typing goes straight into the model; the handlers judge it on release.
        connect(edit, &QLineEdit::textEdited, this,
                [&control](const QString& text) { control.text = text; });
        widget = edit;
        break;
    }
    case ControlKind::ScrollBar: {
        auto* bar = new QScrollBar(Qt::Vertical, surface_);
        bar->setRange(control.minimum, control.maximum);
        // A stop of the tab order, so the arrows can step the value from the keyboard.
        bar->setFocusPolicy(Qt::StrongFocus);
        bar->setSingleStep(1);
        bar->setPageStep(1);
        // The upper arrow raises the value.
        bar->setInvertedAppearance(true);
        bar->setInvertedControls(true);
        connect(bar, &QScrollBar::valueChanged, this, [this, &control](int value) {
            if (value != control.value) {
                control.value = value;
                if (onChange) {
                    onChange(control);
                }
            }
        });
        widget = bar;
        break;
    }
    case ControlKind::CheckBox: {
        auto* box = new QCheckBox(surface_);
        box->setTristate(false); // the learner ticks on and off; only a setting shows greyed
        // Any change of state counts, not only a click: Space, or a screen reader's toggle.
        // The program's own changes are made with signals blocked.
        connect(box, &QCheckBox::stateChanged, this, [&control, box](int state) {
            if (state == Qt::Unchecked) {
                control.value = 0;
                return;
            }
            control.value = 1;
            if (state == Qt::PartiallyChecked) {
                // A greyed box cycles through grey again; the learner only ever ticks it.
                const QSignalBlocker quiet(box);
                box->setCheckState(Qt::Checked);
            }
        });
        widget = box;
        break;
    }
    case ControlKind::Frame: {
        auto* frame = new QGroupBox(surface_);
        frame->setFlat(false);
        widget = frame;
        break;
    }
    case ControlKind::OptionButton: {
        // The option buttons of a window are one exclusive group, so one always stays chosen
        // and the arrow keys move the choice. Whatever chose it (pointer, key, focus or an
        // assistive tool), the option's Click handler runs once it becomes chosen.
        auto* option = new OptionButton(surface_);
        connect(option, &QRadioButton::toggled, this, [this, option, &control](bool chosen) {
            if (chosen && control.value != 1) {
                clicked(option);
            }
        });
        widget = option;
        break;
    }
    case ControlKind::Button: {
        auto* button = new QPushButton(surface_);
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, [this, button] { clicked(button); });
        widget = button;
        break;
    }
    }
    widget->setObjectName(control.fullName());
    widget->setMouseTracking(true);
    widget->installEventFilter(this);
    return widget;
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
    QWidget* w = entry.widget;
    const bool all = entry.fresh;

    if (all || c.geometry != old.geometry || c.lineWidth != old.lineWidth) {
        if (c.kind == ControlKind::Line) {
            const int thickness = c.lineWidth;
            w->setGeometry(pixels(c.geometry.left), pixels(c.geometry.top) - thickness / 2,
                           std::max(1, pixels(c.geometry.width)), thickness);
        } else if (c.slides && !all && c.geometry.height != old.geometry.height) {
            // The preview panel slides rather than jumps, so the learner sees where it went.
            auto* slide = new QPropertyAnimation(w, "geometry", w);
            slide->setDuration(kSlideMilliseconds);
            slide->setEasingCurve(QEasingCurve::OutCubic);
            slide->setStartValue(w->geometry());
            slide->setEndValue(pixelRect(c.geometry));
            slide->start(QAbstractAnimation::DeleteWhenStopped);
        } else {
            w->setGeometry(pixelRect(c.geometry));
        }
    }
    if (all || !(c.font == old.font)) {
        w->setFont(fontFor(c.font));
    }
    if (all || c.back != old.back || c.fore != old.fore || c.border != old.border) {
        if (c.kind == ControlKind::Line) {
            w->setStyleSheet(QStringLiteral("background-color: %1;").arg(colorName(c.fore)));
        } else if (c.kind == ControlKind::Shape) {
            w->setStyleSheet(QStringLiteral("background-color: %1; border: 1px solid %2;")
                                 .arg(colorName(c.back), colorName(c.fore)));
        } else if (c.kind == ControlKind::TextBox) {
            auto* box = static_cast<QTextEdit*>(w);
            QPalette palette = box->palette();
            palette.setColor(QPalette::Base, QColor::fromRgb(c.back));
            palette.setColor(QPalette::Text, QColor::fromRgb(c.fore));
            box->setPalette(palette);
        } else if (c.kind == ControlKind::OptionButton || c.kind == ControlKind::CheckBox ||
                   c.kind == ControlKind::Frame) {
            // A style sheet would also paint the round indicator black; a palette keeps it.
            QPalette palette = w->palette();
            palette.setColor(QPalette::Window, QColor::fromRgb(c.back));
            palette.setColor(QPalette::WindowText, QColor::fromRgb(c.fore));
            w->setPalette(palette);
            w->setBackgroundRole(QPalette::Window);
            w->setAutoFillBackground(true);
        } else if (c.kind == ControlKind::EditBox) {
            QPalette palette = w->palette();
            palette.setColor(QPalette::Base, QColor::fromRgb(c.back));
            palette.setColor(QPalette::Text, QColor::fromRgb(c.fore));
            w->setPalette(palette);
        } else if (c.kind != ControlKind::Image && c.kind != ControlKind::Button &&
                   c.kind != ControlKind::ScrollBar) {
            w->setStyleSheet(styleSheetFor(c));
        }
    }
    if (all || c.text != old.text || c.align != old.align) {
        if (auto* label = qobject_cast<QLabel*>(w); label && c.kind == ControlKind::Label) {
            if (c.text.startsWith(QLatin1Char(' ')) && c.border) {
                // Leading blanks push a key's word onto its last line, into the lower limb of
                // the L-shaped Enter key. Qt drops blanks at a line break, so align instead.
                label->setText(shownPart(c.text, KeptPart::Beginning).trimmed());
                label->setAlignment(Qt::AlignRight | Qt::AlignBottom);
            } else {
                label->setText(shownPart(c.text, KeptPart::Beginning));
                label->setAlignment(alignmentFor(c.align));
            }
        } else if (auto* box = qobject_cast<QTextEdit*>(w)) {
            box->setPlainText(displayText(
                shownPart(c.text, c.showsEndOfLongText ? KeptPart::End : KeptPart::Beginning)));
            // Qt rounds each line up to whole pixels; at the classic line height five lines of
            // a description fit their box.
            QTextBlockFormat lines;
            lines.setLineHeight(std::floor(QFontMetricsF(box->font()).lineSpacing()),
                                QTextBlockFormat::FixedHeight);
            QTextCursor all(box->document());
            all.select(QTextCursor::Document);
            all.mergeBlockFormat(lines);
        } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
            button->setText(c.text);
        } else if (auto* frame = qobject_cast<QGroupBox*>(w)) {
            frame->setTitle(c.text);
        } else if (auto* edit = qobject_cast<QLineEdit*>(w); edit && edit->text() != c.text) {
            edit->setText(c.text);
        }
    }
    if (all || c.value != old.value) {
        if (auto* option = qobject_cast<QRadioButton*>(w)) {
            option->setChecked(c.value == 1);
        } else if (auto* box = qobject_cast<QCheckBox*>(w)) {
            const QSignalBlocker quiet(box);
            box->setCheckState(c.value == 2   ? Qt::PartiallyChecked
                               : c.value == 1 ? Qt::Checked
                                              : Qt::Unchecked);
        } else if (auto* bar = qobject_cast<QScrollBar*>(w)) {
            const QSignalBlocker quiet(bar); // the model moved it; no change to report back
            bar->setValue(c.value);
        }
    }
    if (c.growsLeft && (all || c.text != old.text || c.geometry != old.geometry ||
                        !(c.font == old.font) || c.align != old.align)) {
        fitLeftwards(*static_cast<QLabel*>(w), c);
    }
    if (all || c.locked != old.locked) {
        if (auto* box = qobject_cast<QTextEdit*>(w)) {
            box->setReadOnly(true); // only the program ever writes the text boxes
        }
    }
    if (all || c.enabled != old.enabled) {
        w->setEnabled(c.enabled);
    }
    if (all || c.visible != old.visible) {
        w->setVisible(c.visible);
    }
}

QWidget* FormBinder::widget(const Control& control) const {
    for (const Entry& entry : entries_) {
        if (entry.control == &control) {
            return entry.widget;
        }
    }
    return nullptr;
}

void FormBinder::clicked(QWidget* widget) {
    for (Entry& entry : entries_) {
        if (entry.widget == widget && onClick) {
            onClick(*entry.control);
            return;
        }
    }
}

bool FormBinder::eventFilter(QObject* watched, QEvent* event) {
    const bool press = event->type() == QEvent::MouseButtonPress;
    const bool move = event->type() == QEvent::MouseMove;
    if (press || move) {
        for (Entry& entry : entries_) {
            const auto* box = qobject_cast<QTextEdit*>(entry.widget);
            if (entry.widget != watched && !(box && box->viewport() == watched)) {
                continue;
            }
            const ControlKind kind = entry.control->kind;
            const bool clickable = kind != ControlKind::OptionButton &&
                                   kind != ControlKind::CheckBox && kind != ControlKind::Frame &&
                                   kind != ControlKind::Button && kind != ControlKind::TextBox &&
                                   kind != ControlKind::EditBox && kind != ControlKind::ScrollBar;
            if (press && clickable && onClick) {
                onClick(*entry.control);
            } else if (move && onMouseMove) {
                onMouseMove(*entry.control);
            }
            break;
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace tipora::ui
