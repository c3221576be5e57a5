// The window and context layer: window settings and class registration, the
// OpenGL window with its status bar and rendering context, the message pump
// and the main window procedure.
#pragma once

#include <cstdint>
#include <string>

#include "framework/core/checked.h"
#include "platform/win32.h"

namespace orvex {

// ---- settings and class registration -----------------------------------------

// Cursor codes of the main window class (OGLWINDOWSETTING's TYPECURSOR).
inline constexpr std::int32_t ARROW = 1;
inline constexpr std::int32_t IBEAM = 2;
inline constexpr std::int32_t WAIT = 3;
inline constexpr std::int32_t CROSS = 4;
inline constexpr std::int32_t UPARROW = 5;
inline constexpr std::int32_t SIZE = 6;
inline constexpr std::int32_t FILECURSOR = 7;
inline constexpr std::int32_t SIZENWSE = 8;
inline constexpr std::int32_t SIZENESW = 9;
inline constexpr std::int32_t SIZEWE = 10;
inline constexpr std::int32_t SIZENS = 11;
inline constexpr std::int32_t SIZEALL = 12;
inline constexpr std::int32_t NOCURSOR = 13;
inline constexpr std::int32_t HAND = 14;
inline constexpr std::int32_t APPSTARTING = 15;
inline constexpr std::int32_t HELP = 16;
// Icon codes (TYPEICON).
inline constexpr std::int32_t GENERIC = 1;
inline constexpr std::int32_t FILEICON = 2;

extern std::int32_t SETTYPECURSOR;
extern const char* CURSORFILE;
extern std::int32_t SETTYPEICON;
extern const char* ICONFILE;
extern bool FOGONOFF;
extern std::uint32_t START;
extern std::uint32_t OBJNULL;
extern WNDCLASSEXA WINDOWCLASSEX;
extern std::string ORVEXVERSION;

void OGLWINDOWSETTING(std::int32_t TYPECURSOR, const char* CURFILE, std::int32_t TYPEICON, const char* ICOFILE);
bool WINDOWREGISTER();
// Shows the message in a box captioned "Error" and ends the program with exit
// status 0.
[[noreturn]] void THROWERROR(const char* PCERRORMESSAGE);

// ---- window, status bar and rendering context ----------------------------------

// PFD_DOUBLEBUFFER | PFD_STEREO | PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL |
// PFD_SUPPORT_DIRECTDRAW, a value a program may store in PIXEL_FORMAT_FLAGS.
inline constexpr std::int32_t ORVEX_ACCELERATION = 8231;

extern HWND HWINDOW;
extern HDC DCWINDOW;
extern HGLRC RCWINDOW;
extern std::int32_t WIDTH;
extern std::int32_t HEIGHT;
extern std::int32_t BITS;
extern bool FULLSCREEN;
extern std::int32_t PIXEL_FORMAT_FLAGS;
extern bool SHOWMENUBAR;
extern void (*CREATEMENUBAR)();
extern bool SHOWSTATUSBAR;
extern HWND HSTATUS;
extern HWND AWND;
extern char FILENAME[261];
extern CheckedArray<std::int32_t, 1, 20> STATUSITEM;
extern CheckedArray<std::int32_t, 1, 20> EDGES;
extern std::int32_t MAXSTATUSITEM;

bool CREATEOGLWINDOW(const char* APPNAME, std::int32_t APPWIDTH, std::int32_t APPHEIGHT, std::int32_t APPBITS,
                     bool APPFULLSCREEN);
HWND WINDOWCREATE(const char* PCAPPLICATIONNAME);
bool WINDOWINIT(HWND HPARENT);
HWND CREATESTATUSBAR(HWND PARENT);
void DELETEOGLWINDOW();

// ---- message pump and window procedure -----------------------------------------

extern bool ACTIVE;
extern MSG MSG_;
extern CheckedArray<std::int32_t, 0, 500> SETKEY;
extern bool LEFTMOUSEDOWN;
extern bool LEFTMOUSEDOWN2;
extern bool RIGHTMOUSEDOWN;
extern bool RIGHTMOUSEDOWN2;
extern std::int32_t XCOORD;
extern std::int32_t YCOORD;
extern std::int32_t ZCOORD;
extern std::int32_t SETMX;
extern std::int32_t SETMY;
extern std::int32_t SETOMX;
extern std::int32_t SETOMY;
extern float XROT;
extern float YROT;
extern float DEPTH;
extern float XROT2;
extern float YROT2;
extern float DEPTH2;
extern POINT MPOS;
extern std::int32_t MSPEED;
extern bool MOUSEFREE;
extern LRESULT(CALLBACK* GETINPUTCOMMAND)(HWND, UINT, WPARAM, LPARAM);
extern void (*CREATEMOUSEMENU)();

void SETGLMSG();
LRESULT CALLBACK GLWNDPROC(HWND WINDOW, UINT AMESSAGE, WPARAM wparam, LPARAM lparam);

}  // namespace orvex
