#include "app/classroom_config.h"
#include "app/file_locations.h"
#include "app/promenne.h"
#include "app/texts.h"
#include "classroom/classroom_texts.h"
#include "exam/score_command.h"
#include "history/history_texts.h"
#include "history/lesson_recorder.h"
#include "keyboard/frm_klavesnice.h"
#include "ui/keyboard_type_dialog.h"
#include "ui/main_window.h"
#include "ui/pictures.h"
#include "ui/qt_platform.h"
#include "ui/results_module.h"
#include "window/frm_tipora.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>
#include <QMessageBox>
#include <cstdio>

#ifndef TIPORA_VERSION
#error "TIPORA_VERSION must give the program's version"
#endif

namespace {

// What the command line says, in the program's language.
const QString kDescription =
    QStringLiteral("Výuka psaní všemi deseti na české klávesnici.\n\n"
                   "Kurz se bere ze složky dané volbou --course, jinak z aktuální složky\n"
                   "(když v ní je cz.dat), jinak ze share/tipora vedle programu a ze složek\n"
                   "dat XDG. Nastavení tipora.ini se čte a ukládá v aktuální složce, když\n"
                   "v ní je, jinak v $XDG_CONFIG_HOME/tipora/tipora.ini.\n\n"
                   "tipora --score ORIGINÁL OPIS oboduje opis napsaný jinde jako zkouška:\n"
                   "hrubé a čisté úhozy, chyby, chybovost, přesnost a známku (ta jen\n"
                   "za 10 minut s penalizací 10). Soubory v UTF-8 nebo Windows-1250.\n\n"
                   "tipora --trida otevře učiteli přehled třídy ze serveru třídy, který\n"
                   "nastavuje soubor tipora/trida.conf v $XDG_CONFIG_HOME nebo /etc/xdg.");
const QString kCourseOption =
    QStringLiteral("Vezme kurz (cz.dat, cz01.dat … cz10.dat) ze složky <složka>.");
const QString kCourseValue = QStringLiteral("složka");
const QString kScoreOption =
    QStringLiteral("Oboduje opis: za volbou dva soubory, originál a napsaný text.");
const QString kMinutesOption = QStringLiteral("Minuty, za které byl opis napsán (10).");
const QString kPenaltyOption =
    QStringLiteral("Úhozů odečtených za chybu: 10 ve státní zkoušce, 50 v soutěžích (10).");
const QString kClassOption =
    QStringLiteral("Otevře učiteli přehled třídy ze serveru třídy (soubor trida.conf).");
const QString kJsonOption = QStringLiteral("Vypíše výsledek opisu jako jeden objekt JSON.");
const QString kScoreFiles = QStringLiteral("--score chce dva soubory: originál a opis");
const QString kOnlyWithScore = QStringLiteral("volba „--%1“ platí jen s --score");
const QString kHelpOption = QStringLiteral("Vypíše tuto nápovědu.");
const QString kVersionOption = QStringLiteral("Vypíše verzi programu.");
const QString kNoCourseFolder = QStringLiteral("%1: složka kurzu „%2“ neexistuje.");
const QString kUnknownOption = QStringLiteral("neznámá volba „%1“");
const QString kMissingValue = QStringLiteral("volbě „%1“ chybí hodnota");
const QString kUnexpectedArgument = QStringLiteral("nečekaný argument „%1“");
const QString kSeeHelp = QStringLiteral("Nápovědu vypíše: %1 --help");

void print(std::FILE* stream, const QString& text) {
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fflush(stream);
}

struct CommandLine {
    QString course;
    bool classOverview = false;
    int exitCode = -1; // >= 0: end with this code, no window
};

// Read before the application object exists: help, version and a mistyped option need no
// display, and must not open a window.
CommandLine readCommandLine(int argc, char* argv[]) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments << QString::fromLocal8Bit(argv[i]);
    }
    const QString program =
        arguments.isEmpty() ? QStringLiteral("tipora") : QFileInfo(arguments.front()).fileName();

    QCommandLineParser parser;
    parser.setApplicationDescription(kDescription);
    const QCommandLineOption course(QStringLiteral("course"), kCourseOption, kCourseValue);
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, kHelpOption);
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     kVersionOption);
    const QCommandLineOption score(QStringLiteral("score"), kScoreOption);
    const QCommandLineOption minutes(QStringLiteral("minutes"), kMinutesOption, QStringLiteral("N"),
                                     QStringLiteral("10"));
    const QCommandLineOption penalty(QStringLiteral("penalty"), kPenaltyOption, QStringLiteral("P"),
                                     QStringLiteral("10"));
    const QCommandLineOption json(QStringLiteral("json"), kJsonOption);
    const QCommandLineOption classOverview(QStringLiteral("trida"), kClassOption);
    parser.addOptions({course, help, version, score, minutes, penalty, json, classOverview});
    // Qt's own options (-platform wayland, -style fusion, -session when a session is restored)
    // are left for the application object, which takes them out of argv.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const auto qtOption = [&parser](const char* name, bool takesValue) {
        QCommandLineOption option(QString::fromLatin1(name));
        if (takesValue) {
            option.setValueName(QStringLiteral("value"));
        }
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    };
    for (const char* name : {"platform", "platformpluginpath", "platformtheme", "plugin",
                             "qwindowgeometry", "qwindowicon", "qwindowtitle", "session", "display",
                             "geometry", "style", "stylesheet", "title", "name", "visual"}) {
        qtOption(name, true);
    }
    for (const char* name : {"reverse", "widgetcount", "nograb", "dograb", "sync"}) {
        qtOption(name, false);
    }

    CommandLine result;
    const bool parsed = parser.parse(arguments);
    // The figures of a copy test mean nothing without one.
    QString scoreOnly;
    for (const QString& name :
         {QStringLiteral("minutes"), QStringLiteral("penalty"), QStringLiteral("json")}) {
        if (parsed && !parser.isSet(score) && parser.isSet(name) && scoreOnly.isEmpty()) {
            scoreOnly = name;
        }
    }
    if (!parsed) {
        // Named as typed. The only other failure is an option without its value, which can
        // only be the last argument.
        const QStringList unknown = parser.unknownOptionNames();
        QString why = kMissingValue.arg(arguments.back());
        for (const QString& argument : arguments.mid(1)) {
            QString name = argument.section(u'=', 0, 0);
            while (name.startsWith(u'-')) {
                name.remove(0, 1);
            }
            if (argument.startsWith(u'-') && !unknown.isEmpty() && name == unknown.front()) {
                why = kUnknownOption.arg(argument.section(u'=', 0, 0));
                break;
            }
        }
        print(stderr, program + QStringLiteral(": ") + why + u'\n' + kSeeHelp.arg(program) + u'\n');
        result.exitCode = 2;
    } else if (parser.isSet(score)) {
        const QStringList files = parser.positionalArguments();
        if (files.size() != 2) {
            print(stderr, program + QStringLiteral(": ") + kScoreFiles + u'\n' +
                              kSeeHelp.arg(program) + u'\n');
            result.exitCode = 2;
            return result;
        }
        const tipora::ScoreRun run =
            tipora::runScore({program, files[0], files[1], parser.value(minutes),
                              parser.value(penalty), parser.isSet(json)});
        print(stdout, run.output);
        print(stderr, run.error);
        result.exitCode = run.exitCode;
    } else if (!scoreOnly.isEmpty()) {
        print(stderr, program + QStringLiteral(": ") + kOnlyWithScore.arg(scoreOnly) + u'\n' +
                          kSeeHelp.arg(program) + u'\n');
        result.exitCode = 2;
    } else if (!parser.positionalArguments().isEmpty()) {
        print(stderr, program + QStringLiteral(": ") +
                          kUnexpectedArgument.arg(parser.positionalArguments().front()) + u'\n' +
                          kSeeHelp.arg(program) + u'\n');
        result.exitCode = 2;
    } else if (parser.isSet(help)) {
        // The parser names the program "<executable_name>" until an application object exists.
        print(stdout, parser.helpText().replace(QStringLiteral("<executable_name>"), program));
        result.exitCode = 0;
    } else if (parser.isSet(version)) {
        print(stdout, QStringLiteral("Tipora %1\n").arg(QStringLiteral(TIPORA_VERSION)));
        result.exitCode = 0;
    } else if (parser.isSet(classOverview)) {
        result.classOverview = true;
    } else if (parser.isSet(course)) {
        result.course = QFileInfo(parser.value(course)).absoluteFilePath();
        if (!QFileInfo(result.course).isDir()) {
            print(stderr, kNoCourseFolder.arg(program, parser.value(course)) + u'\n');
            result.exitCode = 2;
        }
    }
    return result;
}

} // namespace

int main(int argc, char* argv[]) {
    const CommandLine commandLine = readCommandLine(argc, argv);
    if (commandLine.exitCode >= 0) {
        return commandLine.exitCode;
    }

    // On X11 the toolkit hands the window's pixels to the server through shared memory, and
    // before it draws again over pixels the server may not have read yet it waits for the
    // server. The clock face redraws the same few pixels every second, so an idle window waited
    // for the server once a second; the pixels of a clock or a lit key are better sent in the
    // request itself. Measured: a fifth less CPU while idle, no slower keys or start.
    qputenv("QT_XCB_NO_MITSHM", "1");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tipora"));
    QApplication::setApplicationVersion(QStringLiteral(TIPORA_VERSION));
    QApplication::setWindowIcon(tipora::pictures::windowIcon());
    // Ties the windows to the menu entry and its icon on the desktop.
    QGuiApplication::setDesktopFileName(QStringLiteral("cz.tipora.Tipora"));

    // The lab's file: every result is also sent to the class's server.
    tipora::ClassroomSetup classroom = tipora::loadClassroomSetup(tipora::systemConfigFolders());
    if (commandLine.classOverview) {
        // The teacher's view needs no course, no keyboard and no history file of its own.
        tipora::ui::LateResults results({}, tipora::ui::LateResults::installedModuleFolders(),
                                        classroom);
        const QString problem = results.showClassWindow(nullptr);
        if (!problem.isEmpty()) {
            print(stderr, problem + u'\n');
            QMessageBox::warning(nullptr, tipora::texts::kMessageTitle, problem);
            return 2;
        }
        return 0;
    }

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

    const tipora::FileLocations files =
        tipora::findFileLocations(tipora::systemSearchPlaces(commandLine.course));
    tipora::FrmTipora model(shared, platform, files);
    // Loaded and opened when the first lesson is chosen, so the start does not wait for it.
    tipora::ui::LateResults results(
        tipora::resultsFilePath(files, tipora::texts::kResultsFileName, tipora::userDataFolder()),
        tipora::ui::LateResults::installedModuleFolders(), classroom);
    tipora::LessonRecorder recorder(results, [] { return QDateTime::currentDateTime(); });
    model.setResultsRecording(&recorder);
    model.setPracticeHistory(&recorder);
    if (classroom.config) {
        model.setClassroomLine(tipora::texts::kClassAndName.arg(classroom.config->className,
                                                                classroom.config->studentName));
    }
    platform.setResults(&results);
    tipora::ui::MainWindow window(model, platform);
    window.load();
    window.show();
    return QApplication::exec();
}
