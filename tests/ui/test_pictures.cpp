#include "ui/pictures.h"

#include <QImage>
#include <QSet>
#include <QtTest>

namespace {

struct Census {
    int pixels = 0;
    int black = 0;
    int white = 0;
    int colours = 0;
};

Census census(const QPixmap& pixmap) {
    const QImage image = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
    Census result;
    QSet<QRgb> seen;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            seen.insert(pixel);
            ++result.pixels;
            if (pixel == qRgb(0, 0, 0))
                ++result.black;
            else if (pixel == qRgb(255, 255, 255))
                ++result.white;
        }
    }
    result.colours = int(seen.size());
    return result;
}

} // namespace

class TestPictures : public QObject {
    Q_OBJECT

private slots:
    void sizesAndContent_data();
    void sizesAndContent();
    void darkPicturesAreWhiteOnBlack_data();
    void darkPicturesAreWhiteOnBlack();
    void windowIconOffersAllSizes();
};

void TestPictures::sizesAndContent_data() {
    QTest::addColumn<QPixmap>("pixmap");
    QTest::addColumn<QSize>("size");
    QTest::newRow("finger guide") << tipora::pictures::fingerGuide() << QSize(323, 84);
    QTest::newRow("loudspeaker") << tipora::pictures::loudspeaker() << QSize(24, 22);
    QTest::newRow("next line") << tipora::pictures::nextLineArrow() << QSize(32, 32);
    QTest::newRow("slide out") << tipora::pictures::slideOutButton() << QSize(32, 32);
    QTest::newRow("slide in") << tipora::pictures::slideInButton() << QSize(32, 32);
    QTest::newRow("about") << tipora::pictures::aboutPicture() << QSize(258, 154);
}

void TestPictures::sizesAndContent() {
    QFETCH(QPixmap, pixmap);
    QFETCH(QSize, size);
    // Layouts reserve exactly this much room, so a high-DPI pixmap would be laid out wrong.
    QCOMPARE(pixmap.deviceIndependentSize().toSize(), size);
    QCOMPARE(pixmap.size(), size);
    QVERIFY2(census(pixmap).colours >= 3, "picture is (almost) blank");
}

void TestPictures::darkPicturesAreWhiteOnBlack_data() {
    QTest::addColumn<QPixmap>("pixmap");
    QTest::newRow("finger guide") << tipora::pictures::fingerGuide();
    QTest::newRow("next line") << tipora::pictures::nextLineArrow();
}

void TestPictures::darkPicturesAreWhiteOnBlack() {
    QFETCH(QPixmap, pixmap);
    const QImage image = pixmap.toImage();
    // Both sit on a black window; a non-black rim would show as a frame around them.
    QCOMPARE(image.pixel(0, 0), qRgb(0, 0, 0));
    QCOMPARE(image.pixel(image.width() - 1, image.height() - 1), qRgb(0, 0, 0));
    const Census c = census(pixmap);
    QVERIFY2(c.black > c.pixels / 2, "background is not mostly black");
    QVERIFY2(c.white > c.pixels / 50, "too little white drawing");
}

void TestPictures::windowIconOffersAllSizes() {
    const QIcon icon = tipora::pictures::windowIcon();
    QVERIFY(!icon.isNull());
    for (int side : {16, 32, 48}) {
        QVERIFY2(icon.availableSizes().contains(QSize(side, side)),
                 qPrintable(QString::number(side)));
        const QPixmap pixmap = icon.pixmap(QSize(side, side));
        QCOMPARE(pixmap.size(), QSize(side, side));
        const Census c = census(pixmap);
        QVERIFY(c.colours >= 3);
        // Corners of a rounded cap must stay (nearly) see-through, or the icon gets a square box.
        QVERIFY(qAlpha(pixmap.toImage().pixel(0, 0)) < 32);
    }
}

QTEST_MAIN(TestPictures)
#include "test_pictures.moc"
