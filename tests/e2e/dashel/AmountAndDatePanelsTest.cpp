// The calculator and the date picker of the built program, driven as a user drives them: characters
// typed on the device, the calculator's own keys and the keypad tapped by their window names, the
// picker's fields typed into, stepped and moved between, on a Russian and an English locale. After
// each step the text dump shows what the display and the fields hold; OK carries the value into the
// field panel. Snapshots of both panels (the currency list open) are kept for every screen profile.
#include <algorithm>
#include <ctime>

#include "DashelFixture.h"
#include "platform/windows.h"

namespace dashele2e {
namespace {

const ScreenProfile kProfiles[] = {
    {240, 320, 96}, {480, 640, 192}, {640, 480, 192}, {480, 800, 192}, {240, 240, 96}};
constexpr ScreenProfile kPortraitScreen{240, 320, 96};

// The amount the calculator's display shows in a dump: the display's one text run that is neither its
// caption nor the currency field's.
std::string displayIn(const std::vector<TextRun>& runs) {
    const std::string display = "Calculator/CalculatorDisplay/";
    for (const TextRun& run : runs)
        if (run.window.rfind(display, 0) == 0 && run.window != display + "Amount" &&
            run.window.find("FingerComboBox") == std::string::npos)
            return run.text;
    return "(none)";
}

// The text of the window's run; the picker's caption "Date" shares its name with the day field.
std::string textOfWindow(const std::vector<TextRun>& runs, const std::string& window) {
    for (const TextRun& run : runs)
        if (run.window == window && run.text != "Date") return run.text;
    return "(none)";
}

bool fieldPanelShows(const std::vector<TextRun>& runs, const std::string& text) {
    return std::any_of(runs.begin(), runs.end(),
                       [&](const TextRun& run) { return run.window == "FieldPanel" && run.text == text; });
}

struct CalculatorStep {
    const char* action;  // a script line
    const char* display;
    // The same key on the device, for a tap on the keypad, which a square screen hides.
    const char* onDevice = nullptr;
};
const CalculatorStep kCalculatorSteps[] = {
    {"char 12", "12"},
    {"tap-window Calculator/CalculatorKeyboard/Plus", "12"},
    {"char 30", "30"},
    {"tap-window Calculator/CalculatorKeyboard/Equals", "42.00"},
    {"tap-window Calculator/CalculatorKeyboard/Equals", "72.00"},  // "=" repeats "+ 30"
    {"tap-window Calculator/CalculatorKeyboard/Asterisk", "72.00"},
    {"char 10", "10"},
    {"tap-window Calculator/CalculatorKeyboard/Percent", "7.20"},
    {"tap-window Calculator/CalculatorKeyboard/Divide", "7.20"},
    {"char 0", "0"},
    {"tap-window Calculator/CalculatorKeyboard/Equals", "Error"},
    {"char 5", "5"},
    {"tap-window Calculator/CalculatorKeyboard/ChangeSign", "-5"},
    {"tap-window Calculator/CalculatorKeyboard/Comma", "-5."},
    {"char 25", "-5.25"},
    {"tap-window Calculator/CalculatorKeyboard/Minus", "-5.25"},
    {"char .5", "0.5"},
    {"tap-window Calculator/CalculatorKeyboard/Equals", "-5.75"},
    {"tap-window Calculator/CalculatorKeyboard/Clear", "0"},
    {"tap-window Keyboard/7", "7", "char 7"},
    {"tap-window Keyboard/Dot", "7.", "char ."},
    {"tap-window Keyboard/5", "7.5", "char 5"},
    {"tap-window Keyboard/Backspace", "7.", "key BACKSPACE"},
    {"key BACKSPACE", "7"},
    {"char .5", "7.5"},
};

class CalculatorPanelTest : public DashelE2ETest, public ::testing::WithParamInterface<ScreenProfile> {};

TEST_P(CalculatorPanelTest, TypingAndTheKeysShowOnTheDisplayAndOkTakesTheAmount) {
    const ScreenProfile profile = GetParam();
    const bool keypad = profile.width != profile.height;
    const std::string folder = snapshotFolder(profile);
    auto file = [&](const std::string& name) { return folder + "/" + name; };
    Script script;
    script.line("wait 300").line("tap-text Закрыть").line("tap-text Сумма");
    script.line("dump-text " + file("calc-0.json"));
    int step = 0;
    for (const CalculatorStep& s : kCalculatorSteps) {
        ++step;
        script.line(s.onDevice != nullptr && !keypad ? s.onDevice : s.action)
            .line("dump-text " + file("calc-" + std::to_string(step) + ".json"));
    }
    script.shot(file("calc-typed.png"))
        .line("tap-window Calculator/CalculatorDisplay/FingerComboBox")
        .shot(file("calc-currencies.png"))
        .line("tap-text EUR")
        .line("dump-text " + file("calc-currency.json"))
        .line("tap-text OK")
        .line("dump-text " + file("calc-form.json"))
        .shot(file("calc-form.png"))
        .line("tap-text Дата")
        .shot(file("date-today.png"))
        .line("quit");
    ASSERT_EQ(runDashel(profile, script.text()), 0) << output();

    EXPECT_EQ(displayIn(readTextDump(file("calc-0.json"))), "0") << "a new entry's amount";
    step = 0;
    for (const CalculatorStep& s : kCalculatorSteps) {
        ++step;
        EXPECT_EQ(displayIn(readTextDump(file("calc-" + std::to_string(step) + ".json"))), s.display)
            << "after step " << step << ": " << s.action;
    }
    std::vector<TextRun> currency = readTextDump(file("calc-currency.json"));
    EXPECT_EQ(textOfWindow(currency, "Calculator/CalculatorDisplay/FingerComboBox/EUR"), "EUR");
    // No category: the amount is a deposit, in euros on the dollar account.
    std::vector<TextRun> form = readTextDump(file("calc-form.json"));
    EXPECT_TRUE(fieldPanelShows(form, "€7.50")) << readFile(file("calc-form.json"));
    EXPECT_TRUE(fieldPanelShows(form, "Checking (USD)")) << readFile(file("calc-form.json"));
}

INSTANTIATE_TEST_SUITE_P(Profiles, CalculatorPanelTest, ::testing::ValuesIn(kProfiles), [](const auto& info) {
    return "w" + std::to_string(info.param.width) + "h" + std::to_string(info.param.height);
});

// The date picker on a locale: what its fields show (day, month's abbreviation, year) after each step.
struct PickerLocale {
    const char* name;  // the POSIX locale
    // The field VK_LEFT moves to from the year: the month in day-month-year order, the day in
    // month-day-year order.
    const char* leftOfYear;
};

class DatePickerPanelTest : public DashelE2ETest, public ::testing::WithParamInterface<PickerLocale> {
  protected:
    // The locale's abbreviation of month (1..12), as the picker draws it.
    static std::string monthName(const char* locale, int month) {
        EXPECT_TRUE(platform::setUserLocale(locale));
        SYSTEMTIME t{};
        t.wYear = 2020;
        t.wMonth = static_cast<WORD>(month);
        t.wDay = 1;
        WCHAR text[32] = {};
        GetDateFormatW(LOCALE_USER_DEFAULT, 0, &t, u"MMM", text, 32);
        platform::setUserLocale("");
        return platform::toUtf8(text);
    }
};

TEST_P(DatePickerPanelTest, TypedDigitsArrowKeysAndFieldMovesShowInTheFieldsAndOkTakesTheDate) {
    const PickerLocale locale = GetParam();
    const std::string folder = snapshotFolder(kPortraitScreen);
    auto file = [&](const std::string& name) { return folder + "/date-" + locale.name + "-" + name; };
    // The day field has the focus first.
    const char* steps[] = {"tap-window Keyboard/1",
                           "tap-window Keyboard/5",
                           "tap-window DatePicker/Year",
                           "tap-window Keyboard/2",
                           "tap-window Keyboard/0",
                           "tap-window Keyboard/2",
                           "tap-window Keyboard/0",
                           "tap-window DatePicker/MonthUp",
                           "tap-window DatePicker/Year",
                           "key LEFT",
                           "key 3"};
    Script script;
    script.line("wait 300").line("tap-text Закрыть").line("tap-text Дата");
    script.line("dump-text " + file("0.json"));
    for (size_t i = 0; i < std::size(steps); ++i)
        script.line(steps[i]).line("dump-text " + file(std::to_string(i + 1) + ".json"));
    script.shot(file("typed.png")).line("tap-text OK").line("dump-text " + file("form.json")).line("quit");
    ASSERT_EQ(runDashel(kPortraitScreen, script.text(), {{"LC_ALL", locale.name}}), 0) << output();

    // Today as the program read it from the real clock (this process may run on a virtual one).
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    SYSTEMTIME today{};
    today.wYear = static_cast<WORD>(local.tm_year + 1900);
    today.wMonth = static_cast<WORD>(local.tm_mon + 1);
    today.wDay = static_cast<WORD>(local.tm_mday);
    const int nextMonth = today.wMonth % 12 + 1;
    const bool monthFirst = std::string(locale.leftOfYear) == "Date";
    struct Shown {
        std::string day, month, year;
    };
    char day[8];
    std::snprintf(day, sizeof day, "%02d", today.wDay);
    const std::string month = monthName(locale.name, today.wMonth);
    const std::string year = std::to_string(today.wYear);
    const std::string next = monthName(locale.name, nextMonth);
    const Shown expected[] = {
        {day, month, year},
        {"01", month, year},
        {"15", month, year},
        {"15", month, year},
        {"15", month, "0002"},
        {"15", month, "0020"},
        {"15", month, "0202"},
        {"15", month, "2020"},
        {"15", next, "2020"},
        {"15", next, "2020"},
        {"15", next, "2020"},
        {monthFirst ? "03" : "15", monthFirst ? next : monthName(locale.name, 3), "2020"}};
    for (size_t i = 0; i < std::size(expected); ++i) {
        std::vector<TextRun> runs = readTextDump(file(std::to_string(i) + ".json"));
        SCOPED_TRACE(testing::Message() << "after step " << i << " " << (i > 0 ? steps[i - 1] : ""));
        EXPECT_EQ(textOfWindow(runs, "DatePicker/Date"), expected[i].day);
        EXPECT_EQ(textOfWindow(runs, "DatePicker/Month"), expected[i].month);
        EXPECT_EQ(textOfWindow(runs, "DatePicker/Year"), expected[i].year);
    }
    // The field panel shows the date taken in the locale's short form.
    char shortDate[16];
    if (monthFirst)
        std::snprintf(shortDate, sizeof shortDate, "%02d/03/20", nextMonth);
    else
        std::snprintf(shortDate, sizeof shortDate, "15.03.20");
    EXPECT_TRUE(fieldPanelShows(readTextDump(file("form.json")), shortDate)) << readFile(file("form.json"));
}

INSTANTIATE_TEST_SUITE_P(Locales, DatePickerPanelTest,
                         ::testing::Values(PickerLocale{"ru_RU.UTF-8", "Month"},
                                           PickerLocale{"en_US.UTF-8", "Date"}),
                         [](const auto& info) { return std::string(info.param.name).substr(0, 2); });

}  // namespace
}  // namespace dashele2e
