// A fixture of the entry-point check (not compiled): one operation that
// begins with ORVEX_API and one that forgot it.
BOOL WINAPI Logged(HWND wnd) {
    ORVEX_API(wnd);
    return TRUE;
}

BOOL WINAPI Forgotten(HWND wnd,
                      int x) {
    return wnd != nullptr && x > 0;
}
