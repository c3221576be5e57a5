// The one platform header of the framework.
//
// On Windows it is the real Win32 API. Everywhere else it declares, under the
// Win32 names and with the Win32 types, constants and signatures, the subset of
// user32, gdi32, comctl32, kernel32 and WGL that the framework calls; the
// implementation is this platform layer (platform/core) with a display driver
// (headless or X11) behind it. Nothing of X11 or EGL is visible here.
#pragma once

#if defined(_WIN32)

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#include <commctrl.h>

#else  // our own Win32 subset

#include <cstddef>
#include <cstdint>

#define WINAPI
#define CALLBACK
#ifndef APIENTRY
#define APIENTRY
#endif

#define DECLARE_HANDLE(name) \
    struct name##__;         \
    typedef struct name##__* name

typedef int BOOL;
typedef unsigned char BYTE;
typedef unsigned short WORD;
typedef unsigned int UINT;
typedef std::uint32_t DWORD;
typedef std::int32_t LONG;
typedef std::int32_t INT;
typedef unsigned short ATOM;
typedef char CHAR;
typedef const char* LPCSTR;
typedef char* LPSTR;
typedef void* LPVOID;
typedef const void* LPCVOID;
typedef void* HANDLE;
typedef std::uintptr_t UINT_PTR;
typedef std::intptr_t LONG_PTR;
typedef std::uintptr_t ULONG_PTR;
typedef std::uintptr_t WPARAM;
typedef std::intptr_t LPARAM;
typedef std::intptr_t LRESULT;
typedef std::size_t SIZE_T;
typedef DWORD COLORREF;

DECLARE_HANDLE(HWND);
DECLARE_HANDLE(HINSTANCE);
DECLARE_HANDLE(HDC);
DECLARE_HANDLE(HGLRC);
DECLARE_HANDLE(HICON);
DECLARE_HANDLE(HMENU);
DECLARE_HANDLE(HBRUSH);
DECLARE_HANDLE(HBITMAP);
DECLARE_HANDLE(HPALETTE);
DECLARE_HANDLE(HRGN);
DECLARE_HANDLE(HPEN);
DECLARE_HANDLE(HFONT);
typedef HICON HCURSOR;
typedef HINSTANCE HMODULE;
typedef void* HGDIOBJ;
typedef void* HGLOBAL;

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

#define MAKEINTRESOURCEA(i) (reinterpret_cast<LPSTR>(static_cast<ULONG_PTR>(static_cast<WORD>(i))))
#define IS_INTRESOURCE(p) ((reinterpret_cast<ULONG_PTR>(p) >> 16) == 0)
#define LOWORD(l) (static_cast<WORD>(static_cast<DWORD_PTR_>(l) & 0xffff))
#define HIWORD(l) (static_cast<WORD>((static_cast<DWORD_PTR_>(l) >> 16) & 0xffff))
typedef std::uintptr_t DWORD_PTR_;
#define MAKELONG(a, b) (static_cast<LONG>(static_cast<WORD>(a) | (static_cast<DWORD>(static_cast<WORD>(b)) << 16)))
#define MAKELPARAM(l, h) (static_cast<LPARAM>(static_cast<DWORD>(MAKELONG(l, h))))
#define MAKEWPARAM(l, h) (static_cast<WPARAM>(static_cast<DWORD>(MAKELONG(l, h))))
#define RGB(r, g, b) (static_cast<COLORREF>(static_cast<BYTE>(r) | (static_cast<WORD>(static_cast<BYTE>(g)) << 8) | (static_cast<DWORD>(static_cast<BYTE>(b)) << 16)))
#define GetRValue(c) (static_cast<BYTE>(c))
#define GetGValue(c) (static_cast<BYTE>((c) >> 8))
#define GetBValue(c) (static_cast<BYTE>((c) >> 16))

// ---- records -------------------------------------------------------------

struct POINT {
    LONG x;
    LONG y;
};
struct SIZE {
    LONG cx;
    LONG cy;
};
struct RECT {
    LONG left;
    LONG top;
    LONG right;
    LONG bottom;
};
typedef RECT* LPRECT;
typedef POINT* LPPOINT;

struct MSG {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    DWORD time;
    POINT pt;
};
typedef MSG* LPMSG;

typedef LRESULT(CALLBACK* WNDPROC)(HWND, UINT, WPARAM, LPARAM);

struct WNDCLASSA {
    UINT style;
    WNDPROC lpfnWndProc;
    int cbClsExtra;
    int cbWndExtra;
    HINSTANCE hInstance;
    HICON hIcon;
    HCURSOR hCursor;
    HBRUSH hbrBackground;
    LPCSTR lpszMenuName;
    LPCSTR lpszClassName;
};

struct WNDCLASSEXA {
    UINT cbSize;
    UINT style;
    WNDPROC lpfnWndProc;
    int cbClsExtra;
    int cbWndExtra;
    HINSTANCE hInstance;
    HICON hIcon;
    HCURSOR hCursor;
    HBRUSH hbrBackground;
    LPCSTR lpszMenuName;
    LPCSTR lpszClassName;
    HICON hIconSm;
};

struct CREATESTRUCTA {
    LPVOID lpCreateParams;
    HINSTANCE hInstance;
    HMENU hMenu;
    HWND hwndParent;
    int cy;
    int cx;
    int y;
    int x;
    LONG style;
    LPCSTR lpszName;
    LPCSTR lpszClass;
    DWORD dwExStyle;
};

struct PAINTSTRUCT {
    HDC hdc;
    BOOL fErase;
    RECT rcPaint;
    BOOL fRestore;
    BOOL fIncUpdate;
    BYTE rgbReserved[32];
};

struct PIXELFORMATDESCRIPTOR {
    WORD nSize;
    WORD nVersion;
    DWORD dwFlags;
    BYTE iPixelType;
    BYTE cColorBits;
    BYTE cRedBits;
    BYTE cRedShift;
    BYTE cGreenBits;
    BYTE cGreenShift;
    BYTE cBlueBits;
    BYTE cBlueShift;
    BYTE cAlphaBits;
    BYTE cAlphaShift;
    BYTE cAccumBits;
    BYTE cAccumRedBits;
    BYTE cAccumGreenBits;
    BYTE cAccumBlueBits;
    BYTE cAccumAlphaBits;
    BYTE cDepthBits;
    BYTE cStencilBits;
    BYTE cAuxBuffers;
    BYTE iLayerType;
    BYTE bReserved;
    DWORD dwLayerMask;
    DWORD dwVisibleMask;
    DWORD dwDamageMask;
};
static_assert(sizeof(PIXELFORMATDESCRIPTOR) == 40, "PIXELFORMATDESCRIPTOR is 40 bytes");

struct BITMAP {
    LONG bmType;
    LONG bmWidth;
    LONG bmHeight;
    LONG bmWidthBytes;
    WORD bmPlanes;
    WORD bmBitsPixel;
    LPVOID bmBits;
};

#pragma pack(push, 2)
struct BITMAPFILEHEADER {
    WORD bfType;
    DWORD bfSize;
    WORD bfReserved1;
    WORD bfReserved2;
    DWORD bfOffBits;
};
#pragma pack(pop)
static_assert(sizeof(BITMAPFILEHEADER) == 14, "BITMAPFILEHEADER is 14 bytes");

struct BITMAPINFOHEADER {
    DWORD biSize;
    LONG biWidth;
    LONG biHeight;
    WORD biPlanes;
    WORD biBitCount;
    DWORD biCompression;
    DWORD biSizeImage;
    LONG biXPelsPerMeter;
    LONG biYPelsPerMeter;
    DWORD biClrUsed;
    DWORD biClrImportant;
};
static_assert(sizeof(BITMAPINFOHEADER) == 40, "BITMAPINFOHEADER is 40 bytes");

struct RGBQUAD {
    BYTE rgbBlue;
    BYTE rgbGreen;
    BYTE rgbRed;
    BYTE rgbReserved;
};

struct BITMAPINFO {
    BITMAPINFOHEADER bmiHeader;
    RGBQUAD bmiColors[1];
};

struct DIBSECTION {
    BITMAP dsBm;
    BITMAPINFOHEADER dsBmih;
    DWORD dsBitfields[3];
    HANDLE dshSection;
    DWORD dsOffset;
};

struct PALETTEENTRY {
    BYTE peRed;
    BYTE peGreen;
    BYTE peBlue;
    BYTE peFlags;
};

struct LOGPALETTE {
    WORD palVersion;
    WORD palNumEntries;
    PALETTEENTRY palPalEntry[1];
};

struct RGNDATAHEADER {
    DWORD dwSize;
    DWORD iType;
    DWORD nCount;
    DWORD nRgnSize;
    RECT rcBound;
};
static_assert(sizeof(RGNDATAHEADER) == 32, "RGNDATAHEADER is 32 bytes");

struct RGNDATA {
    RGNDATAHEADER rdh;
    char Buffer[1];
};

struct XFORM {
    float eM11, eM12, eM21, eM22, eDx, eDy;
};

// ---- constants -------------------------------------------------------------

// Window messages.
#define WM_NULL 0x0000
#define WM_CREATE 0x0001
#define WM_DESTROY 0x0002
#define WM_MOVE 0x0003
#define WM_SIZE 0x0005
#define WM_ACTIVATE 0x0006
#define WM_SETFOCUS 0x0007
#define WM_KILLFOCUS 0x0008
#define WM_SETTEXT 0x000C
#define WM_GETTEXT 0x000D
#define WM_GETTEXTLENGTH 0x000E
#define WM_PAINT 0x000F
#define WM_CLOSE 0x0010
#define WM_QUIT 0x0012
#define WM_ERASEBKGND 0x0014
#define WM_SHOWWINDOW 0x0018
#define WM_SETCURSOR 0x0020
#define WM_NCCREATE 0x0081
#define WM_NCDESTROY 0x0082
#define WM_CONTEXTMENU 0x007B
#define WM_KEYDOWN 0x0100
#define WM_KEYUP 0x0101
#define WM_CHAR 0x0102
#define WM_SYSKEYDOWN 0x0104
#define WM_SYSKEYUP 0x0105
#define WM_SYSCHAR 0x0106
#define WM_COMMAND 0x0111
#define WM_SYSCOMMAND 0x0112
#define WM_MOUSEMOVE 0x0200
#define WM_LBUTTONDOWN 0x0201
#define WM_LBUTTONUP 0x0202
#define WM_LBUTTONDBLCLK 0x0203
#define WM_RBUTTONDOWN 0x0204
#define WM_RBUTTONUP 0x0205
#define WM_MBUTTONDOWN 0x0207
#define WM_MBUTTONUP 0x0208
#define WM_MOUSEWHEEL 0x020A
#define WM_CAPTURECHANGED 0x0215
#define WM_USER 0x0400

// System commands.
#define SC_SIZE 0xF000
#define SC_MOVE 0xF010
#define SC_MINIMIZE 0xF020
#define SC_MAXIMIZE 0xF030
#define SC_CLOSE 0xF060
#define SC_RESTORE 0xF120
#define SC_SCREENSAVE 0xF140
#define SC_MONITORPOWER 0xF170

// Mouse key flags in WPARAM.
#define MK_LBUTTON 0x0001
#define MK_RBUTTON 0x0002
#define MK_SHIFT 0x0004
#define MK_CONTROL 0x0008
#define MK_MBUTTON 0x0010
#define WHEEL_DELTA 120

// Virtual-key codes (digits and letters are their character codes).
#define VK_LBUTTON 0x01
#define VK_RBUTTON 0x02
#define VK_BACK 0x08
#define VK_TAB 0x09
#define VK_CLEAR 0x0C
#define VK_RETURN 0x0D
#define VK_SHIFT 0x10
#define VK_CONTROL 0x11
#define VK_MENU 0x12
#define VK_PAUSE 0x13
#define VK_CAPITAL 0x14
#define VK_ESCAPE 0x1B
#define VK_SPACE 0x20
#define VK_PRIOR 0x21
#define VK_NEXT 0x22
#define VK_END 0x23
#define VK_HOME 0x24
#define VK_LEFT 0x25
#define VK_UP 0x26
#define VK_RIGHT 0x27
#define VK_DOWN 0x28
#define VK_SNAPSHOT 0x2C
#define VK_INSERT 0x2D
#define VK_DELETE 0x2E
#define VK_LWIN 0x5B
#define VK_RWIN 0x5C
#define VK_APPS 0x5D
#define VK_NUMPAD0 0x60
#define VK_NUMPAD1 0x61
#define VK_NUMPAD2 0x62
#define VK_NUMPAD3 0x63
#define VK_NUMPAD4 0x64
#define VK_NUMPAD5 0x65
#define VK_NUMPAD6 0x66
#define VK_NUMPAD7 0x67
#define VK_NUMPAD8 0x68
#define VK_NUMPAD9 0x69
#define VK_MULTIPLY 0x6A
#define VK_ADD 0x6B
#define VK_SEPARATOR 0x6C
#define VK_SUBTRACT 0x6D
#define VK_DECIMAL 0x6E
#define VK_DIVIDE 0x6F
#define VK_F1 0x70
#define VK_F2 0x71
#define VK_F3 0x72
#define VK_F4 0x73
#define VK_F5 0x74
#define VK_F6 0x75
#define VK_F7 0x76
#define VK_F8 0x77
#define VK_F9 0x78
#define VK_F10 0x79
#define VK_F11 0x7A
#define VK_F12 0x7B
#define VK_NUMLOCK 0x90
#define VK_SCROLL 0x91
#define VK_LSHIFT 0xA0
#define VK_RSHIFT 0xA1
#define VK_LCONTROL 0xA2
#define VK_RCONTROL 0xA3
#define VK_LMENU 0xA4
#define VK_RMENU 0xA5
#define VK_OEM_1 0xBA       // ;:
#define VK_OEM_PLUS 0xBB    // =+
#define VK_OEM_COMMA 0xBC   // ,<
#define VK_OEM_MINUS 0xBD   // -_
#define VK_OEM_PERIOD 0xBE  // .>
#define VK_OEM_2 0xBF       // /?
#define VK_OEM_3 0xC0       // `~
#define VK_OEM_4 0xDB       // [{
#define VK_OEM_5 0xDC       // \|
#define VK_OEM_6 0xDD       // ]}
#define VK_OEM_7 0xDE       // '"
#define VK_OEM_102 0xE2     // <> of the international keyboards

// Window styles.
#define WS_OVERLAPPED 0x00000000L
#define WS_POPUP 0x80000000L
#define WS_CHILD 0x40000000L
#define WS_MINIMIZE 0x20000000L
#define WS_VISIBLE 0x10000000L
#define WS_DISABLED 0x08000000L
#define WS_CLIPSIBLINGS 0x04000000L
#define WS_CLIPCHILDREN 0x02000000L
#define WS_MAXIMIZE 0x01000000L
#define WS_CAPTION 0x00C00000L
#define WS_BORDER 0x00800000L
#define WS_DLGFRAME 0x00400000L
#define WS_VSCROLL 0x00200000L
#define WS_HSCROLL 0x00100000L
#define WS_SYSMENU 0x00080000L
#define WS_THICKFRAME 0x00040000L
#define WS_MINIMIZEBOX 0x00020000L
#define WS_MAXIMIZEBOX 0x00010000L
#define WS_OVERLAPPEDWINDOW (WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX)
#define CW_USEDEFAULT (static_cast<int>(0x80000000))

// Class styles.
#define CS_VREDRAW 0x0001
#define CS_HREDRAW 0x0002
#define CS_OWNDC 0x0020

// ShowWindow commands.
#define SW_HIDE 0
#define SW_SHOWNORMAL 1
#define SW_SHOWMINIMIZED 2
#define SW_SHOWMAXIMIZED 3
#define SW_SHOWNOACTIVATE 4
#define SW_SHOW 5
#define SW_MINIMIZE 6
#define SW_SHOWMINNOACTIVE 7
#define SW_SHOWNA 8
#define SW_RESTORE 9
#define SW_SHOWDEFAULT 10

// SetWindowPos flags.
#define SWP_NOSIZE 0x0001
#define SWP_NOMOVE 0x0002
#define SWP_NOZORDER 0x0004
#define SWP_NOREDRAW 0x0008
#define SWP_NOACTIVATE 0x0010

// GetWindowLongPtr indices.
#define GWLP_WNDPROC (-4)
#define GWLP_HINSTANCE (-6)
#define GWLP_ID (-12)
#define GWL_STYLE (-16)

// PeekMessage.
#define PM_NOREMOVE 0x0000
#define PM_REMOVE 0x0001

// Message boxes.
#define MB_OK 0x00000000L
#define MB_OKCANCEL 0x00000001L
#define MB_ABORTRETRYIGNORE 0x00000002L
#define MB_YESNOCANCEL 0x00000003L
#define MB_YESNO 0x00000004L
#define MB_RETRYCANCEL 0x00000005L
#define MB_CANCELTRYCONTINUE 0x00000006L
#define MB_ICONHAND 0x00000010L
#define MB_ICONQUESTION 0x00000020L
#define MB_ICONEXCLAMATION 0x00000030L
#define MB_ICONASTERISK 0x00000040L
#define MB_ICONINFORMATION MB_ICONASTERISK
#define MB_ICONERROR MB_ICONHAND
#define MB_ICONWARNING MB_ICONEXCLAMATION
#define MB_DEFBUTTON1 0x00000000L
#define MB_DEFBUTTON2 0x00000100L
#define MB_DEFBUTTON3 0x00000200L
#define MB_TYPEMASK 0x0000000FL
#define MB_ICONMASK 0x000000F0L
#define MB_DEFMASK 0x00000F00L
#define IDOK 1
#define IDCANCEL 2
#define IDABORT 3
#define IDRETRY 4
#define IDIGNORE 5
#define IDYES 6
#define IDNO 7
#define IDTRYAGAIN 10
#define IDCONTINUE 11

// System cursors and icons.
#define IDC_ARROW MAKEINTRESOURCEA(32512)
#define IDC_IBEAM MAKEINTRESOURCEA(32513)
#define IDC_WAIT MAKEINTRESOURCEA(32514)
#define IDC_CROSS MAKEINTRESOURCEA(32515)
#define IDC_UPARROW MAKEINTRESOURCEA(32516)
#define IDC_SIZE MAKEINTRESOURCEA(32640)
#define IDC_ICON MAKEINTRESOURCEA(32641)
#define IDC_SIZENWSE MAKEINTRESOURCEA(32642)
#define IDC_SIZENESW MAKEINTRESOURCEA(32643)
#define IDC_SIZEWE MAKEINTRESOURCEA(32644)
#define IDC_SIZENS MAKEINTRESOURCEA(32645)
#define IDC_SIZEALL MAKEINTRESOURCEA(32646)
#define IDC_NO MAKEINTRESOURCEA(32648)
#define IDC_HAND MAKEINTRESOURCEA(32649)
#define IDC_APPSTARTING MAKEINTRESOURCEA(32650)
#define IDC_HELP MAKEINTRESOURCEA(32651)
#define IDI_APPLICATION MAKEINTRESOURCEA(32512)

// System colours, stock objects.
#define COLOR_BTNFACE 15
#define COLOR_WINDOW 5
#define WHITE_BRUSH 0
#define BLACK_BRUSH 4
#define NULL_BRUSH 5
#define HOLLOW_BRUSH NULL_BRUSH
#define DEFAULT_PALETTE 15

// System metrics.
#define SM_CXSCREEN 0
#define SM_CYSCREEN 1
#define SM_CXBORDER 5
#define SM_CYBORDER 6
#define SM_CYCAPTION 4
#define SM_CXFIXEDFRAME 7
#define SM_CYFIXEDFRAME 8

// Images.
#define IMAGE_BITMAP 0
#define IMAGE_ICON 1
#define IMAGE_CURSOR 2
#define LR_DEFAULTCOLOR 0x0000
#define LR_LOADFROMFILE 0x0010
#define LR_LOADTRANSPARENT 0x0020
#define LR_CREATEDIBSECTION 0x2000

// Bitmaps.
#define BI_RGB 0
#define BI_RLE8 1
#define BI_RLE4 2
#define BI_BITFIELDS 3
#define DIB_RGB_COLORS 0
#define DIB_PAL_COLORS 1
#define SRCCOPY 0x00CC0020
#define OBJ_BRUSH 2
#define OBJ_PAL 5
#define OBJ_BITMAP 7
#define GDI_ERROR 0xFFFFFFFFu

// Regions.
#define RDH_RECTANGLES 1
#define RGN_AND 1
#define RGN_OR 2
#define RGN_XOR 3
#define RGN_DIFF 4
#define RGN_COPY 5
#define ERROR 0
#define NULLREGION 1
#define SIMPLEREGION 2
#define COMPLEXREGION 3

// Global memory.
#define GMEM_FIXED 0x0000
#define GMEM_MOVEABLE 0x0002
#define GMEM_ZEROINIT 0x0040
#define GHND (GMEM_MOVEABLE | GMEM_ZEROINIT)

// Pixel formats.
#define PFD_TYPE_RGBA 0
#define PFD_TYPE_COLORINDEX 1
#define PFD_MAIN_PLANE 0
#define PFD_OVERLAY_PLANE 1
#define PFD_UNDERLAY_PLANE (-1)
#define PFD_DOUBLEBUFFER 0x00000001
#define PFD_STEREO 0x00000002
#define PFD_DRAW_TO_WINDOW 0x00000004
#define PFD_DRAW_TO_BITMAP 0x00000008
#define PFD_SUPPORT_GDI 0x00000010
#define PFD_SUPPORT_OPENGL 0x00000020
#define PFD_GENERIC_FORMAT 0x00000040
#define PFD_NEED_PALETTE 0x00000080
#define PFD_GENERIC_ACCELERATED 0x00001000
#define PFD_SUPPORT_DIRECTDRAW 0x00002000

// Status bar (common controls).
#define STATUSCLASSNAMEA "msctls_statusbar32"
#define SB_SETTEXTA (WM_USER + 1)
#define SB_GETTEXTA (WM_USER + 2)
#define SB_GETTEXTLENGTHA (WM_USER + 3)
#define SB_SETPARTS (WM_USER + 4)
#define SB_GETPARTS (WM_USER + 6)

// ---- operations ------------------------------------------------------------

// user32: classes and windows
ATOM WINAPI RegisterClassA(const WNDCLASSA* wc);
ATOM WINAPI RegisterClassExA(const WNDCLASSEXA* wc);
BOOL WINAPI UnregisterClassA(LPCSTR class_name, HINSTANCE instance);
BOOL WINAPI GetClassInfoExA(HINSTANCE instance, LPCSTR class_name, WNDCLASSEXA* wc);
HWND WINAPI CreateWindowExA(DWORD ex_style, LPCSTR class_name, LPCSTR window_name, DWORD style, int x, int y,
                            int width, int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID param);
BOOL WINAPI DestroyWindow(HWND wnd);
BOOL WINAPI IsWindow(HWND wnd);
BOOL WINAPI IsWindowVisible(HWND wnd);
BOOL WINAPI ShowWindow(HWND wnd, int cmd);
BOOL WINAPI UpdateWindow(HWND wnd);
HWND WINAPI GetParent(HWND wnd);
int WINAPI GetDlgCtrlID(HWND wnd);
LONG_PTR WINAPI GetWindowLongPtrA(HWND wnd, int index);
BOOL WINAPI GetWindowRect(HWND wnd, LPRECT rect);
BOOL WINAPI GetClientRect(HWND wnd, LPRECT rect);
BOOL WINAPI ClientToScreen(HWND wnd, LPPOINT point);
BOOL WINAPI ScreenToClient(HWND wnd, LPPOINT point);
BOOL WINAPI MoveWindow(HWND wnd, int x, int y, int width, int height, BOOL repaint);
BOOL WINAPI SetWindowPos(HWND wnd, HWND insert_after, int x, int y, int cx, int cy, UINT flags);
BOOL WINAPI SetWindowTextA(HWND wnd, LPCSTR text);
int WINAPI GetWindowTextA(HWND wnd, LPSTR buffer, int max_count);
BOOL WINAPI InvalidateRect(HWND wnd, const RECT* rect, BOOL erase);
BOOL WINAPI ValidateRect(HWND wnd, const RECT* rect);
BOOL WINAPI GetUpdateRect(HWND wnd, LPRECT rect, BOOL erase);
HDC WINAPI BeginPaint(HWND wnd, PAINTSTRUCT* ps);
BOOL WINAPI EndPaint(HWND wnd, const PAINTSTRUCT* ps);
HDC WINAPI GetDC(HWND wnd);
int WINAPI ReleaseDC(HWND wnd, HDC dc);
HWND WINAPI WindowFromDC(HDC dc);

// user32: window properties
BOOL WINAPI SetPropA(HWND wnd, LPCSTR name, HANDLE data);
HANDLE WINAPI GetPropA(HWND wnd, LPCSTR name);
HANDLE WINAPI RemovePropA(HWND wnd, LPCSTR name);

// user32: messages
BOOL WINAPI PeekMessageA(LPMSG msg, HWND wnd, UINT filter_min, UINT filter_max, UINT remove);
BOOL WINAPI GetMessageA(LPMSG msg, HWND wnd, UINT filter_min, UINT filter_max);
BOOL WINAPI PostMessageA(HWND wnd, UINT msg, WPARAM wparam, LPARAM lparam);
LRESULT WINAPI SendMessageA(HWND wnd, UINT msg, WPARAM wparam, LPARAM lparam);
void WINAPI PostQuitMessage(int exit_code);
BOOL WINAPI TranslateMessage(const MSG* msg);
LRESULT WINAPI DispatchMessageA(const MSG* msg);
LRESULT WINAPI DefWindowProcA(HWND wnd, UINT msg, WPARAM wparam, LPARAM lparam);
LRESULT WINAPI CallWindowProcA(WNDPROC proc, HWND wnd, UINT msg, WPARAM wparam, LPARAM lparam);
int WINAPI MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type);

// user32: input
HWND WINAPI SetCapture(HWND wnd);
BOOL WINAPI ReleaseCapture();
HWND WINAPI GetCapture();
BOOL WINAPI SetCursorPos(int x, int y);
BOOL WINAPI GetCursorPos(LPPOINT point);
HWND WINAPI GetForegroundWindow();
BOOL WINAPI SetForegroundWindow(HWND wnd);
int WINAPI GetSystemMetrics(int index);

// user32: cursors, icons, images, regions of windows
HCURSOR WINAPI LoadCursorA(HINSTANCE instance, LPCSTR name);
HICON WINAPI LoadIconA(HINSTANCE instance, LPCSTR name);
HCURSOR WINAPI LoadCursorFromFileA(LPCSTR file_name);
BOOL WINAPI DestroyCursor(HCURSOR cursor);
BOOL WINAPI DestroyIcon(HICON icon);
HANDLE WINAPI LoadImageA(HINSTANCE instance, LPCSTR name, UINT type, int cx, int cy, UINT flags);
HBRUSH WINAPI GetSysColorBrush(int index);
int WINAPI SetWindowRgn(HWND wnd, HRGN rgn, BOOL redraw);
int WINAPI GetWindowRgn(HWND wnd, HRGN rgn);

// comctl32
HWND WINAPI CreateStatusWindowA(LONG style, LPCSTR text, HWND parent, UINT id);

// gdi32: pixel formats and buffers
int WINAPI ChoosePixelFormat(HDC dc, const PIXELFORMATDESCRIPTOR* pfd);
BOOL WINAPI SetPixelFormat(HDC dc, int format, const PIXELFORMATDESCRIPTOR* pfd);
int WINAPI GetPixelFormat(HDC dc);
int WINAPI DescribePixelFormat(HDC dc, int format, UINT size, PIXELFORMATDESCRIPTOR* pfd);
BOOL WINAPI SwapBuffers(HDC dc);

// gdi32: objects, memory contexts, bitmaps, palettes, regions
HGDIOBJ WINAPI GetStockObject(int index);
BOOL WINAPI DeleteObject(HGDIOBJ object);
int WINAPI GetObjectA(HANDLE object, int size, LPVOID buffer);
HDC WINAPI CreateCompatibleDC(HDC dc);
BOOL WINAPI DeleteDC(HDC dc);
HGDIOBJ WINAPI SelectObject(HDC dc, HGDIOBJ object);
HGDIOBJ WINAPI GetCurrentObject(HDC dc, UINT type);
HBITMAP WINAPI CreateDIBSection(HDC dc, const BITMAPINFO* info, UINT usage, void** bits, HANDLE section,
                                DWORD offset);
UINT WINAPI GetDIBColorTable(HDC dc, UINT start, UINT count, RGBQUAD* colors);
HPALETTE WINAPI CreatePalette(const LOGPALETTE* palette);
HPALETTE WINAPI CreateHalftonePalette(HDC dc);
HPALETTE WINAPI SelectPalette(HDC dc, HPALETTE palette, BOOL force_background);
UINT WINAPI RealizePalette(HDC dc);
UINT WINAPI GetPaletteEntries(HPALETTE palette, UINT start, UINT count, PALETTEENTRY* entries);
BOOL WINAPI BitBlt(HDC dest, int x, int y, int cx, int cy, HDC src, int x1, int y1, DWORD rop);
HRGN WINAPI ExtCreateRegion(const XFORM* xform, DWORD count, const RGNDATA* data);
HRGN WINAPI CreateRectRgn(int left, int top, int right, int bottom);
int WINAPI CombineRgn(HRGN dest, HRGN src1, HRGN src2, int mode);
BOOL WINAPI PtInRegion(HRGN rgn, int x, int y);
int WINAPI GetRgnBox(HRGN rgn, LPRECT rect);
DWORD WINAPI GetRegionData(HRGN rgn, DWORD count, RGNDATA* data);

// kernel32
DWORD WINAPI GetTickCount();
HMODULE WINAPI GetModuleHandleA(LPCSTR module_name);
HGLOBAL WINAPI GlobalAlloc(UINT flags, SIZE_T bytes);
HGLOBAL WINAPI GlobalReAlloc(HGLOBAL mem, SIZE_T bytes, UINT flags);
LPVOID WINAPI GlobalLock(HGLOBAL mem);
BOOL WINAPI GlobalUnlock(HGLOBAL mem);
HGLOBAL WINAPI GlobalFree(HGLOBAL mem);
SIZE_T WINAPI GlobalSize(HGLOBAL mem);

// WGL
HGLRC WINAPI wglCreateContext(HDC dc);
BOOL WINAPI wglMakeCurrent(HDC dc, HGLRC rc);
BOOL WINAPI wglDeleteContext(HGLRC rc);
HGLRC WINAPI wglGetCurrentContext();
HDC WINAPI wglGetCurrentDC();

#endif  // !_WIN32
