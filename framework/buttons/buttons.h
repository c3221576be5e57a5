// Image buttons: bitmaps loaded with a palette that shows them faithfully,
// regions cut from the opaque pixels of a bitmap, and the IMAGEBUTTON window
// class whose normal, hover and pressed pictures come from BMP files.
#pragma once

#include <cstdint>
#include <string>

#include "framework/buttons/button_class.h"
#include "platform/win32.h"

namespace orvex {

// The prefix of the files of the next image button: its pictures are
// BMPTYPE + "N.BMP", "H.BMP" and "P.BMP". Read when a button is created.
extern std::string BMPTYPE;

// Names of the window properties that hold an image button's state.
inline constexpr const char* NORMALBMP = "NORMALBITMAP";
inline constexpr const char* HOVERBMP = "HOVERBITMAP";
inline constexpr const char* PRESSBMP = "PRESSBITMAP";
inline constexpr const char* HOVERMODE = "HOVERMODEBYTE";
inline constexpr const char* BUTTONRGN = "HOVERBUTTONREGION";

// Loads a BMP file as a DIB section and hands back, in PAL, a palette for it:
// one made from the colour table for 1-, 4- and 8-bit files (always 256
// entries), the halftone palette for deeper ones. 0 when the file cannot be
// loaded; PAL is then left as it was. The caller owns both handles.
HBITMAP LOADBMPFROMFILE(const std::string& FILENAME, HPALETTE& PAL);

// The region of the pixels of a BMP file that are not of the transparent
// colour TRANSCOLOR (0x00BBGGRR) or above it by at most TOLERANCE in every
// channel; (0, 0) is the picture's top-left pixel. 0 when the file cannot be
// loaded or the scan cannot be set up. The caller owns the region.
HRGN BITMAPTOREGION(const std::string& BMPNAME, std::uint32_t TRANSCOLOR, std::uint8_t TOLERANCE);

}  // namespace orvex
