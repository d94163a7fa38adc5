#include "keyboard/frm_klavesnice.h"
#include "support/fake_platform.h"

#include <QTest>

using namespace tipora;

class TestFrmKlavesnice : public QObject {
    Q_OBJECT

private slots:
    void noChoiceLeavesTheTypeAlone() {
        Promenne shared;
        test::FakePlatform platform;
        FrmKlavesnice dialog(shared, platform);
        dialog.CmdOK_Click(); // without the load nothing is selected
        QVERIFY(!shared.TypKlavesnice.isSet());
    }

    void layoutAndCentring() {
        Promenne shared;
        test::FakePlatform platform;
        platform.screen = QSize(15000, 11000);
        FrmKlavesnice dialog(shared, platform);
        dialog.Form_Load();
        QCOMPARE(dialog.window.left, (15000 - 2175) / 2 + 1); // 6412.5 rounds up
        QCOMPARE(dialog.window.top, (11000 - 1455) / 2 + 1);
        QCOMPARE(dialog.lblNadpis.text, QStringLiteral("Zadej typ klávesnice:"));
        QCOMPARE(dialog.OptCZ.text, QStringLiteral("česká"));
        QCOMPARE(dialog.OptCZQ.text, QStringLiteral("česká (QWERTY)"));
        QCOMPARE(dialog.CmdOK.text, QStringLiteral("OK"));
        QCOMPARE(dialog.controls().front(), &dialog.lblNadpis);
        QCOMPARE(dialog.OptCZQ.geometry, (Geometry{120, 720, 1935, 255}));
    }

    void theChosenTypeIsStoredOnOkOrEnter_data() {
        QTest::addColumn<bool>("qwerty");
        QTest::addColumn<bool>("enter");
        QTest::addColumn<int>("type");
        QTest::newRow("OK at once") << false << false << 1;
        QTest::newRow("Enter at once") << false << true << 1;
        QTest::newRow("QWERTY and OK") << true << false << 2;
        QTest::newRow("QWERTY and Enter") << true << true << 2;
    }

    void theChosenTypeIsStoredOnOkOrEnter() {
        QFETCH(bool, qwerty);
        QFETCH(bool, enter);
        QFETCH(int, type);
        Promenne shared;
        test::FakePlatform platform;
        FrmKlavesnice dialog(shared, platform);
        QVERIFY(!shared.TypKlavesnice.isSet());
        dialog.Form_Load();
        QCOMPARE(dialog.OptCZ.value, 1);
        if (qwerty) {
            dialog.OptCZQ_Click();
            QCOMPARE(dialog.OptCZ.value, 0);
        }
        dialog.Form_KeyDown(65); // any other key does nothing
        QVERIFY(!dialog.accepted());
        if (enter) {
            dialog.Form_KeyDown(13);
        } else {
            dialog.CmdOK_Click();
        }
        QVERIFY(dialog.accepted());
        QCOMPARE(shared.TypKlavesnice.value(), type);
    }
};

QTEST_GUILESS_MAIN(TestFrmKlavesnice)
#include "test_frm_klavesnice.moc"
