// Handles of every kind, made and freed a great many times: a freed (stale)
// handle and a handle of another kind find nothing, no handle value comes
// back, and the handle table does not grow.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "platform/core/cursors_icons.h"
#include "platform/core/gdi_objects.h"
#include "platform/core/handle_table.h"
#include "platform/headless/headless.h"
#include "platform/win32.h"
#include "tools/image_writers/bmp_writer.h"

namespace {

enum class Outcome { freed, refused, other };

// What a call that frees an object answered: `freed` and `refused` are
// whether the result is the one Windows gives for each.
Outcome outcome(bool freed, bool refused) {
    return freed ? Outcome::freed : (refused ? Outcome::refused : Outcome::other);
}

// One kind of object: how a program makes one and frees it, and a call that
// uses it without changing it (true when it took the handle for one of its
// kind).
struct Kind {
    std::string name;
    std::string family;  // kinds of one family have handles of one kind: a device context, a bitmap
    std::function<HANDLE()> make;  // empty for the system's own objects
    std::function<Outcome(HANDLE)> free;
    std::function<bool(HANDLE)> use;
    // Freed with DeleteObject, which deletes a GDI object of any of these
    // kinds, as on Windows.
    bool deleted_by_delete_object = false;
};

Outcome delete_object(HANDLE h) {
    const BOOL r = DeleteObject(h);
    return outcome(r == TRUE, r == FALSE);
}

bool bitmap_use(HANDLE h) {
    BITMAP bm{};
    return GetObjectA(h, sizeof bm, &bm) == static_cast<int>(sizeof bm);
}

std::uintptr_t value(HANDLE h) { return reinterpret_cast<std::uintptr_t>(h); }
HANDLE handle(std::uintptr_t v) { return reinterpret_cast<HANDLE>(v); }

void put16(std::vector<std::uint8_t>& b, unsigned v) {
    for (int i = 0; i < 2; ++i) b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}
void put32(std::vector<std::uint8_t>& b, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

// A 1 by 1 monochrome cursor file.
std::vector<std::uint8_t> cursor_file() {
    std::vector<std::uint8_t> b;
    put16(b, 0), put16(b, 2), put16(b, 1);  // a cursor directory of one entry
    b.insert(b.end(), {1, 1, 0, 0});        // 1 by 1
    put16(b, 0), put16(b, 0);               // hot spot (0, 0)
    put32(b, 56), put32(b, 22);             // the image's bytes and where they start
    put32(b, 40), put32(b, 1), put32(b, 2);  // its header: 1 wide, 2 high (image and mask)
    put16(b, 1), put16(b, 1);                // one plane, 1 bit a pixel
    for (int i = 0; i < 6; ++i) put32(b, 0);
    put32(b, 0x000000), put32(b, 0xFFFFFF);  // colours
    put32(b, 0), put32(b, 0);                // image row, mask row
    return b;
}

// The objects the kinds need: a window to take device contexts of, paint
// and make rendering contexts for, a bitmap file and a cursor file.
class Objects {
public:
    Objects() {
        static const bool registered = [] {
            WNDCLASSA wc{};
            wc.lpfnWndProc = DefWindowProcA;
            wc.lpszClassName = "HandlesClass";
            return RegisterClassA(&wc) != 0;
        }();
        EXPECT_TRUE(registered);
        window_ = new_window();
        dc_ = GetDC(window_);
        PIXELFORMATDESCRIPTOR pfd{};
        pfd.nSize = sizeof pfd;
        pfd.nVersion = 1;
        pfd.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
        pfd.cColorBits = 32;
        pfd.cDepthBits = 16;
        EXPECT_TRUE(SetPixelFormat(dc_, ChoosePixelFormat(dc_, &pfd), &pfd));
        const std::string test = testing::UnitTest::GetInstance()->current_test_info()->name();
        bitmap_file_ = "handles_" + test + ".bmp";
        cursor_file_ = "handles_" + test + ".cur";
        orvex_image_writers::BmpPicture picture;
        picture.pixel = [](int, int) { return 0x336699u; };
        EXPECT_TRUE(orvex_image_writers::write_file(bitmap_file_, orvex_image_writers::bmp_bytes(picture)));
        EXPECT_TRUE(orvex_image_writers::write_file(cursor_file_, cursor_file()));
    }
    ~Objects() {
        ReleaseDC(window_, dc_);
        DestroyWindow(window_);
        std::remove(bitmap_file_.c_str());
        std::remove(cursor_file_.c_str());
    }
    Objects(const Objects&) = delete;
    Objects& operator=(const Objects&) = delete;

    // Device contexts and the GDI objects a program makes in memory.
    std::vector<Kind> gdi_kinds() const {
        HWND wnd = window_;
        auto dc_use = [](HANDLE h) { return GetCurrentObject(static_cast<HDC>(h), OBJ_PAL) != nullptr; };
        return {
            {"window context (GetDC)", "device context", [wnd] { return static_cast<HANDLE>(GetDC(wnd)); },
             [wnd](HANDLE h) {
                 const int r = ReleaseDC(wnd, static_cast<HDC>(h));
                 return outcome(r == 1, r == 0);
             },
             dc_use},
            {"paint context (BeginPaint)", "device context",
             [wnd] {
                 PAINTSTRUCT ps;
                 return static_cast<HANDLE>(BeginPaint(wnd, &ps));
             },
             [wnd, dc_use](HANDLE h) {
                 // EndPaint answers TRUE whatever it is given, as on Windows.
                 const bool was = dc_use(h);
                 PAINTSTRUCT ps{};
                 ps.hdc = static_cast<HDC>(h);
                 const BOOL r = EndPaint(wnd, &ps);
                 return outcome(r == TRUE && was && !dc_use(h), r == TRUE && !was);
             },
             dc_use},
            {"memory context", "device context", [] { return static_cast<HANDLE>(CreateCompatibleDC(nullptr)); },
             [](HANDLE h) {
                 const BOOL r = DeleteDC(static_cast<HDC>(h));
                 return outcome(r == TRUE, r == FALSE);
             },
             dc_use},
            {"DIB section", "bitmap",
             [] {
                 BITMAPINFO info{};
                 info.bmiHeader.biSize = sizeof info.bmiHeader;
                 info.bmiHeader.biWidth = 1;
                 info.bmiHeader.biHeight = 1;
                 info.bmiHeader.biPlanes = 1;
                 info.bmiHeader.biBitCount = 32;
                 void* bits = nullptr;
                 return static_cast<HANDLE>(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
             },
             delete_object, bitmap_use, true},
            {"palette", "palette",
             [] {
                 LOGPALETTE log{};
                 log.palVersion = 0x300;
                 log.palNumEntries = 1;
                 log.palPalEntry[0] = PALETTEENTRY{10, 20, 30, 0};
                 return static_cast<HANDLE>(CreatePalette(&log));
             },
             delete_object,
             [](HANDLE h) { return GetPaletteEntries(static_cast<HPALETTE>(h), 0, 0, nullptr) != 0; }, true},
            {"region", "region", [] { return static_cast<HANDLE>(CreateRectRgn(0, 0, 4, 4)); }, delete_object,
             [](HANDLE h) {
                 RECT r;
                 return GetRgnBox(static_cast<HRGN>(h), &r) != ERROR;
             },
             true},
        };
    }

    // The other kinds a program makes, each at a higher cost: bitmaps read
    // from files, windows, global memory, cursors.
    std::vector<Kind> other_kinds() const {
        const std::string bitmap_file = bitmap_file_, cursor_file = cursor_file_;
        return {
            {"bitmap (LoadImageA)", "bitmap",
             [bitmap_file] { return LoadImageA(nullptr, bitmap_file.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE); },
             delete_object, bitmap_use, true},
            {"window", "window", [] { return static_cast<HANDLE>(new_window()); },
             [](HANDLE h) {
                 const BOOL r = DestroyWindow(static_cast<HWND>(h));
                 return outcome(r == TRUE, r == FALSE);
             },
             [](HANDLE h) { return IsWindow(static_cast<HWND>(h)) == TRUE; }},
            {"global memory", "global memory", [] { return static_cast<HANDLE>(GlobalAlloc(GMEM_MOVEABLE, 16)); },
             [](HANDLE h) {
                 const HGLOBAL r = GlobalFree(h);
                 return outcome(r == nullptr, r == h);
             },
             [](HANDLE h) { return GlobalSize(h) != 0; }},
            {"cursor", "cursor",
             [cursor_file] { return static_cast<HANDLE>(LoadCursorFromFileA(cursor_file.c_str())); },
             [](HANDLE h) {
                 const BOOL r = DestroyCursor(static_cast<HCURSOR>(h));
                 return outcome(r == TRUE, r == FALSE);
             },
             [](HANDLE h) { return orvex_platform::find_cursor(static_cast<HCURSOR>(h)) != nullptr; }},
        };
    }

    // Rendering contexts, which take the display milliseconds to make.
    Kind rendering_contexts() const {
        HDC dc = dc_;
        return {"rendering context", "rendering context", [dc] { return static_cast<HANDLE>(wglCreateContext(dc)); },
                [](HANDLE h) {
                    const BOOL r = wglDeleteContext(static_cast<HGLRC>(h));
                    return outcome(r == TRUE, r == FALSE);
                },
                [dc](HANDLE h) {
                    const bool taken = wglMakeCurrent(dc, static_cast<HGLRC>(h)) == TRUE;
                    wglMakeCurrent(nullptr, nullptr);
                    return taken;
                }};
    }

    // Brushes are the system's: a program takes them and never frees them.
    static Kind stock_brushes() { return {"brush (stock)", "brush", {}, {}, {}, true}; }
    static HANDLE stock_brush() { return GetStockObject(WHITE_BRUSH); }

private:
    static HWND new_window() {
        return CreateWindowExA(0, "HandlesClass", "handles", WS_POPUP | WS_VISIBLE, 0, 0, 16, 16, nullptr, nullptr,
                               nullptr, nullptr);
    }

    HWND window_{};
    HDC dc_{};
    std::string bitmap_file_, cursor_file_;
};

std::vector<Kind> all_kinds(const Objects& objects) {
    std::vector<Kind> kinds = objects.gdi_kinds();
    for (Kind& k : objects.other_kinds()) kinds.push_back(std::move(k));
    kinds.push_back(objects.rendering_contexts());
    kinds.push_back(Objects::stock_brushes());
    return kinds;
}

// One live object of each kind.
std::vector<HANDLE> make_one_of_each(const std::vector<Kind>& kinds) {
    std::vector<HANDLE> live;
    for (const Kind& k : kinds) live.push_back(k.make ? k.make() : Objects::stock_brush());
    return live;
}

// Each live object is still there: its kind takes it and frees it.
void expect_intact_and_free(const std::vector<Kind>& kinds, const std::vector<HANDLE>& live) {
    for (std::size_t k = 0; k < kinds.size(); ++k) {
        ASSERT_NE(live[k], nullptr) << kinds[k].name;
        if (!kinds[k].make) continue;
        EXPECT_TRUE(kinds[k].use(live[k])) << kinds[k].name;
        EXPECT_EQ(kinds[k].free(live[k]), Outcome::freed) << kinds[k].name;
    }
}

struct Cycles {
    std::size_t made = 0;
    std::size_t failed_makes = 0, failed_frees = 0;
    std::size_t outside_range = 0;  // handles not in 0x08000000-0x7FFFFFFF
    std::size_t repeated = 0;       // handle values made twice
    std::size_t taken_stale = 0;    // a stale handle some kind took
    std::size_t freed_stale = 0;    // a stale handle its kind did not refuse as Windows does
    // Live objects of the cycled kinds in slots that a stale handle names:
    // one of the same family (the slot was reused), one of another family.
    std::size_t live_in_reused_slots = 0, live_where_another_family_was = 0;
};

// Makes one object of each kind and frees them again, `rounds` times, in an
// order that changes from round to round, so that freed slots are taken by
// objects of other kinds. Then, with one live object of each kind of `probes`
// (the cycled kinds among them): every handle the rounds made is stale, no
// kind takes it, its own kind refuses to free it, and the live objects stay.

Cycles cycle(const std::vector<Kind>& kinds, std::size_t rounds, const std::vector<Kind>& probes,
             const std::function<void(std::size_t round)>& after_round = {}) {
    Cycles c;
    const std::size_t n = kinds.size();
    std::vector<std::uintptr_t> made;
    std::vector<std::uint8_t> made_kind;
    made.reserve(rounds * n);
    made_kind.reserve(rounds * n);
    std::vector<HANDLE> round(n);
    for (std::size_t r = 0; r < rounds; ++r) {
        for (std::size_t i = 0; i < n; ++i) {
            const std::size_t k = (r + i) % n;
            round[k] = kinds[k].make();
            if (!round[k]) ++c.failed_makes;
            made.push_back(value(round[k]));
            made_kind.push_back(static_cast<std::uint8_t>(k));
        }
        for (std::size_t i = 0; i < n; ++i) {
            const std::size_t k = (r / 3 + n - i) % n;
            if (kinds[k].free(round[k]) != Outcome::freed) ++c.failed_frees;
        }
        if (after_round) after_round(r);
    }
    c.made = made.size();
    for (std::uintptr_t h : made) c.outside_range += (h < 0x08000000u || h > 0x7FFFFFFFu) ? 1 : 0;
    std::vector<std::uintptr_t> sorted = made;
    std::sort(sorted.begin(), sorted.end());
    c.repeated = static_cast<std::size_t>(sorted.end() - std::unique(sorted.begin(), sorted.end()));

    const std::vector<HANDLE> live = make_one_of_each(probes);
    for (std::size_t p = 0; p < probes.size(); ++p) {
        const bool cycled =
            std::any_of(kinds.begin(), kinds.end(), [&](const Kind& k) { return k.name == probes[p].name; });
        if (!cycled) continue;
        const std::uint32_t slot = orvex_platform::handle_layout::slot_of(value(live[p]));
        bool same = false, other = false;
        for (std::size_t m = 0; m < made.size(); ++m) {
            if (orvex_platform::handle_layout::slot_of(made[m]) != slot) continue;
            (kinds[made_kind[m]].family == probes[p].family ? same : other) = true;
        }
        c.live_in_reused_slots += same ? 1 : 0;
        c.live_where_another_family_was += other ? 1 : 0;
    }
    // Kinds of one family share their use (the same call).
    std::vector<const Kind*> uses;
    for (const Kind& p : probes) {
        const auto same = [&](const Kind* u) { return u->family == p.family; };
        if (p.use && std::none_of(uses.begin(), uses.end(), same)) uses.push_back(&p);
    }
    for (std::size_t m = 0; m < made.size(); ++m) {
        for (const Kind* p : uses)
            if (p->use(handle(made[m]))) ++c.taken_stale;
        if (kinds[made_kind[m]].free(handle(made[m])) != Outcome::refused) ++c.freed_stale;
    }
    expect_intact_and_free(probes, live);
    return c;
}

TEST(Handles, AMillionDeviceContextsAndGdiObjectsComeAndGoWithoutGrowthOrCollision) {
    Objects objects;
    const std::vector<Kind> kinds = objects.gdi_kinds();
    const std::size_t objects_before = orvex_platform::gdi_object_count();
    // 6 kinds: 1 050 000 objects made and freed.
    const std::size_t rounds = 175'000;
    std::size_t slots_after_warm_up = 0;
    const Cycles c = cycle(kinds, rounds, all_kinds(objects), [&](std::size_t r) {
        if (r == 2'000) slots_after_warm_up = orvex_platform::gdi_handle_slots();
    });
    EXPECT_GT(c.made, 1'000'000u);
    EXPECT_EQ(c.failed_makes, 0u);
    EXPECT_EQ(c.failed_frees, 0u);
    EXPECT_EQ(orvex_platform::gdi_object_count(), objects_before);
    EXPECT_EQ(orvex_platform::gdi_handle_slots(), slots_after_warm_up) << "the handle table grew with the cycles";
    EXPECT_EQ(c.outside_range, 0u);
    EXPECT_EQ(c.repeated, 0u);
    EXPECT_EQ(c.taken_stale, 0u);
    EXPECT_EQ(c.freed_stale, 0u);
    EXPECT_EQ(c.live_where_another_family_was, kinds.size()) << "each live object sits where one of another kind was";
}

TEST(Handles, StaleHandlesOfTheOtherKindsAreRefused) {
    Objects objects;
    const orvex_headless::LiveHandles before = orvex_headless::live_handles();
    // More rounds than a table makes slots before it reuses one; rendering
    // contexts, which cost milliseconds, only a few.
    const std::vector<Kind> kinds = objects.other_kinds();
    const Cycles c = cycle(kinds, orvex_platform::handle_layout::kFirstRoom + 100, all_kinds(objects));
    const Cycles rc = cycle({objects.rendering_contexts()}, 16, all_kinds(objects));
    EXPECT_EQ(orvex_headless::live_handles(), before);
    EXPECT_EQ(c.live_in_reused_slots, kinds.size()) << "each live object sits where an earlier one of its kind was";
    for (const Cycles& x : {c, rc}) {
        EXPECT_EQ(x.failed_makes, 0u);
        EXPECT_EQ(x.failed_frees, 0u);
        EXPECT_EQ(x.outside_range, 0u);
        EXPECT_EQ(x.repeated, 0u);
        EXPECT_EQ(x.taken_stale, 0u);
        EXPECT_EQ(x.freed_stale, 0u);
    }
}

TEST(Handles, AHandleOfOneKindIsNeitherTakenNorFreedWhereAnotherKindIsExpected) {
    Objects objects;
    const std::vector<Kind> kinds = all_kinds(objects);
    const std::vector<HANDLE> live = make_one_of_each(kinds);
    for (std::size_t a = 0; a < kinds.size(); ++a) {
        for (std::size_t b = 0; b < kinds.size(); ++b) {
            if (kinds[a].family == kinds[b].family || !kinds[b].make) continue;
            EXPECT_FALSE(kinds[b].use(live[a])) << kinds[a].name << " taken as " << kinds[b].name;
            if (kinds[a].deleted_by_delete_object && kinds[b].deleted_by_delete_object) continue;
            EXPECT_EQ(kinds[b].free(live[a]), Outcome::refused) << kinds[a].name << " freed as " << kinds[b].name;
        }
    }
    expect_intact_and_free(kinds, live);
}

TEST(Handles, AFullTableRefusesNewObjectsWithANullHandleAndRecovers) {
    Objects objects;
    const std::vector<Kind> kinds = objects.gdi_kinds();
    const std::size_t objects_before = orvex_platform::gdi_object_count();
    std::vector<HRGN> regions;
    while (HRGN r = CreateRectRgn(0, 0, 1, 1)) {
        regions.push_back(r);
        ASSERT_LE(regions.size(), orvex_platform::handle_layout::kSlots);
    }
    EXPECT_GT(regions.size(), 16'000u);
    for (const Kind& k : kinds) EXPECT_EQ(k.make(), nullptr) << k.name;
    // What fails leaves nothing behind: no pixels to write to, the update
    // region still there for the next paint.
    HWND wnd = CreateWindowExA(0, "HandlesClass", "full", WS_POPUP | WS_VISIBLE, 0, 0, 8, 8, nullptr, nullptr,
                               nullptr, nullptr);
    ASSERT_NE(wnd, nullptr);
    BITMAPINFO info{};
    info.bmiHeader = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), 2, 2, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = &info;
    EXPECT_EQ(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0), nullptr);
    EXPECT_EQ(bits, nullptr);
    InvalidateRect(wnd, nullptr, FALSE);
    PAINTSTRUCT ps;
    EXPECT_EQ(BeginPaint(wnd, &ps), nullptr);
    EXPECT_TRUE(GetUpdateRect(wnd, nullptr, FALSE));

    EXPECT_TRUE(DeleteObject(regions.back()));
    regions.pop_back();
    HDC dc = GetDC(wnd);
    EXPECT_NE(dc, nullptr);
    EXPECT_EQ(GetDC(wnd), nullptr);
    EXPECT_EQ(ReleaseDC(wnd, dc), 1);
    for (HRGN r : regions) EXPECT_TRUE(DeleteObject(r));
    for (const Kind& k : kinds) {
        HANDLE h = k.make();
        EXPECT_NE(h, nullptr) << k.name;
        EXPECT_EQ(k.free(h), Outcome::freed) << k.name;
    }
    DestroyWindow(wnd);
    EXPECT_EQ(orvex_platform::gdi_object_count(), objects_before);
}

}  // namespace
