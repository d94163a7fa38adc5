#pragma once

#include <QString>
#include <array>
#include <string_view>

namespace tipora {

// The six submenus of "Lekce", in menu order.
enum class Submenu { SPR, HPR, DPR, VP, CR, ZZC };

struct SubmenuDef {
    Submenu id;
    std::string_view name;    // menu control name
    std::string_view caption; // UTF-8
};

inline constexpr std::array<SubmenuDef, 6> kSubmenus{{
    {Submenu::SPR, "mnuSPR", "Střední písmenná řada"},
    {Submenu::HPR, "mnuHPR", "Horní písmenná řada"},
    {Submenu::DPR, "mnuDPR", "Dolní písmenná řada"},
    {Submenu::VP, "mnuVP", "Velká písmena"},
    {Submenu::CR, "mnuCR", "Číselná řada"},
    {Submenu::ZZC, "mnuZZC", "Znaménka, značky, číslice"},
}};

struct LessonDef {
    int number;
    Submenu submenu;
    std::string_view caption; // UTF-8, the menu item's caption
    int baseMarking;          // 0: the lesson whitens the keyboard itself; else OznaceniKlavesNN
};

inline constexpr int kLessonCount = 50;

inline constexpr std::array<LessonDef, kLessonCount> kLessons{{
    {1, Submenu::SPR, "f j d k", 0},
    {2, Submenu::SPR, "s l", 0},
    {3, Submenu::SPR, "a ů", 0},
    {4, Submenu::SPR, "g h", 0},
    {5, Submenu::HPR, "r u", 0},
    {6, Submenu::HPR, "e i ,", 1},
    {7, Submenu::HPR, "opakování", 1},
    {8, Submenu::HPR, "o .", 1},
    {9, Submenu::HPR, "p", 1},
    {10, Submenu::HPR, "opakování", 2},
    {11, Submenu::HPR, "t", 2},
    {12, Submenu::HPR, "z", 2},
    {13, Submenu::HPR, "ú q", 2},
    {14, Submenu::HPR, "opakování", 3},
    {15, Submenu::HPR, "opakování", 3},
    {16, Submenu::HPR, "opakování", 3},
    {17, Submenu::DPR, "v", 3},
    {18, Submenu::DPR, "m", 3},
    {19, Submenu::DPR, "opakování", 4},
    {20, Submenu::DPR, "opakování", 4},
    {21, Submenu::DPR, "c", 4},
    {22, Submenu::DPR, "x w -", 4},
    {23, Submenu::DPR, "y", 4},
    {24, Submenu::DPR, "opakování", 5},
    {25, Submenu::DPR, "opakování", 5},
    {26, Submenu::DPR, "opakování", 5},
    {27, Submenu::DPR, "b", 5},
    {28, Submenu::DPR, "n", 5},
    {29, Submenu::DPR, "opakování", 6},
    {30, Submenu::DPR, "opakování", 6},
    {31, Submenu::VP, "velká písmena s levým Shiftem", 6},
    {32, Submenu::VP, "velká písmena s pravým Shiftem", 6},
    {33, Submenu::VP, "opakování", 6},
    {34, Submenu::CR, "ř", 6},
    {35, Submenu::CR, "á", 6},
    {36, Submenu::CR, "opakování", 7},
    {37, Submenu::CR, "č", 7},
    {38, Submenu::CR, "í", 7},
    {39, Submenu::CR, "opakování", 7},
    {40, Submenu::CR, "š", 7},
    {41, Submenu::CR, "é", 8},
    {42, Submenu::CR, "ě", 8},
    {43, Submenu::CR, "opakování", 8},
    {44, Submenu::CR, "ž", 8},
    {45, Submenu::CR, "ý", 8},
    {46, Submenu::CR, "malá písmena s háčkem či čárkou", 9},
    {47, Submenu::CR, "velká písmena s háčkem či čárkou, CapsLock", 9},
    {48, Submenu::ZZC, "? ! : ; \" ( ) /", 9},
    {49, Submenu::ZZC, "arabské a římské číslice, data, matematické značky", 9},
    {50, Submenu::ZZC, "° % § ", 9},
}};

const LessonDef& lesson(int number); // 1 … 50

QString lessonMenuName(int number);     // "mnuLekce07"
QString lessonHeader(int number);       // "LEKCE 07"
QString lessonExerciseFile(int number); // "cz02.dat"
QString lessonCaption(int number);

} // namespace tipora
