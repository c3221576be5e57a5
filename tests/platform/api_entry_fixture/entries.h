// Declarations for the fixture of the entry-point check (not compiled).
BOOL WINAPI Logged(HWND wnd);
BOOL WINAPI Forgotten(HWND wnd, int x);
BOOL WINAPI Named(HWND wnd);
