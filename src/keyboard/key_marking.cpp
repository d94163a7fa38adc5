#include "keyboard/key_marking.h"

#include "ground/key_table.h"
#include "ground/lesson_catalogue.h"

#include <array>

namespace tipora {

namespace {

struct StageDef {
    int previous; // the stage whose green set comes first, 0 for none
    std::string_view own;
};

// Stage 5 lists its whole set itself rather than building on stage 4.
constexpr std::array<StageDef, 9> kStages{{
    {0, "a d f g h j k l s ů r u"},
    {1, "e i o p , ."},
    {2, "q t z ú"},
    {3, "m v"},
    {0, "a c d e f g h i j k l m o p q r s t u v w x y z ů , . - ú"},
    {5, "b n"},
    {6, "LShift ř á RShift"},
    {7, "š č í"},
    {8, "é ě ž ý"},
}};

struct LessonMarks {
    std::string_view green; // further green keys, after the base marking
    std::string_view red;   // the keys the lesson introduces
};

constexpr std::array<LessonMarks, kLessonCount> kLessonMarks{{
    {"", "d f j k"},
    {"d f j k", "l s"},
    {"d f j k l s", "a ů"},
    {"a d f j k l s ů", "g h"},
    {"a d f g h j k l s ů", "r u"},
    {"", "e i ,"},
    {"e i ,", ""},
    {"e i ,", "o ."},
    {"e i o , .", "p"},
    {"", ""},
    {"", "t"},
    {"t", "z"},
    {"t z", "q ú"},
    {"", ""},
    {"", ""},
    {"", ""},
    {"", "v"},
    {"v", "m"},
    {"", ""},
    {"", ""},
    {"", "c"},
    {"c", "w x -"},
    {"c w x -", "y"},
    {"", ""},
    {"", ""},
    {"", ""},
    {"", "b"},
    {"b", "n"},
    {"", ""},
    {"", ""},
    {"", "LShift"},
    {"LShift", "RShift"},
    {"LShift RShift", ""},
    {"LShift RShift", "ř"},
    {"LShift ř RShift", "á"},
    {"", ""},
    {"", "č"},
    {"č", "í"},
    {"č í", ""},
    {"č í", "š"},
    {"", "é"},
    {"é", "ě"},
    {"é ě", ""},
    {"é ě", "ž"},
    {"é ě ž", "ý"},
    {"", "´"},
    {"´", "CapsLock"},
    {"CapsLock ´", "; )"},
    {"CapsLock ´ ; )", "+"},
    {"CapsLock + ´ ; )", "= §"},
}};

void paint(KeyLabels& keys, std::string_view names, Color color) {
    for (int code : keyCodes(names)) {
        if (auto it = keys.find(code); it != keys.end()) {
            it->second.back = color;
        }
    }
}

int codeOf(std::string_view name) {
    if (name == "LShift") {
        return kKeyShift;
    }
    if (name == "RShift") {
        return kKeyRightShift;
    }
    if (name == "CapsLock") {
        return kKeyCapsLock;
    }
    for (const KeyDef& key : kKeyTable) {
        if (key.caption == name) {
            return key.code;
        }
    }
    return 0;
}

} // namespace

std::vector<int> keyCodes(std::string_view names) {
    std::vector<int> codes;
    while (!names.empty()) {
        const auto blank = names.find(' ');
        const std::string_view name = names.substr(0, blank);
        if (const int code = codeOf(name); code != 0) {
            codes.push_back(code);
        }
        names = blank == std::string_view::npos ? std::string_view{} : names.substr(blank + 1);
    }
    return codes;
}

void whitenKeyboard(KeyLabels& keys) {
    for (auto it = keys.lower_bound(kKeyShift); it != keys.end() && it->first <= kKeyRightShift;
         ++it) {
        it->second.back = kWhite;
    }
}

void clearKeyboard(KeyLabels& keys) {
    for (auto it = keys.lower_bound(kKeyShift); it != keys.end() && it->first <= kKeyRightShift;
         ++it) {
        it->second.back = kWhite;
        it->second.fore = kBlack;
    }
}

void OznaceniKlaves(int stage, KeyLabels& keys) {
    const StageDef& def = kStages.at(static_cast<std::size_t>(stage - 1));
    whitenKeyboard(keys);
    if (def.previous != 0) {
        OznaceniKlaves(def.previous, keys);
    }
    paint(keys, def.own, kGreen);
}

void markLesson(int number, KeyLabels& keys) {
    const int base = lesson(number).baseMarking;
    if (base == 0) {
        whitenKeyboard(keys);
    } else {
        OznaceniKlaves(base, keys);
    }
    const LessonMarks& marks = kLessonMarks[static_cast<std::size_t>(number - 1)];
    paint(keys, marks.green, kGreen);
    paint(keys, marks.red, kRed);
}

} // namespace tipora
