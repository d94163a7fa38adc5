// The settings dialog as the learner meets it: every caption where it belongs, each control at
// its place (frames hold their controls at places counted from the frame's corner), and Tab
// walking the controls in the order the dialog was designed with.
#include "dialogs/frm_nastaveni.h"
#include "support/fake_platform.h"
#include "ui/settings_dialog.h"

#include <QApplication>
#include <QGroupBox>
#include <QRect>
#include <QTest>
#include <iterator>
#include <memory>

Q_DECLARE_METATYPE(tipora::Geometry)

using namespace tipora;

namespace {

// The window is drawn at 96 dots per inch: 15 twips to a pixel.
constexpr int kTwipsPerPixel = 15;

QRect inPixels(const Geometry& g) {
    return {g.left / kTwipsPerPixel, g.top / kTwipsPerPixel, g.width / kTwipsPerPixel,
            g.height / kTwipsPerPixel};
}

} // namespace

class TestSettingsDialogLayout : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        shared_.Metronom = 120;
        shared_.OdezvaKlaves = 0;
        shared_.PipChyba = 0;
        shared_.PipKlavesa = 0;
        model_ = std::make_unique<FrmNastaveni>(shared_, platform_, QStringLiteral("unused.ini"));
        model_->Form_Load();
        dialog_ = std::make_unique<ui::SettingsDialog>(*model_);
        dialog_->show();
        QVERIFY(QTest::qWaitForWindowActive(dialog_.get()));
    }

    void windowHasItsTitleAndSize() {
        QCOMPARE(model_->window.title, QStringLiteral("Nastavení"));
        QCOMPARE(model_->window.width, 5055);
        QCOMPARE(model_->window.height, 3255);
        QCOMPARE(dialog_->windowTitle(), QStringLiteral("Nastavení"));
        QCOMPARE(dialog_->size(), QSize(5055 / kTwipsPerPixel, 3255 / kTwipsPerPixel));
    }

    void controlStandsInItsPlace_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption"); // null: the control has none
        QTest::addColumn<QString>("container");
        QTest::addColumn<Geometry>("place"); // from the container's corner
        const QString none;
        const QString window;
        const QString metronome = QStringLiteral("FraMetronom");
        const QString audio = QStringLiteral("FraAudio");
        const QString visual = QStringLiteral("FraVizual");
        QTest::newRow("FraMetronom") << "FraMetronom"
                                     << "Metronom" << window << Geometry{120, 120, 4815, 735};
        QTest::newRow("txtMetronom")
            << "txtMetronom" << none << metronome << Geometry{120, 360, 615, 255};
        QTest::newRow("vsbMetronom")
            << "vsbMetronom" << none << metronome << Geometry{720, 360, 255, 255};
        QTest::newRow("lblPopiska001")
            << "lblPopiska001"
            << "úhozů / min" << metronome << Geometry{1080, 360, 1095, 255};
        QTest::newRow("FraAudio") << "FraAudio"
                                  << "Zvukový signál" << window << Geometry{120, 960, 4815, 975};
        QTest::newRow("chkPipKlavesa")
            << "chkPipKlavesa"
            << "při stisku klávesy" << audio << Geometry{120, 360, 2415, 255};
        QTest::newRow("chkPipChyba") << "chkPipChyba"
                                     << "při chybě" << window << Geometry{240, 1560, 2415, 255};
        QTest::newRow("FraVizual") << "FraVizual"
                                   << "Vizuální odezva" << window << Geometry{120, 2040, 4815, 735};
        QTest::newRow("chkOdezvaKlaves") << "chkOdezvaKlaves"
                                         << "při stisku klávesy (doporučuji do 300 úhozů / min)"
                                         << visual << Geometry{120, 360, 4575, 255};
        QTest::newRow("cmdSave") << "cmdSave"
                                 << "Ulož nastavení" << window << Geometry{120, 2880, 1455, 255};
        QTest::newRow("cmdOK") << "cmdOK"
                               << "OK" << window << Geometry{3600, 2880, 615, 255};
        QTest::newRow("cmdZrus") << "cmdZrus"
                                 << "Zruš" << window << Geometry{4320, 2880, 615, 255};
    }

    void controlStandsInItsPlace() {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(QString, container);
        QFETCH(Geometry, place);
        Geometry expected = place;
        if (!container.isEmpty()) {
            const Control* frame = modelControl(container);
            QVERIFY(frame != nullptr);
            expected.left += frame->geometry.left;
            expected.top += frame->geometry.top;
        }

        const Control* control = modelControl(name);
        QVERIFY2(control != nullptr, qPrintable(name));
        QCOMPARE(control->geometry, expected);

        QWidget* widget = dialog_->findChild<QWidget*>(name);
        QVERIFY2(widget != nullptr, qPrintable(name));
        QVERIFY(widget->isVisible());
        QCOMPARE(widget->mapTo(dialog_.get(), QPoint(0, 0)), inPixels(expected).topLeft());
        QCOMPARE(widget->size(), inPixels(expected).size());

        if (!caption.isNull()) {
            QCOMPARE(control->text, caption);
            const auto* group = qobject_cast<QGroupBox*>(widget);
            const QString shown =
                group != nullptr ? group->title() : widget->property("text").toString();
            QCOMPARE(shown, caption);
        }
    }

    void tabWalksTheControlsInOrder() {
        QWidget* box = dialog_->findChild<QWidget*>(QStringLiteral("txtMetronom"));
        QTRY_COMPARE(QApplication::focusWidget(), box); // the tempo box has the focus at first
        const QStringList order{QStringLiteral("txtMetronom"),     QStringLiteral("vsbMetronom"),
                                QStringLiteral("chkPipKlavesa"),   QStringLiteral("chkPipChyba"),
                                QStringLiteral("chkOdezvaKlaves"), QStringLiteral("cmdOK"),
                                QStringLiteral("cmdZrus"),         QStringLiteral("cmdSave")};
        const QStringList forward = focusCycle(Qt::Key_Tab, Qt::NoModifier);
        const QStringList backward = focusCycle(Qt::Key_Backtab, Qt::ShiftModifier);
        QStringList reversed{order.first()};
        reversed.append(QStringList(order.rbegin(), std::prev(order.rend())));

        QCOMPARE(forward, order);
        QCOMPARE(backward, reversed);
    }

    void cleanupTestCase() {
        dialog_.reset();
        model_.reset();
    }

private:
    // The controls that take the focus, from the tempo box round to the last before it again.
    static QStringList focusCycle(Qt::Key key, Qt::KeyboardModifiers modifiers) {
        QWidget* first = QApplication::focusWidget();
        QStringList names;
        for (int step = 0; step < 20 && QApplication::focusWidget() != nullptr; ++step) {
            names << QApplication::focusWidget()->objectName();
            QTest::keyClick(QApplication::focusWidget(), key, modifiers);
            if (QApplication::focusWidget() == first) {
                break;
            }
        }
        return names;
    }

    const Control* modelControl(const QString& name) const {
        for (const Control* control : model_->controls()) {
            if (control->name == name) {
                return control;
            }
        }
        return nullptr;
    }

    Promenne shared_;
    test::FakePlatform platform_;
    std::unique_ptr<FrmNastaveni> model_;
    std::unique_ptr<ui::SettingsDialog> dialog_;
};

QTEST_MAIN(TestSettingsDialogLayout)
#include "test_settings_dialog_layout.moc"
