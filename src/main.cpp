#include "app/frm_tipora.h"
#include "app/promenne.h"
#include "history/history_texts.h"
#include "history/lesson_recorder.h"
#include "history/results_store.h"
#include "keyboard/frm_klavesnice.h"
#include "ui/keyboard_type_dialog.h"
#include "ui/main_window.h"
#include "ui/pictures.h"
#include "ui/qt_platform.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tipora"));
    QApplication::setApplicationVersion(QStringLiteral("1.5"));
    QApplication::setWindowIcon(tipora::pictures::windowIcon());

    tipora::Promenne shared;
    tipora::ui::QtPlatform platform;

    {
        tipora::FrmKlavesnice keyboardType(shared, platform);
        tipora::ui::KeyboardTypeDialog dialog(keyboardType);
        dialog.exec();
        // Closed some other way than OK: no main window, the program ends.
        if (!keyboardType.accepted()) {
            return 0;
        }
    }

    tipora::FrmTipora model(shared, platform);
    // Opened when the first lesson is chosen, so the start does not wait for it.
    tipora::SqliteResultsStore results(model.dataPath(tipora::texts::kResultsFileName));
    tipora::LessonRecorder recorder(results, [] { return QDateTime::currentDateTime(); });
    model.setResultsRecording(&recorder);
    platform.setResultsStore(&results);
    tipora::ui::MainWindow window(model, platform);
    window.load();
    window.show();
    return QApplication::exec();
}
