// Message boxes: answered by a queued answer or by the stylus on a button, Enter and Escape, the
// buttons and default of each type, the owner disabled during the loop, the records tests read.
#include "DialogTestSupport.h"

using namespace dialogtest;
using platform::testing::MessageRecorder;
using platform::testing::pressKey;

namespace {

const std::vector<ExpectedMessage> kOwnerAroundAMessageBox = {
    {WM_ACTIVATE, kSent | kWParam, WA_INACTIVE},
    {WM_KILLFOCUS, kSent},
    {WM_ENABLE, kSent | kWParam, FALSE},
    {WM_ENTERIDLE, kSent | kWParam | kOptional, MSGF_DIALOGBOX},
    {WM_ENABLE, kSent | kWParam, TRUE},
    {WM_ACTIVATE, kSent | kWParam, WA_ACTIVE},
    {WM_SETFOCUS, kSent},
};

TEST_F(DialogTest, AQueuedAnswerEndsTheBoxOnceItIsShownAndPainted) {
    MessageRecorder recorder;
    recorder.watch(owner());
    platform::queueScriptedAnswer(IDNO);
    EXPECT_EQ(MessageBoxW(owner(), u"Save the changes?", u"Brimwell Dashel", MB_YESNO | MB_ICONQUESTION),
              IDNO);
    EXPECT_TRUE(recorder.matches(kOwnerAroundAMessageBox, "owner of a message box answered by a script"));
    auto boxes = platform::takeMessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].owner, owner());
    EXPECT_EQ(boxes[0].caption, u"Brimwell Dashel");
    EXPECT_EQ(boxes[0].text, u"Save the changes?");
    EXPECT_EQ(boxes[0].type, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
    EXPECT_EQ(boxes[0].result, IDNO);
    EXPECT_EQ(platform::takeLastBeep(), static_cast<int>(MB_ICONQUESTION));
    EXPECT_TRUE(IsWindowEnabled(owner()));
    EXPECT_EQ(GetFocus(), owner());
}

TEST_F(DialogTest, ATapOnAButtonAnswersAndTheOwnerHearsOfTheIdleLoop) {
    MessageRecorder recorder;
    recorder.watch(owner());
    IdleSteps steps;
    std::u16string caption;
    std::u16string text;
    steps.then([&](HWND box) {
        WCHAR buffer[64];
        GetWindowTextW(box, buffer, 64);
        caption = buffer;
        GetDlgItemTextW(box, 0xFFFF, buffer, 64);
        text = buffer;
        EXPECT_FALSE(IsWindowEnabled(owner()));
        EXPECT_EQ(GetFocus(), GetDlgItem(box, IDOK));
        EXPECT_TRUE(GetDlgItem(box, IDCANCEL));
        tapWindow(GetDlgItem(box, IDCANCEL));
    });
    EXPECT_EQ(MessageBoxW(owner(), u"Empty Memory", u"Brimwell", MB_OKCANCEL), IDCANCEL);
    EXPECT_EQ(caption, u"Brimwell");
    EXPECT_EQ(text, u"Empty Memory");
    std::vector<ExpectedMessage> expected = kOwnerAroundAMessageBox;
    expected[3].flags &= ~kOptional;
    EXPECT_TRUE(recorder.matches(expected, "owner of a message box answered by a tap"));
    EXPECT_EQ(platform::takeMessageBoxes().at(0).result, IDCANCEL);
}

struct KeyCase {
    UINT type;
    UINT key;
    int result;
};

TEST_F(DialogTest, EnterChoosesTheDefaultButtonAndEscapeTheCancelOne) {
    const KeyCase kCases[] = {
        {MB_OKCANCEL, VK_RETURN, IDOK},
        {MB_OKCANCEL | MB_DEFBUTTON2, VK_RETURN, IDCANCEL},
        {MB_YESNOCANCEL | MB_DEFBUTTON3, VK_RETURN, IDCANCEL},
        {MB_YESNOCANCEL, VK_ESCAPE, IDCANCEL},
        {MB_RETRYCANCEL | MB_ICONHAND, VK_RETURN, IDRETRY},
        {MB_ABORTRETRYIGNORE | MB_DEFBUTTON2, VK_RETURN, IDRETRY},
        {MB_OK, VK_ESCAPE, IDOK},
        {MB_YESNO | MB_DEFBUTTON2, VK_RETURN, IDNO},
    };
    for (const KeyCase& c : kCases) {
        IdleSteps steps;
        steps.then([&](HWND) { pressKey(c.key); });
        EXPECT_EQ(MessageBoxW(owner(), u"text", u"caption", c.type), c.result)
            << "type 0x" << std::hex << c.type;
    }
}

TEST_F(DialogTest, EscapeDoesNothingWithoutACancelButton) {
    IdleSteps steps;
    steps.then([](HWND) { pressKey(VK_ESCAPE); }).then([](HWND box) {
        EXPECT_TRUE(IsWindowVisible(box));
        platform::queueScriptedAnswer(IDOK);  // a box without OK takes the answer as its default
        PostMessageW(box, WM_NULL, 0, 0);
    });
    EXPECT_EQ(MessageBoxW(owner(), u"Delete?", nullptr, MB_YESNO | MB_DEFBUTTON2), IDNO);
    EXPECT_EQ(steps.idles(), 2);
    EXPECT_EQ(platform::takeMessageBoxes().at(0).caption, u"Error");
}

TEST_F(DialogTest, LongTextIsWrappedInsideTheScreenAndTheBoxIsCentred) {
    IdleSteps steps;
    RECT box{};
    RECT text{};
    steps.then([&](HWND window) {
        GetWindowRect(window, &box);
        GetWindowRect(GetDlgItem(window, 0xFFFF), &text);
        pressKey(VK_RETURN);
    });
    std::u16string longText(40, u'x');
    for (int i = 0; i < 5; ++i)
        longText += u" words that do not fit on one line of the screen";
    EXPECT_EQ(MessageBoxW(nullptr, longText.c_str(), u"Wrap", MB_OK | MB_ICONEXCLAMATION), IDOK);
    EXPECT_GE(box.left, 0);
    EXPECT_LE(box.right, 240);
    EXPECT_NEAR(box.left, 240 - box.right, 1);
    EXPECT_GT(text.bottom - text.top, 40);  // several lines
    EXPECT_EQ(platform::takeLastBeep(), static_cast<int>(MB_ICONEXCLAMATION));
}

TEST_F(DialogTest, ABadTypeFails) {
    EXPECT_EQ(MessageBoxW(owner(), u"x", u"y", 7), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

}  // namespace
