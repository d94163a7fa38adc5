// The floor the tutor's start-up and memory are compared with: the least a Qt Widgets program
// of the same shape costs on the same machine in the same run. A small dialog with two choices
// answered with Enter, then a main window with a menu bar and a few labels.
// --clock: one more label shows the time of day, rewritten as each second turns: what the least
// Qt Widgets clock face costs an idle desktop.
#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTime>
#include <QTimer>
#include <QVBoxLayout>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);

    QDialog dialog;
    dialog.setWindowTitle(QStringLiteral("Floor"));
    auto* layout = new QVBoxLayout(&dialog);
    auto* first = new QRadioButton(QStringLiteral("first"), &dialog);
    first->setChecked(true);
    layout->addWidget(first);
    layout->addWidget(new QRadioButton(QStringLiteral("second"), &dialog));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, &dialog);
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    layout->addWidget(buttons);
    if (dialog.exec() != QDialog::Accepted)
        return 0;

    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Floor main"));
    for (const char* title : {"File", "Lessons", "Settings", "Help"}) {
        QMenu* menu = window.menuBar()->addMenu(QString::fromLatin1(title));
        for (int i = 1; i <= 5; ++i)
            menu->addAction(QStringLiteral("Item %1").arg(i));
    }
    auto* surface = new QWidget(&window);
    auto* labels = new QVBoxLayout(surface);
    for (int i = 1; i <= 6; ++i)
        labels->addWidget(new QLabel(QStringLiteral("Label %1: 0").arg(i), surface));
    QTimer clock;
    if (QApplication::arguments().contains(QStringLiteral("--clock"))) {
        auto* face = new QLabel(surface);
        labels->addWidget(face);
        clock.setSingleShot(true);
        clock.setTimerType(Qt::PreciseTimer);
        const auto tick = [&clock, face] {
            face->setText(QTime::currentTime().toString(QStringLiteral("HH:mm:ss")));
            clock.start(1002 - QTime::currentTime().msec());
        };
        QObject::connect(&clock, &QTimer::timeout, tick);
        tick();
    }
    window.setCentralWidget(surface);
    window.resize(640, 480);
    window.show();
    return QApplication::exec();
}
