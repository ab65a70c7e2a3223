// The window layer as the system uses it: a host creates a top-level window,
// the editor's frame a child window in it with its window procedure, the
// host pumps messages until the child has painted, and the window's pixels
// are read back with GetDIBits.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/win32.h"
#include "tests/support/pixel_canvas.h"
#if !defined(_WIN32)
#include "platform/win32_testing.h"
#endif

namespace {

constexpr int kHostX = 100;
constexpr int kHostY = 50;
constexpr int kHostWidth = 64;
constexpr int kHostHeight = 48;
constexpr RECT kEditor{5, 6, 35, 26};  // in the host's client area
constexpr COLORREF kEditorFace = RGB(200, 30, 40);
constexpr COLORREF kEditorLine = RGB(0, 0, 255);
constexpr COLORREF kClickMark = RGB(0, 255, 0);

std::vector<std::string>& eventLog() {
    static std::vector<std::string> log;
    return log;
}

HINSTANCE testInstance() {
#if defined(_WIN32)
    return GetModuleHandleA(nullptr);
#else
    return nullptr;
#endif
}

bool postClick(HWND window, int x, int y) {
#if defined(_WIN32)
    return PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y)) != FALSE;
#else
    return win32testing::postClick(window, WM_LBUTTONDOWN, x, y);
#endif
}

void fill(HDC dc, const RECT& area, COLORREF color) {
    LOGBRUSH style{BS_SOLID, color, 0};
    HBRUSH brush = CreateBrushIndirect(&style);
    FillRect(dc, &area, brush);
    DeleteObject(brush);
}

// What the frame keeps in its window's user data.
struct EditorState {
    int paints = 0;
    int clicks = 0;
    COLORREF face = kEditorFace;
};

void paintEditor(HDC dc, COLORREF face) {
    fill(dc, {0, 0, kEditor.right - kEditor.left, kEditor.bottom - kEditor.top}, face);
    LOGPEN style{PS_SOLID, {1, 0}, kEditorLine};
    HPEN pen = CreatePenIndirect(&style);
    HGDIOBJ previous = SelectObject(dc, pen);
    MoveToEx(dc, 2, 2, nullptr);
    LineTo(dc, 27, 2);
    SelectObject(dc, previous);
    DeleteObject(pen);
}

LRESULT CALLBACK editorProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* state = reinterpret_cast<EditorState*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (state != nullptr) {
        switch (message) {
            case WM_PAINT: {
                RECT update;
                if (GetUpdateRect(window, &update, FALSE)) {
                    PAINTSTRUCT paint;
                    HDC dc = BeginPaint(window, &paint);
                    paintEditor(dc, state->face);
                    EndPaint(window, &paint);
                    ++state->paints;
                    eventLog().push_back("editor paint");
                }
                break;
            }
            case WM_LBUTTONDOWN: {
                HDC dc = GetDC(window);
                const int x = LOWORD(lParam);
                const int y = HIWORD(lParam);
                fill(dc, {x, y, x + 2, y + 2}, kClickMark);
                ReleaseDC(window, dc);
                ++state->clicks;
                break;
            }
            case WM_DESTROY: eventLog().push_back("editor destroyed"); break;
            default: break;
        }
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT CALLBACK hostProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) eventLog().push_back("host paint");
    if (message == WM_DESTROY) eventLog().push_back("host destroyed");
    return DefWindowProcA(window, message, wParam, lParam);
}

ATOM registerClass(const char* name, WNDPROC procedure) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = testInstance();
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    windowClass.lpszClassName = name;
    return RegisterClassA(&windowClass);
}

void pumpMessages() {
    MSG message;
    for (int i = 0; i < 1000 && PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE); ++i) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

COLORREF buttonFace() {
    LOGBRUSH brush{};
    GetObjectA(GetSysColorBrush(COLOR_BTNFACE), sizeof(brush), &brush);
    return brush.lbColor;
}

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        eventLog().clear();
        ASSERT_NE(0, registerClass("RoomplateTestHost", hostProcedure));
        ASSERT_NE(0, registerClass("RoomplateTestEditor", editorProcedure));
        host = CreateWindowExA(0, "RoomplateTestHost", "Host", WS_POPUP | WS_VISIBLE, kHostX, kHostY, kHostWidth,
                               kHostHeight, nullptr, nullptr, testInstance(), nullptr);
        ASSERT_NE(nullptr, host);
    }
    void TearDown() override {
        if (editor != nullptr) DestroyWindow(editor);
        DestroyWindow(host);
        UnregisterClassA("RoomplateTestEditor", testInstance());
        UnregisterClassA("RoomplateTestHost", testInstance());
    }
    HWND openEditor() {
        editor = CreateWindowExA(0, "RoomplateTestEditor", "Window", WS_CHILD | WS_VISIBLE, kEditor.left, kEditor.top,
                                 kEditor.right - kEditor.left, kEditor.bottom - kEditor.top, host, nullptr,
                                 testInstance(), nullptr);
        if (editor != nullptr) SetWindowLongPtrA(editor, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&state));
        return editor;
    }

    HWND host = nullptr;
    HWND editor = nullptr;
    EditorState state;
};

TEST_F(WindowTest, TheHostReadsBackWhatTheEditorPaintedAndDrewOnAClick) {
    ASSERT_NE(nullptr, openEditor());
    RECT update;
    ASSERT_TRUE(GetUpdateRect(editor, &update, FALSE));  // new and visible: invalid
    EXPECT_EQ(kEditor.right - kEditor.left, update.right);
    EXPECT_EQ(kEditor.bottom - kEditor.top, update.bottom);
    ShowWindow(host, SW_SHOW);
    UpdateWindow(host);
    pumpMessages();
    ASSERT_EQ(1, state.paints);
    EXPECT_FALSE(GetUpdateRect(editor, &update, FALSE));

    PixelCanvas shot(kHostWidth, kHostHeight, host);
    shot.copyWindow(host);
    EXPECT_EQ(buttonFace(), shot.at(0, 0));
    EXPECT_EQ(buttonFace(), shot.at(4, 6));
    EXPECT_EQ(buttonFace(), shot.at(35, 26));
    EXPECT_EQ(kEditorFace, shot.at(5, 6));
    EXPECT_EQ(kEditorFace, shot.at(34, 25));
    EXPECT_EQ(kEditorLine, shot.at(7, 8));   // the line from (2, 2)
    EXPECT_EQ(kEditorLine, shot.at(31, 8));  // to (26, 2)
    EXPECT_EQ(kEditorFace, shot.at(32, 8));  // without its end pixel

    ASSERT_TRUE(postClick(editor, 10, 12));
    pumpMessages();
    EXPECT_EQ(1, state.clicks);
    shot.copyWindow(host);
    EXPECT_EQ(kClickMark, shot.at(15, 18));
    EXPECT_EQ(kClickMark, shot.at(16, 19));
    EXPECT_EQ(kEditorFace, shot.at(17, 20));
}

TEST_F(WindowTest, AChildWindowsDcDrawsOnlyInsideTheChild) {
    ASSERT_NE(nullptr, openEditor());
    pumpMessages();
    HDC dc = GetDC(editor);
    fill(dc, {-10, -10, 100, 100}, kClickMark);
    ReleaseDC(editor, dc);
    PixelCanvas shot(kHostWidth, kHostHeight, host);
    shot.copyWindow(host);
    EXPECT_EQ(kClickMark, shot.at(5, 6));
    EXPECT_EQ(kClickMark, shot.at(34, 25));
    EXPECT_EQ(buttonFace(), shot.at(4, 6));
    EXPECT_EQ(buttonFace(), shot.at(35, 25));
    EXPECT_EQ(buttonFace(), shot.at(34, 26));
}

TEST_F(WindowTest, InvalidatingTheHostRepaintsItBeforeTheChild) {
    ASSERT_NE(nullptr, openEditor());
    pumpMessages();
    eventLog().clear();
    ASSERT_TRUE(InvalidateRect(host, nullptr, TRUE));
    pumpMessages();
    const std::vector<std::string> expected = {"host paint", "editor paint"};
    EXPECT_EQ(expected, eventLog());
    PixelCanvas shot(kHostWidth, kHostHeight, host);
    shot.copyWindow(host);
    EXPECT_EQ(kEditorFace, shot.at(20, 20));  // the host's erase did not stay on top
}

TEST_F(WindowTest, PaintingReachesOnlyTheInvalidPart) {
    ASSERT_NE(nullptr, openEditor());
    pumpMessages();
    state.face = kClickMark;
    const RECT corner{0, 0, 4, 3};
    ASSERT_TRUE(InvalidateRect(editor, &corner, FALSE));
    RECT update;
    ASSERT_TRUE(GetUpdateRect(editor, &update, FALSE));
    EXPECT_EQ(4, update.right);
    EXPECT_EQ(3, update.bottom);
    pumpMessages();
    EXPECT_EQ(2, state.paints);
    PixelCanvas shot(kHostWidth, kHostHeight, host);
    shot.copyWindow(host);
    EXPECT_EQ(kClickMark, shot.at(5, 6));
    EXPECT_EQ(kClickMark, shot.at(8, 7));
    EXPECT_EQ(kEditorFace, shot.at(9, 6));  // the whole face was painted, only the corner shows it
    EXPECT_EQ(kEditorFace, shot.at(5, 9));
}

TEST_F(WindowTest, UserDataKeepsAFullPointerAndTheLongVariantsShareIt) {
    ASSERT_NE(nullptr, openEditor());
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(&state), GetWindowLongPtrA(editor, GWLP_USERDATA));
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(&state), SetWindowLongPtrA(editor, GWLP_USERDATA, 0));
    EXPECT_EQ(0, SetWindowLongA(editor, GWLP_USERDATA, 1234));
    EXPECT_EQ(1234, GetWindowLongA(editor, GWLP_USERDATA));
    EXPECT_EQ(1234, GetWindowLongPtrA(editor, GWLP_USERDATA));
}

TEST_F(WindowTest, ClientRectanglesAndPointMappingFollowTheWindowTree) {
    ASSERT_NE(nullptr, openEditor());
    RECT client;
    ASSERT_TRUE(GetClientRect(editor, &client));
    EXPECT_EQ(0, client.left);
    EXPECT_EQ(30, client.right);
    EXPECT_EQ(20, client.bottom);
    POINT point{0, 0};
    EXPECT_EQ(MAKELONG(kHostX + 5, kHostY + 6), MapWindowPoints(editor, nullptr, &point, 1));
    EXPECT_EQ(kHostX + 5, point.x);
    EXPECT_EQ(kHostY + 6, point.y);
    point = {kHostX + 10, kHostY + 10};
    MapWindowPoints(nullptr, editor, &point, 1);
    EXPECT_EQ(5, point.x);
    EXPECT_EQ(4, point.y);
    point = {1, 1};
    MapWindowPoints(editor, host, &point, 1);
    EXPECT_EQ(6, point.x);
    EXPECT_EQ(7, point.y);
}

TEST_F(WindowTest, DestroyingTheHostTellsItBeforeItsChildAndLeavesStaleHandles) {
    ASSERT_NE(nullptr, openEditor());
    pumpMessages();
    EXPECT_FALSE(UnregisterClassA("RoomplateTestEditor", testInstance()));  // it still has a window
    eventLog().clear();
    HWND oldEditor = editor;
    ASSERT_TRUE(DestroyWindow(host));
    const std::vector<std::string> expected = {"host destroyed", "editor destroyed"};
    EXPECT_EQ(expected, eventLog());
    EXPECT_FALSE(DestroyWindow(oldEditor));
    EXPECT_EQ(0, GetWindowLongPtrA(oldEditor, GWLP_USERDATA));
    RECT rect;
    EXPECT_FALSE(GetClientRect(oldEditor, &rect));
    EXPECT_EQ(nullptr, GetDC(oldEditor));
    EXPECT_FALSE(InvalidateRect(oldEditor, nullptr, TRUE));
    EXPECT_FALSE(ShowWindow(oldEditor, SW_SHOW));
    EXPECT_TRUE(UnregisterClassA("RoomplateTestEditor", testInstance()));
    EXPECT_TRUE(registerClass("RoomplateTestEditor", editorProcedure) != 0);  // TearDown unregisters it again
    editor = nullptr;
    host = nullptr;
}

TEST_F(WindowTest, ClassesAreRegisteredOnceAndCreationNeedsThem) {
    EXPECT_EQ(0, registerClass("RoomplateTestHost", hostProcedure));
    EXPECT_EQ(nullptr,
              CreateWindowExA(0, "NoSuchClass", "", WS_CHILD, 0, 0, 1, 1, host, nullptr, testInstance(), nullptr));
    EXPECT_FALSE(UnregisterClassA("NoSuchClass", testInstance()));
    EXPECT_NE(nullptr, LoadCursorA(nullptr, IDC_ARROW));
}

}  // namespace
