#include "ui/key_heat_map_view.h"

#include "app/frm_tipora_form.h"
#include "ground/key_table.h"
#include "history/history_texts.h"
#include "ui/fonts.h"
#include "ui/keyboard_surface.h"

#include <QBoxLayout>
#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <algorithm>
#include <climits>
#include <cstdlib>

namespace tipora::ui {

namespace {

// Room around the keys for the ring of the chosen one, which lies just outside its key so that
// the caption stays readable.
constexpr int kRingWidth = 3;
const QColor kNoteColour(0xFF, 0xFF, 0x00);
const QColor kRingColour(0x00, 0x00, 0xFF);
const QColor kGrey(0x80, 0x80, 0x80);

// QWERTY swaps y and z, as the main window moves them when it loads.
QLabel* textLabel(const QString& text, const char* name, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setTextFormat(Qt::PlainText);
    return label;
}

QLabel* titleLabel(const QString& text, const char* name, QWidget* parent) {
    QLabel* label = textLabel(text, name, parent);
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    return label;
}

void colourText(QWidget& widget, const QColor& colour) {
    QPalette palette = widget.palette();
    palette.setColor(QPalette::WindowText, colour);
    widget.setPalette(palette);
}

} // namespace

KeyHeatMapView::KeyHeatMapView(int keyboardType, QLocale locale, QWidget* parent)
    : QWidget(parent), locale_(std::move(locale)), map_({}, locale_) {
    setObjectName(QStringLiteral("fraKlavesnice"));

    QLabel* period = textLabel(texts::kPeriodLabel, "lblObdobi", this);
    periods_ = new QComboBox(this);
    periods_->setObjectName(QStringLiteral("cmbObdobi"));
    for (const QString& text : texts::kPeriods) {
        periods_->addItem(text);
    }
    periods_->setCurrentIndex(static_cast<int>(HeatPeriod::LastWeek));
    period->setBuddy(periods_);
    connect(periods_, &QComboBox::activated, this,
            [this](int index) { choosePeriod(static_cast<HeatPeriod>(index)); });
    auto* drill = new QPushButton(texts::kDrillWeakKeys, this);
    drill->setObjectName(QStringLiteral("cmdProcvicit"));
    drill->setAutoDefault(false);
    // Always offered, whatever the period shows: the drill picks its keys from the whole
    // history, and says so itself when there is nothing to drill.
    connect(drill, &QPushButton::clicked, this, &KeyHeatMapView::drillRequested);

    note_ = textLabel({}, "lblKlavesyPoznamka", this);
    note_->setWordWrap(true);
    colourText(*note_, kNoteColour);
    note_->hide();

    QWidget* keyboard = buildKeyboard(keyboardType);
    about_ = textLabel(texts::kKeyHint, "lblPopisKlavesy", this);
    about_->setWordWrap(true);
    about_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    about_->setFixedWidth(keyboard->width());
    about_->setMinimumHeight(3 * about_->fontMetrics().lineSpacing());
    QWidget* legend = buildLegend();
    weakest_ = buildRanking("lstNejvicChyb");
    slowest_ = buildRanking("lstNejpomalejsi");

    auto* top = new QHBoxLayout;
    top->addWidget(period);
    top->addWidget(periods_);
    top->addStretch();
    top->addWidget(drill);

    auto* left = new QVBoxLayout;
    left->addWidget(keyboard);
    left->addWidget(about_);
    left->addWidget(legend);
    left->addStretch();

    auto* rankings = new QGridLayout;
    rankings->addWidget(titleLabel(texts::kWeakestTitle, "lblNejvicChyb", this), 0, 0);
    rankings->addWidget(titleLabel(texts::kSlowestTitle, "lblNejpomalejsi", this), 0, 1);
    rankings->addWidget(weakest_, 1, 0);
    rankings->addWidget(slowest_, 1, 1);
    auto* note =
        textLabel(texts::rankedKeysNote(KeyHeatMap::kMinRankedStrokes), "lblPoradiPoznamka", this);
    colourText(*note, kGrey);
    rankings->addWidget(note, 2, 0, 1, 2);
    rankings->setRowStretch(3, 1);

    auto* middle = new QHBoxLayout;
    middle->addLayout(left);
    middle->addSpacing(12);
    middle->addLayout(rankings, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(note_);
    layout->addLayout(middle, 1);
}

QWidget* KeyHeatMapView::buildKeyboard(int keyboardType) {
    keyboard_ = std::make_unique<KeyboardSurface>(keyboardType, this);
    surface_ = keyboard_->widget();

    // Tab walks the keys row by row, as the table lists them.
    QWidget* previous = nullptr;
    for (const KeyDef& key : kKeyTable) {
        QWidget* w = keyWidget(key.code);
        w->setFocusPolicy(Qt::StrongFocus);
        w->installEventFilter(this);
        codes_.insert(w, key.code);
        if (previous != nullptr) {
            setTabOrder(previous, w);
        }
        previous = w;
    }

    ring_ = new QFrame(surface_);
    ring_->setObjectName(QStringLiteral("shpVybranaKlavesa"));
    ring_->setAttribute(Qt::WA_TransparentForMouseEvents);
    ring_->setStyleSheet(
        QStringLiteral("QFrame { border: %1px solid %2; background: transparent; }")
            .arg(kRingWidth)
            .arg(kRingColour.name()));
    ring_->hide();
    return surface_;
}

QWidget* KeyHeatMapView::buildLegend() {
    auto* legend = new QWidget(this);
    legend->setObjectName(QStringLiteral("fraLegenda"));
    auto* row = new QHBoxLayout(legend);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(titleLabel(texts::kLegendTitle, "lblChybovost", legend));
    int index = 0;
    for (const Heat heat : {Heat::None, Heat::Low, Heat::Medium, Heat::High}) {
        auto* swatch = new QLabel(legend);
        swatch->setObjectName(QStringLiteral("shpLegenda(%1)").arg(index));
        const int side = swatch->fontMetrics().height();
        swatch->setFixedSize(side, side);
        swatch->setStyleSheet(QStringLiteral("background: %1; border: 1px solid #808080;")
                                  .arg(colorName(KeyHeatMap::colour(heat))));
        auto* text = new QLabel(map_.legendText(heat), legend);
        text->setObjectName(QStringLiteral("lblLegenda(%1)").arg(index));
        row->addSpacing(8);
        row->addWidget(swatch);
        row->addWidget(text);
        ++index;
    }
    row->addStretch();
    return legend;
}

QListWidget* KeyHeatMapView::buildRanking(const char* name) {
    auto* list = new QListWidget(this);
    list->setObjectName(QLatin1String(name));
    list->setMouseTracking(true);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    const int rows = KeyHeatMap::kRankedKeys;
    list->setMinimumHeight(rows * (list->fontMetrics().height() + 4) + 2 * list->frameWidth());
    list->setMinimumWidth(list->fontMetrics().horizontalAdvance(
                              texts::weakestEntry(texts::kSpaceName, QStringLiteral("100,0"))) +
                          4 * list->fontMetrics().averageCharWidth());
    list->setStyleSheet(
        QStringLiteral("QListWidget { background: black; color: white; border: 1px solid #404040; }"
                       "QListWidget::item:selected { background: #0000FF; color: white; }"));
    const auto show = [this](QListWidgetItem* item) {
        if (item != nullptr) {
            choose(item->data(Qt::UserRole).toInt());
        }
    };
    connect(list, &QListWidget::itemEntered, this, show);
    connect(list, &QListWidget::currentItemChanged, this, show);
    return list;
}

KeyHeatMapView::~KeyHeatMapView() = default;

QWidget* KeyHeatMapView::keyWidget(int code) const {
    return keyboard_->keyWidget(code);
}

HeatPeriod KeyHeatMapView::period() const {
    return static_cast<HeatPeriod>(periods_->currentIndex());
}

void KeyHeatMapView::choosePeriod(HeatPeriod period) {
    periods_->setCurrentIndex(static_cast<int>(period));
    emit periodChosen(period);
}

void KeyHeatMapView::showFigures(const std::optional<QList<KeyFigure>>& figures) {
    map_ = KeyHeatMap(figures.value_or(QList<KeyFigure>()), locale_);
    for (auto& [code, key] : keyboard_->keys()) {
        key.back = map_.colour(code);
        QWidget* w = keyboard_->keyWidget(code);
        const QString text = map_.hoverText(code);
        w->setToolTip(text);
        w->setAccessibleDescription(text);
    }
    keyboard_->sync();

    if (!figures) {
        note_->setText(texts::kKeyFiguresUnreadable);
    } else {
        note_->setText(map_.isEmpty() ? texts::kNoKeyFigures : QString());
    }
    note_->setVisible(!note_->text().isEmpty());
    fillRanking(*weakest_, map_.weakest(), true);
    fillRanking(*slowest_, map_.slowest(), false);
    describe();
}

void KeyHeatMapView::fillRanking(QListWidget& list, const QList<int>& codes, bool weakest) {
    const QSignalBlocker quiet(list);
    list.clear();
    for (const int code : codes) {
        auto* item =
            new QListWidgetItem(weakest ? map_.weakestText(code) : map_.slowestText(code), &list);
        item->setData(Qt::UserRole, code);
        item->setToolTip(map_.hoverText(code));
    }
}

void KeyHeatMapView::choose(int code) {
    QWidget* key = keyWidget(code);
    if (key == nullptr) {
        return;
    }
    chosen_ = code;
    ring_->setGeometry(key->geometry().adjusted(-kRingWidth, -kRingWidth, kRingWidth, kRingWidth));
    ring_->show();
    ring_->raise();
    describe();
}

void KeyHeatMapView::describe() {
    const int code = hovered_ != 0 ? hovered_ : chosen_;
    about_->setText(code != 0 ? map_.hoverText(code) : texts::kKeyHint);
}

int KeyHeatMapView::neighbour(int code, int direction) const {
    const QRect from = keyWidget(code)->geometry();
    const QPoint centre = from.center();
    int best = code;
    int bestScore = INT_MAX;
    for (auto it = codes_.cbegin(); it != codes_.cend(); ++it) {
        const QPoint d = static_cast<const QWidget*>(it.key())->geometry().center() - centre;
        int ahead = 0;
        int aside = 0;
        switch (direction) {
        case Qt::Key_Left:
            ahead = -d.x();
            aside = d.y();
            break;
        case Qt::Key_Right:
            ahead = d.x();
            aside = d.y();
            break;
        case Qt::Key_Up:
            ahead = -d.y();
            aside = d.x();
            break;
        default:
            ahead = d.y();
            aside = d.x();
            break;
        }
        // Sideways stays in the row; up and down take the key most nearly above or below.
        const bool sideways = direction == Qt::Key_Left || direction == Qt::Key_Right;
        if (ahead <= 0 || (sideways && 2 * std::abs(aside) >= from.height())) {
            continue;
        }
        // The upper row lies half a key to the left: of two keys equally near, up takes the
        // right one and down the left one, so that up and down lead back where they began.
        const bool leaning = direction == Qt::Key_Up ? aside > 0 : aside < 0;
        const int score = 2 * (ahead + 3 * std::abs(aside)) + (leaning ? 0 : 1);
        if (score < bestScore || (score == bestScore && it.value() < best)) {
            bestScore = score;
            best = it.value();
        }
    }
    return best;
}

bool KeyHeatMapView::eventFilter(QObject* watched, QEvent* event) {
    const auto found = codes_.constFind(watched);
    if (found == codes_.cend()) {
        return QWidget::eventFilter(watched, event);
    }
    const int code = found.value();
    switch (event->type()) {
    case QEvent::Enter:
        hovered_ = code;
        describe();
        break;
    case QEvent::Leave:
        hovered_ = 0;
        describe();
        break;
    case QEvent::FocusIn:
        choose(code);
        break;
    case QEvent::KeyPress: {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Up ||
            key == Qt::Key_Down) {
            keyWidget(neighbour(code, key))->setFocus(Qt::OtherFocusReason);
            return true;
        }
        break;
    }
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace tipora::ui
