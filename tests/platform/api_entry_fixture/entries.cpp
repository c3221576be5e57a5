// A fixture of the entry-point check (not compiled): one operation that
// begins with ORVEX_API, one that forgot it, one that types its own name.
BOOL WINAPI Logged(HWND wnd) {
    ORVEX_API(wnd);
    return TRUE;
}

BOOL WINAPI Forgotten(HWND wnd,
                      int x) {
    return wnd != nullptr && x > 0;
}

BOOL WINAPI Named(HWND wnd) {
    ORVEX_API("Named", wnd);
    return TRUE;
}
